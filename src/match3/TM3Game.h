// The board engine: one level at a time, updated and drawn once a frame.
//
// Tiles and chips call back into the engine for everything that crosses the
// board (matching, falling, bonus blasts, score and the play screen's flags),
// so the pieces stay ignorant of the play screen. The play screen plugs in
// through `host` (TM3Host: score, player, power-ups); sounds, particles and the
// tutorial flags go through the installed TM3Effects (m3Effects()).
#pragma once

#include <array>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"

class TLevel;
class TTile;
class TChip;
class TChipData;
class TTileData;
class TM3Settings;
class TM3FrameData;
class TBackGround;
class TM3Effects;
class TM3Host;
class TM3Input;
class TMatchInfo;
class TPara;
class TM3Para;

using LevelPtr = std::shared_ptr<TLevel>;
using TilePtr = std::shared_ptr<TTile>;
using ChipPtr = std::shared_ptr<TChip>;
using ChipDataPtr = std::shared_ptr<TChipData>;
using TileDataPtr = std::shared_ptr<TTileData>;
using ChipList = std::vector<ChipPtr>;
using ChipListPtr = std::shared_ptr<ChipList>;  // null = no result (hole, empty tile)

class TM3Game {
public:
    TM3Game();
    ~TM3Game();

    // --- fields ----------------------------------------------------------------
    ImagePtr linia, imagePoint;
    std::vector<std::shared_ptr<TBackGround>> backGrounds;
    std::vector<ChipDataPtr> chipsList;
    std::vector<TileDataPtr> tilesList;
    std::list<std::shared_ptr<TPara>> swapsList;
    std::vector<ChipDataPtr> bonusList;
    std::list<std::shared_ptr<TM3Para>> listaPar;
    std::vector<std::shared_ptr<TM3FrameData>> frameList;
    std::vector<std::string> bonusyByType;
    std::shared_ptr<TM3Settings> settings;
    int matchType = 0;  // 0 swap, 1 chain, 2 group
    int swapsCount = 0;
    LevelPtr level;
    TilePtr overTile, overTilePom, pickedTile, _overTile, _lastOver;
    int matcheSamoistne = 0;
    ImagePtr overImg;
    float overImgF = 0, maxOverImgF = 0, overImgAnimSpeed = 0.4f, rAlpha = 1, dRAlpha = 1;
    int mx = 0, my = 0;
    ChipList zaznaczone;
    // Chips the play screen's hint draws itself (highlighted); the board
    // leaves them out so they are not drawn twice.
    std::vector<const TChip*> hintChips;
    bool isHintChip(const TChip* chip) const;
    ChipPtr _lastAdded, _lastChip;
    int puzzles = 0, tilesToCollect = 0;
    int blyskTime = 0;
    float blyskA = 0, dBlyskA = 0;
    int blyski = 0;
    int _isAnyBonus = 0, poblyskTime = 0;
    int swapDimX = 0, swapDimY = 0;  // mouse position where a drag started
    TilePtr swapTile;
    int isBomb = 0, isCrossFire = 0, isBomb2 = 0, isCrossFire2 = 0;
    int log_matches4 = 0, log_matches5 = 0, log_matches6 = 0, log_matchesMore = 0;
    int bylOstatniTiles = 0, noClick = 0;

    // Power-up colour slots: slot i holds the chip kind that charges power-up
    // i + 1. The level loader fills them from the level's first six kinds.
    static std::array<ChipDataPtr, 6> powerUpColor;

    // Plug-ins (may be null).
    std::shared_ptr<TM3Host> host;
    std::shared_ptr<TM3Input> input;  // null = the services' mouse

    // --- set-up ------------------------------------------------------------
    void loadSettings(const std::string& path);
    void loadTiles(const std::string& path);
    void loadTileSet(int set);
    void rebuildTiles();
    void loadChips(const std::string& path);
    void loadBonusChips(const std::string& path);
    void loadFrame(const std::string& path);
    void loadOverImg(const std::string& path, int rows, int cols);
    void loadBackGrounds(const std::string& path);
    void setLevel(const LevelPtr& lvl);
    void setLevelPosition(float x, float y);

