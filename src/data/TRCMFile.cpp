#include <cfloat>
#include "data/TRCMFile.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/Files.h"
#include "data/DataGlobals.h"
#include "data/RCMText.h"

namespace {

bool isSpace(char c) { return static_cast<unsigned char>(c) <= 32; }

void trimRange(const std::string& s, size_t& a, size_t& b) {
    while (a < b && isSpace(s[a])) ++a;
    while (b > a && isSpace(s[b - 1])) --b;
}

// Reads the leading decimal number of s (spaces, sign, digits, fraction,
// exponent); 0 when there is none. Never reads hex, "inf" or "nan".
double parseNumber(const std::string& s) {
    size_t i = 0, n = s.size();
    while (i < n && isSpace(s[i])) ++i;
    size_t start = i;
    if (i < n && (s[i] == '-' || s[i] == '+')) ++i;
    size_t digits = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < n && (s[j] == '-' || s[j] == '+')) ++j;
        if (j < n && s[j] >= '0' && s[j] <= '9') {
            while (j < n && s[j] >= '0' && s[j] <= '9') ++j;
            i = j;
        }
    }
    std::string num = s.substr(start, i - start);
    double v = std::strtod(num.c_str(), nullptr);
    return std::isfinite(v) ? v : 0;
}

// Code-point slice of a string item [a, b) of s: from the third character
// to the one before the last.
std::string itemText(const std::string& s, size_t a, size_t b) {
    if (b <= a) return std::string();
    uint32_t first = 0, second = 0, last = 0;
    size_t from, lastStart;
    const auto* u = reinterpret_cast<const unsigned char*>(s.data());
    if (b - a >= 3 && u[a] < 0x80 && u[a + 1] < 0x80 && u[b - 1] < 0x80) {
        // The usual case: ` "text"`.
        first = u[a];
        second = u[a + 1];
        last = u[b - 1];
        from = a + 2;
        lastStart = b - 1;
    } else {
        std::string piece = s.substr(a, b - a);
        size_t i = 0, n = piece.size();
        if (i < n) first = NextCodePoint(piece, i);
        if (i < n) second = NextCodePoint(piece, i);
        from = i;
        size_t ls = n;
        while (i < n) {
            ls = i;
            last = NextCodePoint(piece, i);
        }
        if (ls == n || from >= n) return std::string();
        from += a;
        lastStart = ls + a;
    }
    if (lastStart <= from) return std::string();
    if (first == ' ' && second == '`' && last == '`')
        return unescapeStringItem(s.substr(from, lastStart - from));
    return s.substr(from, lastStart - from);
}

// Characters at which the group reader has something to do.
struct SpecialTable {
    bool t[256] = {};
    SpecialTable() { t[static_cast<unsigned char>('{')] = t[static_cast<unsigned char>('}')] =
                         t[static_cast<unsigned char>('\n')] = t[static_cast<unsigned char>('=')] = true; }
};
const SpecialTable kSpecial;

}  // namespace

std::vector<std::string> splitRCMPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t k = path.find("::", start);
        if (k == std::string::npos) {
            parts.push_back(path.substr(start));
            return parts;
        }
        parts.push_back(path.substr(start, k - start));
        start = k + 2;
    }
}

std::string rcmNumberText(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
        long long w = static_cast<long long>(value);
        return std::to_string(w);
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.9g", value);
    return buf;
}

TRCMFile::TRCMFile() : _grupa(std::make_shared<TRCMGroup>()) {}

TRCMFilePtr newRCMFile() { return std::make_shared<TRCMFile>(); }

TRCMFilePtr loadRCMFile(const std::string& path) {
    auto f = newRCMFile();
    f->Load(path);
    return f;
}

bool TRCMFile::save(const std::string& path) {
    std::string out;
    for (auto& g : _grupa->_listaGrup) g->_save(out, "");
    bool ok = SaveText(out, dataPath(path));
    if (!ok) errorMsg("Nie mozna zapisac pliku : " + path);
    return ok;
}

int TRCMFile::Load(const std::string& path) {
    _path = path;
    _loaded = false;
    const std::string real = dataPath(path);
    _realPath = RealPath(real);
    if (FileType(real) != 1) {
        errorMsg("Nie znaleziono pliku : " + path);
        return 0;
    }
    bool found = false;
    std::string text = LoadText(real, &found);
    if (!found) {
        // Present but unreadable (permissions, size): not an empty file,
        // or a caller would write defaults over it.
        errorMsg("Nie mozna odczytac pliku : " + path);
        return 0;
    }
    LoadFromText(std::move(text));
    return 0;
}

