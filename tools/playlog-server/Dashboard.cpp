#include "Dashboard.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>

namespace {

std::string fmt(double v, int decimals = 0) {
    char b[64];
    std::snprintf(b, sizeof b, "%.*f", decimals, v);
    return b;
}
std::string pct(double v) {
    return fmt(v * 100.0, 0) + "%";
}
std::string clock(double s) {
    return clockFromSeconds(static_cast<int64_t>(std::llround(s)));
}

const int kNeighbours = 3;          // levels on each side compared with
const double kWinRateGap = 0.25;    // a win rate this far from the neighbours' stands out
const double kTimeFactor = 1.5;     // a median time this many times theirs stands out
const double kTimeGapSeconds = 20;  // ... when it is also this many seconds apart

}  // namespace

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

std::vector<LevelStats> levelStats(const std::vector<PlayRecord>& records,
                                   const std::map<int64_t, int64_t>& limits, int minPlays) {
    std::map<int64_t, std::vector<const PlayRecord*>> by;
    for (const PlayRecord& r : records) by[r.level].push_back(&r);
    std::vector<LevelStats> out;
    for (const auto& [level, rs] : by) {
        LevelStats s;
        s.level = level;
        std::vector<double> times, scores, left, matches;
        double powerUps = 0, pieces = 0;
        const auto limit = limits.find(level);
        for (const PlayRecord* r : rs) {
            ++s.plays;
            if (r->outcome == 1)
                ++s.wins;
            else if (r->outcome == 0)
                ++s.losses;
            else
                ++s.left;
            times.push_back(static_cast<double>(r->levelTime));
            scores.push_back(static_cast<double>(r->score));
            matches.push_back(static_cast<double>(r->matches));
            s.biggestMatch = std::max(s.biggestMatch, r->biggestMatch);
            powerUps += static_cast<double>(r->powerUpsUsed());
            pieces += static_cast<double>(r->pickupTimes.size());
            if (r->outcome == 1 && limit != limits.end())
                left.push_back(static_cast<double>(limit->second - r->levelTime));
        }
        s.winRate = static_cast<double>(s.wins) / s.plays;
        s.medianTime = median(times);
        s.medianScore = median(scores);
        s.medianMatches = median(matches);
        s.hasTimeLeft = !left.empty();
        s.medianTimeLeftAtWin = median(left);
        s.powerUpsPerPlay = powerUps / s.plays;
        s.piecesPerPlay = pieces / s.plays;
        out.push_back(s);
    }
    flagLevels(out, minPlays);
    return out;
}

void flagLevels(std::vector<LevelStats>& out, int minPlays) {
    // A level stands out when its figures are far from those of the levels
    // around it (each with enough plays to count).
    for (LevelStats& s : out) {
        if (s.plays < minPlays) continue;
        std::vector<double> rates, times;
        for (const LevelStats& o : out) {
            if (&o == &s || o.plays < minPlays || std::llabs(o.level - s.level) > kNeighbours) continue;
            rates.push_back(o.winRate);
            times.push_back(o.medianTime);
        }
        if (rates.empty()) continue;
        const double rate = median(rates), time = median(times);
        if (s.winRate < rate - kWinRateGap) {
            s.flags.push_back("win rate " + pct(s.winRate) + " against " + pct(rate) + " around it");
            s.hard = true;
        } else if (s.winRate > rate + kWinRateGap) {
            s.flags.push_back("easy: win rate " + pct(s.winRate) + " against " + pct(rate) + " around it");
        }
        if (s.medianTime > time * kTimeFactor && s.medianTime - time >= kTimeGapSeconds) {
            s.flags.push_back("long: median time " + clock(s.medianTime) + " against " + clock(time));
            s.hard = true;
        } else if (s.medianTime * kTimeFactor < time && time - s.medianTime >= kTimeGapSeconds) {
            s.flags.push_back("short: median time " + clock(s.medianTime) + " against " + clock(time));
        }
    }
}

