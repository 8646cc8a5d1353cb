#include "match3/TTile.h"

#include <algorithm>
#include <cmath>

#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TM3Effects.h"
#include "match3/TM3Game.h"
#include "match3/TM3Particles.h"
#include "match3/TM3Input.h"
#include "match3/TM3Settings.h"

namespace {
constexpr float kDeg = 3.14159265358979f / 180.0f;

float approach(float v, float target, float step) {
    if (v < target) return std::min(v + step, target);
    if (v > target) return std::max(v - step, target);
    return v;
}

TM3Game* gameOf(const TTile& t) { return t.level ? t.level->m3Game : nullptr; }

void resetRenderState() {
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetScale(1, 1);
    SetRotation(0);
    SetBlend(ALPHABLEND);
}
}  // namespace

TTilePtr createTile(const TTileDataPtr& td) {
    auto t = std::make_shared<TTile>();
    t->td = td;
    return t;
}

int TTile::kind() const { return td ? td->id : 0; }

float TTile::pitchX() const {
    return (level && level->settings) ? level->settings->sizeX : 0.0f;
}

float TTile::pitchY() const {
    return (level && level->settings) ? level->settings->sizeY : 0.0f;
}

void TTile::setChip(const std::shared_ptr<TChip>& newChip) {
    chip = newChip;
    if (chip) chip->tile = this;
}

void TTile::setTileData(const TTileDataPtr& newTd) { td = newTd; }

void TTile::setMyAlpha(float a) {
    ta = a;
    tda = a;
    if (chip) chip->setMyAlpha(a);
}

void TTile::resetMyLook() {
    ta = 1;
    ts = 1;
    tr = 0;
    if (chip) {
        chip->s = 1;
        chip->a = 1;
        chip->finishMove();
    }
}

int TTile::canBeOver() {
    if (!chip) return 0;
    if (chip->isMoving()) return 0;
    TM3Game* g = gameOf(*this);
    if (g && g->matchType == 0 && chain > 0) return 0;
    return 1;
}

int TTile::updateOver() {
    if (_flyingTile) {
        over = 0;
        return over;
    }
    TM3Game* g = gameOf(*this);
    int mx = 0, my = 0;
    if (g) {
        mx = g->in().mouseX();
        my = g->in().mouseY();
    } else {
        mx = MouseX();
        my = MouseY();
    }
    float x = dim.x - pitchX() / 2, y = dim.y - pitchY() / 2;
    float w = pitchX(), h = pitchY();
    // Chain mode draws paths through diagonal neighbours: the shrunken cell
    // keeps a corner crossing from catching the wrong tile.
    if (g && g->matchType == 1) {
        x += 5;
        y += 5;
        w -= 10;
        h -= 10;
    }
    over = (mx >= x && mx < x + w && my >= y && my < y + h) ? 1 : 0;
    return over;
}

void TTile::updateAlpha() { ta = approach(ta, tda, 0.02f * frameDelta); }

void TTile::updateScale() { ts = approach(ts, tds, 0.02f * frameDelta); }

void TTile::updateParams() {
    updateAlpha();
    updateScale();
}

void TTile::checkIfPuzzle() {
    if (!chip || !chip->isPuzzle() || _odpad || !level) return;
    if (!level->tileBelowIsEmpty(r, c)) return;
    auto keep = chip;
    keep->sendMeDown();
    if (TM3Game* g = gameOf(*this)) g->puzzleCollectedAt();
    else m3Effects().addCollectionTime(std::to_string(m3Effects().levelTime()));
}

std::string TTile::updateChip() {
    if (!chip) return "";
    auto keep = chip;  // the status handling may take the chip off this tile
    std::string status = keep->update();
    if (TM3Game* g = gameOf(*this)) return g->_tileChipStatus(*this, status);
    return status;
}

void TTile::updateCreator() {
    if (creator && !chip && kind() > 0) randomMyChip();
}

void TTile::randomMyChip() {
    TM3Game* g = gameOf(*this);
    if (!g) return;
    auto newChip = g->getRandomChip();
    if (!newChip) return;
    setChip(newChip);
    newChip->r = r;
    newChip->c = c;
    newChip->setState("MOVE-SHOW");
}

