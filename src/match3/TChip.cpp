#include "match3/TChip.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "match3/ChipShadow.h"
#include "match3/TLevel.h"
#include "match3/TM3Effects.h"
#include "match3/TM3Game.h"
#include "match3/TM3Particles.h"
#include "match3/TM3Para.h"
#include "match3/TM3Settings.h"
#include "match3/TTile.h"

namespace {

enum Step {
    S_NONE,
    S_MOVE_LEFT,
    S_MOVE_RIGHT,
    S_MOVE_UP,
    S_MOVE_DOWN,
    S_MOVE_DIAGONAL,
    S_FALL,
    S_FALL_LEFT,
    S_FALL_RIGHT,
    S_MOVE_UP_TO_FALL,
    S_MOVE_DOWN_TO_FALL,
    S_SHOW,
    S_SHOW2,
    S_LAND,
    S_LAND_BACK,
    S_LIE,
    S_REPLACE,
    S_DESTROY,
    S_DESTROY_CHAIN,
    S_OTHER
};

constexpr float kDeg = 3.14159265358979f / 180.0f;

std::string upper(std::string s) {
    for (auto& ch : s) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return s;
}

// Moves v toward target by step without overshooting.
float approach(float v, float target, float step) {
    if (v < target) return std::min(v + step, target);
    if (v > target) return std::max(v - step, target);
    return v;
}

// Progress values that add 0.1 per frame reach 1 after ten frames even when
// the float sum comes out a hair short.
float clampProgress(float p) { return p >= 1.0f - 1e-4f ? 1.0f : p; }

}  // namespace

TChip::TChip() : _step(S_NONE) {
    dShakeP = Rand(0, 1) == 0 ? -1.0f : 1.0f;
    sasX = Rand(0, 1) == 0 ? -1.0f : 1.0f;
    sasY = Rand(0, 1) == 0 ? -1.0f : 1.0f;
}

TChipPtr createChip(const TChipDataPtr& cd) {
    auto chip = std::make_shared<TChip>();
    chip->cd = cd;
    return chip;
}

TM3Game* TChip::game() const {
    if (tile && tile->level && tile->level->m3Game) return tile->level->m3Game;
    return cd ? cd->m3Game : nullptr;
}

int TChip::isPuzzle() const { return (cd && cd->puzzleChip != 0) ? 1 : 0; }

static const TM3Settings* settingsOf(const TChip& chip) {
    if (chip.tile && chip.tile->level && chip.tile->level->settings)
        return chip.tile->level->settings.get();
    TM3Game* g = chip.game();
    return (g && g->settings) ? g->settings.get() : nullptr;
}

static float pitchX(const TChip& chip) {
    const TM3Settings* s = settingsOf(chip);
    return s ? s->sizeX : 0.0f;
}

static float pitchY(const TChip& chip) {
    const TM3Settings* s = settingsOf(chip);
    return s ? s->sizeY : 0.0f;
}

// ---------------------------------------------------------------------------
// Queries

int TChip::isInPair() {
    TM3Game* g = game();
    if (!g) return 0;
    for (auto& pr : g->listaPar)
        if (pr && (pr->c1.get() == this || pr->c2.get() == this)) return 1;
    return 0;
}

int TChip::isPicked() {
    TM3Game* g = game();
    return (g && g->pickedTile && g->pickedTile->chip.get() == this) ? 1 : 0;
}

int TChip::isSwaping() { return (tile && tile->swap) ? 1 : 0; }

int TChip::isMovingCheckSwap() {
    if (state.isMove() && !(tile && tile->swap)) return 1;
    if (state.isFall()) return 1;
    if (state == TChipState::LAND || state == TChipState::LAND_BACK) return 1;
    if (docelowyTile) return 1;
    return 0;
}

int TChip::isMoving() {
    if (state.isMove() || state.isFall()) return 1;
    if ((state == TChipState::LAND || state == TChipState::LAND_BACK) && !(game() && game()->matchType == 2))
        return 1;  // (group mode takes matches while chips land)
    if (docelowyTile) return 1;
    if (state == TChipState::DESTROY) return 1;
    return 0;
}

int TChip::isBonus() { return (cd && cd->id > 100) ? 1 : 0; }