std::vector<PlayerStats> playerStats(const std::vector<PlayRecord>& records) {
    std::map<std::string, PlayerStats> by;
    std::map<std::string, std::set<std::string>> runs;
    for (const PlayRecord& r : records) {
        PlayerStats& p = by[r.player];
        p.player = r.player;
        ++p.rounds;
        runs[r.player].insert(r.runKey);
        p.highestPlayed = std::max(p.highestPlayed, r.level);
        if (r.outcome == 1) {
            ++p.wins;
            p.highestWon = std::max(p.highestWon, r.level);
        }
        if (p.firstSeen.empty() || r.receivedAt < p.firstSeen) p.firstSeen = r.receivedAt;
        if (r.receivedAt > p.lastSeen) p.lastSeen = r.receivedAt;
    }
    std::vector<PlayerStats> out;
    for (auto& [name, p] : by) {
        p.runs = static_cast<int>(runs[name].size());
        out.push_back(p);
    }
    return out;
}

std::string htmlEscape(const std::string& s) {
    std::string o;
    o.reserve(s.size());
    for (char c : s) {
        switch (c) {
            case '&':
                o += "&amp;";
                break;
            case '<':
                o += "&lt;";
                break;
            case '>':
                o += "&gt;";
                break;
            case '"':
                o += "&quot;";
                break;
            case '\'':
                o += "&#39;";
                break;
            default:
                o += c;
        }
    }
    return o;
}

namespace {

// A bar chart over categories, values from 0 to top, with a few grid lines.
struct Bar {
    std::string label, tip;
    double value;
    bool marked;
};

std::string barChart(const std::string& title, const std::vector<Bar>& bars, double top,
                     const std::function<std::string(double)>& axisText, const std::string& xName,
                     const std::function<std::string(double)>& valueText) {
    const int W = 760, H = 260, left = 60, right = 16, topPad = 34, bottom = 46;
    const int plotW = W - left - right, plotH = H - topPad - bottom;
    std::ostringstream o;
    o << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << W << "\" height=\"" << H
      << "\" viewBox=\"0 0 " << W << " " << H << "\" role=\"img\" aria-label=\"" << htmlEscape(title)
      << "\">";
    o << "<rect width=\"" << W << "\" height=\"" << H << "\" fill=\"#ffffff\"/>";
    o << "<text x=\"" << left << "\" y=\"20\" font-size=\"15\" font-weight=\"bold\" fill=\"#1a1a1a\">"
      << htmlEscape(title) << "</text>";
    if (top <= 0) top = 1;
    for (int g = 0; g <= 4; ++g) {
        const double v = top * g / 4.0;
        const double y = topPad + plotH - plotH * g / 4.0;
        o << "<line x1=\"" << left << "\" x2=\"" << left + plotW << "\" y1=\"" << fmt(y, 1) << "\" y2=\""
          << fmt(y, 1) << "\" stroke=\"#d0d0d0\"/>";
        o << "<text x=\"" << left - 6 << "\" y=\"" << fmt(y + 4, 1)
          << "\" font-size=\"12\" text-anchor=\"end\" fill=\"#333333\">" << htmlEscape(axisText(v))
          << "</text>";
    }
    if (bars.empty()) {
        o << "<text x=\"" << left + plotW / 2 << "\" y=\"" << topPad + plotH / 2
          << "\" font-size=\"14\" text-anchor=\"middle\" fill=\"#333333\">no plays yet</text>";
    }
    const double slot = bars.empty() ? 0 : static_cast<double>(plotW) / bars.size();
    const size_t every = bars.size() > 40 ? (bars.size() + 39) / 40 : 1;
    for (size_t i = 0; i < bars.size(); ++i) {
        const Bar& b = bars[i];
        const double h = std::max(0.0, std::min(1.0, b.value / top)) * plotH;
        const double x = left + slot * i + slot * 0.15, w = std::max(1.0, slot * 0.7);
        o << "<rect x=\"" << fmt(x, 1) << "\" y=\"" << fmt(topPad + plotH - h, 1) << "\" width=\""
          << fmt(w, 1) << "\" height=\"" << fmt(std::max(h, 0.5), 1) << "\" fill=\""
          << (b.marked ? "#b3261e" : "#2f6db5") << "\"><title>" << htmlEscape(b.tip) << "</title></rect>";
        if (i % every == 0 && bars.size() <= 24)
            o << "<text x=\"" << fmt(x + w / 2, 1) << "\" y=\"" << fmt(topPad + plotH - h - 4, 1)
              << "\" font-size=\"11\" text-anchor=\"middle\" fill=\"#1a1a1a\">"
              << htmlEscape(valueText(b.value)) << "</text>";
        if (i % every == 0)
            o << "<text x=\"" << fmt(x + w / 2, 1) << "\" y=\"" << topPad + plotH + 16
              << "\" font-size=\"12\" text-anchor=\"middle\" fill=\"#1a1a1a\">" << htmlEscape(b.label)
              << "</text>";
    }
    o << "<line x1=\"" << left << "\" x2=\"" << left + plotW << "\" y1=\"" << topPad + plotH << "\" y2=\""
      << topPad + plotH << "\" stroke=\"#1a1a1a\"/>";
    o << "<text x=\"" << left + plotW / 2 << "\" y=\"" << H - 8
      << "\" font-size=\"12\" text-anchor=\"middle\" fill=\"#333333\">" << htmlEscape(xName) << "</text>";
    o << "</svg>";
    return o.str();
}

}  // namespace

