// One played round as the play log keeps it: who played which level, how it
// ended, and the counters a level designer balances by.
#pragma once

#include <array>
#include <list>
#include <memory>
#include <string>

class TPlayLog {
public:
    int id = 0;  // the count of records kept before this one + 1
    int nrLevelu = 0;
    int nrStageu = 0;
    std::string matchType;
    int puzzlesAtLevel = 0;
    std::string availableChips;  // chip numbers separated by spaces
    int tilesToBrake = 0;
    int lastTileBrakeTime = 0;  // seconds
    int byloContinue = 0;
    int iloscMatchy = 0;
    int biggestmatch = 0;
    int match4 = 0, match5 = 0, match6 = 0, matchMore = 0;
    std::array<int, 10> powerUps{};  // use counts of the first ten bonus kinds
    int score = 0;
    std::list<std::string> puzzleChipsPickUptimes;  // seconds, as text
    int levelTime = 0;                              // seconds
    std::array<int, 6> howManyBonus{};
    int zaliczony = 0;       // 1 won, 0 lost, -1 left for the main menu, -2 restarted
    float sredniChain = -1;  // matched chips per match, -1 without a match
};
using TPlayLogPtr = std::shared_ptr<TPlayLog>;