int TChip::doingNothing() {
    return (!isMoving() && state != TChipState::DESTROY && state != TChipState::DESTROY_CHAIN) ? 1 : 0;
}

// ---------------------------------------------------------------------------
// Score, resources, leaving the board

void TChip::giveScore() {
    if (!cd) return;
    TM3Game* g = game();
    if (g)
        g->addScore(cd->score);
    else if (tile && tile->level)
        tile->level->score += cd->score;
    const float x = tile ? tile->dim.x : 0, y = tile ? tile->dim.y : 0;
    m3Particles().scoreParticle(x, y, cd->score, -1);
}

void TChip::giveScore2() {
    if (!cd) return;
    TM3Game* g = game();
    if (g)
        g->addScore(cd->score);
    else if (tile && tile->level)
        tile->level->score += cd->score;
    const float x = tile ? tile->dim.x : 0, y = tile ? tile->dim.y : 0;
    m3Particles().scoreParticle(x, y, cd->score, 500);
}

void TChip::giveResource(int) {
    if (isPuzzle() || bylOddanyRes || !cd) return;
    TM3Game* g = game();
    if (g && tile) {
        for (int i = 0; i < 6; ++i) {
            const auto& slot = TM3Game::powerUpColor[i];
            if (slot && slot->id == cd->id) g->sendResourceToPowerUp(*tile, i);
        }
    }
    bylOddanyRes = 1;
}

void TChip::sendMeDown() {
    auto self = weak_from_this().lock();  // the tile may hold the last reference
    TTile* t = tile;
    TM3Game* g = game();
    if (g) g->setPuzzleCollected();
    else m3Effects().setPuzzleCollected();
    if (t) {
        t->_odpad = m3Effects().odpadFromTile(*t, self);
        if (t->chip.get() == this) t->chip.reset();
    }
    m3Effects().playPuzzleMatched();
}

void TChip::vanish() {
    auto self = weak_from_this().lock();
    if (tile && tile->chip.get() == this) tile->chip.reset();
    m3Effects().odpadFromChip(self);
}

void TChip::replaceChipData(const TChipDataPtr& newCd) {
    auto self = weak_from_this().lock();
    _odpad = m3Effects().odpadReplace(self, newCd);
    // Without a junk effect to carry the change over, the kind changes now.
    if (!_odpad) setChipData(newCd);
    setState("REPLACE");
}

void TChip::changeTo(const TChipDataPtr& newCd) {
    docelowyChip = newCd;
    changeP = 0;
}

void TChip::flyToTile(TTile* target) {
    if (!target) return;
    if (tile) {
        startDim.x = tile->dim.x;
        startDim.y = tile->dim.y;
    }
    endDim.x = target->dim.x;
    endDim.y = target->dim.y;
    mDim.x = startDim.x + (endDim.x - startDim.x) / 2;
    mDim.y = Rand(0, 1) == 0 ? 0.0f : 600.0f;
    docelowyTile = target;
    tileP = 0;
}

std::string TChip::getMoveReverse() const {
    switch (state.id()) {
        case TChipState::MOVE_LEFT: return "MOVE-RIGHT";
        case TChipState::MOVE_RIGHT: return "MOVE-LEFT";
        case TChipState::MOVE_UP: return "MOVE-DOWN";
        case TChipState::MOVE_DOWN: return "MOVE-UP";
        default: return "";
    }
}

void TChip::reverse() {
    const std::string m = getMoveReverse();
    if (!m.empty() && m != state) setState(m);
}

void TChip::moveUpToFall() {
    _ay = -7;
    setState("MOVE-UP-TO-FALL-DOWN");
}

void TChip::moveDownToFall() { setState("MOVE-DOWN-TO-FALL-DOWN"); }

// ---------------------------------------------------------------------------
// Start steps