void TRCMFile::LoadFromText(std::string utf8) {
    _txt = std::move(utf8);
    _loaded = false;
    if (!checkTxt()) return;
    bool tooDeep = false;
    auto root = _readAll(_txt, 0, "MAINGROUP", 0, tooDeep);
    if (tooDeep) {
        errorMsg("Groups nested deeper than " + std::to_string(kMaxDepth) + " levels, file ignored : " +
                 _path);
        root = std::make_shared<TRCMGroup>();
        root->_id = "MAINGROUP";
        _grupa = root;
        return;
    }
    _grupa = root;
    _loaded = true;
}

int TRCMFile::checkTxt() {
    if (!_txt.empty() && _txt.back() == '}') _txt.push_back('\n');
    return checkGroups();
}

int TRCMFile::checkGroups() {
    long open = 0, close = 0;
    bool inside = false;
    const char* p = _txt.data();
    const char* end = p + _txt.size();
    for (; p < end; ++p) {
        const char c = *p;
        if (c != '"' && c != '{' && c != '}') continue;
        if (c == '"') inside = !inside;
        else if (!inside && c == '{') ++open;
        else if (!inside) ++close;
    }
    if (open == close) return 1;
    errorMsg("Blad nawiasow klamrowych! \"{\" - " + std::to_string(open) + " \"}\" - " +
             std::to_string(close));
    return 0;
}

TRCMGroupPtr TRCMFile::readAll(const std::string& text, const std::string& id) {
    bool tooDeep = false;
    auto g = _readAll(text, 0, id, 0, tooDeep);
    if (tooDeep) {
        errorMsg("Groups nested deeper than " + std::to_string(kMaxDepth) + " levels");
        g = std::make_shared<TRCMGroup>();
        g->_id = id;
    }
    return g;
}

TRCMGroupPtr TRCMFile::_readAll(const std::string& text, size_t start, const std::string& id,
                                int depth, bool& tooDeep) {
    auto g = std::make_shared<TRCMGroup>();
    g->_id = id;
    const size_t n = text.size();
    if (depth > kMaxDepth) {
        tooDeep = true;
        g->_pos = static_cast<int>(n - start);
        return g;
    }
    std::string name, line;
    bool equals = false;
    // Ordinary characters go to both accumulators a run at a time.
    size_t run = start;
    auto flush = [&](size_t upto) {
        if (upto > run) {
            name.append(text, run, upto - run);
            line.append(text, run, upto - run);
        }
    };
    for (size_t i = start; i < n; ++i) {
        const char c = text[i];
        if (!kSpecial.t[static_cast<unsigned char>(c)]) continue;
        flush(i);
        run = i + 1;
        switch (c) {
            case '{': {
                size_t a = 0, b = name.size();
                trimRange(name, a, b);
                auto sub = _readAll(text, i + 1, name.substr(a, b - a), depth + 1, tooDeep);
                if (tooDeep) {
                    g->_pos = static_cast<int>(n - start);
                    return g;
                }
                g->_listaGrup.push_back(sub);
                i += static_cast<size_t>(sub->_pos);
                run = i + 1;
                name.clear();
                break;
            }
            case '}':
                g->_pos = static_cast<int>(i + 1 - start);
                return g;
            case '\n':
                if (equals) {
                    size_t a = 0, b = line.size();
                    trimRange(line, a, b);
                    g->_listaWpisow.push_back(_readEntry(line, a, b));
                    name.clear();
                    line.clear();
                    equals = false;
                }
                break;
            default:  // '='
                equals = true;
                name.push_back(c);
                line.push_back(c);
                break;
        }
    }
    flush(n);
    // The body ran to the end of the text without its closing brace.
    g->_pos = static_cast<int>(n - start);
    return g;
}

std::string TRCMFile::myTrim(const std::string& s) {
    std::string t = s;
    for (char& c : t)
        if (c == '0') c = '*';
    t = TrimText(t);
    for (char& c : t)
        if (c == '*') c = '0';
    return t;
}

TRCMEntryPtr TRCMFile::readEntry(const std::string& line) { return _readEntry(line, 0, line.size()); }

