// The play screen's drawing: the cached backdrop, the HUD, the board and its
// sprites, and the opening and closing shows.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/Harness.h"
#include "app/PlaySprites.h"
#include "app/TMainGame.h"
#include "data/DataGlobals.h"
#include "effects/TFireworks.h"
#include "effects/TPlayParticles.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "match3/TMatchInfo.h"
#include "match3/TTile.h"
#include "profiles/TProfile.h"

namespace {

constexpr float kDeg = 3.14159265f / 180.0f;
const float kSocketY[6] = {97, 189, 269, 349, 429, 517};

void plain() {
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetRotation(0);
    SetScale(1, 1);
}

float easeOut(float t) {
    return 1 - (1 - t) * (1 - t) * (1 - t);
}

}  // namespace

// ---------------------------------------------------------------------------
// Frame

int TMainGame::draw() {
    if (!level) return 0;
    mouse._v = tryb == 0 ? 1 : 0;
    _drawBack();
    _drawPanele();
    _drawPanele_GHOST();
    _drawTime();
    _drawCounters();
    if (boardHidden()) {
        // Paused against the clock: the HUD stays, the board and all that
        // flies over it are left out until play goes on.
        _drawGui();
        plain();
        _drawFade();
        plain();
        return 0;
    }
    // The board and what moves on it in the board's pixels, through its view;
    // particles are placed on the screen when made.
    _view.begin();
    _drawGame();
    _drawArrows();
    PlaySprites::drawOdpady();
    PlaySprites::drawGhosts();
    _view.end();
    playParticles().draw();
    PlaySprites::drawEmitters();
    _drawGui();
    PlaySprites::drawResources();
    _drawBonusObwodka();
    // The match type's picture rides on its opening ribbon, so after it.
    _drawWstega();
    _drawTrybImg();
    _drawGoalCard();
    _drawToolTips();
    _drawBonusImg();
    if (tutorialDraw) tutorialDraw();
    _drawCelebration();
    plain();
    _drawFade();
    plain();
    return 0;
}

void TMainGame::_drawBackStatic(float slide) {
    // Background scene and vignette; with slide 1 also the HUD panels at rest.
    _reloadBackSources();
    if (level->backImg) {
        SetBlend(SOLIDBLEND);
        SetColor(255, 255, 255);
        SetAlpha(1);
        DrawImage(level->backImg, 0, 0);
    }
    if (podklad) {
        SetBlend(ALPHABLEND);
        SetAlpha(1);
        DrawImage(podklad, 0, 0);
    }
    if (slide >= 1) {
        const float keep = hper;
        hper = 1;
        const float ga = guiAlpha;
        guiAlpha = 1;
        const float a = alpha;
        alpha = 1;
        _drawPanele();
        hper = keep;
        guiAlpha = ga;
        alpha = a;
    }
    plain();
}

void TMainGame::_buildBackCache() {
    // Both pictures are drawn 1:1 every frame, so no filtering (which software
    // renderers pay for). The second adds the board's frame and plates at rest.
    if (!_backCache) _backCache = CreateImage(1024, 768, 1, 0);
    if (!_boardCache) _boardCache = CreateImage(1024, 768, 1, 0);
    if (!_backCache || !_boardCache) return;
    ForceDrawing(true);
    Cls();
    _drawBackStatic(1);
    float ox = 0, oy = 0;
    GetOrigin(ox, oy);
    GrabImage(_backCache, static_cast<int>(ox + 0.5f), static_cast<int>(oy + 0.5f));
    _view.begin();
    m3Game->drawPlatesAtRest();
    _view.end();
    GrabImage(_boardCache, static_cast<int>(ox + 0.5f), static_cast<int>(oy + 0.5f));
    ForceDrawing(false);
    Cls();
    _boardCachePlates.clear();
    for (auto& row : level->tile)
        for (auto& t : row) _boardCachePlates.push_back(t ? t->td.get() : nullptr);
    _backCacheValid = true;
    _backCacheResets = DisplayResets();
    ++_backBakes;
    if (harnessActive()) {
        std::printf("backdrop: baked (frame %d)\n", framesLoop);
        std::fflush(stdout);
    }
    _freeBackSources();
}

