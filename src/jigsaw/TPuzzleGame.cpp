#include "jigsaw/TPuzzleGame.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/AppGlobals.h"
#include "app/FrameServices.h"
#include "audio/TGlobalSnd.h"
#include "data/DataGlobals.h"
#include "data/TTxtFile.h"
#include "effects/Particles.h"
#include "gui/GuiGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "profiles/TProfileManager.h"

std::shared_ptr<TPuzzleGame> puzzleGame;

namespace {

constexpr float kDeg = 3.14159265358979f / 180.0f;
constexpr int kNoticeMs = 3000;

bool startsWith(const std::string& s, const char* p) {
    return s.rfind(p, 0) == 0;
}

}  // namespace

TPuzzleGame::TPuzzleGame() {
    id = "PUZZLE";
}

int TPuzzleGame::setup() {
    if (_setUp) return 0;
    _setUp = true;
    id = "PUZZLE";
    img = LoadImage(dataRoot + "gfx/gui/puzzleGame/back.jpg", IMG_FILTERED);
    szarfa = LoadImage(dataRoot + "gfx/gui/puzzleGame/szarfa.png", IMG_FILTERED);
    if (!img)
        std::fprintf(stderr, "gfx/gui/puzzleGame/back.jpg cannot be loaded; the board is drawn plain.\n");
    Gui = loadGui(dataRoot + "gfx/gui/puzzleGame/puzzleGame.gui");
    if (Gui) {
        if (auto b = Gui->getItem("back"); b && b->dim) _backX = b->dim->x;
        if (auto m = Gui->getItem("menu"); m && m->dim) _menuX = m->dim->x;
    }
    auto t = loadLocalisedText(dataRoot + "txt/info.txt");
    txtCantPlay = t && t->lines() >= 1 ? t->txt[0] : "";
    if (txtCantPlay.empty()) txtCantPlay = "Finish the picture first: every piece is yours.";
    _noticeFont = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 24, 0);
    setupParticles();
    return 0;
}

TProfilePtr TPuzzleGame::player() const {
    return profile ? profile : profileManager().profile;
}

int TPuzzleGame::quotaOf(int levelNr) {
    if (quotaHook) return quotaHook(levelNr);
    if (!_quotaRead) {
        _quotaRead = true;
        _quota.load(dataRoot + "data/puzzlelist2.dat");
    }
    return _quota.of(levelNr);
}

// ---------------------------------------------------------------------------
// Visit

std::string TPuzzleGame::mainLoop() {
    setup();
    prepare();
    // Saved on the way in too (with the pieces just earned), so a game
    // killed on the board resumes here.
    if (auto p = player()) p->save();
    static const bool stats = std::getenv("BRIMBLE_FRAME_STATS") != nullptr;
    _recordFrames = stats;
    if (stats) {
        _frameUs.reserve(60 * 600);
        _fullFrameUs.reserve(60 * 600);
        // A script that quits on the board still gets its figures.
        static const bool registered = [] {
            std::atexit([] {
                if (puzzleGame) puzzleGame->reportFrameStats();
            });
            return true;
        }();
        (void)registered;
    }
    runLoop();
    if (stats) reportFrameStats();
    _recordFrames = false;
    if (auto p = player()) p->save();
    clearParticles();
    globalSnd.setPendingMusicVolume(0);
    if (level) level->finishPuzzles();
    mouse.clear();
    if (tutorialClearTip) tutorialClearTip();
    click = nullptr;
    over = nullptr;
    state.clear();
    // Story 3 follows the jigsaw of level 12 (the profile is on level 13 by
    // now), unless the player asked for the menu.
    auto p = player();
    if (p && p->nrLevelu == 13 && wynik != "MAIN-MENU") return "STORY";
    return wynik;
}

void TPuzzleGame::_frameBegin() {
    if (!_recordFrames) return;
    static const char* env = std::getenv("BRIMBLE_FRAME_STATS");
    static const bool all = env != nullptr && std::string(env) == "all";
    bool flying = !_flying.empty();
    if (level)
        for (auto& p : level->allPuzzles) flying = flying || (p->nowy && p->aktywny);
    _frameBusy = all || click != nullptr || flying;
    _frameStart = std::chrono::steady_clock::now();
}

void TPuzzleGame::_frameDrawn() {
    if (!_recordFrames || !_frameBusy) return;
    _frameUs.push_back(static_cast<int>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - _frameStart)
            .count()));
}

