// One tutorial tip: when it may appear (its screen and show conditions), what
// it does once started (its actions: show the panel, wait, lock the screen,
// point arrows, start the board's hint, light a target up) and when it goes
// (its erase conditions). The tip file's grammar is described in
// TTutorialTip.cpp beside the parser.
#pragma once

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "data/TDim.h"
#include "data/TTxtFile.h"
#include "platform/Services.h"
#include "tutorial/TTipArrow.h"

class TEkran;
class TMainGame;
class TRCMFile;
class TChip;
class TLevel;
class TProfile;

class TTutorialTip {
public:
    // One condition, action, erase condition or position: its keyword and
    // its arguments, upper-cased, as read from the file.
    struct Entry {
        std::string key;
        std::vector<std::string> args;
        bool negated = false;  // "NOT" before a show condition
        std::string text() const;
    };
    // Where a board object or button is: its rectangle (centre x, y and
    // size), the chip it belongs to (null for a button) and, for the targets
    // that have one, a second place (the other chip of a move, the far end
    // of a chain, where a puzzle piece leaves the board).
    struct Cell {
        int r = -1, c = -1;
        bool operator==(const Cell& o) const { return r == o.r && c == o.c; }
    };
    struct Target {
        TDim d, d2;
        std::shared_ptr<TChip> chip, chip2;
        Cell cell, cell2;  // their cells (r = -1: not on the board)
        bool hasSecond = false;
        bool swap = false;  // d and d2 are the two chips of a swap move
        // The way an arrow points at a place off the board (a button).
        float dirX = 0, dirY = 1;
        // A move: the chips to make it with (the two of a swap, the path of
        // a chain, the group to click); LIGHT-UP lights them all.
        std::vector<std::shared_ptr<TChip>> move;
        // The cells no arrow may lie on: the move's and those of the match it makes.
        std::vector<Cell> keepClear;
        int plates = 0;  // breakable plates under the match
    };
    // Where an arrow at `at` lies: on the neighbouring cell in the direction
    // returned (dr, dc), pointing back at `at`. It keeps off `clear` and
    // `taken`, prefers to lie off the board, straight rather than slanted,
    // and towards (awayX, awayY) (screen x, y) when that is not zero.
    static Cell arrowSide(const TLevel& lvl, Cell at, const std::vector<Cell>& clear, Cell taken, float awayX,
                          float awayY);

    // --- fields --------------------------------------------------------------
    std::string id;                   // upper case
    TDim dim;                         // the panel (top-left corner and size)
    std::vector<std::string> autoID;  // the position keyword and its arguments
    TDim dim1, dim2;                  // the arrow targets of the last ARROW / DOUBLE-ARROW
    std::vector<Entry> conditions, actions, eraseConds;
    std::list<TTipArrowPtr> arrows;
    std::string screen;  // upper case
    std::string title, txt;
    ImagePtr img;
    std::string imgPath;
    float heightAdd = 0;
    float ady = 0;  // the panel's slide while it fades in
    FontPtr font, titleFont;
    int fontIndex = 1;  // 0 SMALL, 1 MEDIUM, 2 BIG
    ImagePtr back;
    int backIndex = 1;  // 0 SMALL, 1 NORMAL, 2 CHAIN, 3 GROUP
    TDim pomChain;      // the first place LIGHT-UP lights (w = 0: nothing)
    float a = 0, dA = 0;
    int time = 0;   // clock time the running WAIT ends
    int erase = 0;  // the tip is going
    float tx = 0, ty = 0, tw = 0, titleX = 0, titleY = 0;
    std::vector<std::string> actAction;  // the action being run, with its arguments

    // Shared by every tip: the two arrow pictures; the player the tips are
    // shown to (set by the tutorial before it checks or runs a tip; null:
    // none); whether the tip with an id is no longer waiting (TIP-EXECUTED).
    static ImagePtr arrowImg1, arrowImg2;
    static TProfile* player;
    static std::function<bool(const std::string&)> tipDone;