void TMainGame::_freeBackSources() {
    // Both full-screen pictures (3 MB each as textures) are in the cached
    // pictures now and not drawn again until the next bake.
    if (level && level->backImg) {
        level->backImg.reset();
        _backImgFreed = true;
    }
    if (podklad) {
        podklad.reset();
        _podkladFreed = true;
    }
}

void TMainGame::_reloadBackSources() {
    if (_backImgFreed && level && !level->backImg) level->loadBackGround();
    _backImgFreed = false;
    if (_podkladFreed && !podklad) {
        podklad = LoadImage(dataRoot + "gfx/gui/mainGame/podklad.png", IMG_FILTERED);
        if (!podklad) std::fprintf(stderr, "Play screen: cannot load gfx/gui/mainGame/podklad.png\n");
    }
    _podkladFreed = false;
}

void TMainGame::_renewBoardCache() {
    // A plate that changed (a layer broken) is redrawn into the board picture
    // over its own patch only: the backdrop, then every plate, clipped to it.
    std::vector<TTilePtr> changed;
    size_t i = 0;
    for (auto& row : level->tile)
        for (auto& t : row) {
            const TTileData* now = t ? t->td.get() : nullptr;
            if (i < _boardCachePlates.size() && _boardCachePlates[i] != now) {
                _boardCachePlates[i] = now;
                if (t) changed.push_back(t);
            }
            ++i;
        }
    if (changed.empty()) return;
    if (!_view.identity()) {
        // Scaled plates drawn clipped to a patch sample their pictures a
        // little differently from unclipped ones, so through a view the whole
        // board picture is drawn again: the backdrop and every plate.
        float ox = 0, oy = 0;
        GetOrigin(ox, oy);
        ForceDrawing(true);
        SetBlend(SOLIDBLEND);
        SetColor(255, 255, 255);
        SetAlpha(1);
        DrawImage(_backCache, 0, 0);
        _view.begin();
        m3Game->drawPlatesAtRest();
        _view.end();
        GrabImage(_boardCache, static_cast<int>(ox + 0.5f), static_cast<int>(oy + 0.5f));
        ForceDrawing(false);
        plain();
        return;
    }
    int vx, vy, vw, vh;
    GetViewport(vx, vy, vw, vh);
    float ox = 0, oy = 0;
    GetOrigin(ox, oy);
    ForceDrawing(true);
    for (auto& t : changed) {
        int half = 36;  // a cell, its shadow and a margin
        if (t->td && t->td->gfx) half = std::max(t->td->gfx->width, t->td->gfx->height) / 2 + 6;
        const int x = static_cast<int>(t->dim.x) - half, y = static_cast<int>(t->dim.y) - half;
        SetViewport(x, y, 2 * half, 2 * half);
        SetBlend(SOLIDBLEND);
        SetColor(255, 255, 255);
        SetAlpha(1);
        DrawImage(_backCache, 0, 0);
        m3Game->drawPlatesAtRest();
        GrabImageRect(_boardCache, static_cast<int>(ox + 0.5f) + x, static_cast<int>(oy + 0.5f) + y, 2 * half,
                      2 * half, x, y);
    }
    SetViewport(vx, vy, vw, vh);
    ForceDrawing(false);
    plain();
}