void TChip::state_fallDown() {
    r += 1;
    adY = -pitchY(*this);
}
void TChip::state_fallLeftDown() {
    r += 1;
    c -= 1;
    adY = -pitchY(*this);
    adx = pitchX(*this);
}
void TChip::state_fallRightDown() {
    r += 1;
    c += 1;
    adY = -pitchY(*this);
    adx = -pitchX(*this);
}
void TChip::state_moveDown() {
    r += 1;
    adY = -pitchY(*this);
}
void TChip::state_moveUp() {
    r -= 1;
    adY = pitchY(*this);
}
void TChip::state_moveLeftUP() {
    c -= 1;
    r -= 1;
    adx = pitchX(*this);
    adY = pitchY(*this);
}
void TChip::state_moveRightUP() {
    c += 1;
    r -= 1;
    adx = -pitchX(*this);
    adY = pitchY(*this);
}
void TChip::state_moveLeftDown() {
    c -= 1;
    r += 1;
    adx = pitchX(*this);
    adY = -pitchY(*this);
}
void TChip::state_moveRightDown() {
    c += 1;
    r += 1;
    adx = -pitchX(*this);
    adY = -pitchY(*this);
}
void TChip::state_moveLeft() {
    c -= 1;
    adx = pitchX(*this);
}
void TChip::state_moveRight() {
    c += 1;
    adx = -pitchX(*this);
}
void TChip::state_land() { p = 0; }
void TChip::state_land_back() { p = 0; }
void TChip::state_show() {
    a = 0;
    s = 0;
}

void TChip::setState(const std::string& newState) {
    if (state == TChipState::DESTROY) return;  // a chip being destroyed cannot be moved
    const bool wasLanding = state.isLand();
    lastAvState = state;
    lastState = state;
    // Names are nearly always given in capitals already: no copy then.
    const bool lower = std::any_of(newState.begin(), newState.end(), [](char ch) {
        return std::toupper(static_cast<unsigned char>(ch)) != static_cast<unsigned char>(ch);
    });
    if (lower)
        state = upper(newState);
    else
        state = newState;

    if (state == TChipState::DESTROY) {
        _step = S_DESTROY;
        adx = adY = 0;
        return;
    }
    TM3Game* g = game();
    if (g && g->pickedTile && tile && g->pickedTile.get() == tile) g->pickedTile.reset();
    if (state.isLand() && !wasLanding) m3Effects().playChipMove();

    switch (state.id()) {
        case TChipState::NONE: _step = S_NONE; break;
        case TChipState::MOVE_LEFT: _step = S_MOVE_LEFT; state_moveLeft(); break;
        case TChipState::MOVE_RIGHT: _step = S_MOVE_RIGHT; state_moveRight(); break;
        case TChipState::MOVE_UP: _step = S_MOVE_UP; state_moveUp(); break;
        case TChipState::MOVE_DOWN: _step = S_MOVE_DOWN; state_moveDown(); break;
        case TChipState::MOVE_LEFT_UP: _step = S_MOVE_DIAGONAL; state_moveLeftUP(); break;
        case TChipState::MOVE_RIGHT_UP: _step = S_MOVE_DIAGONAL; state_moveRightUP(); break;
        case TChipState::MOVE_LEFT_DOWN: _step = S_MOVE_DIAGONAL; state_moveLeftDown(); break;
        case TChipState::MOVE_RIGHT_DOWN: _step = S_MOVE_DIAGONAL; state_moveRightDown(); break;
        case TChipState::FALL_DOWN: _step = S_FALL; state_fallDown(); break;
        case TChipState::FALL_LEFT_DOWN: _step = S_FALL_LEFT; state_fallLeftDown(); break;
        case TChipState::FALL_RIGHT_DOWN: _step = S_FALL_RIGHT; state_fallRightDown(); break;
        case TChipState::MOVE_UP_TO_FALL_DOWN: _step = S_MOVE_UP_TO_FALL; break;
        case TChipState::MOVE_DOWN_TO_FALL_DOWN: _step = S_MOVE_DOWN_TO_FALL; break;
        case TChipState::MOVE_SHOW: _step = S_SHOW; state_show(); break;
        case TChipState::MOVE_SHOW_2: _step = S_SHOW2; state_show(); break;
        case TChipState::LAND: _step = S_LAND; state_land(); break;
        case TChipState::LAND_BACK: _step = S_LAND_BACK; state_land_back(); break;
        case TChipState::LIE: _step = S_LIE; break;
        case TChipState::REPLACE: _step = S_REPLACE; break;
        case TChipState::DESTROY_CHAIN: _step = S_DESTROY_CHAIN; break;
        default: _step = S_OTHER; break;  // any other text: the chip lies still
    }
}