void TTile::updateBlysk() {
    if (!startBlysk) return;
    const int now = Millisecs();
    if (now > blyskTime) {
        dBlyskA = 1;
        blyskTime = now + 500000;  // the flash must not begin again
    }
    const float before = blyskA;
    blyskA = approach(blyskA, dBlyskA, 0.05f * frameDelta);
    if (dBlyskA == 1 && blyskA >= 1) {
        dBlyskA = 0;
    } else if (dBlyskA == 0 && before > 0 && blyskA <= 0) {
        // Back at 0 on the way down (not merely waiting for the start).
        startBlysk = 0;
    }
}

void TTile::generateDestroyParticles(int delay, int type) {
    // A blast sweeping over the plate: the particles go off when the blast
    // reaches this cell.
    if (kind() <= 0) return;
    specState = "DESTROY";
    destroyUseTime = Millisecs() + delay;
    destrType = type;
}

void TTile::updateSpecState() {
    if (specState.empty() || specState != "DESTROY") return;  // (the empty test first: every tile, every frame)
    if (Millisecs() < destroyUseTime) return;
    specState.clear();
    _updateDestroy();
}

void TTile::_updateDestroy() {
    switch (destrType) {
        case 3: generateDestroyParticlesBomb(); break;
        case 4: generateDestroyParticlesCross(1); break;
        default: m3Particles().tileDestroyParticles(*this, destrType, destrType); break;
    }
}

void TTile::generateDestroyParticlesBomb() { m3Particles().tileDestroyParticles(*this, 3, 3); }

void TTile::generateDestroyParticlesCross(float) { m3Particles().tileDestroyParticles(*this, 4, 4); }

void TTile::update() {
    updateParams();
    updateCreator();
    updateBlysk();
    updateSpecState();
}

int TTile::haveBonus() { return (chip && chip->isBonus()) ? 1 : 0; }

void TTile::shutDown() {
    if (kind() > 0) {
        tda = 0;
        tds = 0;
    }
}

void TTile::destroyChip() {
    if (chip) chip->destroy(0);
}

void TTile::destroyChain() {
    chain = std::max(0, chain - 1);
    m3Particles().chainBreakParticles(dim.x, dim.y);
}

void TTile::matchHere() {
    const int k = kind();
    if (k != 2 && k != 3) return;
    TM3Game* g = gameOf(*this);
    m3Particles().plateBreakParticles(dim.x, dim.y, pitchX(), pitchY(), k - 1);
    TTileDataPtr lower = g ? g->getTileData(k - 1) : nullptr;
    if (lower) {
        td = lower;
    } else {
        // No catalogue to look the lower kind up in: keep the picture, drop the layer.
        auto copy = std::make_shared<TTileData>(td ? *td : TTileData());
        copy->id = k - 1;
        td = copy;
    }
    if (level) {
        level->tilesCount += 1;
        // The play log reports when the last plate of the round broke, in played seconds.
        level->log_lastTileBrakeTime = (g ? g->fx() : m3Effects()).levelTime();
    }
    m3Effects().playTileBreak();
    if (g) g->setTileMatched();
    else m3Effects().setTileMatched();
}

void TTile::chipFallDown() {
    if (!chip) return;
    auto moving = chip;
    chip.reset();
    moving->setState("FALL-DOWN");
}

void TTile::chipSideFallDown(int side) {
    if (!chip) return;
    auto moving = chip;
    chip.reset();
    moving->setState(side < 0 ? "FALL-LEFT-DOWN" : "FALL-RIGHT-DOWN");
}

// ---------------------------------------------------------------------------
// Drawing

void TTile::drawOnlyTile(int force, int shadow) {
    if (!td || !td->gfx) return;
    if (kind() == 0 && !force) return;
    SetBlend(ALPHABLEND);
    SetScale(ts, ts);
    SetRotation(tr);
    if (shadow) {
        SetColor(0, 0, 0);
        SetAlpha(ta * 0.4f);
        DrawImage(td->gfx, dim.x + 3, dim.y + 3, 0);
    }
    SetColor(255, 255, 255);
    SetAlpha(ta);
    DrawImage(td->gfx, dim.x, dim.y, 0);
    resetRenderState();
}

