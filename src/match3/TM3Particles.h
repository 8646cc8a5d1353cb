// The particles the board asks for: destruction bursts, plate pieces, score
// digits, chain lengths and power-up sparkles. The particle system implements
// this (with the play screen's own particles on top, see TPlayParticles);
// until one is installed every call does nothing, so the engine runs
// unchanged in unit tests and in the level runner.
#pragma once

class TChip;
class TTile;

class TM3Particles {
public:
    virtual ~TM3Particles() = default;

    // Normal destruction burst of a chip; n is the argument the chip passes (-1).
    virtual void chipDestroyParticles(TChip& chip, int n) {
        (void)chip;
        (void)n;
    }
    virtual void chipDestroyParticlesCross(TChip& chip) { (void)chip; }
    virtual void chipDestroyParticlesFireHorizontal(TChip& chip) { (void)chip; }
    virtual void chipDestroyParticlesFireVertical(TChip& chip) { (void)chip; }
    virtual void chipDestroyParticlesBomb(TChip& chip) { (void)chip; }
    // A layer of a plate broke: kind 1 (single layer) or 2 (double layer).
    virtual void plateBreakParticles(float x, float y, float w, float h, int kind) {
        (void)x;
        (void)y;
        (void)w;
        (void)h;
        (void)kind;
    }
    virtual void chainBreakParticles(float x, float y) {
        (void)x;
        (void)y;
    }
    // Tile-level destruction particles of a special sweep (bonus blasts).
    virtual void tileDestroyParticles(TTile& tile, int kind, int type) {
        (void)tile;
        (void)kind;
        (void)type;
    }
    virtual void scoreParticle(float x, float y, int score, int last) {
        (void)x;
        (void)y;
        (void)score;
        (void)last;
    }
    virtual void explosion(float x, float y) {
        (void)x;
        (void)y;
    }
    // The length of a matched chain shown over its last chip.
    virtual void chainLengthParticle(float x, float y, int n) {
        (void)x;
        (void)y;
        (void)n;
    }
    // One sparkle of a charged power-up at (x, y), picture frame 0..15.
    virtual void powerUpSparkle(float x, float y, int r, int g, int b, int frame) {
        (void)x;
        (void)y;
        (void)r;
        (void)g;
        (void)b;
        (void)frame;
    }
};

// The installed particles; never null (a do-nothing instance when none is set).
TM3Particles& m3Particles();
// Installs them (not owned; the caller keeps them alive). Null restores the no-op.
void setM3Particles(TM3Particles* particles);
