#include "PlayRecord.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>

namespace {

bool parseInt(const std::string& s, int64_t lo, int64_t hi, int64_t& out) {
    if (s.empty() || s.size() > 19) return false;
    size_t i = s[0] == '-' ? 1 : 0;
    if (i == s.size()) return false;
    for (size_t k = i; k < s.size(); ++k)
        if (s[k] < '0' || s[k] > '9') return false;
    const long long v = std::strtoll(s.c_str(), nullptr, 10);
    if (v < lo || v > hi) return false;
    out = v;
    return true;
}

// Well-formed UTF-8 without control characters (C0, DEL or C1).
bool cleanText(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const size_t n = utf8SequenceLength(s, i);
        if (n == 0) return false;
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7f) return false;
        if (c == 0xc2 && static_cast<unsigned char>(s[i + 1]) < 0xa0) return false;  // U+0080..U+009F
        i += n;
    }
    return true;
}

const int64_t kCount = 1000000000;  // counters above a billion are not real play

using Setter = std::function<bool(PlayRecord&, const std::string&)>;

Setter intField(int64_t PlayRecord::*m, int64_t lo, int64_t hi) {
    return [m, lo, hi](PlayRecord& r, const std::string& v) { return parseInt(v, lo, hi, r.*m); };
}

Setter clockField(int64_t PlayRecord::*m) {
    return [m](PlayRecord& r, const std::string& v) {
        r.*m = secondsFromClock(v);
        return r.*m >= 0;
    };
}

Setter textField(std::string PlayRecord::*m, size_t maxLen, bool (*ok)(const std::string&)) {
    return [m, maxLen, ok](PlayRecord& r, const std::string& v) {
        if (v.size() > maxLen || !cleanText(v) || (ok && !ok(v))) return false;
        r.*m = v;
        return true;
    };
}

bool versionText(const std::string& v) {
    if (v.empty()) return false;
    for (char c : v)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '_') return false;
    return true;
}
bool matchTypeText(const std::string& v) {
    for (char c : v)
        if (!std::isalpha(static_cast<unsigned char>(c))) return false;
    return true;
}
bool chipsText(const std::string& v) {
    for (char c : v)
        if (c != ' ' && (c < '0' || c > '9')) return false;
    return true;
}

const std::map<std::string, Setter>& setters() {
    static const std::map<std::string, Setter> m = [] {
        std::map<std::string, Setter> s;
        s["version"] = textField(&PlayRecord::version, 16, versionText);
        s["playerName"] = textField(&PlayRecord::player, 100, nullptr);
        s["id"] = intField(&PlayRecord::recordId, 1, kCount);
        s["nrLevelu"] = intField(&PlayRecord::level, 0, 100000);
        s["nrStageu"] = intField(&PlayRecord::stage, 0, 100000);
        s["zaliczony"] = intField(&PlayRecord::outcome, -2, 1);
        s["levelTime"] = intField(&PlayRecord::levelTime, 0, 10000000);
        s["levelTimeMS"] = [](PlayRecord&, const std::string& v) { return secondsFromClock(v) >= 0; };
        s["byloContinue"] = intField(&PlayRecord::continued, 0, 1);
        s["score"] = intField(&PlayRecord::score, 0, 2000000000);
        s["matchType"] = textField(&PlayRecord::matchType, 16, matchTypeText);
        s["puzzlesAtLevel"] = intField(&PlayRecord::puzzlesAtLevel, 0, 100000);
        s["availableChips"] = textField(&PlayRecord::availableChips, 256, chipsText);
        s["chipsCount"] = intField(&PlayRecord::chipsCount, 0, 1000);
        s["tilesToBrake"] = intField(&PlayRecord::tilesToBreak, 0, kCount);
        s["lastTileBrakeTime"] = clockField(&PlayRecord::lastTileBreakTime);
        s["biggestMatch"] = intField(&PlayRecord::biggestMatch, 0, 100000);
        s["iloscMatch3"] = intField(&PlayRecord::matches, 0, kCount);
        s["match4"] = intField(&PlayRecord::match4, 0, kCount);
        s["match5"] = intField(&PlayRecord::match5, 0, kCount);
        s["match6"] = intField(&PlayRecord::match6, 0, kCount);
        s["match6orMore"] = intField(&PlayRecord::match6OrMore, 0, kCount);
        for (size_t i = 0; i < 10; ++i)
            s["powerUp" + std::to_string(i + 1)] = [i](PlayRecord& r, const std::string& v) {
                return parseInt(v, 0, kCount, r.powerUps[i]);
            };
        for (size_t i = 0; i < 6; ++i)
            s["bonus" + std::to_string(i + 1) + "_usage"] = [i](PlayRecord& r, const std::string& v) {
                return parseInt(v, 0, kCount, r.bonusUsage[i]);
            };
        s["avgChain"] = [](PlayRecord& r, const std::string& v) {
            if (v.empty() || v.size() > 32) return false;
            char* end = nullptr;
            const double d = std::strtod(v.c_str(), &end);
            if (*end != '\0' || !std::isfinite(d) || (d != -1 && (d < 0 || d > 100000))) return false;
            r.avgChain = d;
            return true;
        };
        return s;
    }();
    return m;
}

