#include "app/TMainGame.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/AppGlobals.h"
#include "app/Control.h"
#include "app/FrameServices.h"
#include "app/Harness.h"
#include "app/PlaySprites.h"
#include "app/TMainGameEffects.h"
#include "app/TOdpad.h"
#include "audio/TGlobalSnd.h"
#include "data/DataGlobals.h"
#include "data/TTxtFile.h"
#include "effects/Particles.h"
#include "effects/TFireworks.h"
#include "effects/TNumberAndTextParticle.h"
#include "effects/TPlayParticles.h"
#include "effects/TTextParticle.h"
#include "gui/GuiGlobals.h"
#include "gui/TButton.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "match3/TBackGround.h"
#include "match3/TChip.h"
#include "match3/TChipData.h"
#include "match3/TLevel.h"
#include "match3/TM3AutoPlayer.h"
#include "match3/TM3Frame.h"
#include "match3/TM3Game.h"
#include "match3/TM3Input.h"
#include "match3/TM3Particles.h"
#include "match3/TM3Settings.h"
#include "match3/TMatchInfo.h"
#include "match3/TPowerUp.h"
#include "match3/TTile.h"
#include "platform/Backend.h"
#include "profiles/TProfileManager.h"

std::shared_ptr<TMainGame> mainGame;

namespace {

constexpr float kDuskMax = 0.5f;  // the dusk's opacity once night has fallen
// The win caption's halo, and the faintest the word fades to before it goes:
// the letters stay above 4.5:1 against their halo down to it. The halo is
// there from the start, as the scene behind the word goes from the lit board
// through the dusk's mid-grey (where neither a light nor a dark fill would
// read without it) to night.
constexpr float kWinCaptionShade = 0.8f;
constexpr float kWinCaptionFloor = 0.75f;

// The board reads the game's mouse as the GUI sees it this frame (the GUI
// mouse has already taken the presses from the services), mapped back through
// the view the board is shown in.
class TGameMouseInput : public TM3Input {
public:
    explicit TGameMouseInput(const TMainGame& s) : _s(s) {}
    int mouseX() override {
        return static_cast<int>(std::floor(_s.boardView().toBoardX(static_cast<float>(mouse.x))));
    }
    int mouseY() override {
        return static_cast<int>(std::floor(_s.boardView().toBoardY(static_cast<float>(mouse.y))));
    }
    int mouseHit() override {
        const int h = mouse.leftPressed;
        mouse.leftPressed = 0;
        return h;
    }
    bool mouseDown() override { return mouse.leftHolded != 0; }
    void flushMouse() override { mouse.clear(); }

private:
    const TMainGame& _s;
};

std::string upperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

// The approach step shared by the HUD values: v moves towards d by step.
void approach(float& v, float d, float step) {
    if (v < d)
        v = std::min(d, v + step);
    else if (v > d)
        v = std::max(d, v - step);
}

ImagePtr loadHud(const std::string& name, bool mid) {
    ImagePtr i = LoadImage(dataRoot + "gfx/gui/mainGame/" + name + ".png", IMG_FILTERED);
    if (!i)
        std::fprintf(stderr, "Play screen: cannot load gfx/gui/mainGame/%s.png\n", name.c_str());
    else if (mid)
        MidHandleImage(i);
    return i;
}

}  // namespace

TMainGame::TMainGame() {
    id = "MAIN-GAME";
    _effects = std::make_shared<TMainGameEffects>(*this);
}

TMainGame::~TMainGame() {
    if (_setUp) {
        setM3Effects(nullptr);
        setM3Particles(nullptr);
    }
}

bool playScreenTakesAutoplay() {
    return mainGame && mainGame->level && Control::currentName == "MAIN-GAME" && mainGame->isSetUp();
}

TProfile& TMainGame::player() {
    if (!profile) {
        // Played without a player (a test or a tool): every power-up is there.
        profile = std::make_shared<TProfile>();
        profile->allPowerUps = true;
        profile->gameMode = "RELAXED";
    }
    return *profile;
}

TPowerUp& TMainGame::powerUpOf(int slot) {
    auto& p = player().powerUp[static_cast<size_t>(slot < 0 ? 0 : (slot > 5 ? 5 : slot))];
    if (!p) {
        p = std::make_shared<TPowerUp>();
        p->n = (slot < 0 ? 0 : (slot > 5 ? 5 : slot)) + 1;
    }
    return *p;
}

// ---------------------------------------------------------------------------
// Set-up

int TMainGame::setup() {
    if (_setUp) return 0;
    _setUp = true;
    _setupGUI();
    _setupGame();
    _setupTexts();
    return 0;
}