void TPuzzleGame::_framePresented() {
    if (!_recordFrames || !_frameBusy) return;
    _fullFrameUs.push_back(static_cast<int>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - _frameStart)
            .count() -
        static_cast<long long>(LastFlipWaitMs() * 1000)));
}

void TPuzzleGame::reportFrameStats() {
    for (auto* v : {&_frameUs, &_fullFrameUs}) {
        std::vector<int> t = *v;
        if (t.empty()) continue;
        std::sort(t.begin(), t.end());
        std::fprintf(
            stderr,
            "jigsaw %s of %zu busy frames: median %.2f ms, 99th percentile %.2f ms, longest %.2f ms\n",
            v == &_frameUs ? "update+draw" : "whole frame with present (pacing sleep left out)", t.size(),
            t[t.size() / 2] / 1000.0, t[t.size() * 99 / 100] / 1000.0, t.back() / 1000.0);
    }
    _frameUs.clear();
    _fullFrameUs.clear();
}

void TPuzzleGame::prepare() {
    if (tutorialClearTip) tutorialClearTip();
    _prepareSelf();
    _prepareMissingPuzzles();
    _preparePuzzles();
    _prepareProfilePuzzles();
}

void TPuzzleGame::_prepareSelf() {
    alpha = 0;
    dAlpha = 1;
    fade = 1;
    dFade = 0;
    _exit = 0;
    state = "NORMAL";
    wynik = "MAIN-GAME";
    click = nullptr;
    over = nullptr;
    clicked = holded = 0;
    _flying.clear();
    _landed = 0;
    _notice.clear();
    dressCA[0] = dressDCA[0] = 1;
    dressCA[1] = dressDCA[1] = 0;
    // Where a quit resumes: this screen (the play screen's game mode stays).
    if (auto p = player()) p->gameType = "PUZZLE";
    clearParticles();
}

void TPuzzleGame::_prepareMissingPuzzles() {
    auto p = player();
    if (!p) return;
    const int q = quotaOf(p->nrLevelu - 1);
    const int a = static_cast<int>(p->activePuzzles.size());
    std::printf("Ilosc na tym levelu = %d  iloscAktywnych = %d\n", q, a);
    if (q > a) {
        std::printf("ILE : %d\n", q - a);
        p->addPuzzles(q - a);
    }
    std::fflush(stdout);
}

void TPuzzleGame::_preparePuzzles() {
    auto p = player();
    level = p ? p->puzzleLevel : nullptr;
    if (!level) std::fprintf(stderr, "The jigsaw screen has no puzzle to show.\n");
    if (ownerScene && p) ownerScene->prepareDog(p->nrStageu);
}

void TPuzzleGame::_prepareProfilePuzzles() {
    wynik = "MAIN-GAME";
    infoMustBe = 0;
    if (Gui)
        if (auto b = Gui->getItem("back")) b->setState(1, 1);
    if (!level) return;
    // Owned flags follow the player's list; a piece already in a group is
    // owned whatever the list says, so it goes on the list too.
    auto p = player();
    if (p) {
        for (auto& piece : level->allPuzzles) piece->aktywny = 0;
        for (auto& e : level->puzzles)
            if (e->isGroup())
                for (TPuzzle* m : static_cast<TPuzzleGroup*>(e.get())->grupa) {
                    m->nowy = 0;  // a piece already joined never flies in
                    TPuzzlePtr sp = m->shared_from_this();
                    if (std::find(p->activePuzzles.begin(), p->activePuzzles.end(), sp) ==
                        p->activePuzzles.end())
                        p->activePuzzles.push_back(sp);
                }
        for (auto& piece : p->activePuzzles)
            if (piece) piece->aktywny = 1;
        p->puzzles = static_cast<int>(p->activePuzzles.size() + p->_unresolvedPieces.size());
    }
    level->shufflePuzzlePositions2();
    infoMustBe = level->allOwned() && !level->complete() ? 1 : 0;
    // New pieces are drawn on top, in their order.
    std::vector<TPuzzle*> fresh;
    for (auto& e : level->puzzles)
        if (!e->isGroup() && e->nowy && e->aktywny) fresh.push_back(e.get());
    for (TPuzzle* f : fresh) level->toTop(f);
    for (auto& e : level->puzzles)
        if (!e->isGroup() && e->aktywny)
            std::printf("puzzle: piece %d at %d,%d%s\n", e->id, static_cast<int>(e->nowy ? e->x2 : e->dim.x),
                        static_cast<int>(e->nowy ? e->y2 : e->dim.y), e->nowy ? " new" : "");
    std::fflush(stdout);
}

