// UTF-8 <-> UTF-16 for the Windows API, whose file and process functions
// take wide characters: the game keeps UTF-8 everywhere else. Windows only.
#pragma once
#if defined(_WIN32)
#include <string>

std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);
#endif