void TChip::setMyAlpha(float alpha) { a = alpha; }

void TChip::setChipData(const TChipDataPtr& newCd) { cd = newCd; }

void TChip::setDestroyType(int type) { destroyType = type; }

void TChip::generateDestroyParticlesBomb() { m3Particles().chipDestroyParticlesBomb(*this); }
void TChip::generateDestroyParticlesCross() { m3Particles().chipDestroyParticlesCross(*this); }
void TChip::generateDestroyParticlesNormal(int n) { m3Particles().chipDestroyParticles(*this, n); }
void TChip::generateDestroyParticlesFireHORIZONTAL() {
    m3Particles().chipDestroyParticlesFireHorizontal(*this);
}
void TChip::generateDestroyParticlesFireVERTICAL() {
    m3Particles().chipDestroyParticlesFireVertical(*this);
}

// ---------------------------------------------------------------------------
// Destruction

void TChip::destroy(int delay) {
    if (isPuzzle()) {
        // Puzzle pieces are collected, never destroyed: only the plate breaks.
        if (tile) {
            tile->matchHere();
            if (tile->chain > 0) destroyChain(delay);
        }
        return;
    }
    if (state == TChipState::DESTROY) return;
    if (docelowyChip) {
        cd = docelowyChip;
        changeP = 0;
        docelowyChip.reset();
    }
    if (tile && tile->chain > 0) {
        destroyChain(delay);
        return;
    }
    const bool wasPicked = isPicked();
    setState("DESTROY");
    bylUsuwany = 0;
    startTime = Millisecs() + delay;
    destroyTime = 0;
    if (wasPicked) {
        TM3Game* g = game();
        if (g) g->pickedTile.reset();
    }
}

void TChip::destroyChain(int delay) {
    startTime = Millisecs() + delay;
    destrChain = 1;
    bylUsuwanyLancuch = 0;
    setState("DESTROY-CHAIN");
    TM3Game* g = game();
    if (g) g->setChainBroken();
    else m3Effects().setChainBroken();
}

// Particles of the destruction type, emitted every 40 ms while a chip shrinks.
static void emitTypeParticles(TChip& chip) {
    switch (chip.destroyType) {
        case 4: chip.generateDestroyParticlesCross(); break;
        case 1: chip.generateDestroyParticlesFireHORIZONTAL(); break;
        case 2: chip.generateDestroyParticlesFireVERTICAL(); break;
        case 3: chip.generateDestroyParticlesBomb(); break;
        default: break;
    }
}

std::string TChip::_update_destroy() {
    const int now = Millisecs();
    if (now < startTime) return "";
    const float f = frameDelta;
    s -= 0.05f * f;
    a -= 0.05f * f;
    destrA = std::min(1.0f, destrA + 0.05f * f);
    if (destroyType == 0 && !bylUsuwany) {
        generateDestroyParticlesNormal(-1);
        m3Effects().playDestroyChip();
        giveScore();
        if (isBonus()) POWERUP();
        if (tile && tile->kind() > 1) tile->matchHere();
        bylUsuwany = 1;
    }
    if (now >= destroyTime) {
        if (!bylUsuwany) {
            // Special destructions (blasts) apply their effects on their first
            // particle tick; they score like a match does.
            bylUsuwany = 1;
            giveScore();
            if (tile && tile->kind() > 1) tile->matchHere();
            if (isBonus()) POWERUP();
        }
        destroyTime = now + 40;
        emitTypeParticles(*this);
    }
    if (s <= 0) {
        s = 0;
        return "DESTROYED";
    }
    return "";
}

std::string TChip::_update_destroy_chain() {
    const int now = Millisecs();
    if (now < startTime) return "";
    if (!bylUsuwanyLancuch) {
        bylUsuwanyLancuch = 1;
        if (tile) tile->destroyChain();
        m3Effects().playChainBreak();
    }
    destrChain = std::max(0.0f, destrChain - 0.05f * frameDelta);
    if (now >= destroyTime) {
        destroyTime = now + 40;
        emitTypeParticles(*this);
    }
    if (destrChain <= 0) return "END_CHAIN";
    return "";
}

// ---------------------------------------------------------------------------
// Bonus dispatch

