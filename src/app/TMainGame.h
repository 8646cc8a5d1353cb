// The play screen: one match-3 level from its opening show through play to
// the win or the loss, with the HUD, the power-ups, hints and tool tips.
#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "app/TArrow.h"
#include "app/TBoardView.h"
#include "app/TEkran.h"
#include "data/TDim.h"
#include "effects/TParticle.h"

class TLevel;
class TM3Game;
class TPowerUp;
class TProfile;
class TMatchInfo;
class TTile;
class TTileData;
class TChip;
class TMainGameEffects;
class TM3AutoPlayer;

class TMainGame : public TEkran {
public:
    TMainGame();
    ~TMainGame() override;

    // --- fields -----------------------------------------------------------------
    ImagePtr img, podklad, wstega, wstega2, wstazka, timePanel, timePodklad, timeLine, panelZegara,
        panelBonusow, powerUpPodklad, bonusObw, imgIgla, imgMlotek, imgNozyce, imgRozczka, timeDiv;
    std::array<ImagePtr, 3> trybImg{}, trybImgSmall{};
    int tryb = 0;  // 0 none, 1 hammer, 2 vanish colour, 3 cross-fire, 4 replace
    int checked = 0;
    // Boards refilled in a row with no match between them; a board that
    // cannot make a match after kMaxIdleRefills refills (or cannot be
    // refilled at all) ends the round.
    int _idleRefills = 0;
    int _matchesAtRefill = -1;
    static constexpr int kMaxIdleRefills = 3;
    // Ends a round that can make no progress, with a notice; true when it did.
    bool _endIfStuck();
    bool lostNoMoves = false;  // the last loss was a round with no move left
    int continueLevel = 0;
    std::array<int, 6> bonusUse{};
    int byloZnak = 0;
    std::shared_ptr<TLevel> level;
    std::shared_ptr<TM3Game> m3Game;
    int secondTime = 0;
    std::shared_ptr<TMatchInfo> match3Info;
    std::shared_ptr<TMatchInfo> hintInfo;
    int hintTime = 0;
    std::list<TArrowPtr> arrows;
    int puzzleCollected = 0;
    float oznP = 0, dOznP = 0, hper = 0, dhper = 0;
    int blaskPuzzliTime = 0;
    float bonusOA = 0, dBonusOA = 0;
    std::vector<std::shared_ptr<TChip>> vanishList;
    int vanishPartTime = 0;
    float iloscPwrup = 0;
    float guiAlpha = 0;
    float efPer = 0, dEfPer = 0;
    int endTime = 0;
    float znakPer = 0, dZnakPer = 0;
    int znakTime = 0;
    std::string txtScore, txtTime, txtLevel, txtPuzzlesLeft, txtTilesLeft, txtNotAvailable, txtCharged,
        txtReadyToUse, txtNotOnThisLevel;
    std::array<std::string, 3> txtMatch{};
    std::array<std::string, 6> txtPowerUp{}, txtPowerUpOpis{};
    FontPtr scoreFont1, scoreFont2, multiFont, timeFont, matchFont, toolTipFont, toolTipTitleFont;
    int partTime = 0;
    std::array<float, 17> toolTipA{}, dToolTipA{};
    std::list<std::string> listaCzasow;
    int toExit = 0;
    int chainBroken = 0;
    int tileMatched = 0;
    int secondTime2 = 0;
    int levelTime = 0;

    // --- operations -------------------------------------------------------------
    int setup() override;
    int _drawGui() override;
    int draw() override;
    int _updateGui() override;
    int update() override;

