// The balancing page: per level and per player figures counted by the
// database, levels that stand out from their neighbours, SVG charts drawn
// here (the page needs no JavaScript) and the CSV export, written row by row.
#pragma once

#include <cstdint>
#include <functional>
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

// Everything the page shows, as loadDashboard reads it from a store.
struct DashboardData {
    std::vector<LevelStats> levels;
    std::vector<PlayerStats> players;  // the most recently seen first, at most kMaxPlayersShown
    int64_t rounds = 0, playerCount = 0;
    int64_t histogramLevel = -1;
    std::vector<std::pair<int64_t, int64_t>> timeCounts;  // seconds played on it, plays
    std::vector<std::string> versions;
    std::vector<std::string> sections;  // further HTML sections, after the levels
};
const int kMaxPlayersShown = 500;

// A further section of the page: HTML from the store's figures ("" adds
// nothing); false with a message when its figures cannot be read.
using DashboardSection = std::function<bool(Store&, const DashboardQuery&, const DashboardData&, std::string& html,
                                            std::string& error)>;
std::vector<DashboardSection>& dashboardSections();

// Reads the page's figures: from the running totals without dates, from the
// records of the chosen days with them. Never holds all records.
bool loadDashboard(Store& store, const DashboardQuery& q, const std::map<int64_t, int64_t>& timeLimits,
                   DashboardData& out, std::string& error);

double median(std::vector<double> v);
// Marks the levels whose figures are far from their neighbours'.
void flagLevels(std::vector<LevelStats>& levels, int minPlays);
// Per level (by level number) and per player (by name).
std::vector<LevelStats> levelStats(const std::vector<PlayRecord>& records,
                                   const std::map<int64_t, int64_t>& timeLimits, int minPlays);
std::vector<PlayerStats> playerStats(const std::vector<PlayRecord>& records);

std::string htmlEscape(const std::string& s);
std::string svgWinRate(const std::vector<LevelStats>& levels);
std::string svgMedianTime(const std::vector<LevelStats>& levels);
std::string svgHistogram(const std::vector<std::pair<int64_t, int64_t>>& timeCounts, int64_t level);
std::string svgHistogram(const std::vector<PlayRecord>& records, int64_t level);
std::string renderDashboard(const DashboardData& data, const DashboardQuery& q,
                            const std::map<int64_t, int64_t>& timeLimits);
// The same page from records held in memory (small tools and tests).
DashboardData dashboardFromRecords(const std::vector<PlayRecord>& records, const DashboardQuery& q,
                                   const std::vector<std::string>& versions,
                                   const std::map<int64_t, int64_t>& timeLimits);
std::string renderDashboard(const std::vector<PlayRecord>& records, const DashboardQuery& q,
                            const std::vector<std::string>& versions,
                            const std::map<int64_t, int64_t>& timeLimits);

// The CSV export: the header line, then one line per row of
// storesql::selectSql() (text cells quoted, formulas defused, any byte that
// is not UTF-8 replaced, so the file is the UTF-8 it says it is).
std::string csvHeader();
std::string csvLine(const SqlRow& row);
std::string renderCsv(const std::vector<PlayRecord>& records);
// Valid UTF-8 of any bytes: each ill-formed sequence becomes U+FFFD.
std::string validUtf8(const std::string& s);

// Each level's time limit in seconds from a folder of level files named with
// their number ("level07.lvl"), read from their "time = N" line.
std::map<int64_t, int64_t> loadTimeLimits(const std::string& dir);
