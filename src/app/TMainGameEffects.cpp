#include "app/TMainGameEffects.h"

#include "app/PlaySprites.h"
#include "app/TMainGame.h"
#include "audio/TGlobalSnd.h"
#include "effects/TPlayParticles.h"
#include "gui/TGui.h"
#include "match3/TChip.h"
#include "match3/TChipData.h"
#include "match3/TTile.h"
#include "profiles/TProfile.h"

void TMainGameEffects::playSound(const std::string& name) {
    globalSnd.playSound(name);
}
void TMainGameEffects::playTileBreak() {
    globalSnd.playTileBreak();
}
void TMainGameEffects::playChipMove() {
    globalSnd.playChipMove();
}
void TMainGameEffects::playDestroyChip() {
    globalSnd.playDestroyChip();
}
void TMainGameEffects::playChainBreak() {
    globalSnd.playChainBreak();
}
void TMainGameEffects::playPuzzleMatched() {
    globalSnd.playPuzzleMatched();
}
void TMainGameEffects::playBOMB(int level) {
    globalSnd.playBOMB(level);
}
void TMainGameEffects::playCROSSFIRE(int level) {
    globalSnd.playCROSSFIRE(level);
}
void TMainGameEffects::playBadMatch() {
    globalSnd.playBadMatch();
}
void TMainGameEffects::playAddToChain() {
    globalSnd.playAddToChain();
}
void TMainGameEffects::playCreateBonus() {
    globalSnd.playCreateBonus();
}

std::shared_ptr<TOdpad> TMainGameEffects::odpadFromTile(TTile& tile, const std::shared_ptr<TChip>& chip) {
    // The piece is already off the board: it drops from where it was. The tile
    // keeps no reference so new chips on it draw as usual.
    if (!chip) return nullptr;
    auto o = std::make_shared<TOdpad>();
    o->chip = chip;
    o->x = tile.dim.x + chip->adx;
    o->y = tile.dim.y + chip->adY;
    o->falling = true;
    o->vx = RndF(-1.0f, 1.0f);
    o->vy = RndF(-4.0f, -2.5f);
    o->vr = RndF(-4, 4);
    PlaySprites::odpady.push_back(o);
    return nullptr;
}

std::shared_ptr<TOdpad> TMainGameEffects::odpadFromChip(const std::shared_ptr<TChip>& chip) {
    if (!chip) return nullptr;
    auto o = std::make_shared<TOdpad>();
    o->chip = chip;
    o->x = chip->screenX;
    o->y = chip->screenY;
    o->falling = true;
    o->vanish = true;
    o->vr = RndF(-6, 6);
    PlaySprites::odpady.push_back(o);
    for (int i = 0; i < 6; ++i) playParticles().sparkle(o->x, o->y, 255, 255, 255, i * 20);
    return nullptr;
}

int TMainGameEffects::powerUpCanCharge(int slot) {
    if (slot < 0 || slot > 5) return 0;
    TPowerUp& p = _s.powerUpOf(slot);
    return p.odkryty && !p.aktywny ? 1 : 0;
}

void TMainGameEffects::flyingResource(int slot, float x, float y, const std::shared_ptr<TChipData>& cd) {
    TFlyingResource r;
    r.img = cd ? cd->gfx : nullptr;
    if (cd) {
        r.r = cd->rgb.r;
        r.g = cd->rgb.g;
        r.b = cd->rgb.b;
    }
    const TDim d = _s.getPowerUpDim(slot + 1);
    // It flies on the screen, from where the view shows the chip.
    x = _s.boardView().toScreenX(x);
    y = _s.boardView().toScreenY(y);
    r.x0 = x;
    r.y0 = y;
    r.x1 = d.x;
    r.y1 = d.y;
    // Arc up and over towards the left edge.
    r.mx = (x + r.x1) / 2;
    r.my = std::min(y, r.y1) - 120;
    r.x = x;
    r.y = y;
    r.startTime = Millisecs();
    r.duration = 600;
    PlaySprites::resources.push_back(r);
}

void TMainGameEffects::chipFantoms(TTile& target, const std::vector<std::shared_ptr<TChip>>& chips) {
    const int now = Millisecs();
    for (const auto& ch : chips) {
        if (!ch || !ch->cd) continue;
        TChipGhost g;
        g.img = ch->cd->gfx;
        g.frame = ch->frame;
        g.x0 = g.x = ch->tile ? ch->tile->dim.x : ch->screenX;
        g.y0 = g.y = ch->tile ? ch->tile->dim.y : ch->screenY;
        g.x1 = target.dim.x;
        g.y1 = target.dim.y;
        g.startTime = now;
        g.duration = 300;
        PlaySprites::ghosts.push_back(g);
    }
}

void TMainGameEffects::setChainBroken() {
    _s.chainBroken = 1;
}
void TMainGameEffects::setTileMatched() {
    _s.tileMatched = 1;
}
void TMainGameEffects::setPuzzleCollected() {
    _s.puzzleCollected = 1;
}
int TMainGameEffects::levelTime() {
    return _s.levelTime;
}
void TMainGameEffects::setLevelTime(int t) {
    _s.levelTime = t;
}
void TMainGameEffects::addCollectionTime(const std::string& t) {
    _s.listaCzasow.push_back(t);
}
float TMainGameEffects::oznP() {
    return _s.oznP;
}

void TMainGameEffects::addScore(int n) {
    _s.addScore(n);
}
int TMainGameEffects::profileLevel() {
    return _s.player().nrLevelu;
}
TPowerUp* TMainGameEffects::powerUp(int slot) {
    if (slot < 0 || slot > 5) return nullptr;
    return &_s.powerUpOf(slot);
}

void TMainGameEffects::refusedMatch(const std::vector<std::shared_ptr<TChip>>& chips) {
    globalSnd.playBadMatch();
    _s.refuseChips(chips);
}
void TMainGameEffects::matchMade(int size, int cascade) {
    _s.praiseMatch(size, cascade);
}