int TMainGame::_setupGUI() {
    Gui = loadGui(dataRoot + "gfx/gui/mainGame/mainGame.gui");
    img = loadHud("img", false);
    podklad = loadHud("podklad", false);
    wstega = loadHud("wstega", true);
    wstega2 = loadHud("wstega2", true);
    wstazka = loadHud("wstazka", true);
    timePanel = loadHud("timePanel", false);
    timePodklad = loadHud("timePodklad", false);
    timeLine = loadHud("timeLine", false);
    panelZegara = loadHud("panelZegara", true);
    panelBonusow = loadHud("panelBonusow", false);
    powerUpPodklad = loadHud("powerUpPodklad", true);
    bonusObw = loadHud("bonusObw", true);
    imgIgla = loadHud("igla", true);
    imgMlotek = loadHud("mlotek", true);
    imgNozyce = loadHud("nozyce", true);
    imgRozczka = loadHud("rozczka", true);
    timeDiv = loadHud("timeDiv", false);
    for (int i = 0; i < 3; ++i) {
        trybImg[i] = loadHud("tryb" + std::to_string(i), true);
        trybImgSmall[i] = loadHud("trybSmall" + std::to_string(i), true);
    }
    TArrow::img = loadHud("arrow", true);
    _tileIcon = LoadImage(dataRoot + "gfx/gui/winScreen/tiles.png", IMG_FILTERED);
    if (_tileIcon) MidHandleImage(_tileIcon);
    _puzzleIcon = LoadImage(dataRoot + "gfx/gui/winScreen/puzel.png", IMG_FILTERED);
    if (_puzzleIcon) MidHandleImage(_puzzleIcon);
    PlaySprites::glow = LoadImage(dataRoot + "gfx/particles/glow.png", IMG_FILTERED);
    if (PlaySprites::glow) MidHandleImage(PlaySprites::glow);

    const std::string bookman = dataRoot + "gfx/fonts/Bookman.ttf",
                      blue = dataRoot + "gfx/fonts/bluehigh.ttf";
    scoreFont1 = guiLoadFont(blue, 30, 0);
    scoreFont2 = guiLoadFont(blue, 18, 0);
    multiFont = guiLoadFont(bookman, 22, 0);
    timeFont = guiLoadFont(blue, 28, 0);
    matchFont = guiLoadFont(bookman, 22, 0);
    toolTipFont = guiLoadFont(blue, 17, 0);
    toolTipTitleFont = guiLoadFont(bookman, 19, 0);
    _captionFont1 = guiLoadFont(bookman, 64, 0);
    _captionFont2 = guiLoadFont(bookman, 54, 0);

    // Button centres (in the tool-tip rectangles), also when the script lacks a button.
    static const int ys[6] = {97, 189, 269, 349, 429, 517};
    for (int i = 1; i <= 6; ++i) {
        _bonusDim[i].x = 56;
        _bonusDim[i].y = static_cast<float>(ys[i - 1]);
        _bonusDim[i].w = 72;
        _bonusDim[i].h = 72;
        _bonusDim[i].update();
    }
    TPowerUp::setWidgetState = [this](const std::string& name, int a, int b) {
        if (!Gui) return;
        if (auto w = Gui->getItem(name)) w->setState(a, b);
    };
    TPowerUp::widgetCentre = [this](const std::string& name, float& x, float& y) {
        if (name.size() < 7) return false;
        const int n = name.back() - '0';
        if (n < 1 || n > 6) return false;
        const TDim d = getPowerUpDim(n);
        x = d.x;
        y = d.y;
        return true;
    };
    return 0;
}

int TMainGame::_setupGame() {
    m3Game = std::make_shared<TM3Game>();
    m3Game->loadSettings("data/settings.dat");
    m3Game->loadTiles("data/tiles.dat");
    m3Game->loadChips("data/chips.dat");
    m3Game->loadBonusChips("data/bonusy.dat");
    m3Game->loadFrame("data/frames.dat");
    m3Game->loadOverImg("gfx/select.png", 5, 5);
    loadBackgrounds("data/backgrounds.dat");
    m3Game->linia = LoadImage(dataRoot + "gfx/gui/maingame/linia.png", IMG_FILTERED);
    if (m3Game->linia) MidHandleImage(m3Game->linia);
    m3Game->imagePoint = LoadImage(dataRoot + "gfx/gui/mainGame/punkt.png", IMG_FILTERED);
    if (m3Game->imagePoint) MidHandleImage(m3Game->imagePoint);
    m3Game->host = _effects;
    m3Game->input = std::make_shared<TGameMouseInput>(*this);
    TPowerUp::loadTable();
    setM3Effects(_effects.get());
    setM3Particles(&playParticles());
    _autoplayer = std::make_shared<TM3AutoPlayer>(*m3Game);
    _autoplayer->setsOffBonuses = true;  // a board holding a bonus is never refilled here
    return 0;
}

int TMainGame::_setupTexts() {
    auto t = loadLocalisedText(dataRoot + "txt/mainGame.txt");
    auto line = [&](int n) -> std::string {
        if (!t || n < 1 || n > t->lines()) return "";
        return t->txt[static_cast<size_t>(n - 1)];
    };
    txtScore = line(1);
    txtTime = line(2);
    for (int i = 0; i < 3; ++i) txtMatch[i] = line(5 + i);
    txtLevel = line(8);
    txtTilesLeft = line(9);
    txtPuzzlesLeft = line(10);
    for (int i = 0; i < 6; ++i) {
        txtPowerUp[i] = line(11 + 2 * i);
        txtPowerUpOpis[i] = line(12 + 2 * i);
    }
    txtNotAvailable = line(23);
    txtCharged = line(24);
    txtReadyToUse = line(25);
    txtNotOnThisLevel = line(34);
    if (txtNotOnThisLevel.empty()) txtNotOnThisLevel = "Not available on this level";
    txtPlatesCaption = line(26);
    txtPiecesCaption = line(27);
    txtGoalTitle = line(28);
    txtGoalPlates = line(29);
    txtGoalPieces = line(30);
    txtGoalTimed = line(31);
    txtGoalRelaxed = line(32);
    txtGoalClose = line(33);
    return 0;
}

// ---------------------------------------------------------------------------
// Level

int TMainGame::setLevel(const std::shared_ptr<TLevel>& lvl) {
    setup();
    PlaySprites::clearAll();  // before the old tiles go
    level = lvl;
    if (!level) return 0;  // no level to play: the screen stays unused
    // A level saved without its frame gets one laid out around its plates.
    bool framed = false;
    for (auto& row : level->ramka)
        for (auto& f : row)
            if (f && f->lista.size() > 1) framed = true;
    if (!framed) level->CreateLevelFrames();
    m3Game->setLevel(level);
    m3Game->pickedTile.reset();
    m3Game->setLevelPosition(534, 406);
    _applyBoardView();
    m3Game->_updateTiles();
    player().save();
    bonusUse.fill(0);
    _backCacheValid = false;
    return 0;
}

void TMainGame::_applyBoardView() {
    const float px = level->settings ? level->settings->sizeX : 60,
                py = level->settings ? level->settings->sizeY : 60;
    _view = TBoardView::fit(level->rows, level->cols, px, py, level->lx, level->ly);
    if (_view.identity()) {
        playParticles().setBoardToScreen(nullptr);
    } else {
        playParticles().setBoardToScreen([this](float& x, float& y) {
            x = _view.toScreenX(x);
            y = _view.toScreenY(y);
        });
    }
    TOdpad::fadeY = _view.toBoardY(700);
    TOdpad::endY = _view.toBoardY(840);
}