TRCMEntryPtr TRCMFile::_readEntry(const std::string& line, size_t lineStart, size_t lineEnd) {
    auto e = std::make_shared<TRCMEntry>();
    size_t eq1 = line.find('=', lineStart);
    if (eq1 >= lineEnd) eq1 = std::string::npos;
    size_t nameEnd = eq1 == std::string::npos ? lineEnd : eq1;
    size_t a = lineStart, b = nameEnd;
    trimRange(line, a, b);
    e->_id.assign(line, a, b - a);
    if (eq1 == std::string::npos) return e;
    size_t vStart = eq1 + 1;
    size_t eq2 = line.find('=', vStart);
    size_t vEnd = eq2 >= lineEnd ? lineEnd : eq2;

    size_t ta = vStart, tb = vEnd;
    trimRange(line, ta, tb);
    const bool number = ta < tb && ((line[ta] >= '0' && line[ta] <= '9') || line[ta] == '-');
    e->_type = number ? 1 : 0;

    // Piece boundaries, reused between calls.
    static thread_local std::vector<std::pair<size_t, size_t>> pieces;
    pieces.clear();
    bool inside = false;
    size_t pStart = vStart;
    for (size_t i = vStart; i < vEnd; ++i) {
        const char c = line[i];
        if (c == '"') inside = !inside;
        else if (c == ',' && !inside) {
            pieces.emplace_back(pStart, i);
            pStart = i + 1;
        }
    }
    pieces.emplace_back(pStart, vEnd);
    while (!pieces.empty() && pieces.back().first == pieces.back().second) pieces.pop_back();

    e->_value.reserve(pieces.size());
    for (auto& p : pieces) {
        if (number) e->_value.emplace_back(line, p.first, p.second - p.first);
        else e->_value.push_back(itemText(line, p.first, p.second));
    }
    return e;
}

TRCMGroupPtr TRCMFile::getGroupSet(const std::vector<std::string>& parts) {
    TRCMGroupPtr g = _grupa;
    for (size_t k = 0; k + 1 < parts.size(); ++k) {
        auto sub = g->getGroup(parts[k]);
        if (!sub) {
            sub = std::make_shared<TRCMGroup>();
            sub->_id = parts[k];
            g->_listaGrup.push_back(sub);
        }
        g = sub;
    }
    return g;
}

TRCMGroupPtr TRCMFile::getGroup(const std::vector<std::string>& parts) {
    TRCMGroupPtr g = _grupa;
    for (const auto& p : parts) {
        g = g->getGroup(p);
        if (!g) return nullptr;
    }
    return g;
}

TRCMEntryPtr TRCMFile::_findEntry(const std::string& path, std::vector<std::string>& parts) {
    parts = splitRCMPath(path);
    std::string last = parts.back();
    parts.pop_back();
    auto g = getGroup(parts);
    return g ? g->getEntry(last) : nullptr;
}

void TRCMFile::setString(const std::string& path, const std::string& value, int index) {
    auto parts = splitRCMPath(path);
    getGroupSet(parts)->setStringEntry(parts.back(), value, index);
}

void TRCMFile::setFloat(const std::string& path, double value, int index) {
    auto parts = splitRCMPath(path);
    getGroupSet(parts)->setFloatEntry(parts.back(), value, index);
}

void TRCMFile::removeString(const std::string& path) {
    auto parts = splitRCMPath(path);
    std::string last = parts.back();
    parts.pop_back();
    if (auto g = getGroup(parts)) g->deleteString(last);
}

std::string TRCMFile::getString(const std::string& path, int index) {
    std::vector<std::string> parts;
    auto e = _findEntry(path, parts);
    if (!e || index < 0 || static_cast<size_t>(index) >= e->_value.size()) return "";
    return e->_value[static_cast<size_t>(index)];
}

float TRCMFile::getFloat(const std::string& path, int index, int print) {
    if (print) {
        auto parts = splitRCMPath(path);
        parts.pop_back();
        if (auto g = getGroup(parts)) g->showGroup("");
    }
    std::vector<std::string> parts;
    auto e = _findEntry(path, parts);
    if (!e || index < 0 || static_cast<size_t>(index) >= e->_value.size()) return 0;
    // A float holds less than a double: the largest float stands for anything larger.
    const double v = parseNumber(e->_value[static_cast<size_t>(index)]);
    if (v > FLT_MAX) return FLT_MAX;
    if (v < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(v);
}

int rcmEntryInt(const TRCMEntry& e, int index) {
    if (index < 0 || static_cast<size_t>(index) >= e._value.size()) return 0;
    double v = std::trunc(parseNumber(e._value[static_cast<size_t>(index)]));
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

int TRCMFile::getInt(const std::string& path, int index) {
    std::vector<std::string> parts;
    auto e = _findEntry(path, parts);
    return e ? rcmEntryInt(*e, index) : 0;
}

bool TRCMFile::hasEntry(const std::string& path) {
    std::vector<std::string> parts;
    return _findEntry(path, parts) != nullptr;
}

void TRCMFile::printAll() { _grupa->showGroup(""); }

void TRCMFile::errorMsg(const std::string& text) {
    std::printf("Napotkano problem : %s\n", text.c_str());
    std::fflush(stdout);
}