void TChip::POWERUP() {
    if (!cd) return;
    cd->ileRazy += 1;
    const std::string t = upper(cd->typ);
    if (t == "BOMB") BONUS_BOMB();
    else if (t == "SHUFFLE") BONUS_SHUFFLE();
    else if (t == "CROSSFIRE") BONUS_CROSSFIRE();
    else if (t == "HORIZONTAL") BONUS_HORIZONTAL();
    else if (t == "VERTICAL") BONUS_VERTICAL();
}

void TChip::BONUS_SHUFFLE() {
    if (TM3Game* g = game()) g->SHUFFLE(cd ? cd->moc : 0);
}

void TChip::BONUS_CROSSFIRE() {
    const int lvl = cd ? std::clamp(cd->id - 100, 1, 3) : 1;  // 101, 102, 103
    m3Effects().playCROSSFIRE(lvl);
    if (TM3Game* g = game()) {
        g->CROSS_HORIZONTAL(r, c, cd ? cd->moc : 0);
        g->CROSS_VERTICAL(r, c, cd ? cd->moc : 0);
    }
    m3Particles().explosion(tile ? tile->dim.x : 0, tile ? tile->dim.y : 0);
}

void TChip::BONUS_HORIZONTAL() {
    if (TM3Game* g = game()) g->CROSS_HORIZONTAL(r, c, cd ? cd->moc : 0);
}

void TChip::BONUS_VERTICAL() {
    if (TM3Game* g = game()) g->CROSS_VERTICAL(r, c, cd ? cd->moc : 0);
}

void TChip::BONUS_BOMB() {
    const int lvl = cd ? std::clamp(cd->id - 103, 1, 3) : 1;  // 104, 105, 106
    m3Effects().playBOMB(lvl);
    if (TM3Game* g = game()) g->BOMB(r, c, cd ? cd->moc : 0);
    m3Particles().explosion(tile ? tile->dim.x : 0, tile ? tile->dim.y : 0);
}

// ---------------------------------------------------------------------------
// Finishers

void TChip::_finish_move_up_to_fall() {
    _ay = 0;
    adY = 0;
}
void TChip::_finish_move_down_to_fall() { adY = 0; a = 1; }
void TChip::_finish_move() {
    adx = 0;
    adY = 0;
}
void TChip::_finish_fall() {
    adx = 0;
    adY = 0;
    a = 1;
}
void TChip::_finish_show() {
    a = 1;
    s = 1;
    adY = 0;
}
void TChip::_finish_land() {
    p = 1;
    adY = 0;
    _ay = 0;
}
void TChip::_finish_land_back() {
    p = 1;
    adY = 0;
    _ay = 0;
}
void TChip::_finish_lie() {}
void TChip::_finish_destroy() {
    adx = adY = 0;
    a = 1;
    s = 1;
}
void TChip::_finish_destroy_chain() { destrChain = 0; }
void TChip::_finish_replace() {}

void TChip::finishMove() {
    switch (_step) {
        case S_MOVE_UP_TO_FALL: _finish_move_up_to_fall(); break;
        case S_MOVE_DOWN_TO_FALL: _finish_move_down_to_fall(); break;
        case S_MOVE_LEFT:
        case S_MOVE_RIGHT:
        case S_MOVE_UP:
        case S_MOVE_DOWN:
        case S_MOVE_DIAGONAL: _finish_move(); break;
        case S_FALL:
        case S_FALL_LEFT:
        case S_FALL_RIGHT: _finish_fall(); break;
        case S_SHOW:
        case S_SHOW2: _finish_show(); break;
        case S_LAND: _finish_land(); break;
        case S_LAND_BACK: _finish_land_back(); break;
        case S_LIE: _finish_lie(); break;
        case S_DESTROY: _finish_destroy(); break;
        case S_DESTROY_CHAIN: _finish_destroy_chain(); break;
        case S_REPLACE: _finish_replace(); break;
        default: adx = adY = 0; break;
    }
    if (docelowyTile) {
        tile = docelowyTile;
        docelowyTile = nullptr;
        tileP = 0;
        adx = adY = 0;
    }
    if (docelowyChip) {
        cd = docelowyChip;
        docelowyChip.reset();
        changeP = 0;
        a = 1;
    }
}