    virtual int _setupGUI();
    virtual int _setupGame();
    virtual int _setupTexts();
    virtual int addScore(int i);
    virtual int resetPowerUps();
    virtual TDim getPowerUpDim(int i);
    // The HUD's panels where they stand at rest: the power-up panel, the
    // clock, the score counters and the menu button (what a tip keeps clear of).
    std::vector<TDim> hudPanels() const;
    // How often the backdrop and board pictures have been baked (each level
    // once, and again whenever the display lost them).
    int backBakes() const { return _backBakes; }
    virtual int useBonus_hammer();
    virtual int useBonus_bomba();
    virtual int useBonus_shuffle();
    virtual int useBonus_losoweUsun();
    virtual int useBonus_VanishColor();
    virtual int useBonus_zamienNiektore();
    virtual int useBonus(int i);
    virtual int useHammerOnTile(const std::shared_ptr<TTile>& t);
    virtual int useHammerOnTile2(const std::shared_ptr<TTile>& t);
    virtual int useZamienOnTile(const std::shared_ptr<TTile>& t);
    virtual int useVanishOnTile(const std::shared_ptr<TTile>& t);
    virtual int useCrossFireOnTile(const std::shared_ptr<TTile>& t);
    virtual std::vector<std::shared_ptr<TTile>> createTilesListByRound(int r, int c);
    virtual int goodDim(int r, int c);
    virtual std::vector<std::shared_ptr<TTile>> createTilesListForCrossFireX(int r, int c);
    virtual int isChainBroken();
    virtual int initFlyingTiles();
    virtual int initBegin_Show0();
    virtual int initBegin_Show1();
    virtual int initBegin_Show2();
    virtual int initBegin_Show3();
    virtual int initBegin_Show4();
    virtual int initBegin_Show5();
    virtual int initBegin_Show6();
    virtual int initBegin();
    virtual int initEnd_FlyAway();
    virtual int initEnd_FlyDown();
    virtual int initEnd();
    virtual int isMatch();
    virtual std::string getScoreString();
    virtual std::string getCutString(int i, int n);
    virtual std::string getTimeString(int s);
    virtual std::string getTimeLeft();
    static std::string cutFloat(float f);
    virtual std::string getGameTime();
    virtual int _drawBack();
    virtual int _drawHintInfo();
    virtual int _drawGame();
    virtual int _drawWstega();
    virtual int _drawPanele();
    virtual int _drawPanele_GHOST();
    virtual int _drawTime();
    virtual int _drawMatchType();
    virtual int _drawArrows();
    virtual int _drawPowerUpsToolTips();
    virtual int _drawToolTips();
    virtual int _drawTrybImg();
    virtual int _drawDirBonusObwodka(const TDim& d);
    virtual int _drawBonusObwodka();
    virtual int _drawBonusIMGDir(const ImagePtr& image);
    virtual int _drawBonusImg();
    virtual int showHint();
    virtual int showHint2();
    virtual int hideHint();
    virtual int _STATE_Begin();
    virtual int _STATE_BEGIN1();
    virtual int _STATE_Win();
    virtual int _STATE_win_end();
    virtual int _STATE_next_level();
    virtual int _STATE_Lose();
    virtual int _STATE_Main_menu();
    virtual int _STATE_Restart();
    virtual int _STATE_Normal();
    virtual int _updateState();
    virtual int _updateTime();
    virtual int _updateFromOtherScreen();
    virtual int _updateBonusParticles(const TDim& d);
    virtual int _updateTileOverClear();
    virtual int _updateTileOver(const std::shared_ptr<TTile>& t);
    virtual int _updateTileOverCrossfire(const std::shared_ptr<TTile>& t);
    virtual int _updateTileVanish(const std::shared_ptr<TTile>& t);
    virtual int _updateTileZamien(const std::shared_ptr<TTile>& t);
    virtual int _updateTryb();
    virtual int _updateOzn();
    virtual int _updateHper();
    virtual int _updateEfPer();
    virtual int _updateArrows();
    virtual int _updatePuzzleBlask();
    virtual int _updateToolTips();
    virtual int _updateZnak();
    virtual int _updateBonusObw();
    virtual int _preparePowerUps();
    virtual int _prepareSelf();
    virtual int _prepareNapisy();
    virtual int _prepareLog();
    virtual int _prepareMusic();
    virtual int prepare();
    virtual std::string mainLoop();
    bool loopDone() const override;
    void _control() override;
    void _frameBegin() override;
    void _frameDrawn() override;
    void _framePresented() override;
    int updateCovered() override;
    virtual int finish();
    virtual int _controlGame();
    virtual int _controlGUI();
    virtual int _controlKEYBOARD();
    virtual int goMENU();
    virtual int sendAllToOdpady();
    virtual int setStartData();
    virtual int setLevel(const std::shared_ptr<TLevel>& lvl);
    virtual int setState(const std::string& s);
    virtual int CHEATRestart();
    virtual int CHEATWIN();
    virtual int WIN();
    virtual int LOSE();
    virtual int createArrow(int n, int x, int y, int rot);
    virtual int createHintArrows(int x1, int y1, int x2, int y2);

