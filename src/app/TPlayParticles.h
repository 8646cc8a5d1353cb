// The particles of the play screen behind one small interface: the board's
// particle hooks (destruction bursts, plate pieces, score digits, chain
// lengths, sparkles) plus the screen's own needs (the caption words of kinds
// 5, 6 and 8, fireworks, sparkles) and the per-frame list operations.
//
// The particle system plugs in through setPlayParticles(); until it does, a
// small built-in pool of sprites stands in so the board still sparkles.
#pragma once

#include <array>
#include <memory>

#include "app/services/Services.h"
#include "match3/TM3Effects.h"

class TPlayParticles : public TM3Effects {
public:
    // Caption words: 5 level complete, 6 no move left (board refilled), 8 time's up.
    virtual void textParticle(int kind, float x, float y) { (void)kind; (void)x; (void)y; }
    virtual void firework(float x, float y) { (void)x; (void)y; }
    virtual void sparkle(float x, float y, int r, int g, int b, int delay) {
        (void)x; (void)y; (void)r; (void)g; (void)b; (void)delay;
    }
    // One small particle at (x, y) (the vanish-colour highlight).
    virtual void dot(float x, float y, int r, int g, int b) { sparkle(x, y, r, g, b, 0); }
    virtual void update() {}
    virtual void draw() {}
    virtual void clear() {}
    virtual int count() const { return 0; }
};

// A fixed pool of simple sprites: enough to make the board feel alive.
class TBasicPlayParticles : public TPlayParticles {
public:
    TBasicPlayParticles();
    void load();

    void chipDestroyParticles(TChip& chip, int n) override;
    void chipDestroyParticlesCross(TChip& chip) override;
    void chipDestroyParticlesFireHorizontal(TChip& chip) override;
    void chipDestroyParticlesFireVertical(TChip& chip) override;
    void chipDestroyParticlesBomb(TChip& chip) override;
    void plateBreakParticles(float x, float y, float w, float h, int kind) override;
    void chainBreakParticles(float x, float y) override;
    void tileDestroyParticles(TTile& tile, int kind, int type) override;
    void scoreParticle(float x, float y, int score, int last) override;
    void explosion(float x, float y) override;
    void chainLengthParticle(float x, float y, int n) override;
    void powerUpSparkle(float x, float y, int r, int g, int b, int frame) override;

    void textParticle(int kind, float x, float y) override;
    void firework(float x, float y) override;
    void sparkle(float x, float y, int r, int g, int b, int delay) override;
    void update() override;
    void draw() override;
    void clear() override;
    int count() const override { return _live; }

    static constexpr int kPool = 1200;

private:
    struct P {
        int img = -1;  // index into _imgs; -1 = free
        int frame = 0;
        float x = 0, y = 0, vx = 0, vy = 0, g = 0;
        float a0 = 1, a1 = 0, s0 = 1, s1 = 1, r0 = 0, r1 = 0;
        int start = 0, life = 1;
        unsigned char cr = 255, cg = 255, cb = 255;
        int blend = LIGHTBLEND;
        int digits = -1;  // >= 0: a number drawn with the digit pictures
    };
    P* _spawn();
    void _burst(float x, float y, int n, int r, int g, int b, float speed, int img, int life);
    void _number(float x, float y, int value, bool plus, int r, int g, int b);
    bool _loaded = false;
    std::array<P, kPool> _pool{};
    int _live = 0;
    int _next = 0;
    std::array<ImagePtr, 40> _imgs{};
    std::array<ImagePtr, 11> _digits{};  // 0-9 and plus
};

TPlayParticles& playParticles();
// Not owned; null restores the built-in pool.
void setPlayParticles(TPlayParticles* p);
