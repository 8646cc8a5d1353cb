// The particle system behind the play screen's particle hooks: every burst,
// number and caption the board and the play screen ask for goes into the
// global particle list.
#pragma once

#include "effects/TPlayParticles.h"

class TEffectsPlayParticles : public TPlayParticles {
public:
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
    void dot(float x, float y, int r, int g, int b) override;
    void update() override;
    void draw() override;
    void clear() override;
    int count() const override;
};