int TMainGame::_drawBack() {
    // Once the panels are in place everything behind the board is one picture,
    // and while the plates rest, they and the board's frame are in it too.
    m3Game->platesCached = false;
    if (_backCacheValid && _backCacheResets != DisplayResets()) {
        // The display lost the baked pictures (a full-screen switch, a lost
        // device): bake them again, into new pictures, from the sources read
        // back.
        _backCacheValid = false;
        _backCache.reset();
        _boardCache.reset();
    }
    if (hper >= 1 && !_backCacheValid) _buildBackCache();
    if (hper >= 1 && _backCacheValid && _backCache && _backCache->data) {
        ImagePtr picture = _backCache;
        // BRIMBLE_NO_BOARD_CACHE draws the plates live, for comparing the two.
        static const bool noBoardCache = std::getenv("BRIMBLE_NO_BOARD_CACHE") != nullptr;
        if (!noBoardCache && !boardHidden() && _boardCache && _boardCache->data && m3Game->platesAtRest()) {
            _renewBoardCache();
            picture = _boardCache;
            m3Game->platesCached = true;
        }
        SetBlend(SOLIDBLEND);
        SetColor(255, 255, 255);
        SetAlpha(1);
        DrawImage(picture, 0, 0);
        plain();
        return 0;
    }
    _drawBackStatic(0);
    return 0;
}

int TMainGame::_drawPanele() {
    if (hper >= 1 && _backCacheValid && _backCache && _backCache->data) return 0;  // in the cached backdrop
    const float e = easeOut(std::clamp(hper, 0.0f, 1.0f));
    const float a = std::min(1.0f, hper * 2) * alpha;
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(a);
    // Power-up panel from the left, counters from the top right, clock from the top.
    const float lx = -130 * (1 - e);
    if (panelBonusow) DrawImage(panelBonusow, lx, 44);
    if (powerUpPodklad)
        for (float y : kSocketY) DrawImage(powerUpPodklad, lx + 56, y);
    if (img) DrawImage(img, 764 + 270 * (1 - e), 0);
    if (timePanel) DrawImage(timePanel, 384, -90 * (1 - e));
    if (panelZegara) DrawImage(panelZegara, 384 + 42, 40 - 90 * (1 - e));
    plain();
    return 0;
}

std::vector<TDim> TMainGame::hudPanels() const {
    // The same places _drawPanele puts them once they have slid in.
    std::vector<TDim> v;
    auto add = [&](const ImagePtr& img, float x, float y) {
        if (!img) return;
        TDim d;
        d.x = x;
        d.y = y;
        d.w = static_cast<float>(ImageWidth(img));
        d.h = static_cast<float>(ImageHeight(img));
        d.update();
        v.push_back(d);
    };
    add(panelBonusow, 0, 44);
    add(timePanel, 384, 0);
    add(img, 764, 0);
    if (auto menu = Gui ? Gui->getItem("MENU") : nullptr)
        if (menu->dim && menu->dim->x2 > menu->dim->x1) {
            // A button's place is its middle; its corners are its extent.
            TDim d;
            d.x = menu->dim->x1;
            d.y = menu->dim->y1;
            d.w = menu->dim->x2 - menu->dim->x1;
            d.h = menu->dim->y2 - menu->dim->y1;
            d.update();
            v.push_back(d);
        }
    return v;
}

int TMainGame::_drawPanele_GHOST() {
    // A warm flash over the panels as they land.
    if (hper < 1 || efPer >= 1) return 0;
    const float a = (1 - efPer) * 0.6f * alpha;
    SetBlend(LIGHTBLEND);
    SetColor(255, 230, 170);
    SetAlpha(a);
    if (panelBonusow) DrawImage(panelBonusow, 0, 44);
    if (img) DrawImage(img, 764, 0);
    if (timePanel) DrawImage(timePanel, 384, 0);
    plain();
    return 0;
}

