// The dashboard's figures as the database counts them: a handful of grouped
// statements over the running totals (or, for chosen days, over those days'
// records), so the page costs the same at a thousand records or ten million.
#include <cstdlib>

#include "Dashboard.h"

namespace {

int64_t num(const std::string& s) {
    return std::strtoll(s.c_str(), nullptr, 10);
}

double middle(const std::string& lo, const std::string& hi) {
    return (static_cast<double>(num(lo)) + static_cast<double>(num(hi))) / 2.0;
}

}  // namespace

bool loadDashboard(Store& store, const DashboardQuery& q, const std::map<int64_t, int64_t>& limits,
                   DashboardData& d, std::string& error) {
    d = DashboardData();
    const bool dated = q.filter.dated(), anyVersion = q.filter.version.empty();
    std::vector<std::string> p = storesql::filterParams(q.filter);
    std::map<int64_t, size_t> index;
    bool ok = store.query(storesql::levelFiguresSql(dated), p,
                          [&](const SqlRow& r) {
                              LevelStats s;
                              s.level = num(r[0]);
                              s.plays = static_cast<int>(num(r[1]));
                              s.wins = static_cast<int>(num(r[2]));
                              s.losses = static_cast<int>(num(r[3]));
                              s.left = static_cast<int>(num(r[4]));
                              if (s.plays <= 0) return true;
                              s.winRate = static_cast<double>(s.wins) / s.plays;
                              s.powerUpsPerPlay = static_cast<double>(num(r[5])) / s.plays;
                              s.piecesPerPlay = static_cast<double>(num(r[6])) / s.plays;
                              s.biggestMatch = num(r[7]);
                              index[s.level] = d.levels.size();
                              d.levels.push_back(s);
                              return true;
                          },
                          error);
    ok = ok && store.query(storesql::mediansSql(dated, anyVersion), p,
                           [&](const SqlRow& r) {
                               auto it = index.find(num(r[0]));
                               if (it == index.end()) return true;
                               LevelStats& s = d.levels[it->second];
                               const double m = middle(r[2], r[3]);
                               const std::string& metric = r[1];
                               if (metric == "t") {
                                   s.medianTime = m;
                               } else if (metric == "s") {
                                   s.medianScore = m;
                               } else if (metric == "m") {
                                   s.medianMatches = m;
                               } else if (metric == "w") {
                                   // The limit is the same for every play, so the
                                   // median time left is the limit less the median time.
                                   const auto limit = limits.find(s.level);
                                   if (limit != limits.end()) {
                                       s.hasTimeLeft = true;
                                       s.medianTimeLeftAtWin = static_cast<double>(limit->second) - m;
                                   }
                               }
                               return true;
                           },
                           error);
    if (!ok) return false;
    flagLevels(d.levels, q.minPlays);

    d.histogramLevel = q.histogramLevel;
    if (d.histogramLevel < 0) {
        int most = -1;
        for (const LevelStats& s : d.levels)
            if (s.plays > most) {
                most = s.plays;
                d.histogramLevel = s.level;
            }
    }
    if (d.histogramLevel >= 0) {
        std::vector<std::string> hp = p;
        hp.push_back(std::to_string(d.histogramLevel));
        ok = store.query(storesql::timeCountsSql(dated, anyVersion), hp,
                         [&](const SqlRow& r) {
                             d.timeCounts.emplace_back(num(r[0]), num(r[1]));
                             return true;
                         },
                         error);
    }
    ok = ok && store.query(storesql::countsSql(dated), p,
                           [&](const SqlRow& r) {
                               d.playerCount = num(r[0]);
                               d.rounds = num(r[1]);
                               return true;
                           },
                           error);
    ok = ok && store.query(storesql::playersSql(dated, kMaxPlayersShown), p,
                           [&](const SqlRow& r) {
                               PlayerStats s;
                               s.player = r[0];
                               s.runs = static_cast<int>(num(r[1]));
                               s.rounds = static_cast<int>(num(r[2]));
                               s.wins = static_cast<int>(num(r[3]));
                               s.highestPlayed = num(r[4]);
                               s.highestWon = num(r[5]);
                               s.firstSeen = r[6];
                               s.lastSeen = r[7];
                               d.players.push_back(s);
                               return true;
                           },
                           error);
    ok = ok && store.versions(d.versions, error);
    if (!ok) return false;
    for (const DashboardSection& section : dashboardSections()) {
        std::string html;
        if (!section(store, q, d, html, error)) return false;
        d.sections.push_back(html);
    }
    return true;
}
