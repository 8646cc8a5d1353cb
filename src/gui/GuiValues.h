// Value forms of GUI scripts (numbers, number lists, flags, colours, texts,
// paths) and the small UTF-8 helpers the widgets need.
#pragma once

#include <string>
#include <vector>

#include "data/TRGB.h"

// A 32-bit integer as the scripts write it: optional sign, "$" hexadecimal,
// "%" binary; reading stops at the first character that does not fit; an
// empty text is 0. Overflow wraps like the 32-bit arithmetic it stands for.
int guiReadInt(const std::string& s);
// A float ("0.5", "-3", "1e2"); what does not parse is 0.
float guiReadFloat(const std::string& s);

// Splits at every single space; two spaces in a row give an empty item (0).
std::vector<int> guiNumberList(const std::string& value);
// Item i of a number list, or def when the list is shorter.
int guiListItem(const std::vector<int>& list, size_t i, int def);

bool guiReadFlag(const std::string& value);  // upper case equals "TRUE"

// Three numbers r, g, b; a first number of -1 means no colour (null).
TRGBPtr guiReadColour(const std::string& value);

// A text value: "[path|n]" is line n of the localised line file at path
// (relative paths against scriptFolder first, then dataRoot, then as given);
// anything else is the text itself.
std::string guiReadText(const std::string& value, const std::string& scriptFolder);

std::string guiUpper(const std::string& s);
bool guiSameNoCase(const std::string& a, const std::string& b);
std::string guiTrim(const std::string& s);  // drops codes up to 32 at both ends

// Paths inside a script are relative to the script's folder.
std::string guiResolvePath(const std::string& folder, const std::string& path);
std::string guiAbsolutePath(const std::string& path);
std::string guiFolderOf(const std::string& path);
int guiFileType(const std::string& path);  // 0 none, 1 file, 2 folder

// Whole file as UTF-8 text, decoding a UTF-16 BE/LE or UTF-8 byte-order mark,
// otherwise one Latin-1 character a byte. Missing file: "" and ok = false.
std::string guiLoadText(const std::string& path, bool* ok = nullptr);

// UTF-8: characters are counted in code points.
size_t guiUtf8Length(const std::string& s);
void guiUtf8Append(std::string& s, int codePoint);
void guiUtf8PopBack(std::string& s);
// Byte length of the code point starting at s[i] (1 for a stray byte).
size_t guiUtf8CharLen(const std::string& s, size_t i);