int TMainGame::_drawTime() {
    const float e = easeOut(std::clamp(hper, 0.0f, 1.0f));
    const float dy = -90 * (1 - e);
    const float a = std::min(1.0f, hper * 2) * alpha;
    const bool timed = player().gameMode == "TIMED";
    const int secs = timed ? level->czas : levelTime;
    if (secs != _lastSeconds) {
        _lastSeconds = secs;
        _timeText = formatTime(secs);
    }
    SetImageFont(timeFont);
    const float tx = 476, ty = 10 + dy;
    // Running out: the last ten seconds pulse red.
    int r = 90, g = 52, b = 22;
    if (timed && secs <= 10) {
        const float p = 0.5f + 0.5f * std::sin(static_cast<float>(Millisecs()) * 0.01f);
        r = 200 + static_cast<int>(55 * p);
        g = b = 40;
    }
    SetBlend(ALPHABLEND);
    SetColor(r, g, b);
    SetAlpha(a);
    DrawText(_timeText, tx, ty);
    SetImageFont(scoreFont2);
    // The level number stays in view in both modes (the clock says the rest).
    SetColor(120, 76, 36);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %d", txtLevel.c_str(), player().nrLevelu);
    DrawText(buf, 580, 16 + dy);
    // The time bar shows what is left of the budget; relaxed play has no
    // budget, so no bar (the clock shows the time played).
    if (timePodklad && timed) {
        SetColor(255, 255, 255);
        SetScale(0.86f, 0.8f);
        DrawImage(timePodklad, 476, 48 + dy);
        float frac = 1;
        if (timed && level->maxCzas > 0)
            frac = std::clamp(static_cast<float>(level->czas) / level->maxCzas, 0.0f, 1.0f);
        if (timeLine && frac > 0) {
            SetScale(0.86f * frac, 0.8f);
            DrawImage(timeLine, 476 + 2 * 0.86f, 48 + 3 * 0.8f + dy);
        }
        SetScale(1, 1);
    }
    plain();
    return 0;
}

void TMainGame::_drawCounters() {
    const float e = easeOut(std::clamp(hper, 0.0f, 1.0f));
    const float dx = 270 * (1 - e);
    const float a = std::min(1.0f, hper * 2) * alpha;
    if (level->score != _lastScore) {
        _lastScore = level->score;
        _scoreText = getScoreString();
    }
    const int tl = tilesLeft(), pl = puzzlesLeft();
    if (tl != _lastTiles) {
        _lastTiles = tl;
        _tilesText = std::to_string(tl);
    }
    if (pl != _lastPuzzles) {
        _lastPuzzles = pl;
        _puzzlesText = std::to_string(pl);
    }
    if (_countersLevel != level.get()) {
        _countersLevel = level.get();
        _levelHasPieces = false;
    }
    if (pl > 0 || level->puzzles > 0) _levelHasPieces = true;
    SetBlend(ALPHABLEND);
    SetImageFont(scoreFont2);
    SetColor(120, 76, 36);
    SetAlpha(a);
    DrawText(txtScore, 786 + dx, 18);
    // Each counter is named beside its picture, so a first-time player need
    // not hover to learn what it counts.
    DrawText(txtPlatesCaption, 914 + dx - TextWidth(txtPlatesCaption), 20);
    SetImageFont(scoreFont1);
    const float scoreRight = 786 + dx + static_cast<float>(TextWidth(_scoreText));
    SetColor(90, 52, 22);
    DrawText(_scoreText, 786 + dx, 44);
    if (_levelHasPieces) {
        SetImageFont(scoreFont2);
        SetColor(120, 76, 36);
        const float cx = 944 + dx - static_cast<float>(TextWidth(txtPiecesCaption));
        if (cx > scoreRight + 8) DrawText(txtPiecesCaption, cx, 64);
    }
    // Tiles and puzzle pieces left, each with its picture.
    SetColor(255, 255, 255);
    if (_tileIcon) {
        SetScale(0.45f, 0.45f);
        DrawImage(_tileIcon, 930 + dx, 30);
    }
    if (_puzzleIcon && _levelHasPieces) {
        SetScale(0.45f, 0.45f);
        DrawImage(_puzzleIcon, 960 + dx, 73);
    }
    SetScale(1, 1);
    SetImageFont(scoreFont1);
    SetColor(90, 52, 22);
    DrawText(_tilesText, 956 + dx, 14);
    if (_levelHasPieces) DrawText(_puzzlesText, 986 + dx, 57);
    plain();
}