int TMainGame::setStartData() {
    setState("BEGIN");
    _openGoalCard();
    toExit = 0;
    return 0;
}

int TMainGame::setState(const std::string& s) {
    state = s;
    return 0;
}

// ---------------------------------------------------------------------------
// Loop

std::string TMainGame::mainLoop() {
    setup();
    if (!level) return "MAIN-MENU";
    prepare();
    lostLevel = false;
    _normalSince = 0;
    framesLoop = 0;
    frameTimesUs.clear();
    fullFrameTimesUs.clear();
    // Development: frame times of the play (not the opening) reported at the end.
    static const bool stats = std::getenv("BRIMBLE_FRAME_STATS") != nullptr;
    if (stats) {
        recordFrameTimes = true;
        // A script that quits mid-level still gets its figures.
        static const bool registered = [] {
            std::atexit([] {
                if (mainGame) mainGame->reportFrameStats();
            });
            return true;
        }();
        (void)registered;
    }
    celebrationFrameTimesUs.clear();
    if (recordFrameTimes) {
        frameTimesUs.reserve(60 * 600);
        fullFrameTimesUs.reserve(60 * 600);
        celebrationFrameTimesUs.reserve(60 * 60);
    }
    runLoop();
    if (tutorialClearTip) tutorialClearTip();
    if (stats) reportFrameStats();
    finish();
    return wynik;
}

bool TMainGame::loopDone() const {
    return toExit != 0;
}

void TMainGame::_frameBegin() {
    if (!recordFrameTimes) return;
    static const char* statsEnv = std::getenv("BRIMBLE_FRAME_STATS");
    static const bool statsAll = statsEnv != nullptr && std::string(statsEnv) == "all";  // idle frames too
    // Only frames of play with something going on count (a cascade,
    // particles, sprites); the win's celebration is counted on its own.
    const std::string st = upperAscii(state);
    _frameBusy = _normalSince > 0 && st == "NORMAL" &&
                 (statsAll || !m3Game->_nothingIsHappening() || playParticles().count() > 0 ||
                  !PlaySprites::odpady.empty() || !PlaySprites::resources.empty());
    _frameCelebrating = st == "WIN" || st == "WIN-END";
    _frameRanWinScreen = false;
    _frameStart = std::chrono::steady_clock::now();
}

// The frame's own work (update and drawing), without the wait for the display.
void TMainGame::_frameDrawn() {
    if (!recordFrameTimes || !_frameBusy || frameTimesUs.size() >= frameTimesUs.capacity()) return;
    frameTimesUs.push_back(static_cast<int>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - _frameStart)
            .count()));
}

// The whole frame's work with its present, less the sleep that holds 60 fps.
void TMainGame::_framePresented() {
    if (!recordFrameTimes) return;
    const int us = static_cast<int>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - _frameStart)
            .count() -
        static_cast<long long>(LastFlipWaitMs() * 1000));
    // The frame that ran the whole win screen inside it is not one frame.
    if (_frameCelebrating && !_frameRanWinScreen &&
        celebrationFrameTimesUs.size() < celebrationFrameTimesUs.capacity())
        celebrationFrameTimesUs.push_back(us);
    if (!_frameBusy || fullFrameTimesUs.size() >= fullFrameTimesUs.capacity()) return;
    fullFrameTimesUs.push_back(us);
}

void TMainGame::_control() {
    _controlGUI();
    _controlGame();
    _controlKEYBOARD();
    if (fade == 1.0f && dFade == 1.0f) toExit = 1;
    ++framesLoop;
}

int TMainGame::updateCovered() {
    return _updateFromOtherScreen();
}

void TMainGame::reportFrameStats() {
    if (!celebrationFrameTimesUs.empty()) {
        std::vector<int> t = celebrationFrameTimesUs;
        std::sort(t.begin(), t.end());
        std::fprintf(stderr,
                     "celebration (the win until its panel), %zu frames with present: median %.2f ms, 99th "
                     "percentile %.2f ms, longest %.2f ms\n",
                     t.size(), t[t.size() / 2] / 1000.0, t[t.size() * 99 / 100] / 1000.0, t.back() / 1000.0);
        celebrationFrameTimesUs.clear();
    }
    for (auto* v : {&frameTimesUs, &fullFrameTimesUs}) {
        std::vector<int> t = *v;
        if (t.empty()) continue;
        std::sort(t.begin(), t.end());
        std::fprintf(stderr,
                     "%s of %zu busy frames: median %.2f ms, 99th percentile %.2f ms, longest %.2f ms\n",
                     v == &frameTimesUs ? "update+draw" : "whole frame with present (pacing sleep left out)",
                     t.size(), t[t.size() / 2] / 1000.0, t[t.size() * 99 / 100] / 1000.0, t.back() / 1000.0);
    }
    frameTimesUs.clear();
    fullFrameTimesUs.clear();
}

void TMainGame::_warmGlyphs() {
    // Glyphs are rendered on their first use; the ones the HUD and the
    // captions bring up during play (new digits of the score and the clock,
    // the chain caption, the tool tips) are rendered now, while the level
    // opens, rather than in a busy frame of a cascade.
    const auto started = std::chrono::steady_clock::now();
    const FontPtr keep = GetImageFont();
    const std::string digits = "0123456789,:-+% ";
    for (const FontPtr& f : {scoreFont1, scoreFont2, timeFont, multiFont}) {
        if (!f) continue;
        SetImageFont(f);
        TextWidth(digits);
    }
    if (toolTipTitleFont) {
        SetImageFont(toolTipTitleFont);
        for (const std::string& t : txtPowerUp) TextWidth(upperAscii(t));
    }
    if (toolTipFont) {
        SetImageFont(toolTipFont);
        for (const std::string& t : txtPowerUpOpis) TextWidth(t);
        TextWidth(digits + txtCharged + txtReadyToUse + txtNotAvailable + txtNotOnThisLevel + txtTilesLeft +
                  txtPuzzlesLeft);
    }
    if (matchFont) {
        SetImageFont(matchFont);
        for (const std::string& t : txtMatch) TextWidth(t);
    }
    SetImageFont(keep);
    setupParticles();  // the chain caption's font, warmed as it loads
    TNumberAndTextParticle::warmFont();
    static const bool stats = std::getenv("BRIMBLE_FRAME_STATS") != nullptr;
    if (stats)
        std::fprintf(
            stderr, "glyphs made ready in %.2f ms\n",
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started)
                    .count() /
                1000.0);
}

