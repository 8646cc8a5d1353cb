// Item-level text rules shared by the key-value reader and writer.
#pragma once

#include <string>

// Appends a string item as the writer lays it out: "text", or the escaped
// form `text` when the plain one would not read back unchanged.
void appendStringItem(std::string& out, const std::string& value);
// Reverses the %XX escapes of an item written in the escaped form.
std::string unescapeStringItem(const std::string& text);
