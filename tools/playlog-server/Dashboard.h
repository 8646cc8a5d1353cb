// The balancing page: per level and per player figures from the stored
// records, levels that stand out from their neighbours, SVG charts drawn
// here (the page needs no JavaScript) and the CSV export.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "PlayRecord.h"
#include "Store.h"

struct LevelStats {
    int64_t level = 0;
    int plays = 0, wins = 0, losses = 0, left = 0;
    double winRate = 0;     // wins / plays
    double medianTime = 0;  // seconds, every play
    double medianScore = 0;
    bool hasTimeLeft = false;  // the level's time limit is known and it was won
    double medianTimeLeftAtWin = 0;
    double medianMatches = 0;
    int64_t biggestMatch = 0;
    double powerUpsPerPlay = 0;
    double piecesPerPlay = 0;        // puzzle pieces picked up
    std::vector<std::string> flags;  // why the level stands out
    bool hard = false;               // flagged for a low win rate or a long time
};

struct PlayerStats {
    std::string player;
    int runs = 0, rounds = 0, wins = 0;
    int64_t highestPlayed = 0, highestWon = 0;
    std::string firstSeen, lastSeen;
};

struct DashboardQuery {
    RecordFilter filter;
    int64_t histogramLevel = -1;  // -1: the level with most plays
    int minPlays = 3;             // fewer plays are never flagged
};

double median(std::vector<double> v);
// Per level (by level number) and per player (by name).
std::vector<LevelStats> levelStats(const std::vector<PlayRecord>& records,
                                   const std::map<int64_t, int64_t>& timeLimits, int minPlays);
std::vector<PlayerStats> playerStats(const std::vector<PlayRecord>& records);

std::string htmlEscape(const std::string& s);
std::string svgWinRate(const std::vector<LevelStats>& levels);
std::string svgMedianTime(const std::vector<LevelStats>& levels);
std::string svgHistogram(const std::vector<PlayRecord>& records, int64_t level);
std::string renderDashboard(const std::vector<PlayRecord>& records, const DashboardQuery& q,
                            const std::vector<std::string>& versions,
                            const std::map<int64_t, int64_t>& timeLimits);
std::string renderCsv(const std::vector<PlayRecord>& records);

// Each level's time limit in seconds from a folder of level files named with
// their number ("level07.lvl"), read from their "time = N" line.
std::map<int64_t, int64_t> loadTimeLimits(const std::string& dir);
