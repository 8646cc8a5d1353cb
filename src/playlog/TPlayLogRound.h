// What the play screen knows about a round when it ends, gathered by the
// play screen's side so that the play log needs none of its classes.
#pragma once

#include <array>
#include <list>
#include <string>
#include <vector>

struct TPlayLogRound {
    int nrLevelu = 0, nrStageu = 0;  // the profile's quest level and stage
    std::string matchType;           // the level's match type
    int log_iloscPuzzli = 0;
    std::string log_availableChips;
    int log_tilesToBrake = 0;
    int log_lastTileBrakeTime = 0;
    int continueLevel = 0;
    int log_iloscMatchy = 0;
    int log_zmatchowaneChipsy = 0;
    int highestMatch = 0;
    int log_matches4 = 0, log_matches5 = 0, log_matches6 = 0, log_matchesMore = 0;
    std::vector<int> bonusIleRazy;  // use count of every bonus kind of the match-3 game, in its list's order
    int score = 0;
    std::list<std::string> listaCzasow;  // puzzle-piece pickup times, seconds as text
    int levelTime = 0;
    std::array<int, 6> bonusUse{};
};
