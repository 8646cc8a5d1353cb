#include "data/TRCMEntry.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/Files.h"
#include "data/RCMText.h"

// Values are written so that they always read back unchanged. The reader
// takes a string item as the characters between the leading ` "` and the
// final `"`, splits items at commas outside double quotes, ends a line at a
// line feed, cuts the value at a second "=", and opens or closes groups at
// braces anywhere. An item that would trip over one of those rules (or that
// is not valid UTF-8, which the encoder could not keep byte for byte) is
// written in the escaped form ` `text`` instead: backquotes in place of the
// double quotes, and each of  % LF = { } " ,  and every stray byte written as
// %XX. Every other item is written exactly as before, so existing files,
// level frame rows included, keep their bytes.

namespace {

bool needsEscapeChar(unsigned char c) {
    return c == '%' || c == '\n' || c == '=' || c == '{' || c == '}' || c == '"' || c == ',';
}

// The item written as ` "text"` reads back as text.
bool rawStringItemIsSafe(const std::string& t) {
    bool inside = true;  // after the opening quote
    for (size_t i = 0; i < t.size();) {
        unsigned char c = static_cast<unsigned char>(t[i]);
        if (c < 0x80) {
            if (c == '\n' || c == '=' || c == '{' || c == '}') return false;
            if (c == '"') inside = !inside;
            else if (c == ',' && !inside) return false;
            ++i;
            continue;
        }
        size_t len;
        if (!ValidUtf8At(t, i, len)) return false;
        i += len;
    }
    // The closing quote must bring us back outside, or the next separator
    // (and the brace check of the whole file) would go wrong.
    return inside;
}

void appendEscaped(std::string& out, const std::string& t) {
    static const char* hex = "0123456789ABCDEF";
    for (size_t i = 0; i < t.size();) {
        unsigned char c = static_cast<unsigned char>(t[i]);
        size_t len = 1;
        bool valid = c < 0x80 ? true : ValidUtf8At(t, i, len);
        if (!valid || (c < 0x80 && needsEscapeChar(c))) {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
            ++i;
            continue;
        }
        out.append(t, i, len);
        i += len;
    }
}

bool parseWholeNumber(const std::string& s, long long& out) {
    std::string t = TrimText(s);
    if (t.empty()) return false;
    const char* b = t.c_str();
    char* end = nullptr;
    double v = std::strtod(b, &end);
    if (end != b + t.size()) return false;
    if (!std::isfinite(v) || v != std::trunc(v) || std::fabs(v) >= 1e18) return false;
    // Only decimal texts: strtod would also take hex and "inf".
    for (char c : t) {
        if (!((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E'))
            return false;
    }
    out = static_cast<long long>(v);
    return true;
}

// A number item as the writer lays it out.
std::string numberItemText(const std::string& v) {
    if (v.empty()) return "0";
    long long w;
    if (parseWholeNumber(v, w)) return std::to_string(w);
    return v;
}

bool numberTokenIsSafe(const std::string& tok, bool first) {
    for (size_t i = 0; i < tok.size();) {
        unsigned char c = static_cast<unsigned char>(tok[i]);
        if (c < 0x80) {
            if (c == '\n' || c == '=' || c == '{' || c == '}' || c == '"' || c == ',') return false;
            ++i;
            continue;
        }
        size_t len;
        if (!ValidUtf8At(tok, i, len)) return false;
        i += len;
    }
    if (first) {
        std::string t = TrimText(tok);
        if (t.empty() || !((t[0] >= '0' && t[0] <= '9') || t[0] == '-')) return false;
    }
    return true;
}

}  // namespace

void appendStringItem(std::string& out, const std::string& value) {
    if (rawStringItemIsSafe(value)) {
        out += '"';
        out += value;
        out += '"';
    } else {
        out += '`';
        appendEscaped(out, value);
        out += '`';
    }
}

std::string unescapeStringItem(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    auto hexval = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int h = hexval(text[i + 1]), l = hexval(text[i + 2]);
            if (h >= 0 && l >= 0) {
                out.push_back(static_cast<char>(h * 16 + l));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

std::string TRCMEntry::toTxt() {
    if (!_value.empty() && _value[0].empty()) _value[0] = "0";
    std::string out;
    appendEntryText(out);
    return out;
}

void TRCMEntry::appendEntryText(std::string& out) const {
    out += _id;
    out += " =";
    bool asNumber = _type == 1;
    if (asNumber) {
        // A number entry whose items would not read back as numbers (text set
        // into it by setString) is written as a string entry instead.
        for (size_t k = 0; k < _value.size() && asNumber; ++k)
            asNumber = numberTokenIsSafe(numberItemText(_value[k]), k == 0);
    }
    for (size_t k = 0; k < _value.size(); ++k) {
        out += k == 0 ? " " : ", ";
        if (asNumber) out += numberItemText(_value[k]);
        else appendStringItem(out, _value[k]);
    }
}

void TRCMEntry::setValue(const std::string& value, int index) {
    if (index < 0) return;
    if (static_cast<size_t>(index) >= _value.size()) _value.resize(static_cast<size_t>(index) + 1);
    _value[static_cast<size_t>(index)] = value;
}

void TRCMEntry::createArray(int n) { _value.assign(n > 0 ? static_cast<size_t>(n) : 0, std::string()); }