int TMainGame::prepare() {
    if (tutorialClearTip) tutorialClearTip();
    _warmGlyphs();
    platesAtStart = tilesLeft();
    _preparePowerUps();
    _prepareSelf();
    _prepareNapisy();
    _prepareLog();
    _prepareMusic();
    return 0;
}

int TMainGame::_preparePowerUps() {
    TProfile& p = player();
    p.checkPowerUps();
    int count = 0;
    for (int i = 0; i < 6; ++i) {
        TPowerUp& pu = powerUpOf(i);
        pu.n = i + 1;
        auto w = Gui ? Gui->getItem("bonus_" + std::to_string(i + 1)) : nullptr;
        if (pu.odkryty) {
            ++count;
            if (w) w->setState(1, pu.aktywny ? 1 : 0);
        } else {
            pu.aktywny = 0;
            if (w) w->setState(1, 0);
        }
    }
    iloscPwrup = static_cast<float>(count) / 6.0f;
    return 0;
}

int TMainGame::_prepareSelf() {
    const int now = Millisecs();
    listaCzasow.clear();
    wynik = "";
    player().gameType = "MAIN-GAME";
    dFade = 0;
    fade = 1;
    aSpeed = 0.015f;
    alpha = 0;
    dAlpha = 1;
    byloZnak = 0;
    znakPer = dZnakPer = 0;
    guiAlpha = 0;
    toExit = 0;
    m3Game->rAlpha = m3Game->dRAlpha = 0;
    hper = 0;
    dhper = 1;
    tryb = 0;
    puzzleCollected = 0;
    level->setGlobalAlpha(0);
    level->setFrameAlpha(0);
    dEfPer = 1;
    chainBroken = 0;
    m3Game->overTile.reset();
    m3Game->pickedTile.reset();
    m3Game->overTilePom.reset();
    secondTime2 = now + 1000;
    secondTime = 0;
    setState("BEGIN");
    _openGoalCard();
    blaskPuzzliTime = now + 12000;
    bonusOA = dBonusOA = 0;
    player().resetPowerUpsEffects();
    PlaySprites::resources.clear();
    PlaySprites::ghosts.clear();
    PlaySprites::emitters.clear();
    playParticles().clear();
    fireworks().clear();
    _duskA = 0;
    _winCaption.clear();
    m3Game->zaznaczone.clear();
    // Our own: nothing of the previous level may linger.
    hintInfo.reset();
    arrows.clear();
    vanishList.clear();
    checked = 0;
    _idleRefills = 0;
    _matchesAtRefill = -1;
    toolTipA.fill(0);
    dToolTipA.fill(0);
    _backCacheValid = false;
    _lastSeconds = _lastScore = _lastTiles = _lastPuzzles = -1;
    if (_autoplayer) _autoplayer->cancel();
    mouse.setCursor("paw");
    return 0;
}

int TMainGame::_prepareNapisy() {
    PlaySprites::captions.clear();
    const int now = Millisecs();
    TFlyingCaption a;
    a.text = txtMatch[static_cast<size_t>(std::clamp(m3Game->matchType, 0, 2))];
    a.font = _captionFont2;
    a.x0 = -300;
    a.x1 = 312;
    a.y = 280;
    a.startTime = now + 1000;
    a.ribbon = wstega2;
    a.r = 251, a.g = 238, a.b = 203;
    PlaySprites::captions.push_back(a);
    TFlyingCaption b;
    b.text = txtLevel + " " + std::to_string(player().nrLevelu);
    b.font = _captionFont1;
    b.x0 = 1300;
    b.x1 = 612;
    b.y = 460;
    b.startTime = now + 1000;
    b.ribbon = wstega;
    b.r = 251, b.g = 238, b.b = 203;
    PlaySprites::captions.push_back(b);
    dZnakPer = 0;
    znakTime = now + 1000;
    return 0;
}

int TMainGame::_prepareLog() {
    continueLevel = levelTime == 0 ? 1 : 0;
    return 0;
}

int TMainGame::_prepareMusic() {
    globalSnd.playLevelMusic();
    return 0;
}

int TMainGame::update() {
    _driveAutoplayer();
    frameUpdate(0);
    const std::string st = upperAscii(state);
    if ((st == "NORMAL" || st == "WIN") && tutorialUpdate) tutorialUpdate();
    _updateState();
    _updateFeedback();
    _updateGoalCard();
    _updateAlpha();
    _updateFade();
    _updateOzn();
    _updateZnak();
    PlaySprites::updateOdpady();
    PlaySprites::updateEmitters();
    PlaySprites::updateGhosts();
    _updateBonusObw();
    PlaySprites::updateResources();
    playParticles().update();
    _updateTryb();
    _updatePuzzleBlask();
    _updateGui();
    if (hintInfo && upperAscii(state) == "NORMAL") hintInfo->update(hintTime);
    _updateHper();
    _updateEfPer();
    _updateArrows();
    PlaySprites::updateCaptions();
    _updateToolTips();
    if (const int bursts = fireworks().update()) {
        if (fireworks().bursts() == bursts) harnessLog("first firework");
        for (int i = 0; i < bursts; ++i) globalSnd.playSound("firework", 0.6f);
    }
    if (upperAscii(state) == "WIN-END") _duskA = std::min(kDuskMax, _duskA + 0.015f * frameDelta);
    _winCaption.update();
    return 0;
}

int TMainGame::_updateHper() {
    if (dAlpha == 0 || alpha == 1.0f) approach(hper, dhper, 0.02f * frameDelta);
    if (hper == 1.0f)
        guiAlpha = std::min(1.0f, guiAlpha + 0.05f * frameDelta);
    else
        guiAlpha = 0;
    return 0;
}