int TMainGame::_drawGame() {
    // The hinted chips of chain and group mode are drawn by _drawHintInfo.
    m3Game->hintChips.clear();
    if (hintInfo && m3Game->matchType != 0)
        for (auto& ch : hintInfo->zaznaczone)
            if (ch && ch->tile) m3Game->hintChips.push_back(ch.get());
    // The group under the pointer is drawn lit, by itself, after the board.
    for (auto& ch : hoverGroup())
        if (!m3Game->isHintChip(ch.get())) m3Game->hintChips.push_back(ch.get());
    m3Game->draw();
    for (auto& ch : hoverGroup())
        if (ch->tile && !(hintInfo && std::find(hintInfo->zaznaczone.begin(), hintInfo->zaznaczone.end(),
                                                ch) != hintInfo->zaznaczone.end()))
            ch->drawLIghtnedGroup1(ch->tile->dim.x, ch->tile->dim.y, 1);
    _drawGroupOutline();
    // Tiles a tool is aimed at glow in gold, pulsing.
    if (tryb != 0 && PlaySprites::glow) {
        SetBlend(LIGHTBLEND);
        SetColor(255, 210, 90);
        SetAlpha(0.35f + 0.35f * oznP);
        SetScale(1.1f, 1.1f);
        for (auto& row : level->tile)
            for (auto& t : row)
                if (t && t->oznaczony) DrawImage(PlaySprites::glow, t->dim.x, t->dim.y);
        plain();
    }
    PlaySprites::drawFlyingTiles();
    _drawHintInfo();
    m3Game->hintChips.clear();
    plain();
    return 0;
}

void TMainGame::_drawGroupOutline() {
    // A gold line around the hovered group: along every side of its cells
    // that does not touch another cell of the group.
    const auto& g = hoverGroup();
    if (g.empty()) return;
    auto inGroup = [&](int r, int c) {
        for (auto& ch : g)
            if (ch->tile && ch->tile->r == r && ch->tile->c == c) return true;
        return false;
    };
    SetBlend(ALPHABLEND);
    SetColor(255, 214, 80);
    SetAlpha(alpha);
    const float t = 3;
    for (auto& ch : g) {
        const TTile* tile = ch->tile;
        if (!tile) continue;
        const float hw = (tile->dim.w > 0 ? tile->dim.w : 60) / 2,
                    hh = (tile->dim.h > 0 ? tile->dim.h : 60) / 2;
        const float x = tile->dim.x, y = tile->dim.y;
        if (!inGroup(tile->r - 1, tile->c)) DrawRect(x - hw, y - hh, 2 * hw, t);
        if (!inGroup(tile->r + 1, tile->c)) DrawRect(x - hw, y + hh - t, 2 * hw, t);
        if (!inGroup(tile->r, tile->c - 1)) DrawRect(x - hw, y - hh, t, 2 * hh);
        if (!inGroup(tile->r, tile->c + 1)) DrawRect(x + hw - t, y - hh, t, 2 * hh);
    }
    plain();
}

int TMainGame::_drawWstega() {
    PlaySprites::drawCaptions();
    SetImageFont(nullptr);
    return 0;
}

int TMainGame::_drawTrybImg() {
    // The match type's big picture rides in beside its caption.
    if (PlaySprites::captions.empty()) return 0;
    const TFlyingCaption& c = PlaySprites::captions.front();
    const size_t mt = static_cast<size_t>(std::clamp(m3Game->matchType, 0, 2));
    if (c.alpha <= 0 || !trybImg[mt]) return 0;
    SetImageFont(c.font);
    const int w = TextWidth(c.text);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(c.alpha);
    SetScale(0.8f, 0.8f);
    SetRotation(-8);
    DrawImage(trybImg[mt], c.x - w / 2 - 80, c.y);
    plain();
    return 0;
}

// ---------------------------------------------------------------------------
// Opening and closing shows