const char* kPickup = "puzzlePickUpTime_";
const size_t kMaxPickups = 1000;

// Checks and stores one record's fields (the last value of a repeated name counts).
bool readRecord(const std::vector<const FormField*>& fields, PlayRecord& r, std::string& error) {
    std::map<std::string, std::string> last;
    for (const FormField* f : fields) {
        if (f->isFile) {
            error = "field \"" + f->name + "\" is a file; only text fields are taken";
            return false;
        }
        last[f->name] = f->value;
    }
    std::map<size_t, int64_t> pickups;
    for (const auto& [name, value] : last) {
        if (name.rfind(kPickup, 0) == 0) {
            int64_t n = 0;
            const std::string num = name.substr(std::string(kPickup).size());
            if (!parseInt(num, 1, kMaxPickups, n) || num[0] == '0') {
                error = "unknown field \"" + name + "\"";
                return false;
            }
            const int64_t t = secondsFromClock(value);
            if (t < 0) {
                error = "field \"" + name + "\" is not a time m:ss";
                return false;
            }
            pickups[static_cast<size_t>(n)] = t;
            continue;
        }
        auto it = setters().find(name);
        if (it == setters().end()) {
            error = "unknown field \"" + (name.size() > 64 ? name.substr(0, 64) + "..." : name) + "\"";
            return false;
        }
        if (!it->second(r, value)) {
            error = "field \"" + name + "\" has a value out of its type or range";
            return false;
        }
    }
    for (const auto& [name, setter] : setters()) {
        (void)setter;
        if (!last.count(name)) {
            error = "field \"" + name + "\" is missing";
            return false;
        }
    }
    if (last["levelTimeMS"] != clockFromSeconds(r.levelTime)) {
        error = "field \"levelTimeMS\" does not agree with \"levelTime\"";
        return false;
    }
    size_t expect = 1;
    for (const auto& [n, t] : pickups) {
        if (n != expect++) {
            error = "the pickup times are not numbered 1, 2, 3, ...";
            return false;
        }
        r.pickupTimes.push_back(t);
    }
    return true;
}

std::string canonical(const std::vector<const FormField*>& fields) {
    std::string s;
    for (const FormField* f : fields) s += f->name + "=" + f->value + "\n";
    return s;
}

}  // namespace

int64_t secondsFromClock(const std::string& s) {
    const size_t colon = s.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 7 || s.size() != colon + 3) return -1;
    int64_t m = 0, sec = 0;
    if (!parseInt(s.substr(0, colon), 0, 9999999, m) || s[0] == '-') return -1;
    if (!parseInt(s.substr(colon + 1), 0, 59, sec) || s[colon + 1] == '-') return -1;
    return m * 60 + sec;
}

std::string clockFromSeconds(int64_t s) {
    if (s < 0) s = 0;
    char b[32];
    std::snprintf(b, sizeof b, "%lld:%02lld", static_cast<long long>(s / 60), static_cast<long long>(s % 60));
    return b;
}

size_t utf8SequenceLength(const std::string& s, size_t i) {
    const size_t n = s.size();
    if (i >= n) return 0;
    const auto at = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = at(i);
    if (c < 0x80) return 1;
    // The second byte's range depends on the first (no overlong forms, no
    // surrogates, nothing past U+10FFFF); later bytes are 80..BF.
    size_t len = 0;
    unsigned char lo = 0x80, hi = 0xbf;
    if (c >= 0xc2 && c <= 0xdf) {
        len = 2;
    } else if (c >= 0xe0 && c <= 0xef) {
        len = 3;
        if (c == 0xe0) lo = 0xa0;
        if (c == 0xed) hi = 0x9f;
    } else if (c >= 0xf0 && c <= 0xf4) {
        len = 4;
        if (c == 0xf0) lo = 0x90;
        if (c == 0xf4) hi = 0x8f;
    } else {
        return 0;
    }
    if (i + len > n) return 0;
    if (at(i + 1) < lo || at(i + 1) > hi) return 0;
    for (size_t k = 2; k < len; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xbf) return 0;
    return len;
}

std::string hashHex(const std::string& s) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : s) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char b[17];
    std::snprintf(b, sizeof b, "%016llx", static_cast<unsigned long long>(h));
    return b;
}

std::string PlayRecord::pickupTimesText() const {
    std::string s;
    for (int64_t t : pickupTimes) s += (s.empty() ? "" : ",") + std::to_string(t);
    return s;
}

bool PlayRecord::setPickupTimesText(const std::string& s) {
    pickupTimes.clear();
    size_t start = 0;
    while (start < s.size()) {
        size_t comma = s.find(',', start);
        if (comma == std::string::npos) comma = s.size();
        int64_t t = 0;
        if (!parseInt(s.substr(start, comma - start), 0, 1000000000, t)) return false;
        pickupTimes.push_back(t);
        start = comma + 1;
    }
    return true;
}

