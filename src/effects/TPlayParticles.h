// The particles of the play screen: the board's particles (TM3Particles) plus
// the screen's own (the caption words of kinds 5, 6 and 8, fireworks,
// sparkles) and the per-frame list operations. The particle system
// (TEffectsPlayParticles) implements it; screens reach it through
// playParticles().
#pragma once

#include <functional>
#include <utility>

#include "match3/TM3Particles.h"

class TPlayParticles : public TM3Particles {
public:
    // Caption words: 5 level complete, 6 no move left (board refilled), 8 time's up.
    virtual void textParticle(int kind, float x, float y) {
        (void)kind;
        (void)x;
        (void)y;
    }
    virtual void firework(float x, float y) {
        (void)x;
        (void)y;
    }
    virtual void sparkle(float x, float y, int r, int g, int b, int delay) {
        (void)x;
        (void)y;
        (void)r;
        (void)g;
        (void)b;
        (void)delay;
    }
    // One small particle at (x, y) (the vanish-colour highlight).
    virtual void dot(float x, float y, int r, int g, int b) { sparkle(x, y, r, g, b, 0); }
    virtual void update() {}
    virtual void draw() {}
    virtual void clear() {}
    virtual int count() const { return 0; }

    // The play screen may show its board through a smaller view: positions on
    // the board (every burst but the caption words, fireworks and power-up
    // sparks) are then mapped to the screen by this. Null: no mapping.
    void setBoardToScreen(std::function<void(float&, float&)> f) { _boardToScreen = std::move(f); }

protected:
    void _toScreen(float& x, float& y) const {
        if (_boardToScreen) _boardToScreen(x, y);
    }

private:
    std::function<void(float&, float&)> _boardToScreen;
};

// The installed particles; a do-nothing instance until setPlayParticles.
TPlayParticles& playParticles();
// Not owned; null restores the do-nothing instance.
void setPlayParticles(TPlayParticles* p);