int TMainGame::initFlyingTiles() {
    PlaySprites::clearFlyingTiles();
    if (!level) return 0;
    for (auto& row : level->tile)
        for (auto& t : row) {
            if (!t || (t->kind() == 0 && !t->chip)) continue;
            auto f = std::make_shared<TFlyingTile>();
            f->tile = t.get();
            f->x1 = t->dim.x;
            f->y1 = t->dim.y;
            f->x = f->x0 = t->dim.x;
            f->y = f->y0 = t->dim.y;
            f->startTime = Millisecs();
            t->_flyingTile = f;
            PlaySprites::flyingTiles.push_back(f);
        }
    return static_cast<int>(PlaySprites::flyingTiles.size());
}

// 0: rain from above, column by column.
int TMainGame::initBegin_Show0() {
    initFlyingTiles();
    const int now = Millisecs();
    for (auto& f : PlaySprites::flyingTiles) {
        f->y0 = _view.toBoardY(-80.0f) - f->tile->r * 20.0f;
        f->startTime = now + f->tile->c * 60 + (level->rows - f->tile->r) * 25;
        f->duration = 550;
    }
    return 0;
}
// 1: up from below, row by row.
int TMainGame::initBegin_Show1() {
    initFlyingTiles();
    const int now = Millisecs();
    for (auto& f : PlaySprites::flyingTiles) {
        f->y0 = _view.toBoardY(860.0f) + f->tile->r * 10.0f;
        f->startTime = now + (level->rows - 1 - f->tile->r) * 70 + f->tile->c * 15;
        f->duration = 600;
    }
    return 0;
}
// 2: in from the left with a spin.
int TMainGame::initBegin_Show2() {
    initFlyingTiles();
    const int now = Millisecs();
    for (auto& f : PlaySprites::flyingTiles) {
        f->x0 = _view.toBoardX(-80.0f);
        f->rot0 = -180;
        f->arc = 60;
        f->startTime = now + (level->cols - 1 - f->tile->c) * 60 + f->tile->r * 20;
        f->duration = 650;
    }
    return 0;
}
// 3: in from the right with a spin.
int TMainGame::initBegin_Show3() {
    initFlyingTiles();
    const int now = Millisecs();
    for (auto& f : PlaySprites::flyingTiles) {
        f->x0 = _view.toBoardX(1104.0f);
        f->rot0 = 180;
        f->arc = -60;
        f->startTime = now + f->tile->c * 60 + f->tile->r * 20;
        f->duration = 650;
    }
    return 0;
}
// 4: out of the board's centre, growing, ring by ring.
int TMainGame::initBegin_Show4() {
    initFlyingTiles();
    const int now = Millisecs();
    const float cr = (level->rows - 1) / 2.0f, cc = (level->cols - 1) / 2.0f;
    for (auto& f : PlaySprites::flyingTiles) {
        f->x0 = 534;
        f->y0 = 406;
        f->scale0 = 0.1f;
        f->rot0 = 360;
        const float d =
            std::sqrt((f->tile->r - cr) * (f->tile->r - cr) + (f->tile->c - cc) * (f->tile->c - cc));
        f->startTime = now + static_cast<int>(d * 110);
        f->duration = 600;
    }
    return 0;
}
// 5: a whirl from all around the screen.
int TMainGame::initBegin_Show5() {
    initFlyingTiles();
    const int now = Millisecs();
    int i = 0;
    const int n = std::max<int>(1, static_cast<int>(PlaySprites::flyingTiles.size()));
    for (auto& f : PlaySprites::flyingTiles) {
        const float ang = 360.0f * i / n * kDeg;
        f->x0 = 534 + 760 / _view.scale * std::cos(ang);
        f->y0 = 406 + 760 / _view.scale * std::sin(ang);
        f->arc = 180;
        f->rot0 = -270;
        f->startTime = now + i * 1400 / n;
        f->duration = 800;
        ++i;
    }
    return 0;
}
// 6: from the four corners, each quarter of the board from its own corner.
int TMainGame::initBegin_Show6() {
    initFlyingTiles();
    const int now = Millisecs();
    for (auto& f : PlaySprites::flyingTiles) {
        const bool top = f->tile->r < level->rows / 2.0f, left = f->tile->c < level->cols / 2.0f;
        f->x0 = _view.toBoardX(left ? -80.0f : 1104.0f);
        f->y0 = _view.toBoardY(top ? -80.0f : 848.0f);
        f->scale0 = 0.5f;
        f->startTime =
            now + (f->tile->r * level->cols + f->tile->c) * 1200 / std::max(1, level->rows * level->cols);
        f->duration = 650;
    }
    return 0;
}