int64_t PlayRecord::powerUpsUsed() const {
    int64_t n = 0;
    for (int64_t u : bonusUsage) n += u;
    return n;
}

namespace {

// The value of a parameter such as name="x" in a header line, "" when absent.
bool headerParam(const std::string& line, const std::string& param, std::string& value) {
    size_t at = 0;
    while ((at = line.find(param + "=\"", at)) != std::string::npos) {
        // A whole parameter name: after "; " or the start.
        if (at == 0 || line[at - 1] == ' ' || line[at - 1] == ';') {
            const size_t start = at + param.size() + 2;
            const size_t end = line.find('"', start);
            if (end == std::string::npos) return false;
            value = line.substr(start, end - start);
            return true;
        }
        at += param.size();
    }
    return false;
}

bool startsWithNoCase(const std::string& s, const std::string& prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

}  // namespace

bool parseMultipart(const std::string& contentType, const std::string& body, std::vector<FormField>& out,
                    std::string& error) {
    out.clear();
    if (!startsWithNoCase(contentType, "multipart/form-data")) {
        error = "expected a multipart/form-data upload";
        return false;
    }
    const size_t b = contentType.find("boundary=");
    std::string boundary = b == std::string::npos ? "" : contentType.substr(b + 9);
    const size_t semi = boundary.find(';');
    if (semi != std::string::npos) boundary.resize(semi);
    if (boundary.size() >= 2 && boundary.front() == '"' && boundary.back() == '"')
        boundary = boundary.substr(1, boundary.size() - 2);
    if (boundary.empty() || boundary.size() > 70) {
        error = "the upload names no boundary";
        return false;
    }
    const std::string delimiter = "--" + boundary;
    // The first delimiter opens the body or follows a line end (a preamble).
    size_t pos = body.compare(0, delimiter.size(), delimiter) == 0 ? 0 : body.find("\r\n" + delimiter);
    if (pos == std::string::npos) {
        error = "malformed multipart body: no part";
        return false;
    }
    if (pos != 0) pos += 2;
    for (;;) {
        pos += delimiter.size();
        if (body.compare(pos, 2, "--") == 0) return true;  // the closing delimiter
        if (body.compare(pos, 2, "\r\n") != 0) {
            error = "malformed multipart body: a delimiter without a line end";
            return false;
        }
        pos += 2;
        FormField f;
        bool named = false;
        for (;;) {
            const size_t eol = body.find("\r\n", pos);
            if (eol == std::string::npos || eol - pos > 1024) {
                error = "malformed multipart body: a part's headers do not end";
                return false;
            }
            const std::string line = body.substr(pos, eol - pos);
            pos = eol + 2;
            if (line.empty()) break;
            if (startsWithNoCase(line, "content-disposition:")) {
                if (!headerParam(line, "name", f.name)) {
                    error = "malformed multipart body: a part without a name";
                    return false;
                }
                named = true;
                std::string filename;
                f.isFile = headerParam(line, "filename", filename);
            }
        }
        if (!named) {
            error = "malformed multipart body: a part without a name";
            return false;
        }
        const size_t next = body.find("\r\n" + delimiter, pos);
        if (next == std::string::npos) {
            error = "malformed multipart body: a part does not end";
            return false;
        }
        if (next - pos > 4096) {
            error = "field \"" + f.name.substr(0, 64) + "\" is longer than 4096 bytes";
            return false;
        }
        f.value = body.substr(pos, next - pos);
        if (out.size() >= 200000) {
            error = "more than 200000 fields";
            return false;
        }
        out.push_back(std::move(f));
        pos = next + 2;
    }
}

bool recordsFromFields(const std::vector<FormField>& fields, std::vector<PlayRecord>& out,
                       std::string& error) {
    out.clear();
    if (fields.empty()) {
        error = "no fields";
        return false;
    }
    if (fields.front().name != "version") {
        error = "the first field is \"" + fields.front().name.substr(0, 64) + "\", not \"version\"";
        return false;
    }
    std::vector<std::vector<const FormField*>> groups;
    for (const FormField& f : fields) {
        if (f.name == "version") groups.emplace_back();
        groups.back().push_back(&f);
    }
    std::string runKey;
    std::vector<PlayRecord> records;
    for (size_t g = 0; g < groups.size(); ++g) {
        PlayRecord r;
        if (!readRecord(groups[g], r, error)) {
            error = "record " + std::to_string(g + 1) + ": " + error;
            return false;
        }
        const std::string c = canonical(groups[g]);
        // Every upload of a run begins with the run's first record, so that
        // record (and the player) names the run.
        if (g == 0) runKey = hashHex(r.player + "\n" + c);
        r.runKey = runKey;
        r.contentHash = hashHex(c);
        records.push_back(std::move(r));
    }
    out = std::move(records);
    return true;
}