std::string svgWinRate(const std::vector<LevelStats>& levels) {
    std::vector<Bar> bars;
    for (const LevelStats& s : levels)
        bars.push_back({std::to_string(s.level),
                        "level " + std::to_string(s.level) + ": " + pct(s.winRate) + " of " +
                            std::to_string(s.plays) + " plays won",
                        s.winRate, s.hard});
    return barChart(
        "Win rate by level", bars, 1.0, [](double v) { return pct(v); }, "level (red: stands out as hard)",
        [](double v) { return pct(v); });
}

std::string svgMedianTime(const std::vector<LevelStats>& levels) {
    std::vector<Bar> bars;
    double top = 60;
    for (const LevelStats& s : levels) {
        bars.push_back({std::to_string(s.level),
                        "level " + std::to_string(s.level) + ": median " + clock(s.medianTime), s.medianTime,
                        s.hard});
        top = std::max(top, s.medianTime);
    }
    top = std::ceil(top / 60.0) * 60.0;
    return barChart(
        "Median time played by level", bars, top, [](double v) { return clock(v); },
        "level (red: stands out as hard)", [](double v) { return clock(v); });
}

std::string svgHistogram(const std::vector<PlayRecord>& records, int64_t level) {
    std::map<int64_t, int64_t> counts;
    for (const PlayRecord& r : records)
        if (r.level == level) ++counts[r.levelTime];
    return svgHistogram(std::vector<std::pair<int64_t, int64_t>>(counts.begin(), counts.end()), level);
}

std::string svgHistogram(const std::vector<std::pair<int64_t, int64_t>>& timeCounts, int64_t level) {
    std::vector<Bar> bars;
    int64_t plays = 0;
    for (const auto& tc : timeCounts) plays += tc.second;
    if (plays > 0) {
        int64_t hi = 0;
        for (const auto& tc : timeCounts) hi = std::max(hi, tc.first);
        // Bins of a round width: 10 s, 30 s, 1 min, 2 min, 5 min, 10 min...
        const int64_t widths[] = {10, 30, 60, 120, 300, 600, 1800, 3600};
        int64_t width = widths[sizeof widths / sizeof widths[0] - 1];
        for (int64_t w : widths)
            if (hi / w < 12) {
                width = w;
                break;
            }
        // A time limit of a day or more gives many bins; they stay a few hundred.
        while (hi / width >= 400) width *= 2;
        const size_t bins = static_cast<size_t>(std::max<int64_t>(hi, 0) / width) + 1;
        std::vector<int64_t> counts(bins, 0);
        for (const auto& tc : timeCounts) counts[static_cast<size_t>(std::max<int64_t>(tc.first, 0) / width)] += tc.second;
        for (size_t i = 0; i < bins; ++i) {
            const int64_t from = static_cast<int64_t>(i) * width;
            const std::string range = clock(static_cast<double>(from)) + "-" + clock(static_cast<double>(from + width));
            bars.push_back({clock(static_cast<double>(from)), range + ": " + std::to_string(counts[i]) + " plays",
                            static_cast<double>(counts[i]), false});
        }
    }
    double top = 1;
    for (const Bar& b : bars) top = std::max(top, b.value);
    top = std::max(4.0, std::ceil(top / 4.0) * 4.0);
    return barChart(
        "Times played on level " + std::to_string(level) + " (" + std::to_string(plays) + " plays)", bars, top,
        [](double v) { return fmt(v, 0); }, "time played (bin start, m:ss)", [](double v) { return fmt(v, 0); });
}