int TMainGame::_updateOzn() {
    // The highlight pulse of marked tiles: 0 -> 1 -> 0 ...
    approach(oznP, dOznP, 0.04f * frameDelta);
    if (oznP == dOznP) dOznP = dOznP > 0.5f ? 0.0f : 1.0f;
    return 0;
}

int TMainGame::_updateEfPer() {
    approach(efPer, dEfPer, 0.03f * frameDelta);
    return 0;
}

int TMainGame::_updateZnak() {
    if (!byloZnak && Millisecs() > znakTime && upperAscii(state) != "BEGIN") {
        byloZnak = 1;
        dZnakPer = 1;
    }
    approach(znakPer, dZnakPer, 0.05f * frameDelta);
    return 0;
}

int TMainGame::_updatePuzzleBlask() {
    // Every 12 s the puzzle pieces on the board glint.
    const int now = Millisecs();
    if (now < blaskPuzzliTime || !level) return 0;
    blaskPuzzliTime = now + 12000;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t && t->chip && t->chip->isPuzzle()) {
                t->chip->dABlask = 1;
                for (int i = 0; i < 5; ++i)
                    playParticles().sparkle(t->dim.x, t->dim.y, 255, 240, 160, i * 60);
            }
    return 0;
}

int TMainGame::_updateState() {
    const std::string st = upperAscii(state);
    if (st != "NORMAL") {
        hideHint();
        player().resetPowerUpsEffects();
    }
    if (st == "BEGIN") return _STATE_Begin();
    if (st == "BEGIN1") return _STATE_BEGIN1();
    if (st == "NORMAL") return _STATE_Normal();
    if (st == "WIN") return _STATE_Win();
    if (st == "WIN-END") return _STATE_win_end();
    if (st == "NEXT-LEVEL") return _STATE_next_level();
    if (st == "LOSE") return _STATE_Lose();
    if (st == "MAIN-MENU") return _STATE_Main_menu();
    if (st == "RESTART") return _STATE_Restart();
    setState("NORMAL");
    return 0;
}

int TMainGame::_STATE_Begin() {
    if (hper > 0.6f) {
        setState("BEGIN1");
        level->setGlobalAlpha(1);
        level->setFrameAlpha(0);
        initBegin();
        globalSnd.playLevelBegin();
    }
    return 0;
}

int TMainGame::_STATE_BEGIN1() {
    PlaySprites::updateFlyingTiles();
    m3Game->_updateFrameAlpha();
    // Once every chip has landed the board looks ready: play begins at once
    // (a click now is a move) while its frame fades in.
    // The clocks (countdown, hints, glints) start as before, once the frame
    // is in (_startClocks).
    if (PlaySprites::flyingTiles.empty()) {
        m3Game->dRAlpha = 1;
        harnessLog("board ready");
        setState("NORMAL");
        _clocksStarted = false;
        secondTime = 0;  // no countdown yet
        const int later = Millisecs() + 60000;
        hintTime = later;
        m3Game->blyskTime = later;
        m3Game->poblyskTime = later;
        if (m3Game->rAlpha >= 1.0f) _startClocks();
    }
    return 0;
}

void TMainGame::_startClocks() {
    const int now = Millisecs();
    _clocksStarted = true;
    _normalSince = now;
    secondTime = now + 1000;
    m3Game->blyskTime = now + 5000;
    m3Game->poblyskTime = now + 7000;
    hintTime = now + 30000;
}

int TMainGame::_STATE_Normal() {
    m3Game->update();
    if (!_clocksStarted && m3Game->rAlpha >= 1.0f) _startClocks();
    dZnakPer = 0;
    // Falling pieces still on their way keep the board busy: the refill is not
    // done yet; nor is the opening while the board's frame still fades in.
    const bool quiet = m3Game->_nothingIsHappening() && PlaySprites::odpady.empty() &&
                       PlaySprites::emitters.empty() && m3Game->rAlpha >= 1.0f;
    if (quiet && checked == 0) {
        checked = 1;
        // A cleared board is won even when no move is left on it.
        if (level->allTilesAre(1) && level->thereIsNoPuzzleChip()) {
            WIN();
            return 0;
        }
        if (!m3Game->_MatchLeft_short()) {
            if (_endIfStuck()) return 0;
            harnessLog("refill");
            sendAllToOdpady();
            playParticles().textParticle(6, 512, 384);
            checked = 0;
            // The clock goes on while the board refills.
        }
    }
    if (!quiet) {
        checked = 0;
        hideHint();
    }
    if (cheatsEnabled && KeyHit(112) && m3Game->overTile && m3Game->overTile->chip)
        m3Game->createBonusOnChip(m3Game->overTile->chip, m3Game->getBonusChipData(105));
    if (_clocksStarted) _updateTime();
    if (upperAscii(state) != "NORMAL") return 0;  // lost on time
    if (mouse.leftPressed || mouse.leftHolded) hideHint();
    if (Millisecs() > hintTime) showHint();
    player().updatePowerUps();
    return 0;
}

int TMainGame::_updateTime() {
    const int now = Millisecs();
    while (now > secondTime2) {
        secondTime2 += 1000;
        if (secondTime2 < now - 1000) secondTime2 = now + 1000;  // after a long pause
        levelTime += 1;
    }
    // A tutorial tip holding the board holds the clock too: reading it costs
    // no time.
    if (guiLocked && secondTime > 0) secondTime = std::max(secondTime, now + 1000);
    if (player().gameMode == "TIMED" && secondTime > 0 && now > secondTime) {
        secondTime = now + 1000;
        level->czas -= 1;
        // The last ten seconds tick audibly (the clock pulses red meanwhile).
        if (level->czas > 0 && level->czas <= 10) {
            globalSnd.playSound("click");
            harnessLog("low time " + std::to_string(level->czas));
        }
        if (level->czas <= 0) {
            level->czas = 0;
            LOSE();
        }
    }
    return 0;
}

int TMainGame::_STATE_Win() {
    if (tutorialTipShown && tutorialTipShown()) return 0;
    m3Game->dRAlpha = 0;
    m3Game->_updateFrameAlpha();
    PlaySprites::ghosts.clear();
    if (m3Game->rAlpha == 0.0f) {
        initEnd();
        // The fireworks begin as the board leaves and go on over the win panel.
        fireworks().start();
        endTime = Millisecs() + 1500;
        setState("WIN-END");
    }
    return 0;
}