// ---------------------------------------------------------------------------
// Frames

int TPuzzleGame::update() {
    frameUpdate(0);
    _updateAlpha();
    if (tutorialUpdate) tutorialUpdate();
    _updateState();
    _updateGuiMove();
    updateParticles();
    _updateFade();
    _updateGui();
    if (fade == 1.0f && dFade == 1.0f) _exit = 1;
    return 0;
}

void TPuzzleGame::_control() {
    if (state != "NORMAL" || _exit || dFade == 1.0f) return;
    if (Gui && Gui->clickedItem("back")) goPlay();
    if (Gui && Gui->clickedItem("menu")) goMenu();
    if (cheatsEnabled && KeyHit(71)) {  // G: the jigsaw is done
        wynik = "UBIERANIE";
        if (auto p = player()) p->ulozone = 1;
        fade = dFade = 1;
        std::printf("puzzle: completed by the cheat key\n");
        std::fflush(stdout);
    }
}

void TPuzzleGame::_updateState() {
    if (state == "NORMAL")
        _updatePuzzles();
    else if (state == "WIN")
        _updateWin();
    else if (state == "WIN-2")
        _updateWin_2();
}

void TPuzzleGame::_updateGuiMove() {
    if (!Gui) return;
    const float s = std::sin(90 * kDeg * alpha);
    const float w = szarfa ? static_cast<float>(ImageWidth(szarfa)) : 0;
    if (auto b = Gui->getItem("back"); b && b->dim)
        b->setPosition(static_cast<int>(_backX + w - w * s), static_cast<int>(b->dim->y));
    if (auto m = Gui->getItem("menu"); m && m->dim)
        m->setPosition(static_cast<int>(_menuX + w - w * s), static_cast<int>(m->dim->y));
}

void TPuzzleGame::_updatePuzzles() {
    if (fade != 0 || !level) return;
    if (!level->complete() && Gui)
        if (auto b = Gui->getItem("back")) b->setState(1, 1);
    if (!_notice.empty() && (Millisecs() >= _noticeUntil || mouse.leftPressed)) {
        // A click only dismisses the notice.
        const bool byClick = Millisecs() < _noticeUntil;
        _notice.clear();
        if (byClick) {
            mouse.clear();
            return;
        }
    }

    TPuzzleFrame f;
    f.held = click.get();
    f.mouseX = mouse.x;
    f.mouseY = mouse.y;
    f.d = frameDelta;
    f.screenAlpha = alpha;
    over = nullptr;
    for (size_t i = 0; i < level->puzzles.size(); ++i) {
        const TPuzzlePtr& e = level->puzzles[i];
        if (e->update(f)) over = e;
    }

    if (click) {
        click->setPosition(static_cast<float>(-mouse.vx), static_cast<float>(-mouse.vy));
        over = nullptr;
        const int now = Millisecs();
        if (!clicked && !holded) {
            if (now - holdTime > kModeMs) {
                if (mouse.leftHolded)
                    holded = 1;
                else
                    clicked = 1;
            }
        } else if (clicked) {
            if (mouse.leftPressed) _drop();
        } else if (holded) {
            if (!mouse.leftHolded) _drop();
        }
    }
    if (over) {
        clicked = holded = 0;
        if (mouse.leftHolded) {
            clickPuzzle(over);
            holdTime = Millisecs();
        }
    }
    _updateGameEnd();
}

void TPuzzleGame::_drop() {
    clickPuzzle(click);
    click = nullptr;
    clicked = holded = 0;
    mouse.clear();
}