    // --- the frame -----------------------------------------------------------
    TilePtr update();
    void controlGame(int blocking);
    void draw();
    // The frame and the plates as they look at rest, for a screen that keeps
    // them in a cached picture; while platesCached is set, draw() leaves them out.
    void drawPlatesAtRest();
    bool platesCached = false;
    // Whether every frame piece and plate is at rest: none fading, scaled, turned or flying.
    bool platesAtRest() const;
    void drawBack();
    void drawEDITOR();

    void _updateTiles();
    void _updateTileSwaps();
    void _updateTileChip();
    void _updateTileOver();
    TilePtr _updateTileOver_BEZWZGLEDNIE();
    void _updateFrameAlpha();
    void _updateChipFall();
    void _updateOverAnim();
    void _updatePary();
    void _updateChipsGroup();
    void _updateChipSIDEFall();
    void _updateBlysk();
    void _updatePoblysk();
    void cleanUpFlashes();

    // What a tile does with the status its chip's update returned; the tile's
    // own updateChip() hands it over here and returns the result
    // ("CHECK-IF-CAN-FALL" or "").
    std::string _tileChipStatus(TTile& tile, const std::string& status);

    // --- falling ------------------------------------------------------------
    int _chipMayFallDown(int r, int c);
    int _chipMayFallDownMore(int r, int c);
    void fallChip(int r, int c);
    void sideFallChip(int r, int c, int dir);
    int _chipMaySideFallDown(int r, int c);  // -1 left, +1 right, 0 none
    int _chipAboveIsOk(int r, int c);
    int _chipIsAbleToSideFall(int r, int c);
    int _chipIsFreeUpSide(int r, int c);
    int _chipIsChained(int r, int c);
    int _tileIsEmpty(int r, int c);
    int _chipIsFree(int r, int c);
    int _chipIsFreeUp(int r, int c);
    int _chipIsFreeOnSide(int r, int c);
    int _chipColumnFree(int r, int c);

    // --- input ------------------------------------------------------------
    void _control_SWAP();
    void _control_CHAIN();
    void _control_CLICK();
    void clickTile(const TilePtr& tile);
    int _chipsMayBeSwaped(const TilePtr& t1, const TilePtr& t2);
    void swapChips(const TilePtr& t1, const TilePtr& t2);
    void reverse(const TilePtr& t1, const TilePtr& t2);
    int getTilesVector(const TTile& from, const TTile& to);  // direction code, see getKierunek
    int getKierunek(int dr, int dc);  // 0 up-left, 1 up, 2 up-right, 3 right, 4 down-right, 5 down, 6 down-left, 7 left
    int _isSwap(const TTile& tile);
    void _removePair(const TTile& tile);
    int _canAddToChain(const ChipPtr& chip);
    int _canAddToChain2(const ChipPtr& chip);  // fills a skipped stretch; 1 when it added chips
    ChipPtr getLastAddedChip();
    ChipPtr getLastBeforeAddedChip();

    // --- matching (the finders are in matchFinder*.h) -------------------------
    int _isMatch(TTile& tile);
    int _isLandedMatch(TTile& tile);
    void _moveFantomsToOne(const TilePtr& tile, const ChipList& chips, int matchSize);
    ChipListPtr getMatchedChips(const TilePtr& tile);
    ChipListPtr getMatchedChipsSwap(const TilePtr& tile);
    ChipListPtr getMatchedChipsChain(const TilePtr& tile);
    ChipListPtr getMatchedChipsChainSmall(const TilePtr& tile);
    void _swapForMoment(const TilePtr& t1, const TilePtr& t2);
    int _anyBonusToSetOff();  // 1 when a bonus chip lies on an unchained plate
    int _MatchLeft_SWAP_short();
    int _MatchLeft_CLICK_short();
    int _MatchLeft_CHAIN_short();
    int _MatchLeft_short();
    std::shared_ptr<TMatchInfo> _noMatchLeft_SWAP();
    std::shared_ptr<TMatchInfo> _noMatchLeft_CLICK();
    std::shared_ptr<TMatchInfo> _noMatchLeft_CHAIN();
    std::shared_ptr<TMatchInfo> _noMatchLeft();
    void clearMarks();  // oznaczony of every chip back to 0