int TMainGame::_STATE_win_end() {
    PlaySprites::updateFlyingTiles();
    level->setGlobalAlpha(0);
    if (Millisecs() > endTime) {
        _winScreenUp = true;  // it draws the fireworks itself, behind its panel
        _frameRanWinScreen = true;
        if (winScreenLoop) winScreenLoop();
        _winScreenUp = false;
        fireworks().clear();
        _winCaption.clear();
        if (level->saPuzzle && player().nrLevelu == 190) player().addPuzzles(42);
        setState("NEXT-LEVEL");
    }
    return 0;
}

int TMainGame::_STATE_next_level() {
    wynik = player().allPuzzles() ? "PUZZLE" : "GET-NEXT-QUEST-LEVEL";
    dFade = 1;
    return 0;
}

int TMainGame::_STATE_Lose() {
    return 0;
}

int TMainGame::_STATE_Main_menu() {
    toExit = 1;
    wynik = "MAIN-MENU";
    return 0;
}

int TMainGame::_STATE_Restart() {
    toExit = 1;
    wynik = "RESTART-LEVEL";
    return 0;
}

int TMainGame::_updateFromOtherScreen() {
    return 0;
}
int TMainGame::_updateBonusParticles(const TDim&) {
    return 0;
}
int TMainGame::CHEATRestart() {
    return 0;
}

int TMainGame::WIN() {
    harnessLog("won");
    setState("WIN");
    globalSnd.playWINMusic();
    player().giveActStageData(level->score);
    _winCaption.clear();
    textParticle(5, 512, 384, 0, &_winCaption);
    for (TParticle* p : _winCaption.items())
        if (auto* word = dynamic_cast<TTextParticle*>(p)) {
            word->shade = kWinCaptionShade;
            word->fadeFloor = kWinCaptionFloor;
        }
    m3Game->cleanUpFlashes();
    if (playLogLevel) playLogLevel(1);
    mouse.setCursor("paw");
    globalSnd.shutDownMusic();
    return 0;
}

int TMainGame::LOSE() {
    if (playLogLevel) playLogLevel(0);
    lostLevel = true;
    harnessLog("lost");
    setState("LOSE");
    globalSnd.playLOSEMusic();
    const std::string r = loseScreenLoop ? upperAscii(loseScreenLoop()) : std::string("MAIN-MENU");
    if (r == "RESTART")
        setState("RESTART");
    else
        setState("MAIN-MENU");
    playParticles().textParticle(8, 512, 384);
    return 0;
}

bool TMainGame::_endIfStuck() {
    if (level->log_iloscMatchy != _matchesAtRefill) _idleRefills = 0;
    _matchesAtRefill = level->log_iloscMatchy;
    ++_idleRefills;
    bool creators = false;
    for (int r = 0; r < level->rows; ++r)
        for (int c = 0; c < level->cols; ++c) {
            const TTile* t = level->tileAt(r, c);
            creators = creators || (t && t->creator != 0 && t->kind() != 0);
        }
    // Without creators (or chip kinds for them) a refill only empties the
    // board; with them, a board that stays without a match refill after
    // refill never will have one.
    const bool canRefill = creators && !level->availableChips.empty();
    if (canRefill && _idleRefills <= kMaxIdleRefills) return false;
    harnessLog("no progress");
    if (showNotice)
        showNotice("No move can be made on this board any more, so the round is over.");
    lostNoMoves = true;
    LOSE();
    lostNoMoves = false;
    return true;
}

int TMainGame::sendAllToOdpady() {
    PlaySprites::clearOdpady();
    if (!level) return 0;
    const int now = Millisecs();
    int delay = 0;
    for (int r = level->rows - 1; r >= 0; --r)
        for (int c = 0; c < level->cols; ++c) {
            TTile* t = level->tileAt(r, c);
            if (!t) continue;
            if (t->chip && t->chip->cd && t->chip->cd->puzzleChip) continue;
            if (t->kind() == 0 && !t->chip) continue;  // a hole has nothing to drop
            auto o = std::make_shared<TOdpad>();
            o->tile = t;
            o->chip = t->chip;
            // 3 steps of the counter apart; a step is 5 ms, so a board empties in about a second.
            o->startTime = now + delay * 5;
            PlaySprites::odpady.push_back(o);
            delay += 3;
        }
    m3Game->pickedTile.reset();
    m3Game->zaznaczone.clear();
    return 0;
}

int TMainGame::finish() {
    profileManager().save();
    // The caption is not updated once the screen has gone: its particles go
    // back to their pools now rather than with the next level.
    _winCaption.clear();
    m3Game->blyskA = m3Game->dBlyskA = 0;
    if (level)
        for (auto& row : level->tile)
            for (auto& t : row) {
                if (!t) continue;
                t->blyskA = t->dBlyskA = 0;
                if (t->chip) t->chip->aBlask = t->chip->dABlask = 0;
            }
    return 0;
}

// ---------------------------------------------------------------------------
// Controls

int TMainGame::_controlGUI() {
    if (upperAscii(state) != "NORMAL" || !Gui) return 0;
    if (Gui->clickedItem("MENU")) {
        goMENU();
        return 0;
    }
    for (int i = 1; i <= 6; ++i)
        if (Gui->clickedItem("bonus_" + std::to_string(i))) useBonus(i);
    return 0;
}

int TMainGame::_controlGame() {
    // The board takes no clicks in a targeting mode (the click is the tool's).
    if (upperAscii(state) != "NORMAL") return 0;
    // A tutorial tip may hold the board while it is read.
    if (guiLocked) return 0;
    m3Game->controlGame(tryb != 0 ? 1 : 0);
    return 0;
}