namespace {

std::string selectVersion(const std::vector<std::string>& versions, const std::string& chosen) {
    std::string o = "<select name=\"version\" id=\"version\"><option value=\"\">any</option>";
    for (const std::string& v : versions)
        o += "<option value=\"" + htmlEscape(v) + "\"" + (v == chosen ? " selected" : "") + ">" +
             htmlEscape(v) + "</option>";
    return o + "</select>";
}

std::string queryString(const DashboardQuery& q) {
    std::string s = "?version=" + q.filter.version + "&from=" + q.filter.from + "&to=" + q.filter.to;
    return s;
}

const char* kStyle =
    "body{font-family:'DejaVu Sans',Verdana,sans-serif;margin:24px;color:#1a1a1a;background:#f6f6f4}"
    "h1{font-size:24px;margin:0 0 4px}h2{font-size:18px;margin:28px 0 8px}"
    "table{border-collapse:collapse;background:#fff;font-size:13px}"
    "th,td{border:1px solid #c8c8c8;padding:4px 8px;text-align:right}th{background:#e8ecf2}"
    ".t{text-align:left}tr.hard td{background:#fbe3e1}tr.easy td{background:#e4f2e4}"
    "form{background:#fff;border:1px solid #c8c8c8;padding:10px;display:inline-block}"
    "label{margin-right:12px}.note{font-size:13px;color:#333}.flag{color:#8a1c14;font-weight:bold}"
    "svg{display:block;margin:8px 0;border:1px solid #c8c8c8}";

}  // namespace

std::vector<DashboardSection>& dashboardSections() {
    static std::vector<DashboardSection> sections;
    return sections;
}

DashboardData dashboardFromRecords(const std::vector<PlayRecord>& records, const DashboardQuery& q,
                                   const std::vector<std::string>& versions,
                                   const std::map<int64_t, int64_t>& limits) {
    DashboardData d;
    d.levels = levelStats(records, limits, q.minPlays);
    d.players = playerStats(records);
    std::stable_sort(d.players.begin(), d.players.end(),
                     [](const PlayerStats& a, const PlayerStats& b) { return a.lastSeen > b.lastSeen; });
    d.playerCount = static_cast<int64_t>(d.players.size());
    if (d.players.size() > static_cast<size_t>(kMaxPlayersShown)) d.players.resize(kMaxPlayersShown);
    d.rounds = static_cast<int64_t>(records.size());
    d.versions = versions;
    d.histogramLevel = q.histogramLevel;
    if (d.histogramLevel < 0) {
        int most = -1;
        for (const LevelStats& s : d.levels)
            if (s.plays > most) {
                most = s.plays;
                d.histogramLevel = s.level;
            }
    }
    std::map<int64_t, int64_t> counts;
    for (const PlayRecord& r : records)
        if (r.level == d.histogramLevel) ++counts[r.levelTime];
    d.timeCounts.assign(counts.begin(), counts.end());
    return d;
}

