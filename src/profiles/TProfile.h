// One player's progress through the quest, kept in its own folder as
// "profile.dat" (plus "questlevel.lvl" and "puzzleLevel.dat" when saved).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <utility>
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
    // Name of the profile's own folder inside profilesDir. Set when the
    // profile is read (the folder it was read from) or created (its ID) and
    // changed only by a rename that moved the folder, so a save always goes
    // back where the profile came from, whatever its name now gives.
    std::string folderId;
    // Seconds played in the saved quest level: read from "profile.dat", and
    // written back unless this profile's level is the one in the play screen.
    int savedLevelTime = 0;
    // Every power-up uncovered whatever the level number (a level played on
    // its own, for testing it); not saved.
    bool allPowerUps = false;
    // The profile's file could not be read: it stays listed (shown as
    // damaged), cannot be played or renamed, and its files are never written.
    bool damaged = false;

    TProfile();

    TStageDataPtr getStageData(int n);
    // Adds a won level's score to the current stage and to its level entry
    // (the no-argument form asks the play screen for the score).
    void giveActStageData();
    void giveActStageData(int levelScore);
    // Decimal code of each upper-cased character followed by "-".
    std::string getMyID() const;
    // folderId, or the ID when the profile has no folder yet.
    std::string folderName() const;
    std::string folder() const;  // profilesDir + folderName() + "/"
    // A name the profiles folder can hold as a profile's folder: digits and
    // "-" only (what getMyID makes), at most kMaxFolderName bytes. Anything
    // else read from a file (a path such as "../x", an empty text) is refused.
    static bool isFolderId(const std::string& id);
    static constexpr size_t kMaxFolderName = 255;  // the file systems' limit

    // Writes the quest level and jigsaw beside "profile.dat", then
    // "profile.dat" itself, each atomically, into folder(). False when any
    // write failed or there is no usable folder (nothing is written then).
    // False when anything could not be written; the first failure (until a
    // save works again) is also shown to the player (profileHooks().showMessage).
    bool save();
    bool _saveFailureShown = false;
    bool _saveFiles();  // the writing itself
    // Reads the profile from its folder; false (with a line on stderr) when
    // "profile.dat" is missing or unreadable. Counted lists stop at the
    // entries present, whatever count the file claims.
    bool load(const std::string& dir);
    // Hands questLevel to the play screen; from then on a save writes the
    // play screen's level time for it.
    void handLevelToPlay();

    // Quest operations.
    void QUEST_startNew();
    // Every tutorial tip waits for this player again (the options' switch
    // turned back on): the shown tips are forgotten, the tip on screen goes.
    void restartTutorial();
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

    // Ids read from the file that no hook could turn into objects yet, with
    // their place in the file's list; they are written back at that place so
    // a save neither loses nor reorders them.
    template <class T>
    using Kept = std::vector<std::pair<size_t, T>>;
    Kept<int> _unresolvedDogs;
    Kept<int> _unresolvedPieces;
    Kept<std::string> _unresolvedTips;
};
using TProfilePtr = std::shared_ptr<TProfile>;

// Default jigsaw of a profile that has none saved.
extern const char* const kDefaultPuzzleLevel;