    // --- links to screens built elsewhere (set by the wiring) ------------------
    // Each runs a nested screen over this one and returns its answer.
    std::function<std::string()> winScreenLoop;   // "" when closed
    std::function<std::string()> loseScreenLoop;  // "RESTART" or "MAIN-MENU"
    std::function<std::string()> optionsLoop;     // "RESUME", "RESTART", "MAIN-MENU", "SETTINGS"
    std::function<void()> tutorialUpdate;         // per frame in "NORMAL" and "WIN"
    std::function<bool()> tutorialTipShown;
    std::function<void()> tutorialDraw;      // per frame, over the board and the HUD
    std::function<void()> tutorialClearTip;  // a level begins or ends: no tip stays
    // The goal card is on screen or fading (the tutorial's tips wait for it).
    bool goalCardShown() const { return _goalA > 0 || _goalDA > 0; }
    void closeGoalCard() { _goalA = _goalDA = 0; }
    // A parchment card with a wooden rim `rim` wide over a soft shadow, like
    // the HUD's panels (the goal card, the tool tips).
    static void drawCard(float x, float y, float w, float h, float a, float rim);
    std::function<void(int result)> playLogLevel;  // 1 won, 0 lost, -1 main menu, -2 restart
    // A message box over the play screen until the player closes it.
    std::function<void(const std::string&)> showNotice;

    // The profile the level is played for: the current player's in the quest,
    // a throw-away one for a level played on its own.
    std::shared_ptr<TProfile> profile;
    // That profile; a throw-away one with every power-up when none is set.
    TProfile& player();
    // Power-up slot 0..5 of that profile (made when the profile has none).
    TPowerUp& powerUpOf(int slot);