void TTile::drawPoblysk() {
    if (!td || !td->gfx || blyskA == 0) return;
    SetBlend(LIGHTBLEND);
    SetColor(255, 255, 255);
    SetAlpha(std::sin(blyskA * 90.0f * kDeg) * 0.3f);
    SetScale(ts, ts);
    SetRotation(tr);
    DrawImage(td->gfx, dim.x, dim.y, 0);
    resetRenderState();
}

void TTile::drawBlysk(float) {
    const int k = kind();
    if ((k != 2 && k != 3) || blyskA == 0 || !td || !td->gfx) return;
    SetBlend(LIGHTBLEND);
    SetColor(255, 255, 0);
    SetAlpha(std::sin(blyskA * 90.0f * kDeg) * 0.3f);
    SetScale(1, 1);
    DrawImage(td->gfx, dim.x, dim.y, 0);
    resetRenderState();
}

void TTile::draw(int force) {
    if (_flyingTile) return;
    const TM3Game* g = gameOf(*this);
    if (force || !g || !g->platesCached) drawOnlyTile(force, 1);  // else the plate is in the cached picture
    if (kind() == 0 && !force) return;
    drawPoblysk();
    if (td && td->gfx) {
        SetScale(ts, ts);
        SetRotation(tr);
        if (oznaczony) {
            TM3Game* g = gameOf(*this);
            (void)g;
            SetBlend(LIGHTBLEND);
            SetAlpha(ta * (0.2f + 0.3f * std::sin(90.0f * kDeg * m3Effects().oznP())));
            DrawImage(td->gfx, dim.x, dim.y, 0);
        }
        if (ozn) {
            SetBlend(ALPHABLEND);
            SetColor(100, 100, 100);
            SetAlpha(ta);
            DrawImage(td->gfx, dim.x, dim.y, 0);
        }
        resetRenderState();
    }
    if (oznacz) {
        SetBlend(ALPHABLEND);
        SetColor(0, 0, 255);
        SetAlpha(0.4f);
        DrawRect(dim.x - 20, dim.y - 20, 40, 40);
        resetRenderState();
    }
}

void TTile::drawRestingTile(int force) {
    const float oa = ta, os = ts, orot = tr;
    ta = 1;
    ts = 1;
    tr = 0;
    drawOnlyTile(force, 1);
    ta = oa;
    ts = os;
    tr = orot;
}

void TTile::drawBezwzglednie(int force) {
    drawRestingTile(force);
    if (chip) chip->draw(dim.x, dim.y, over);
}

static ImagePtr chainImage(int n) {
    static ImagePtr img1, img2;
    static bool tried1 = false, tried2 = false;
    if (n == 1) {
        if (!tried1) {
            tried1 = true;
            img1 = loadCatalogueImage("gfx/tiles/chain.png", 1, 0, 0, "NO TILE FILE : ");
        }
        return img1;
    }
    if (!tried2) {
        tried2 = true;
        img2 = loadCatalogueImage("gfx/tiles/chain2.png", 1, 0, 0, "NO TILE FILE : ");
    }
    return img2;
}

void TTile::drawChain() {
    if (chain != 1 && chain != 2) return;
    ImagePtr img = chainImage(chain);
    if (!img) return;
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(ta);
    SetRotation(tr);
    SetScale(ts, ts);
    DrawImage(img, dim.x, dim.y, 0);
    resetRenderState();
}

void TTile::drawChip() {
    if (_flyingTile || _odpad || !chip) return;
    // While a hint is shown its chips are drawn by the hint drawing only.
    const TM3Game* g = gameOf(*this);
    if (g && g->isHintChip(chip.get())) return;
    chip->draw(dim.x, dim.y, over);
}

void TTile::drawChip_EDITOR() {
    if (chip) chip->draw_EDITOR(dim.x, dim.y, over);
}

void TTile::drawHintInfo() {
    if (chip) chip->drawLIghtned(dim.x, dim.y, over);
}