std::string renderDashboard(const std::vector<PlayRecord>& records, const DashboardQuery& q,
                            const std::vector<std::string>& versions,
                            const std::map<int64_t, int64_t>& limits) {
    return renderDashboard(dashboardFromRecords(records, q, versions, limits), q, limits);
}

std::string renderDashboard(const DashboardData& d, const DashboardQuery& q,
                            const std::map<int64_t, int64_t>& limits) {
    const auto& levels = d.levels;
    const auto& players = d.players;
    const int64_t histLevel = d.histogramLevel;
    const auto& versions = d.versions;
    std::ostringstream o;
    o << "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\"><title>Brimble play "
         "log</title><style>"
      << kStyle << "</style></head><body>";
    o << "<h1>Brimble play log</h1><p class=\"note\">" << d.rounds << (d.rounds == 1 ? " round" : " rounds")
      << " from " << d.playerCount << (d.playerCount == 1 ? " player." : " players.") << " Levels in red stand out as hard against the "
      << kNeighbours << " levels on each side (win rate " << fmt(kWinRateGap * 100)
      << " points lower, or median time " << fmt(kTimeFactor, 1)
      << "&times; longer), counting levels with at least " << q.minPlays << " plays.</p>";
    o << "<form method=\"get\" action=\"/\"><label>Version " << selectVersion(versions, q.filter.version)
      << "</label><label>From <input type=\"date\" name=\"from\" value=\"" << htmlEscape(q.filter.from)
      << "\"></label><label>To <input type=\"date\" name=\"to\" value=\"" << htmlEscape(q.filter.to)
      << "\"></label><label>Histogram of level <input type=\"number\" name=\"level\" min=\"0\" value=\""
      << (histLevel >= 0 ? std::to_string(histLevel) : "") << "\" style=\"width:5em\"></label>"
      << "<label>Flag from <input type=\"number\" name=\"min\" min=\"1\" value=\"" << q.minPlays
      << "\" style=\"width:4em\"> plays</label><button type=\"submit\">Show</button> <a href=\"/export.csv"
      << htmlEscape(queryString(q)) << "\">CSV export</a></form>";

    o << "<h2>Levels</h2>" << svgWinRate(levels) << svgMedianTime(levels);
    if (histLevel >= 0) o << svgHistogram(d.timeCounts, histLevel);
    o << "<table><tr><th>Level</th><th>Plays</th><th>Won</th><th>Lost</th><th>Left</th><th>Win rate</th>"
         "<th>Median time</th><th>Median score</th><th>Time left at the win</th><th>Median matches</th>"
         "<th>Biggest match</th><th>Power-ups a play</th><th>Pieces a play</th><th class=\"t\">Stands "
         "out</th></tr>";
    for (const LevelStats& s : levels) {
        const bool easy = !s.hard && !s.flags.empty();
        o << "<tr"
          << (s.hard ? " class=\"hard\""
              : easy ? " class=\"easy\""
                     : "")
          << "><td>" << s.level << "</td><td>" << s.plays << "</td><td>" << s.wins << "</td><td>" << s.losses
          << "</td><td>" << s.left << "</td><td>" << pct(s.winRate) << "</td><td>" << clock(s.medianTime)
          << "</td><td>" << fmt(s.medianScore) << "</td><td>"
          << (s.hasTimeLeft ? (s.medianTimeLeftAtWin < 0 ? "-" + clock(-s.medianTimeLeftAtWin)
                                                         : clock(s.medianTimeLeftAtWin))
                            : std::string("&ndash;"))
          << "</td><td>" << fmt(s.medianMatches, 1) << "</td><td>" << s.biggestMatch << "</td><td>"
          << fmt(s.powerUpsPerPlay, 2) << "</td><td>" << fmt(s.piecesPerPlay, 2) << "</td><td class=\"t\">";
        for (size_t i = 0; i < s.flags.size(); ++i)
            o << (i ? "; " : "") << "<span class=\"flag\">" << htmlEscape(s.flags[i]) << "</span>";
        o << "</td></tr>";
    }
    o << "</table>";
    o << "<p class=\"note\">Medians are exact below 1000; from there on times and matches are counted to three "
         "significant figures and scores to two.</p>";
    if (limits.empty())
        o << "<p class=\"note\">Time left at the win needs the levels' time limits: start the server with "
             "--levels DIR.</p>";

    o << "<h2>Players</h2><table><tr><th class=\"t\">Player</th><th>Runs</th><th>Rounds</th><th>Won</th>"
         "<th>Highest level won</th><th>Highest level played</th><th class=\"t\">First seen</th>"
         "<th class=\"t\">Last seen</th></tr>";
    for (const PlayerStats& p : players)
        o << "<tr><td class=\"t\">" << (p.player.empty() ? "(no name)" : htmlEscape(p.player)) << "</td><td>"
          << p.runs << "</td><td>" << p.rounds << "</td><td>" << p.wins << "</td><td>" << p.highestWon
          << "</td><td>" << p.highestPlayed << "</td><td class=\"t\">" << htmlEscape(p.firstSeen)
          << "</td><td class=\"t\">" << htmlEscape(p.lastSeen) << "</td></tr>";
    o << "</table>";
    if (d.playerCount > static_cast<int64_t>(players.size()))
        o << "<p class=\"note\">The " << players.size() << " players seen most recently of " << d.playerCount
          << "; the CSV export has every round.</p>";
    for (const std::string& section : d.sections) o << section;
    o << "</body></html>";
    return o.str();
}

