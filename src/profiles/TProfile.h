// One player's progress through the quest, kept in its own folder as
// "profile.dat" (plus "questlevel.lvl" and "puzzleLevel.dat" when saved).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "match3/TLevel.h"
#include "match3/TPowerUp.h"
#include "profiles/ProfileHooks.h"
#include "profiles/TStageData.h"

class TProfile {
public:
    std::string name;
    std::string url;  // kept, not written
    TLevelPtr questLevel;
    TLevelPtr freePlayLevel;
    TPuzzleLevelPtr puzzleLevel;
    TPiesPtr pies;
    int nrLevelu = 1;
    int nrStageu = 1;
    int puzzles = 0;
    int score = 0;
    int ulozone = 0;
    std::vector<TStageDataPtr> stagesData;
    std::vector<TPuzzlePtr> activePuzzles;
    std::vector<TPiesPtr> bylyPsy;
    std::string gameType;
    std::string gameMode;
    std::array<std::shared_ptr<TPowerUp>, 6> powerUp;  // power-up n is powerUp[n - 1]
    std::vector<TTutorialTipPtr> lekcjeTutoriala;
    int tutorialOn = 1;

    // Folder holding the profile's folders (ends with "/"); set by the manager.
    std::string profilesDir;
    // Seconds played in the saved quest level, as read from "profile.dat".
    int savedLevelTime = 0;
    // Every power-up uncovered whatever the level number (a level played on
    // its own, for testing it); not saved.
    bool allPowerUps = false;

    TProfile();

    TStageDataPtr getStageData(int n);
    // Adds a won level's score to the current stage and to its level entry
    // (the no-argument form asks the play screen for the score).
    void giveActStageData();
    void giveActStageData(int levelScore);
    // Decimal code of each upper-cased character followed by "-".
    std::string getMyID() const;
    std::string folder() const;  // profilesDir + ID + "/"

    // Writes the quest level and jigsaw beside "profile.dat", then
    // "profile.dat" itself, each atomically. False when any write failed.
    bool save();
    // Reads the profile from its folder; false (with a line on stderr) when
    // "profile.dat" is missing or unreadable.
    bool load(const std::string& dir);

    // Quest operations.
    void QUEST_startNew();
    void QUEST_newPowerUps();
    void QUEST_setProperStagePuzzle();
    int QUEST_loadActLevel();
    std::string getNextStage();
    int canResumeQuest() const;
    int newStage() const;

    // Power-ups: uncovered by quest level ("powerUpsUnlock::dataN").
    void checkPowerUps();
    void resetPowerUpsEffects();
    void updatePowerUps();

    // Jigsaw pieces: marks n random unowned pieces owned and new.
    void addPuzzles(int n);
    // Every piece of the current jigsaw is owned.
    bool allPuzzles() const;

    // Ids read from the file that no hook could turn into objects yet; they
    // are written back so a save never loses them.
    std::vector<int> _unresolvedDogs;
    std::vector<int> _unresolvedPieces;
    std::vector<std::string> _unresolvedTips;
};
using TProfilePtr = std::shared_ptr<TProfile>;

// Default jigsaw of a profile that has none saved.
extern const char* const kDefaultPuzzleLevel;