// ---------------------------------------------------------------------------
// Per-frame steps

void TChip::_setFromTile() {
    if (tile) {
        r = tile->r;
        c = tile->c;
    }
}

void TChip::_update_tile_Position() { _setFromTile(); }

void TChip::_update_settings() {
    if (const TM3Settings* st = settingsOf(*this)) {
        xSpeed = st->xSpeed;
        ySpeed = st->ySpeed;
    }
}

std::string TChip::_update_move_left() {
    adx -= xSpeed / 3 * frameDelta * 1.3f;
    if (adx < 0) {
        adx = 0;
        _setFromTile();
        return "END_MOVE";
    }
    return "";
}

std::string TChip::_update_move_right() {
    adx += xSpeed / 3 * frameDelta * 1.3f;
    if (adx > 0) {
        adx = 0;
        _setFromTile();
        return "END_MOVE";
    }
    return "";
}

std::string TChip::_update_move_up() {
    adY -= ySpeed / 3 * frameDelta * 1.3f;
    if (adY < 0) {
        adY = 0;
        _setFromTile();
        return "END_MOVE";
    }
    return "";
}

std::string TChip::_update_move_down() {
    adY += ySpeed / 3 * frameDelta * 1.3f;
    if (adY > 0) {
        adY = 0;
        _setFromTile();
        return "END_MOVE";
    }
    return "";
}

std::string TChip::_update_fall() {
    const float f = frameDelta;
    const float sy = pitchY(*this);
    // A chip appearing from above fades in as it speeds up.
    if (adY < 0 && a < 1 && sy > 0) a = std::fabs(_ay / sy);
    if (_ay < 5) _ay = 5;
    _ay = std::min(_ay + ySpeed / 10 * f, sy > 0 ? sy : _ay + ySpeed / 10 * f);
    adY += _ay * f;
    if (adY > 0) {
        adY = 0;
        a = 1;
        _setFromTile();
        return "FALL";
    }
    return "";
}

std::string TChip::_update_side_fall(int dir) {
    const float f = frameDelta;
    const float sy = pitchY(*this);
    if (adY < 0 && a < 1 && sy > 0) a = std::fabs(adY / sy);
    if (_ay < 5) _ay = 5;
    _ay = std::min(_ay + ySpeed / 10 * f, sy > 0 ? sy : _ay + ySpeed / 10 * f);
    adY += _ay * f;
    adx = approach(adx, 0, _ay * f);
    (void)dir;
    if (adY > 0) {
        adY = 0;
        adx = 0;
        a = 1;
        _setFromTile();
        return "FALL";
    }
    return "";
}

std::string TChip::_update_move_up_to_fall() {
    _ay += ySpeed / 18 * frameDelta;
    // The jump ends when the speed has died away; a speed step large enough to
    // jump over the (-1, 1) window must end it too, or the chip would rise
    // and then sink without ever falling back into its cell.
    if (std::fabs(_ay) < 1 || _ay > 0) {
        _ay = 0;
        moveDownToFall();
    }
    adY += _ay;
    return "";
}

std::string TChip::_update_show() {
    a = 0;
    s = 1;
    adY = -pitchY(*this);
    state = TChipState::FALL_DOWN;  // directly, without the start step
    _step = S_FALL;
    return "";
}

std::string TChip::_update_land() {
    _ay = 0;
    p = clampProgress(std::min(1.0f, p + 0.1f * frameDelta));
    adY = -pitchY(*this) / 4 * std::sin(90.0f * kDeg * p);
    if (p >= 1) {
        setState("LAND_BACK");
        return "CHECK-MATCH";
    }
    return "";
}

std::string TChip::_update_land_back() {
    _ay = 0;
    p = clampProgress(std::min(1.0f, p + 0.1f * frameDelta));
    adY = -pitchY(*this) / 4 * (1 - std::sin(90.0f * kDeg * p));
    if (p >= 1) {
        adY = 0;
        return "LANDED";
    }
    return "";
}

std::string TChip::_update_lie() {
    setState("");
    return "LANDED";
}

std::string TChip::_update_replace() {
    if (!_odpad) {
        setState("");
        return "CHECK_MATCH";
    }
    return "";
}

