// A board level: the tile grid, the frame grid, the chip kinds that may be
// dealt, the match mode, the time budget and the counters; read from and
// written to level files.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "match3/M3Shared.h"
#include "match3/TBackGround.h"
#include "match3/TChipData.h"
#include "match3/TM3Frame.h"
#include "match3/TM3Settings.h"
#include "match3/TTile.h"

class TM3Game;
class TRCMFile;

class TLevel {
public:
    std::vector<TChipDataPtr> availableChips;
    std::vector<TChipDataPtr> availableBonus;
    std::vector<TDim> chipCreators;  // x = row, y = column
    std::string matchType = "SWAP";
    TM3SettingsPtr settings;
    TM3Game* m3Game = nullptr;  // not owning
    TBackGroundPtr backGround;
    ImagePtr backImg;
    int rows = 0, cols = 0;
    std::vector<std::vector<TTilePtr>> tile;     // [row][column]
    std::vector<std::vector<TM3FramePtr>> ramka;  // [row][column], (rows + 2) x (cols + 2)
    int tilesCount = 0;
    int highestMatch = 0;
    std::array<int, 4> zasob{};
    std::array<int, 4> zebranie{};
    std::vector<int> goals;  // always empty
    int czas = 0, maxCzas = 0;
    int score = 0;
    int puzzles = 0;
    float lx = 0, ly = 0;
    float sx = 0, sy = 0;
    float w = 0, h = 0;
    int collect = 0;
    int saPuzzle = 0;
    int pomPuzzleCount = 0;
    int noPuzzleChip = 0;
    int log_iloscMatchy = 0;
    int log_zmatchowaneChipsy = 0;
    int log_iloscPuzzli = 0;
    std::string log_availableChips;
    int log_tilesToBrake = 0;
    int log_lastTileBrakeTime = 0;

    int getLevelWidth() const;
    int getLevelHeight() const;
    int isChip(int id) const;
    int thereIsNoPuzzleChip() const;
    int allTilesAre(int n);
    void fillLevel(int id);
    int tileBelowIsEmpty(int r, int c) const;
    void createEmptyTilesTab();
    void shutDown();
    void countDims();
    void setPosition(float x, float y);
    int _isMatch(const TTilePtr& tile);
    void _saveLevelStandards(TRCMFile& f);
    void _saveLevelResources(TRCMFile& f);
    void _saveLevelAvailables(TRCMFile& f);
    void _saveLevelTiles(TRCMFile& f);
    void _saveLevelChains(TRCMFile& f);
    void _saveLevelChips(TRCMFile& f);
    void _saveLevelChipCreators(TRCMFile& f);
    void _saveLevelGoals(TRCMFile& f);
    void _saveLevelFrame(TRCMFile& f);
    void CreateCreatorsList();
    std::vector<std::vector<TM3FramePtr>> CreateFramesTab();
    void CreateLevelFrames();
    std::vector<TM3FrameDataPtr> CreateTileFramesList(int R, int C);
    void setDirectedFrameInnerCorDouble2(std::vector<TM3FrameDataPtr>& list, int R, int C);
    void setDirectedFrameInnerCorDouble1(std::vector<TM3FrameDataPtr>& list, int R, int C);
    int isTileFree(int r, int c) const;  // tile grid cell is a hole
    int isTileOcc(int R, int C) const;   // frame grid cell lies over a plate
    void setDirectedFrameCor(std::vector<TM3FrameDataPtr>& list, int R, int C, int dx, int dy);
    void setDirectedFrameInnerCor(std::vector<TM3FrameDataPtr>& list, int R, int C, int dx, int dy);
    void setDirectedFrame(std::vector<TM3FrameDataPtr>& list, int R, int C, int dx, int dy);
    void createFrameDims();
    // Writes the level file; false when it could not be written.
    bool save(const std::string& path);
    void checkIfPuzzles();
    void setBackGround(int id);
    void setGlobalAlpha(float a);
    void setFrameAlpha(float a);
    void loadBackGround();
    TChipDataPtr getRandomChip();
    void randomChips();
    void moveChipsUp(const TTilePtr& tile);
    int checkMatch(int r, int c);

    // Helpers of our own.
    // Re-binds every tile (and frame cell) to the kind with the same id in a new
    // tile catalogue (used when the tile set is switched).
    void rebuildTiles(const std::vector<TTileDataPtr>& tilesList);
    // Tile [r][c] or null outside the board.
    TTile* tileAt(int r, int c) const;
    void drawFrames() const;
};
using TLevelPtr = std::shared_ptr<TLevel>;

// Reads a level file (path as given, i.e. already including the data root when
// needed). Returns null, with a message on stderr naming the file, when the
// level cannot be built: dimensions outside 1..30 or a tile kind missing from
// the catalogue.
TLevelPtr loadLevelFile(const std::string& path, TM3Game* game);
// Same, from text already in memory (the fuzz target and tests use it);
// name is used in messages.
TLevelPtr loadLevelFromRCM(TRCMFile& file, const std::string& name, TM3Game* game, std::string* why = nullptr);
// Why a board could never be won or lost ("" when it can be played): plates
// to break but no piece on it and nowhere for new ones to come from (no
// creator cell, or no chip kind for the creators to bring).
std::string levelPlayProblem(const TLevel& level);
bool saveLevelFile(TLevel& level, const std::string& path);
// Editor's new level: rows x cols plain plates, no chips, time 360, background 1.
TLevelPtr createEmptyLevel(int rows, int cols, TM3Game* game);

// Loading also fills the six power-up colour slots (TM3Game::powerUpColor).

// The parser the level format uses for numbers inside row strings: the leading
// decimal digits (an optional minus sign first), 0 when there are none.
int levelInt(const std::string& token);
