#include "gui/GuiValues.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "platform/Files.h"
#include "data/DataGlobals.h"
#include "data/TTxtFile.h"

namespace fs = std::filesystem;

int guiReadInt(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= 32) ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        neg = s[i] == '-';
        ++i;
    }
    uint32_t base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i < s.size() && s[i] == '%') {
        base = 2;
        ++i;
    }
    uint32_t v = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        uint32_t d;
        if (c >= '0' && c <= '9') {
            d = static_cast<uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            d = static_cast<uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            d = static_cast<uint32_t>(c - 'A' + 10);
        } else {
            break;
        }
        if (d >= base) break;
        v = v * base + d;
    }
    if (neg) v = 0u - v;
    return static_cast<int>(v);
}

float guiReadFloat(const std::string& s) {
    const char* b = s.c_str();
    char* e = nullptr;
    const float f = std::strtof(b, &e);
    if (e == b) return 0;
    return f;
}

std::vector<int> guiNumberList(const std::string& value) {
    std::vector<int> out;
    size_t start = 0;
    for (size_t i = 0; i <= value.size(); ++i) {
        if (i == value.size() || value[i] == ' ') {
            out.push_back(guiReadInt(value.substr(start, i - start)));
            start = i + 1;
        }
    }
    return out;
}

int guiListItem(const std::vector<int>& list, size_t i, int def) {
    return i < list.size() ? list[i] : def;
}

std::string guiUpper(const std::string& s) {
    std::string u = s;
    for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

bool guiSameNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string guiTrim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

bool guiReadFlag(const std::string& value) { return guiUpper(value) == "TRUE"; }

TRGBPtr guiReadColour(const std::string& value) {
    const auto n = guiNumberList(value);
    const int r = guiListItem(n, 0, 0);
    if (r == -1) return nullptr;
    return createRGB(r, guiListItem(n, 1, 0), guiListItem(n, 2, 0));
}

// Where loadLocalisedText looks for path: its folder + "/" + language + "/" + its name.
static std::string localisedTextPath(const std::string& path) {
    const std::string folder = guiFolderOf(path);
    const size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "/" + language + "/" + name;
}

std::string guiReadText(const std::string& value, const std::string& scriptFolder) {
    if (guiUtf8Length(value) <= 1 || value.front() != '[' || value.back() != ']') return value;
    const std::string inner = value.substr(1, value.size() - 2);
    const size_t bar = inner.find('|');
    const std::string path = inner.substr(0, bar);
    const int n = bar == std::string::npos ? 0 : guiReadInt(inner.substr(bar + 1));
    // The loader used to change into the script's folder, so a relative
    // reference means that folder first; the usual "txt/..." form written from
    // the data folder is found there (or from the current folder) otherwise.
    std::string p = guiResolvePath(scriptFolder, path);
    if (!scriptFolder.empty() && guiFileType(localisedTextPath(p)) != 1) {
        const bool relative = !path.empty() && path[0] != '/' && path.find(':') == std::string::npos;
        if (relative && guiFileType(localisedTextPath(dataRoot + path)) == 1) {
            p = dataRoot + path;
        } else if (guiFileType(localisedTextPath(path)) == 1) {
            p = path;
        }
    }
    return textLine(loadLocalisedText(p), n);
}

std::string guiResolvePath(const std::string& folder, const std::string& path) {
    std::string p = path;
    for (char& c : p) {
        if (c == '\\') c = '/';
    }
    if (p.empty() || folder.empty()) return p;
    const bool absolute = p[0] == '/' || (p.size() > 1 && p[1] == ':');
    if (absolute) return p;
    if (folder.back() == '/') return folder + p;
    return folder + "/" + p;
}

std::string guiAbsolutePath(const std::string& path) {
    std::error_code ec;
    fs::path a = fs::absolute(fs::path(path), ec);
    if (ec) return path;
    std::string r = a.lexically_normal().generic_string();
    if (r.size() > 1 && r.back() == '/') r.pop_back();
    return r;
}

std::string guiFolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return "";
    return path.substr(0, slash);
}

int guiFileType(const std::string& path) { return path.empty() ? 0 : FileType(path); }

std::string guiLoadText(const std::string& path, bool* ok) {
    bool found = false;
    std::string text = FileType(path) == 1 ? LoadText(path, &found) : std::string();
    if (ok) *ok = found;
    return text;
}

size_t guiUtf8CharLen(const std::string& s, size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = 1;
    if (c >= 0xF0) {
        n = 4;
    } else if (c >= 0xE0) {
        n = 3;
    } else if (c >= 0xC0) {
        n = 2;
    }
    if (i + n > s.size()) return 1;
    for (size_t k = 1; k < n; ++k) {
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
    }
    return n;
}

size_t guiUtf8Length(const std::string& s) {
    size_t n = 0;
    for (size_t i = 0; i < s.size(); i += guiUtf8CharLen(s, i)) ++n;
    return n;
}

void guiUtf8Append(std::string& s, int cp) {
    if (cp < 0 || cp > 0x10FFFF) cp = 0xFFFD;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void guiUtf8PopBack(std::string& s) {
    if (s.empty()) return;
    size_t i = s.size() - 1;
    // Step back over continuation bytes to the lead byte of the last character.
    size_t k = 0;
    while (i > 0 && k < 3 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) {
        --i;
        ++k;
    }
    if (guiUtf8CharLen(s, i) == s.size() - i) {
        s.erase(i);
    } else {
        s.pop_back();
    }
}