std::string TChip::_update_state() {
    switch (_step) {
        case S_MOVE_LEFT: return _update_move_left();
        case S_MOVE_RIGHT: return _update_move_right();
        case S_MOVE_UP: return _update_move_up();
        case S_MOVE_DOWN: return _update_move_down();
        case S_FALL:
        case S_MOVE_DOWN_TO_FALL: return _update_fall();
        case S_FALL_LEFT: return _update_side_fall(-1);
        case S_FALL_RIGHT: return _update_side_fall(1);
        case S_MOVE_UP_TO_FALL: return _update_move_up_to_fall();
        case S_SHOW: return _update_show();
        case S_SHOW2:
            a = 0;
            s = 1;
            state = TChipState::FALL_DOWN;
            _step = S_FALL;
            return "";
        case S_LAND: return _update_land();
        case S_LAND_BACK: return _update_land_back();
        case S_LIE: return _update_lie();
        case S_REPLACE: return _update_replace();
        case S_DESTROY: return _update_destroy();
        case S_DESTROY_CHAIN: return _update_destroy_chain();
        default: return "";
    }
}

void TChip::_update_change() {
    if (!docelowyChip) return;
    changeP += 0.05f * frameDelta;
    if (changeP > 1) {
        cd = docelowyChip;
        a = 1;
        changeP = 0;
        docelowyChip.reset();
    }
}

void TChip::_update_tileFly() {
    if (!docelowyTile) return;
    tileP = std::min(1.0f, tileP + 0.03f * frameDelta);
    if (tileP >= 1) {
        tile = docelowyTile;
        docelowyTile = nullptr;
        adx = adY = 0;
        tileP = 0;
        return;
    }
    const float t = tileP, u = 1 - t;
    const float bx = u * u * startDim.x + 2 * u * t * mDim.x + t * t * endDim.x;
    const float by = u * u * startDim.y + 2 * u * t * mDim.y + t * t * endDim.y;
    // Offsets are drawn from the tile the chip currently belongs to.
    const float ox = tile ? tile->dim.x : startDim.x;
    const float oy = tile ? tile->dim.y : startDim.y;
    adx = bx - ox;
    adY = by - oy;
}

void TChip::_update_not_picked() { overP = approach(overP, 0, 0.05f * frameDelta); }

void TChip::_update_picked() {
    if (isPicked()) {
        if (doverP == 0) doverP = 1;
        overP = approach(overP, doverP, 0.05f * frameDelta);
        if (overP == doverP) doverP = -doverP;
    } else {
        _update_not_picked();
    }
    // A chip at rest (overP 0, as nearly every chip is every frame) needs no
    // sine: 30 * overP is the same value, signed zero included.
    overRot = overP == 0 ? 30 * overP : 30 * std::sin(90.0f * kDeg * overP);
}

void TChip::_update_over_Group() {}

void TChip::_update_shaking(float amplitude, float speed) {
    shakeP += dShakeP * speed * frameDelta;
    if (shakeP > 1) {
        shakeP = 1;
        dShakeP = -std::fabs(dShakeP);
    } else if (shakeP < -1) {
        shakeP = -1;
        dShakeP = std::fabs(dShakeP);
    }
    asx = sasX * amplitude * shakeP;
    asy = sasY * amplitude * shakeP;
}

void TChip::_update_PuzzleChip() {
    if (!isPuzzle()) return;
    const int now = Millisecs();
    if (now > blaskTime) {
        dABlask = 1;
        blaskTime = now + 2500;
    }
    aBlask = approach(aBlask, dABlask, 0.01f * frameDelta);
    if (aBlask >= 1) dABlask = 0;
    blaskRot += 3 * frameDelta;
    if (blaskRot >= 360) blaskRot -= 360;
}

void TChip::_update_bonusRot() {
    if (!isBonus()) return;
    speCRot += 1 * frameDelta;
    if (speCRot >= 360) speCRot -= 360;
}

std::string TChip::update() {
    if (!cd) destroy(0);
    _update_tile_Position();
    _update_change();
    _update_tileFly();
    _update_settings();
    _update_picked();
    _update_PuzzleChip();
    _update_bonusRot();
    return _update_state();
}

// ---------------------------------------------------------------------------
// Drawing

