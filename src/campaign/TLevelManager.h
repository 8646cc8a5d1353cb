// The keeper of the quest's tables: which level file belongs to which quest
// level number, the free-play levels, and how many jigsaw pieces the player
// should hold after each level. It reads its four files when set up and then
// answers look-ups by number; it decides nothing about progress.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "campaign/TLevelData.h"
#include "campaign/TPuzzleData.h"

class TLevelManager {
public:
    std::vector<TLevelDataPtr> questLevels;     // file order
    std::vector<TLevelDataPtr> freePlayLevels;  // file order
    std::vector<TPuzzleDataPtr> puzzleList;     // one per line of its file
    std::vector<TPuzzleDataPtr> puzzleList2;    // one per level entry of its file

    // The four tables, relative to the data folder.
    static constexpr const char* kQuestLevels = "data/quest_levels.dat";
    static constexpr const char* kFreeLevels = "data/free_levels.dat";
    static constexpr const char* kPuzzleList = "data/puzzleList.dat";
    static constexpr const char* kPuzzleList2 = "data/puzzlelist2.dat";
    // A count above this is taken as a damaged file: only this many entries
    // are read (the real tables hold a few hundred).
    static constexpr int kMaxEntries = 100000;

    TLevelManager() = default;
    virtual ~TLevelManager() = default;

    // Each replaces its list with a fresh one read from its file. A missing
    // file leaves the list empty and says so on stderr.
    virtual int _setupQuestLevels();
    virtual int _setupFreePlayLevels();
    virtual int _setupPuzzleList();
    virtual int _setupPuzzleList2();
    // The four above, in that order.
    virtual int setup();

    // The first entry whose number equals n, or null.
    TPuzzleDataPtr getPuzzleData(int n) const;
    // The jigsaw quota: pieces the player should own, counted over the
    // current stage's jigsaw, once quest level n has been won; null when the
    // table names no quota for n.
    TPuzzleDataPtr getPuzzleData2(int n) const;
    TLevelDataPtr getQuestLevelData(int n) const;

    // setup() has run at least once.
    bool isSetUp() const { return _setUp; }
    // Runs setup() unless it has run.
    void setupOnce() {
        if (!_setUp) setup();
    }

private:
    bool _setUp = false;
};

// The game's one level manager.
TLevelManager& levelManager();