namespace {

// A CSV cell; text that a spreadsheet would run as a formula is quoted as text.
std::string csvText(const std::string& s) {
    std::string v = s;
    if (!v.empty() && (v[0] == '=' || v[0] == '+' || v[0] == '-' || v[0] == '@' || v[0] == '\t')) v = "'" + v;
    std::string o = "\"";
    for (char c : v) o += c == '"' ? std::string("\"\"") : std::string(1, c);
    return o + "\"";
}

}  // namespace

std::string validUtf8(const std::string& s) {
    std::string o;
    o.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const size_t n = utf8SequenceLength(s, i);
        if (n == 0) {
            o += "\xEF\xBF\xBD";
            ++i;
        } else {
            o.append(s, i, n);
            i += n;
        }
    }
    return o;
}

std::string csvHeader() {
    std::string o;
    const auto& cols = storesql::columns();
    for (size_t i = 0; i < cols.size(); ++i) o += std::string(i ? "," : "") + cols[i].name;
    return o + "\r\n";
}

std::string csvLine(const SqlRow& v) {
    const auto& cols = storesql::columns();
    std::string o;
    for (size_t i = 0; i < v.size() && i < cols.size(); ++i) {
        if (i) o += ',';
        if (cols[i].type == 't')
            o += csvText(validUtf8(v[i]));
        else if (cols[i].type == 'r') {
            char b[40];
            std::snprintf(b, sizeof b, "%.17g", std::strtod(v[i].c_str(), nullptr));
            o += b;
        } else
            o += v[i];
    }
    return o + "\r\n";
}

std::string renderCsv(const std::vector<PlayRecord>& records) {
    std::string o = csvHeader();
    for (const PlayRecord& r : records) o += csvLine(storesql::values(r));
    return o;
}

std::map<int64_t, int64_t> loadTimeLimits(const std::string& dir) {
    std::map<int64_t, int64_t> out;
    std::error_code ec;
    static const std::regex name(R"([^0-9]*([0-9]{1,6})\.lvl)", std::regex::icase);
    static const std::regex time(R"(^\s*time\s*=\s*([0-9]{1,7}))");
    for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
        std::smatch m;
        const std::string file = e.path().filename().string();
        if (!std::regex_match(file, m, name)) continue;
        const int64_t level = std::stoll(m[1]);
        std::ifstream in(e.path());
        std::string line;
        while (std::getline(in, line)) {
            std::smatch t;
            if (std::regex_search(line, t, time)) {
                out[level] = std::stoll(t[1]);
                break;
            }
        }
    }
    return out;
}