void TPuzzleGame::clickPuzzle(const TPuzzlePtr& p) {
    if (!level) return;
    if (click) {
        const int before = level->joins;
        TPuzzlePtr dropped = click;
        click = nullptr;
        level->putPuzzle(dropped.get());
        // Every drop is kept at once: a game killed on the board loses no move.
        if (auto pl = player()) pl->save();
        globalSnd.playPuzzleClick();
        std::printf(
            "puzzle: dropped %s %d at %d,%d, joins %d\n", dropped->isGroup() ? "group" : "piece",
            dropped->isGroup() ? static_cast<TPuzzleGroup*>(dropped.get())->grupa.front()->id : dropped->id,
            static_cast<int>(dropped->isGroup()
                                 ? static_cast<TPuzzleGroup*>(dropped.get())->grupa.front()->dim.x
                                 : dropped->dim.x),
            static_cast<int>(dropped->isGroup()
                                 ? static_cast<TPuzzleGroup*>(dropped.get())->grupa.front()->dim.y
                                 : dropped->dim.y),
            level->joins - before);
        std::fflush(stdout);
        return;
    }
    if (!p) return;
    level->toTop(p.get());
    click = p;
    globalSnd.playPuzzleClick();
    const TPuzzle* ref = p->isGroup() && !static_cast<TPuzzleGroup*>(p.get())->grupa.empty()
                             ? static_cast<TPuzzleGroup*>(p.get())->grupa.front()
                             : p.get();
    pomX = ref->dim.x - static_cast<float>(mouse.x);
    pomy = ref->dim.y - static_cast<float>(mouse.y);
}

void TPuzzleGame::_updateGameEnd() {
    if (level && level->complete()) WIN();
}

void TPuzzleGame::WIN() {
    state = "WIN";
    wynik = "UBIERANIE";
    click = nullptr;
    over = nullptr;
    clicked = holded = 0;
    _notice.clear();
    if (auto p = player()) p->ulozone = 1;
    std::printf("puzzle: solved\n");
    std::fflush(stdout);
}

void TPuzzleGame::_updateWin() {
    if (ownerScene) {
        ownerScene->prepareBehind();
        ownerScene->update();
    }
    dAlpha = 0;
    if (alpha == 0) {
        state = "WIN-2";
        createFlyingPuzzles();
    }
}

void TPuzzleGame::createFlyingPuzzles() {
    _flying.clear();
    _landed = 0;
    if (!level) return;
    // The board stops drawing its pieces (see _drawPuzzles); the solved
    // group stays in the puzzle, so the saved jigsaw is still the whole one.
    const int now = Millisecs();
    // Without an owner scene the pieces come together as a small picture
    // where the dog would sit, instead of vanishing into the dog.
    float picW = 0, picH = 0;
    for (auto& p : level->allPuzzles) {
        picW = std::max(picW, p->dDim.x + static_cast<float>(p->w));
        picH = std::max(picH, p->dDim.y + static_cast<float>(p->h));
    }
    constexpr float kSmall = 0.5f;
    int delay = 500;
    for (auto& p : level->allPuzzles) {
        auto f = std::make_shared<TFlyingPiece>();
        f->img = p->img;
        f->x0 = f->x = p->dim.x;
        f->y0 = f->y = p->dim.y;
        f->tx = kDogX;
        f->ty = kDogY;
        if (!ownerScene) {
            f->tx = kDogX + (p->dDim.x + static_cast<float>(p->w) / 2 - picW / 2) * kSmall;
            f->ty = kDogY + (p->dDim.y + static_cast<float>(p->h) / 2 - picH / 2) * kSmall;
            f->endScale = kSmall;
            f->keepWhenLanded = true;
        }
        f->startTime = now + delay;
        delay += 100;
        _flying.push_back(f);
    }
}

void TPuzzleGame::_updateWin_2() {
    if (ownerScene) ownerScene->update();
    const int now = Millisecs();
    bool flying = false;
    for (auto& f : _flying) {
        if (f->landed) continue;
        if (f->update(now)) {
            ++_landed;
            addDogAlpha();
        } else {
            flying = true;
        }
    }
    if (!flying) {
        std::printf("puzzle: %d pieces landed on the dog\n", _landed);
        std::fflush(stdout);
        _exit = 1;
    }
}

void TPuzzleGame::addDogAlpha() {
    const size_t n = level ? level->allPuzzles.size() : 0;
    if (n == 0) return;
    const float step = 1.0f / static_cast<float>(n);
    float ca[2] = {dressCA[0], dressCA[1]}, dCA[2] = {dressDCA[0], dressDCA[1]};
    if (ownerScene) ownerScene->getDressBlend(ca, dCA);
    ca[1] = std::min(1.0f, ca[1] + step);
    dCA[1] = std::min(1.0f, dCA[1] + step);
    ca[0] = std::max(0.0f, ca[0] - step);
    dCA[0] = std::max(0.0f, dCA[0] - step);
    // N steps of 1/N may fall a rounding error short: the last landing shows
    // the dressed picture fully.
    for (float* v : {&ca[0], &ca[1], &dCA[0], &dCA[1]}) {
        if (*v > 1 - 1e-4f) *v = 1;
        if (*v < 1e-4f) *v = 0;
    }
    if (ownerScene) ownerScene->setDressBlend(ca, dCA);
    std::copy(ca, ca + 2, dressCA);
    std::copy(dCA, dCA + 2, dressDCA);
}