int TMainGame::_controlKEYBOARD() {
    if (!cheatsEnabled) return 0;
    if (KeyHit(87)) CHEATWIN();
    if (KeyHit(80)) LOSE();
    if (KeyHit(82)) level->CreateLevelFrames();
    if (KeyHit(83)) sendAllToOdpady();
    if (KeyHit(49)) m3Game->loadTileSet(0);
    if (KeyHit(50)) m3Game->loadTileSet(1);
    if (KeyHit(72)) showHint();
    if (KeyHit(113))
        for (int i = 0; i < 6; ++i) {
            TPowerUp& p = powerUpOf(i);
            p.data = TPowerUp::charge(i + 1);
            p.aktywny = 1;
        }
    if (KeyHit(114))
        for (int i = 0; i < 6; ++i) {
            TPowerUp& p = powerUpOf(i);
            p.data = 0;
            p.aktywny = 0;
        }
    return 0;
}

int TMainGame::CHEATWIN() {
    if (level)
        for (auto& row : level->tile)
            for (auto& t : row)
                if (t && t->chip && t->chip->isPuzzle()) level->puzzles += 1;
    WIN();
    setState("NEXT-LEVEL");
    wynik = player().allPuzzles() ? "PUZZLE" : "GET-NEXT-QUEST-LEVEL";
    mouse.setCursor("paw");
    fade = dFade = 1;
    player().save();
    return 0;
}

bool TMainGame::boardHidden() const {
    return _paused && profile && profile->gameMode == "TIMED";
}

int TMainGame::goMENU() {
    // The goal card would only stand beside the pause panel: it is done with.
    _goalA = _goalDA = 0;
    const int pausedAt = Millisecs();
    _paused = true;
    const std::string r = upperAscii(optionsLoop ? optionsLoop() : std::string("RESUME"));
    _paused = false;
    // Time stands still while paused: the countdown, the played time and the
    // next hint go on from where they were.
    const int away = Millisecs() - pausedAt;
    if (away > 0) {
        if (secondTime > 0) secondTime += away;
        secondTime2 += away;
        hintTime += away;
    }
    if (r == "RESTART") {
        if (playLogLevel) playLogLevel(-2);
        setState("RESTART");
    } else if (r == "MAIN-MENU") {
        if (playLogLevel) playLogLevel(-1);
        setState("MAIN-MENU");
        player().save();
    }
    return 0;
}

int TMainGame::addScore(int i) {
    if (level) level->score += i;
    return 0;
}

int TMainGame::isMatch() {
    auto m = m3Game->_noMatchLeft_SWAP();
    return m && m->maxMatch >= 3 ? 1 : 0;
}

int TMainGame::isChainBroken() {
    return chainBroken;
}

TDim TMainGame::getPowerUpDim(int i) {
    TDim d;
    if (i < 1 || i > 6) return d;
    auto w = Gui ? Gui->getItem("bonus_" + std::to_string(i)) : nullptr;
    if (w && w->dim) {
        d.x = std::trunc(w->dim->x);
        d.y = std::trunc(w->dim->y);
        d.w = w->dim->w;
        d.h = w->dim->h;
    } else {
        d = _bonusDim[i];
    }
    d.update();
    return d;
}

// ---------------------------------------------------------------------------
// Strings

std::string TMainGame::cutFloat(float f) {
    // Two decimals at most, trailing zeros dropped ("1.5", "2", "0.25").
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(f));
    std::string s = buf;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

std::string TMainGame::getCutString(int i, int n) {
    // i padded with leading zeros to n digits.
    std::string s = std::to_string(i < 0 ? -i : i);
    while (static_cast<int>(s.size()) < n) s.insert(s.begin(), '0');
    return i < 0 ? "-" + s : s;
}

std::string TMainGame::formatTime(int seconds) {
    if (seconds < 0) seconds = 0;
    const int h = seconds / 3600, m = (seconds / 60) % 60, s = seconds % 60;
    char buf[32];
    if (h > 0)
        std::snprintf(buf, sizeof buf, "%d:%02d:%02d", h, m, s);
    else
        std::snprintf(buf, sizeof buf, "%d:%02d", m, s);
    return buf;
}

std::string TMainGame::getTimeString(int s) {
    return formatTime(s);
}
std::string TMainGame::getTimeLeft() {
    return formatTime(level ? level->czas : 0);
}
std::string TMainGame::getGameTime() {
    return formatTime(levelTime);
}

std::string TMainGame::getScoreString() {
    // Thousands separated by commas: 1,234,567.
    const int v = level ? level->score : 0;
    std::string d = std::to_string(v < 0 ? -v : v), out;
    for (size_t i = 0; i < d.size(); ++i) {
        if (i > 0 && (d.size() - i) % 3 == 0) out += ',';
        out += d[i];
    }
    return v < 0 ? "-" + out : out;
}

int TMainGame::tilesLeft() const {
    if (!level) return 0;
    int n = 0;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t && t->td && t->td->id > 1) ++n;
    return n;
}

int TMainGame::puzzlesLeft() const {
    if (!level) return 0;
    int n = 0;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t && t->chip && t->chip->isPuzzle()) ++n;
    return n;
}

// ---------------------------------------------------------------------------
// Harness

void TMainGame::harnessLog(const std::string& event) const {
    if (!harnessActive()) return;
    const int played = _normalSince > 0 ? Millisecs() - _normalSince : 0;
    std::printf("play: %s at %d s, played %d ms (frame %d)\n", event.c_str(), levelTime, played, framesLoop);
    std::fflush(stdout);
}

int TMainGame::autoplayMoves() const {
    return _autoplayer ? _autoplayer->moves : 0;
}

void TMainGame::_driveAutoplayer() {
    // Acts the autoplayer's move out through the real mouse, one frame at a
    // time; a move once begun is played to its end.
    if (!_autoplayer) return;
    if (!_autoplayer->busy()) {
        if (!HarnessAutoplayWanted()) return;
        if (upperAscii(state) != "NORMAL" || tryb != 0) return;
        if (!PlaySprites::odpady.empty() || !PlaySprites::emitters.empty()) return;
    }
    const int before = _autoplayer->moves;
    if (!_autoplayer->step()) return;
    const auto& in = *_autoplayer->input;
    // The autoplayer aims at board pixels; the mouse moves on the screen.
    MoveMouse(static_cast<int>(std::lround(_view.toScreenX(static_cast<float>(in.x)))),
              static_cast<int>(std::lround(_view.toScreenY(static_cast<float>(in.y)))));
    if (in.hit) InjectMouseButton(1, false);  // a fresh press even if the button was held
    InjectMouseButton(1, in.down || in.hit != 0);
    if (_autoplayer->moves != before) HarnessAutoplayMoveMade();
}