    // --- helpers of our own ---------------------------------------------------------
    bool isSetUp() const { return _setUp; }
    // How the board is shown: through a smaller view when it is larger than
    // the room the HUD leaves (set by setLevel).
    const TBoardView& boardView() const { return _view; }
    // The headless harness drives the autoplayer through the real mouse.
    bool autoplayWanted = false;
    int autoplayMoves() const;
    // The cross-fire cells of (r, c) on a board of rows x cols where ok(r, c)
    // tells a real plate (pure, for tests).
    static std::vector<std::pair<int, int>> crossFireCells(int r, int c, int rows, int cols,
                                                           const std::function<bool(int, int)>& ok);
    // The HUD time text for a number of seconds: "m:ss", or "h:mm:ss" from an hour on.
    static std::string formatTime(int seconds);
    int tilesLeft() const;
    // Plates left to break when the level began, and how many of them the
    // player has broken since (what the HUD's counter counted down).
    int platesAtStart = 0;
    int platesBroken() const { return std::max(0, platesAtStart - tilesLeft()); }
    int puzzlesLeft() const;
    bool lostLevel = false;  // the lose screen ran in the current loop
    // A chain or group too short to match: its chips shake for a moment.
    void refuseChips(const std::vector<std::shared_ptr<TChip>>& chips);
    bool chipsShaking() const { return !_refused.empty(); }
    // A match was made: long cascades and big matches earn a word of praise.
    void praiseMatch(int size, int cascade);
    // The praise a match earns: 0 none, then 1 "Great", 2 "Excellent",
    // 3 "Terrific", 4 "Spectacular" (pure, for tests).
    static int praiseFor(int size, int cascade);
    int praiseShown() const { return _praiseRank; }
    // Per frame: the refused chips' shake, the hovered group.
    void _updateFeedback();
    // Group mode: the chips of the group under the pointer (outlined).
    const std::vector<std::shared_ptr<TChip>>& hoverGroup() const { return _hoverGroup; }
    // How often the hovered group was searched for (once a change of the
    // board or of the tile under the pointer).
    int hoverGroupSearches() const { return _hoverSearches; }
    // What a power-up's tool tip says about it: not unlocked yet, never
    // charged on this level (none of its chips are in the level's colours),
    // ready, or charging (pure, for tests).
    enum class PowerUpStatus { Locked, NotOnThisLevel, Ready, Charging };
    static PowerUpStatus powerUpStatus(bool unlocked, float charge, bool chargeable);
    // Power-up slot i (0..5) is charged by one of the current level's colours.
    static bool powerUpChargeable(int i);
    // True while the pause panel (the options over a level) is open.
    bool paused() const { return _paused; }
    // While paused in timed mode the board is not shown: the clock stands
    // still, so the player must not plan moves meanwhile.
    bool boardHidden() const;
    // One line on stdout for the harness's checks (only while a script runs).
    void harnessLog(const std::string& event) const;
    int framesLoop = 0;  // frames run by the current mainLoop (benchmarks)
    // Frame times of the current loop's play in microseconds (only when recording;
    // the environment variable BRIMBLE_FRAME_STATS prints them when the loop ends).
    bool recordFrameTimes = false;
    std::vector<int> frameTimesUs, fullFrameTimesUs;
    std::vector<int> celebrationFrameTimesUs;  // whole frames from the win to its panel
    // Prints the recorded frame times (median, 99th percentile, longest) to stderr and forgets them.
    void reportFrameStats();

private:
    bool _setUp = false;
    TBoardView _view;
    // Fits the view to the level just placed and lets the particles and the
    // falling pieces know.
    void _applyBoardView();
    std::vector<std::weak_ptr<TChip>> _refused;
    int _refusedUntil = 0;
    int _praiseRank = 0;  // the best praise shown for the current move
    std::vector<std::shared_ptr<TChip>> _hoverGroup;
    const TTile* _hoverTile = nullptr;           // the tile of the last group search
    std::vector<std::uintptr_t> _hoverBoardKey;  // the board at that search
    int _hoverSearches = 0;
    void _forgetHoverGroup();
    bool _boardChangedSinceHoverSearch(const TTile* over);
    void _drawGroupOutline();
    bool _paused = false;
    bool _winScreenUp = false;  // the win panel runs over this screen
    float _duskA = 0;           // the sky darkening for the fireworks
    // The win's caption and its stars: drawn over the dusk, the word on a
    // dark halo, so it stays readable as night falls.
    TParticleList _winCaption{16};
    void _drawCelebration();
    void _warmGlyphs();
    std::shared_ptr<TMainGameEffects> _effects;
    std::shared_ptr<TM3AutoPlayer> _autoplayer;
    ImagePtr _backCache;   // background, vignette and HUD panels grabbed once per level
    ImagePtr _boardCache;  // the same with the board's frame and its plates at rest
    std::vector<const TTileData*> _boardCachePlates;  // each cell's plate in _boardCache
    bool _backCacheValid = false;
    int _backCacheResets = 0;  // DisplayResets() when the cached pictures were baked
    int _backBakes = 0;
    // The background scene and the vignette are freed once baked into the
    // cached pictures, and read again when a re-bake needs them.
    bool _backImgFreed = false, _podkladFreed = false;
    ImagePtr _tileIcon, _puzzleIcon;
    // Grey copies of the power-up buttons' pictures, tinted when drawn (1..6).
    std::array<ImagePtr, 7> _chargeTemplates{};
    std::array<bool, 7> _chargeTemplateTried{};
    ImagePtr _chargeTemplate(int n, const ImagePtr& face);
    FontPtr _captionFont1, _captionFont2;
    TDim _bonusDim[7];  // button rectangles, 1..6
    int _lastSeconds = -1;
    std::string _timeText, _scoreText, _tilesText, _puzzlesText;
    int _lastScore = -1, _lastTiles = -1, _lastPuzzles = -1;
    // Captions of the two HUD counters, and the level they were last drawn
    // for (the pieces counter shows only on levels that have puzzle pieces).
    std::string txtPlatesCaption, txtPiecesCaption;
    const TLevel* _countersLevel = nullptr;
    bool _levelHasPieces = false;
    // The goal card: what the level asks for, shown with the opening until the
    // player clicks it away (or play has run a few seconds).
    float _goalA = 0, _goalDA = 0;
    std::vector<std::string> _goalLines;
    std::string txtGoalTitle, txtGoalPlates, txtGoalPieces, txtGoalTimed, txtGoalRelaxed, txtGoalClose;
    void _openGoalCard();
    void _updateGoalCard();
    void _drawGoalCard();
    int _showKind = -1;
    int _normalSince = 0;  // clock time play began (harness log)
    // Play takes clicks as soon as the opening's chips have landed; the
    // clocks start when the board's frame has faded in.
    bool _clocksStarted = true;
    void _startClocks();
    bool _frameBusy = false;
    bool _frameCelebrating = false, _frameRanWinScreen = false;
    std::chrono::steady_clock::time_point _frameStart;
    void _buildBackCache();
    void _freeBackSources();
    void _reloadBackSources();
    void _renewBoardCache();
    void _drawBackStatic(float slide);
    void _drawCounters();
    void _driveAutoplayer();
    void _armRightHammer();
    void _puzzleTargetRefused();
    void _finishUse(int index);
};

extern std::shared_ptr<TMainGame> mainGame;

// The script's "autoplay" works now: the play screen runs a level.
bool playScreenTakesAutoplay();
