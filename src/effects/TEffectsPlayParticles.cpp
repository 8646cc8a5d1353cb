#include "effects/TEffectsPlayParticles.h"

#include "effects/Particles.h"
#include "match3/TChip.h"
#include "match3/TChipData.h"
#include "match3/TTile.h"

namespace {
void centre(TChip& chip, float& x, float& y) {
    if (chip.tile) {
        x = chip.tile->dim.x + chip.adx;
        y = chip.tile->dim.y + chip.adY;
    } else {
        x = chip.screenX;
        y = chip.screenY;
    }
}
TRGB colourOf(TChip& chip) {
    return chip.cd ? chip.cd->rgb : TRGB{};
}
}  // namespace

void TEffectsPlayParticles::chipDestroyParticles(TChip& chip, int) {
    float x, y;
    centre(chip, x, y);
    _toScreen(x, y);
    destroyParticles(x, y, colourOf(chip), DESTROY_NORMAL);
}
void TEffectsPlayParticles::chipDestroyParticlesCross(TChip& chip) {
    float x, y;
    centre(chip, x, y);
    _toScreen(x, y);
    destroyParticles(x, y, colourOf(chip), DESTROY_CROSS, chip.speCRot);
}
void TEffectsPlayParticles::chipDestroyParticlesFireHorizontal(TChip& chip) {
    float x, y;
    centre(chip, x, y);
    _toScreen(x, y);
    destroyParticles(x, y, colourOf(chip), DESTROY_FIRE_H);
}
void TEffectsPlayParticles::chipDestroyParticlesFireVertical(TChip& chip) {
    float x, y;
    centre(chip, x, y);
    _toScreen(x, y);
    destroyParticles(x, y, colourOf(chip), DESTROY_FIRE_V);
}
void TEffectsPlayParticles::chipDestroyParticlesBomb(TChip& chip) {
    float x, y;
    centre(chip, x, y);
    _toScreen(x, y);
    destroyParticles(x, y, colourOf(chip), DESTROY_BOMB);
}
void TEffectsPlayParticles::plateBreakParticles(float x, float y, float w, float h, int kind) {
    _toScreen(x, y);
    ::plateBreakParticles(x, y, w, h, kind);
}
void TEffectsPlayParticles::chainBreakParticles(float x, float y) {
    _toScreen(x, y);
    chainParticles(x, y);
}
void TEffectsPlayParticles::tileDestroyParticles(TTile& tile, int kind, int type) {
    const TRGB c = tile.chip && tile.chip->cd ? tile.chip->cd->rgb : TRGB{255, 240, 200};
    const int t = type == 3   ? DESTROY_BOMB
                  : type == 4 ? DESTROY_CROSS
                  : type == 1 ? DESTROY_FIRE_H
                  : type == 2 ? DESTROY_FIRE_V
                              : DESTROY_NORMAL;
    // The first argument is the sweep's delay: farther tiles burst later.
    const int delay = kind > 0 && kind < 5000 ? kind : 0;
    float x = tile.dim.x, y = tile.dim.y;
    _toScreen(x, y);
    destroyParticles(x, y, c, t, tile.chip ? tile.chip->speCRot : 0, delay);
}
void TEffectsPlayParticles::scoreParticle(float x, float y, int score, int last) {
    _toScreen(x, y);
    ::scoreParticle(x, y, score, last > 0 ? last : 0);
}
void TEffectsPlayParticles::explosion(float x, float y) {
    _toScreen(x, y);
    explosionParticles(x, y);
}
void TEffectsPlayParticles::chainLengthParticle(float x, float y, int n) {
    _toScreen(x, y);
    ::chainLengthParticle(x, y, n);
}
void TEffectsPlayParticles::powerUpSparkle(float x, float y, int r, int g, int b, int frame) {
    ::powerUpSparkle(x, y, TRGB{r, g, b}, frame);
}
void TEffectsPlayParticles::textParticle(int kind, float x, float y) {
    ::textParticle(kind, x, y);
}
void TEffectsPlayParticles::firework(float x, float y) {
    ::firework(x, y);
}
void TEffectsPlayParticles::sparkle(float x, float y, int r, int g, int b, int delay) {
    _toScreen(x, y);
    ::sparkle(x, y, TRGB{r, g, b}, delay);
}
void TEffectsPlayParticles::dot(float x, float y, int r, int g, int b) {
    _toScreen(x, y);
    dotParticle(x, y, TRGB{r, g, b});
}
// The pictures load on first use: the display opens after the wiring.
void TEffectsPlayParticles::update() {
    setupParticles();
    updateParticles();
}
void TEffectsPlayParticles::draw() {
    setupParticles();
    drawParticles();
}
void TEffectsPlayParticles::clear() {
    clearParticles();
}
int TEffectsPlayParticles::count() const {
    return particles().size();
}
