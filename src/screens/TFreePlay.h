// Free play: the free-play levels the current player has reached in the quest,
// each with the best score won on it; a click plays the level in the chosen
// mode (timed or relaxed) with the real play screen, for a stand-in player so
// the quest's score and pieces are never touched; the result leads back to
// the list. A level left through the options' main menu can be played on
// (TFreePlayContinue) the next time free play opens, also after a restart:
// it is kept in the player's folder as "freeplay_left.lvl", named with its
// mode and play time by "freeplay.dat" (the level first, then the index, so
// the index never names a half-written level).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/TEkran.h"
#include "screens/FreePlayTable.h"

class TLevel;

class TFreePlay : public TEkran {
public:
    TFreePlay();

    static constexpr int kRows = 8;
    static constexpr int kFirstRowY = 176;
    static constexpr int kRowH = 42;

    ImagePtr back, base, panel;
    FontPtr font, titleFont;
    std::string txt[11];
    std::vector<TFreePlayEntry> table;  // the whole table
    std::vector<TFreePlayEntry> shown;  // the levels the player has reached
    std::map<int, int> best;            // level id -> best score
    std::string mode = "RELAXED";
    int page = 0;

    int setup() override;
    // Registered as "FREE-PLAY"; returns "MAIN-MENU".
    std::string mainLoop();
    int update() override;
    int draw() override;
    void _control() override;

    // The entries of `all` a player at quest level nrLevelu has reached.
    static std::vector<TFreePlayEntry> reached(const std::vector<TFreePlayEntry>& all, int nrLevelu);
    int rowAt(int x, int y) const;
    // The player's own levels ("Levels" in the per-user folder, made in the
    // level editor), by name, after the quest's.
    static std::vector<TFreePlayEntry> myLevels(const std::string& folder);
    // Best scores of the current player, from and to "freeplay.dat" in the
    // player's folder; saveBest() also writes the level left to play on (or
    // removes it once there is none).
    void loadBest();
    bool saveBest() const;
    // The current player's level left to play on, from their folder; false
    // (with a message) when the index names one that cannot be read.
    bool loadLeft();

    // A level left through the menu, to play on.
    std::shared_ptr<TLevel> leftLevel;
    int leftTime = 0;
    TFreePlayEntry leftEntry;
    std::string leftMode;
    std::string leftPlayer;

private:
    bool _setUp = false;
    int _chosen = -1;
    bool _offerContinue = false;
    std::string _list();  // runs the list; "" back, "PLAY" with _chosen set, "CONTINUE"
    void _play(const TFreePlayEntry& e, bool resume);
    void _refreshMode();
};

extern std::shared_ptr<TFreePlay> freePlay;