// ---------------------------------------------------------------------------
// Leaving

void TPuzzleGame::goPlay() {
    if (infoMustBe) {
        std::printf("puzzle: back refused\n");
        std::fflush(stdout);
        if (popUp)
            popUp(txtCantPlay, this);
        else
            _showNotice(txtCantPlay);
        return;
    }
    if (click) _drop();
    wynik = "MAIN-GAME";
    dAlpha = 0;
    dFade = 1;
}

void TPuzzleGame::goMenu() {
    const std::string answer = menuQuestion ? menuQuestion(this) : std::string("MAIN-MENU");
    std::string up = answer;
    for (char& c : up)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (up != "MAIN-MENU") return;
    if (click) _drop();
    wynik = "MAIN-MENU";
    dFade = 1;
}

void TPuzzleGame::_showNotice(const std::string& text) {
    _notice = text;
    _noticeUntil = Millisecs() + kNoticeMs;
    mouse.clear();
}

// ---------------------------------------------------------------------------
// Drawing

int TPuzzleGame::draw() {
    _drawBack();
    _drawTlo();
    _drawPuzzles();
    _drawPanel();
    _drawGui();
    drawParticles();
    for (auto& f : _flying)
        if (f->started(Millisecs())) f->draw();
    if (tutorialDraw) tutorialDraw();
    _drawNotice();
    _drawFade();
    return 0;
}

void TPuzzleGame::_drawBack() {
    if (!startsWith(state, "WIN")) return;
    if (ownerScene) {
        ownerScene->draw();
        return;
    }
    // No owner scene: the board's own backdrop, dimmed.
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetColor(255, 255, 255);
    SetAlpha(1);
    if (img) DrawImage(img, 0, 0);
    SetColor(0, 0, 0);
    SetAlpha(0.45f);
    DrawRect(0, 0, 1024, 768);
    SetColor(255, 255, 255);
    SetAlpha(1);
}

void TPuzzleGame::_drawTlo() {
    // Opaque once faded in: nothing behind it to blend with, and copying the
    // full screen without blending is the cheaper fill.
    const bool behind = state.rfind("WIN", 0) == 0;
    SetBlend(alpha >= 1.0f && !behind ? SOLIDBLEND : ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetAlpha(alpha);
    SetColor(255, 255, 255);
    if (img) {
        DrawImage(img, 0, 0);
    } else {
        SetColor(70, 110, 60);
        DrawRect(0, 0, 1024, 768);
        SetColor(240, 226, 190);
        DrawRect(level ? level->stx : 262, level ? level->sty : 20, 500, 500);
        SetColor(255, 255, 255);
    }
    SetAlpha(1);
}

void TPuzzleGame::_drawPuzzles() {
    if (!level || state == "WIN-2") return;  // the pieces are flying to the dog
    for (auto& e : level->puzzles) e->drawShadow(alpha);
    for (auto& e : level->puzzles) e->draw(alpha);
}

void TPuzzleGame::_drawPanel() {
    if (!szarfa) return;
    const float s = std::sin(90 * kDeg * alpha);
    const float w = static_cast<float>(ImageWidth(szarfa));
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetColor(255, 255, 255);
    SetAlpha(1);
    DrawImage(szarfa, 1024 - w * s, 0);
}

void TPuzzleGame::_drawNotice() {
    if (_notice.empty()) return;
    SetImageFont(_noticeFont);
    const int tw = TextWidth(_notice), th = TextHeight(_notice);
    const float w = static_cast<float>(std::min(980, tw + 60)), h = static_cast<float>(th + 40);
    const float x = 512 - w / 2, y = 270 - h / 2;
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetColor(0, 0, 0);
    SetAlpha(0.35f);
    DrawRect(x + 5, y + 6, w, h);
    SetAlpha(1);
    SetColor(59, 36, 20);  // wooden rim
    DrawRect(x, y, w, h);
    SetColor(251, 238, 203);  // parchment
    DrawRect(x + 4, y + 4, w - 8, h - 8);
    SetColor(59, 36, 20);
    DrawText(_notice, 512 - static_cast<float>(tw / 2), y + 20);
    SetColor(255, 255, 255);
    SetImageFont(nullptr);
}