    // --- bonuses and board-wide operations ----------------------------------
    void CROSS(int r, int c, int delay, int type);
    void CROSS_VERTICAL(int r, int c, int count);
    void CROSS_HORIZONTAL(int r, int c, int count);
    void BOMB(int r, int c, int radius);
    void SHUFFLE(int n);
    ChipList createChipsList();   // every chip that may be shuffled
    void createChipsRandomPaires(ChipList& chips);
    ChipList createChipsList2();  // candidates for a cascade reward
    void createBonusOnChip(const ChipPtr& chip, const ChipDataPtr& cd);
    void createBonus(const ChipPtr& chip, int matchSize);  // the flying copies of a large match arrived
    void createBonus1();
    ChipDataPtr getRandomBonus1();
    ChipDataPtr getRandomBonus();
    std::string getRandomBonusType();
    void destroyChipsLikeThisOne(const TilePtr& tile, int delay);
    void changeChipsOnThisOne(const TilePtr& tile, const ChipDataPtr& cd);
    void destroyRandomChips(int n);
    ChipList getAllChips();
    ChipList getAllChipsLikeThis(const ChipDataPtr& cd);
    ChipList getAllChipsLikeThisById(int id);
    ChipList getRandomChips(int n);
    ChipList getRandomChipsWithout(int n, const ChipDataPtr& cd);
    ChipList getChipsSQR(int r, int c, int size);
    // Takes every chip but puzzle pieces off the board at once, so the
    // creators refill it (what the play screen's falling pieces end in).
    void dropAllChips();

    // --- look-ups and dealing --------------------------------------------------
    TileDataPtr getTileData(int id);
    std::shared_ptr<TM3FrameData> getFrameData(int id);
    std::shared_ptr<TM3FrameData> getFrameDataByDir(int dx, int dy, const std::string& typ);
    ChipDataPtr getChipData(int id);
    ChipDataPtr getBonusChipData(int id);
    ChipPtr getChipByPos(int r, int c);
    TilePtr getTile(int r, int c);  // null outside the board
    TilePtr getTileByMousePosition();
    ChipPtr getChipByPositionVector(const TTile& tile, int dr, int dc);
    ChipPtr getRandomChip();
    ChipPtr getRandomChipsByDim(int r, int c);  // a random kind that makes no match at (r, c)

    // --- state queries ---------------------------------------------------------
    int _nothingIsHappening();
    int isAnyBonus();
    int isBonus(int id);
    int isChain(int n);
    int isBonusType(const std::string& typ);
    int isBonusType2(const std::string& typ);

    // --- hooks the pieces call ----------------------------------------------------
    void addScore(int n);
    void setChainBroken();
    void setPuzzleCollected();
    void setTileMatched();
    void puzzleCollectedAt();  // appends the level time to the collection times
    int profileLevel();        // the player's level number (1 = first level)
    // A matched chip of a power-up colour sends charge to slot 0..5. The effect
    // only draws the flight; the engine adds the charge when it is over.
    void sendResourceToPowerUp(const TTile& from, int slot);
    TM3Effects& fx();
    TM3Input& in();

    // --- drawing --------------------------------------------------------------
    void drawMyLine(float x1, float y1, float x2, float y2);
    void _drawOverImg();
    void _drawChain();
    void _drawRamka();
    void _drawLightened();

    // Frame budget of the engine's own loops: a chain reaction or a shuffle that
    // does not settle within it is cut short.
    static constexpr int kMaxChainReaction = 4096;

private:
    struct PendingBonus {
        ChipPtr chip;
        int matchSize = 0;
        int due = 0;
    };
    struct PendingCharge {
        int slot = 0;
        int due = 0;
    };
    std::vector<PendingBonus> _pendingBonuses;
    std::vector<PendingCharge> _pendingCharges;
    std::vector<TChip*> _chipSnapshot;  // who lay where when the frame began
    std::vector<int> _bfsPrev;          // gap filling of the chain
    std::vector<int> _bfsQueue;
    std::vector<TChip*> _searchSeen;    // group members already searched
    bool _dragging = false;
    int _blasts = 0;  // blasts set off during this frame (chain reaction guard)
    void _settlePending();
    bool _inChain(const TChip* chip) const;
    void _matchChain();
    void _matchGroup(const TilePtr& tile);
    TilePtr _tilePtr(const TTile& t) const;
    bool _blastAllowed();
};
