#include "Recipe.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace synth {

namespace {
std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

double toNumber(const std::string& v, const std::string& key, const std::string& where) {
    char* end = nullptr;
    double d = std::strtod(v.c_str(), &end);
    if (v.empty() || end == v.c_str() || *end != '\0' || !std::isfinite(d))
        throw RecipeError(where + ": '" + key + "' wants a number, got '" + v + "'");
    return d;
}

std::vector<std::string> splitComma(const std::string& v) {
    std::vector<std::string> out;
    std::stringstream ss(v);
    std::string item;
    while (std::getline(ss, item, ',')) {
        item = trim(item);
        if (!item.empty()) out.push_back(item);
    }
    return out;
}
}  // namespace

double parseNote(const std::string& s, const std::string& where) {
    static const int base[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (s.size() < 2) throw RecipeError(where + ": bad note '" + s + "'");
    char c = char(std::toupper(uint8_t(s[0])));
    if (c < 'A' || c > 'G') throw RecipeError(where + ": bad note '" + s + "'");
    int semi = base[c - 'A'];
    size_t i = 1;
    while (i < s.size() && (s[i] == '#' || s[i] == 'b')) semi += (s[i++] == '#') ? 1 : -1;
    std::string oct = s.substr(i);
    char* end = nullptr;
    long o = std::strtol(oct.c_str(), &end, 10);
    if (oct.empty() || *end != '\0' || o < -1 || o > 9) throw RecipeError(where + ": bad note '" + s + "'");
    return double((o + 1) * 12 + semi);
}

std::string Params::str(const std::string& k, const std::string& def) const {
    mark(k);
    auto it = kv_.find(k);
    return it == kv_.end() ? def : it->second;
}

double Params::num(const std::string& k, double def) const {
    mark(k);
    auto it = kv_.find(k);
    return it == kv_.end() ? def : toNumber(it->second, k, where);
}

double Params::hz(const std::string& k, double def) const {
    mark(k);
    auto it = kv_.find(k);
    if (it == kv_.end()) return def;
    const std::string& v = it->second;
    if (!v.empty() && std::isalpha(uint8_t(v[0]))) {
        double m = parseNote(v, where);
        return 440.0 * std::pow(2.0, (m - 69.0) / 12.0);
    }
    return toNumber(v, k, where);
}

std::vector<double> Params::nums(const std::string& k) const {
    mark(k);
    std::vector<double> out;
    auto it = kv_.find(k);
    if (it == kv_.end()) return out;
    for (auto& s : splitComma(it->second)) out.push_back(toNumber(s, k, where));
    return out;
}

std::vector<double> Params::notesHz(const std::string& k) const {
    mark(k);
    std::vector<double> out;
    auto it = kv_.find(k);
    if (it == kv_.end()) return out;
    for (auto& s : splitComma(it->second)) {
        if (std::isalpha(uint8_t(s[0])))
            out.push_back(440.0 * std::pow(2.0, (parseNote(s, where) - 69.0) / 12.0));
        else
            out.push_back(toNumber(s, k, where));
    }
    return out;
}

void Params::checkAllUsed() const {
    for (auto& kv : kv_)
        if (!used_.count(kv.first)) throw RecipeError(where + ": unknown key '" + kv.first + "'");
}

Recipe loadRecipe(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw RecipeError(path + ": cannot open recipe");
    Recipe r;
    r.path = path;
    r.header.where = path;
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        ++n;
        size_t hash = line.find('#');
        // '#' also marks sharps in note names ("F#5"): only a '#' at the start
        // of a word begins a comment.
        while (hash != std::string::npos && hash > 0 && !std::isspace(uint8_t(line[hash - 1])))
            hash = line.find('#', hash + 1);
        if (hash != std::string::npos) line = line.substr(0, hash);
        line = trim(line);
        if (line.empty()) continue;
        std::string where = path + ":" + std::to_string(n);
        size_t eq = line.find('=');
        size_t sp = line.find_first_of(" \t");
        if (eq != std::string::npos &&
            (sp == std::string::npos || eq < sp || trim(line.substr(sp, eq - sp)).empty())) {
            // Header line: key = value (value may contain spaces).
            std::string key = trim(line.substr(0, eq));
            if (key.empty()) throw RecipeError(where + ": empty key");
            if (r.header.has(key)) throw RecipeError(where + ": '" + key + "' given twice");
            r.header.set(key, trim(line.substr(eq + 1)));
            continue;
        }
        Layer layer;
        layer.p.where = where;
        std::stringstream ss(line);
        ss >> layer.type;
        std::string tok;
        while (ss >> tok) {
            size_t e = tok.find('=');
            if (e == std::string::npos || e == 0 || e + 1 == tok.size())
                throw RecipeError(where + ": expected key=value, got '" + tok + "'");
            layer.p.set(tok.substr(0, e), tok.substr(e + 1));
        }
        r.layers.push_back(std::move(layer));
    }
    return r;
}

}  // namespace synth