int TMainGame::initBegin() {
    _showKind = Rand(0, 6);
    switch (_showKind) {
        case 0:
            return initBegin_Show0();
        case 1:
            return initBegin_Show1();
        case 2:
            return initBegin_Show2();
        case 3:
            return initBegin_Show3();
        case 4:
            return initBegin_Show4();
        case 5:
            return initBegin_Show5();
        default:
            return initBegin_Show6();
    }
}

// The board lifts off, tile by tile, tumbling up and away.
int TMainGame::initEnd_FlyAway() {
    initFlyingTiles();
    const int now = Millisecs();
    for (auto& f : PlaySprites::flyingTiles) {
        f->leaving = true;
        f->x1 = f->x0 + RndF(-300, 300);
        f->y1 = _view.toBoardY(-120.0f) - RndF(0, 200);
        f->rot1 = RndF(-360, 360);
        f->scale1 = 0.4f;
        f->startTime = now + (level->rows - 1 - f->tile->r) * 40 + Rand(0, 120);
        f->duration = 900;
    }
    return 0;
}

// The board drops out at the bottom, row after row.
int TMainGame::initEnd_FlyDown() {
    initFlyingTiles();
    const int now = Millisecs();
    for (auto& f : PlaySprites::flyingTiles) {
        f->leaving = true;
        f->x1 = f->x0 + RndF(-60, 60);
        f->y1 = _view.toBoardY(900.0f);
        f->rot1 = RndF(-90, 90);
        f->startTime = now + (level->rows - 1 - f->tile->r) * 60 + f->tile->c * 10;
        f->duration = 800;
    }
    return 0;
}

int TMainGame::initEnd() {
    return Rand(0, 1) ? initEnd_FlyAway() : initEnd_FlyDown();
}

void TMainGame::_drawCelebration() {
    // Night falls as the board leaves, so the fireworks over the scene glow.
    if (_duskA > 0) {
        SetBlend(ALPHABLEND);
        SetColor(12, 16, 44);
        SetAlpha(_duskA);
        DrawRect(0, 0, 1024, 768);
    }
    // Under the win panel the win screen draws them, behind its panel.
    if (!_winScreenUp) fireworks().draw();
    _winCaption.draw();
    plain();
}

void TMainGame::drawCard(float x, float y, float w, float h, float a, float rim) {
    SetBlend(ALPHABLEND);
    SetColor(0, 0, 0);
    SetAlpha(0.35f * a);
    DrawRect(x + 4, y + 5, w, h);
    SetColor(94, 58, 28);
    SetAlpha(a);
    DrawRect(x, y, w, h);
    SetColor(251, 238, 203);
    DrawRect(x + rim, y + rim, w - 2 * rim, h - 2 * rim);
}

void TMainGame::_drawGoalCard() {
    if (_goalA <= 0 || _goalLines.empty()) return;
    // A parchment card with a wooden rim under the board, like the HUD panels.
    const float a = _goalA * alpha;
    const float w = 560, h = 96, x = 512 - w / 2, y = 660;
    drawCard(x, y, w, h, a, 5);
    SetImageFont(scoreFont2);
    SetColor(120, 76, 36);
    DrawText(txtGoalTitle, x + 18, y + 12);
    DrawText(txtGoalClose, x + w - 18 - TextWidth(txtGoalClose), y + 12);
    SetColor(74, 36, 10);
    float ty = y + 36;
    for (const std::string& line : _goalLines) {
        DrawText(line, 512 - TextWidth(line) / 2.0f, ty);
        ty += 24;
    }
    plain();
}