void TMainGame::_openGoalCard() {
    _goalLines.clear();
    if (!level) return;
    const bool pieces = level->puzzles > 0 || puzzlesLeft() > 0;
    _goalLines.push_back(pieces ? txtGoalPieces : txtGoalPlates);
    _goalLines.push_back(player().gameMode == "TIMED" ? txtGoalTimed : txtGoalRelaxed);
    _goalA = 0;
    _goalDA = 1;
}

void TMainGame::_updateGoalCard() {
    if (_goalA <= 0 && _goalDA <= 0) return;
    const std::string st = upperAscii(state);
    if (st != "BEGIN" && st != "BEGIN1" && st != "NORMAL") {
        // Won, lost or left: the card must not stay under a result panel.
        _goalA = _goalDA = 0;
        return;
    }
    // A click anywhere closes the card; it also goes by itself a few seconds
    // into play so that it never hides the bottom of the board for long.
    if (_goalDA > 0 && mouse.leftPressed) {
        _goalDA = 0;
        harnessLog("goal card closed");
    }
    if (_goalDA > 0 && st == "NORMAL" && _normalSince > 0 && Millisecs() - _normalSince > 4000) _goalDA = 0;
    const float step = 0.08f * frameDelta;
    _goalA = _goalDA > _goalA ? std::min(_goalDA, _goalA + step) : std::max(_goalDA, _goalA - step);
}

// ---------------------------------------------------------------------------
// Feedback: the "no" of a too-short chain or group, praise, the hovered group

void TMainGame::refuseChips(const std::vector<std::shared_ptr<TChip>>& chips) {
    for (auto& w : _refused)
        if (auto ch = w.lock()) ch->asx = ch->asy = 0;
    _refused.clear();
    for (const auto& ch : chips)
        if (ch) _refused.push_back(ch);
    _refusedUntil = Millisecs() + 400;
    harnessLog("refused " + std::to_string(chips.size()));
}

int TMainGame::praiseFor(int size, int cascade) {
    const int bySize = size >= 13 ? 4 : size >= 10 ? 3 : size >= 8 ? 2 : size >= 6 ? 1 : 0;
    const int byCascade = cascade >= 6 ? 4 : cascade >= 5 ? 3 : cascade >= 4 ? 2 : cascade >= 3 ? 1 : 0;
    return std::max(bySize, byCascade);
}

void TMainGame::praiseMatch(int size, int cascade) {
    if (cascade <= 1) {
        _praiseRank = 0;  // a new move
        harnessLog("move matched " + std::to_string(size));
    }
    const int rank = praiseFor(size, cascade);
    if (rank <= _praiseRank) return;
    _praiseRank = rank;
    // Text particle kinds of the praise captions: great, excellent, terrific, spectacular.
    static const int kinds[5] = {-1, 2, 0, 4, 3};
    playParticles().textParticle(kinds[rank], 534, 300);
    harnessLog("praise " + std::to_string(rank));
}

void TMainGame::_updateFeedback() {
    // The refused chips shake a moment, then rest where they belong.
    if (!_refused.empty()) {
        const bool on = Millisecs() < _refusedUntil;
        for (auto& w : _refused)
            if (auto ch = w.lock()) {
                if (on)
                    ch->_update_shaking(5, 0.6f);
                else
                    ch->asx = ch->asy = 0;
            }
        if (!on) _refused.clear();
    }
    // Group mode: the group under the pointer, when it is big enough to go.
    if (!m3Game || !level || m3Game->matchType != 2 || tryb != 0 || upperAscii(state) != "NORMAL" ||
        boardHidden()) {
        _forgetHoverGroup();
        return;
    }
    TTilePtr t = m3Game->overTile;
    if (!t || !t->chip || !t->chip->state.empty() || t->chip->isBonus() || t->chip->isPuzzle()) {
        _forgetHoverGroup();
        return;
    }
    // The group changes only when the pointer moves to another tile or a chip
    // of the board changes (moves, comes, goes, changes kind, starts or stops
    // moving): while the board rests, the last search stands.
    if (!_boardChangedSinceHoverSearch(t.get())) return;
    ++_hoverSearches;
    _hoverGroup.clear();
    ChipListPtr g = m3Game->getMatchedChips(t);
    m3Game->clearMarks();
    if (g && g->size() >= 3)
        for (auto& ch : *g)
            if (ch && ch->tile && ch->state.empty()) _hoverGroup.push_back(ch);
}

void TMainGame::_forgetHoverGroup() {
    _hoverGroup.clear();
    _hoverTile = nullptr;
    _hoverBoardKey.clear();
}

bool TMainGame::_boardChangedSinceHoverSearch(const TTile* over) {
    // Each cell's chip, its kind and whether it is moving, written over the
    // key of the last search (no allocation once the key has its size).
    bool changed = over != _hoverTile;
    _hoverTile = over;
    const size_t cells = static_cast<size_t>(level->rows) * static_cast<size_t>(level->cols);
    if (_hoverBoardKey.size() != 2 * cells) {
        _hoverBoardKey.assign(2 * cells, 0);
        changed = true;
    }
    size_t i = 0;
    for (auto& row : level->tile)
        for (auto& tile : row) {
            if (i + 1 >= _hoverBoardKey.size()) break;
            const TChip* ch = tile ? tile->chip.get() : nullptr;
            const std::uintptr_t a = reinterpret_cast<std::uintptr_t>(ch);
            const std::uintptr_t b =
                ch ? reinterpret_cast<std::uintptr_t>(ch->cd.get()) ^ (ch->state.empty() ? 0u : 1u) : 0u;
            if (_hoverBoardKey[i] != a || _hoverBoardKey[i + 1] != b) {
                _hoverBoardKey[i] = a;
                _hoverBoardKey[i + 1] = b;
                changed = true;
            }
            i += 2;
        }
    return changed;
}