// The editor draws its board zoomed, where a picture of another size would be
// resampled differently: it keeps the two quads.
static bool g_bakedShadows = true;

// One chip kind's picture and its drop shadow. Upright at full alpha and
// scale 1 (a chip at rest, sliding or falling) the picture with the shadow
// baked under it is one quad; otherwise the shadow is drawn, then the chip.
static void drawKind(TChipData& kind, float x, float y, int frame, float alpha, float scaleX, float scaleY,
                     float rotation) {
    const ImagePtr& img = kind.gfx;
    if (!img || alpha <= 0) return;
    if (g_bakedShadows && alpha >= 1 && scaleX == 1 && scaleY == 1 && rotation == 0 && frame == 0) {
        if (const ImagePtr& baked = kind.shadowedGfx()) {
            SetColor(255, 255, 255);
            SetAlpha(1);
            SetScale(1, 1);
            DrawImage(baked, x, y, kind.shadowedFrame());
            return;
        }
    }
    SetColor(0, 0, 0);
    SetAlpha(alpha * kChipShadowAlpha);
    SetScale(scaleX + kChipShadowGrow, scaleY + kChipShadowGrow);
    DrawImage(img, x + kChipShadowOffset, y + kChipShadowOffset, frame);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    SetScale(scaleX, scaleY);
    DrawImage(img, x, y, frame);
}

void TChip::drawNormal(float x, float y, int) {
    if (!cd) return;
    SetRotation(overRot);
    SetBlend(ALPHABLEND);
    const float scX = s * sx, scY = s * sy;
    const float px = x + adx + asx, py = y + adY + asy;
    drawKind(*cd, px, py, frame, a * (1 - changeP), scX, scY, overRot);
    if (docelowyChip) drawKind(*docelowyChip, px, py, frame, a * changeP, scX, scY, overRot);
    drawPuzzleChipEfekt();
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetScale(1, 1);
    SetRotation(0);
}

void TChip::draw(float x, float y, int over) {
    if (_odpad) return;  // the junk piece draws the chip
    screenX = x + adx;
    screenY = y + adY;
    drawNormal(x, y, over);
}

void TChip::draw_EDITOR(float x, float y, int over) {
    g_bakedShadows = false;
    drawNormal(x, y, over);
    g_bakedShadows = true;
}

void TChip::drawLIghtned(float x, float y, int over) {
    draw(x, y, over);
    drawLIghtned1(x, y);
}

void TChip::drawLIghtned1(float x, float y) {
    if (!cd || !cd->gfx) return;
    SetBlend(LIGHTBLEND);
    SetColor(255, 255, 255);
    SetAlpha(a * 0.4f);
    SetScale(s * sx, s * sy);
    DrawImage(cd->gfx, x + adx, y + adY, frame);
    SetBlend(ALPHABLEND);
    SetAlpha(1);
    SetScale(1, 1);
}

void TChip::drawHintChain(float x, float y) {
    draw(x, y, 0);
    drawLIghtned1(x, y);
}

void TChip::drawLIghtnedGroup(float x, float y) { drawLIghtnedGroup1(x, y, 1); }

void TChip::drawLIghtnedGroup1(float x, float y, float pulse) {
    draw(x, y, 0);
    if (!cd || !cd->gfx) return;
    SetBlend(LIGHTBLEND);
    SetAlpha(a * 0.3f * pulse);
    SetScale(s * sx, s * sy);
    DrawImage(cd->gfx, x + adx, y + adY, frame);
    SetBlend(ALPHABLEND);
    SetAlpha(1);
    SetScale(1, 1);
}

void TChip::drawNormalSpec() {}

void TChip::drawChain() {
    if (!tile) return;
    drawLIghtned1(tile->dim.x, tile->dim.y);
}

void TChip::drawPuzzleChipEfekt() {
    if (!isPuzzle() || !cd || !cd->gfx || aBlask <= 0) return;
    SetBlend(LIGHTBLEND);
    SetColor(255, 255, 255);
    SetAlpha(aBlask * 0.5f * a);
    SetRotation(blaskRot);
    DrawImage(cd->gfx, screenX, screenY, frame);
    SetBlend(ALPHABLEND);
    SetRotation(0);
}