    // Reads tip n of the tutorial file; texts are the tips' line file. Null,
    // with `error` saying which entry is wrong and why, when the tip is
    // malformed.
    static std::shared_ptr<TTutorialTip> load(TRCMFile& file, int n, const TTxtFilePtr& texts,
                                              std::string& error);
    // Parses one condition, action, erase condition or position from the
    // words of its entry; false with `why` when it is not in the grammar.
    static bool parseCondition(const std::vector<std::string>& words, Entry& out, std::string& why);
    static bool parseAction(const std::vector<std::string>& words, Entry& out, std::string& why);
    static bool parseEraseCond(const std::vector<std::string>& words, Entry& out, std::string& why);
    static bool parsePosition(const std::vector<std::string>& words, std::vector<std::string>& out,
                              std::string& why);
    // The words of an entry's items: every item split at white space, so
    // "LEVEL", "3" and "LEVEL 3" read the same. Upper-cased.
    static std::vector<std::string> words(const std::vector<std::string>& items);

    // --- show conditions -----------------------------------------------------
    // Every show condition holds on `screen`, and every target its actions
    // and position need can be found there now.
    bool check(TEkran* screen);
    bool checkCondition(const Entry& c, TEkran* screen);
    // --- erase conditions ----------------------------------------------------
    bool checkEraseCond(TEkran* screen);
    bool checkEraseCond_Mouse() const;
    // Set by the tutorial when the tip's "ok" button was clicked this frame.
    bool okPressed = false;

    // --- running -------------------------------------------------------------
    // Back to the start: hidden, no arrows, first action next; matches made
    // before this moment do not count for "MATCHED".
    void reset(TEkran* screen = nullptr);
    void update(TEkran* screen);
    void draw(TEkran* screen);
    // Starts the fade-out; the screen's lock, when this tip set it, is lifted
    // at once. `why` is told to the harness's log.
    void end(TEkran* screen, const char* why = "cleared");
    // Faded out after end(): the tutorial drops it.
    bool finished() const;
    bool locksScreen() const { return _locked; }
    // Something of the tip reached the screen: its panel began to show, or
    // an arrow or a light; a tip that shows nothing at all counts at once.
    bool appeared() const { return _appeared; }
    // The places LIGHT-UP lights now.
    std::vector<TDim> litPlaces() const {
        std::vector<TDim> v;
        for (auto& l : _lights) v.push_back(l.d);
        return v;
    }
    bool hasEraseCond(const std::string& key) const;

    // --- layout --------------------------------------------------------------
    // The panel's size from its background, text and picture, then its place.
    void countDims(TEkran* screen = nullptr);
    // `tip` moved the shortest way that takes it at least `gap` off every
    // rectangle of `avoid`, staying on the 1024 x 768 screen: unchanged when
    // it is clear already, and also when no such place is found.
    static TDim placeClear(const TDim& tip, const std::vector<TDim>& avoid, float gap = 6);
    // The place of an automatic position next to its board object, kept on
    // the screen; false when the object is not on the board.
    bool countAutoDims(TEkran* screen);
    // Creates the arrow(s) of an ARROW / DOUBLE-ARROW entry; false when the
    // target cannot be found.
    bool createArrow(const Entry& e, TEkran* screen, bool twoArrows);
    // Finds a target (kind and its arguments) on `screen`.
    static bool findTarget(const std::string& kind, const std::vector<std::string>& args, TEkran* screen,
                           Target& out);

private:
    size_t _next = 0;      // next action to run
    bool _locked = false;  // this tip locked the screen
    bool _appeared = false;
    int _matchesAtStart = 0;  // the level's match count when the tip started
    int _goneSince = 0;       // clock time an arrow's chip went (0: none went)
    int _startedAt = 0;
    // What LIGHT-UP lights: places, each following its chip when it has one.
    struct Light {
        TDim d;
        std::weak_ptr<TChip> chip;
        bool follows = false;
    };
    std::vector<Light> _lights;
    bool _runAction(const Entry& e, TEkran* screen);
    std::string _eraseReason(TEkran* screen);
    void _updateLight();
};
using TTutorialTipPtr = std::shared_ptr<TTutorialTip>;

// One line "tutorial: ..." on stdout for the harness's checks (only while a
// script runs).
void tutorialLog(const std::string& line);

// The play screen when `screen` is it and has a level and a board, else null.
TMainGame* tutorialPlayScreen(TEkran* screen);
