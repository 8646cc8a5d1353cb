// The play screen's side of the board engine: sounds through the sound
// manager, particles through the particle system, falling pieces, flying
// resources and chip ghosts of its own, the tutorial flags, the score and the
// profile's power-ups.
#pragma once

#include "match3/TM3Effects.h"
#include "match3/TM3Host.h"

class TMainGame;

class TMainGameEffects : public TM3Effects, public TM3Host {
public:
    explicit TMainGameEffects(TMainGame& screen) : _s(screen) {}

    // sounds
    void playSound(const std::string& name) override;
    void playTileBreak() override;
    void playChipMove() override;
    void playDestroyChip() override;
    void playChainBreak() override;
    void playPuzzleMatched() override;
    void playBOMB(int level) override;
    void playCROSSFIRE(int level) override;
    void playBadMatch() override;
    void playAddToChain() override;
    void playCreateBonus() override;

    // particles
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

    // falling pieces
    std::shared_ptr<TOdpad> odpadFromTile(TTile& tile, const std::shared_ptr<TChip>& chip) override;
    std::shared_ptr<TOdpad> odpadFromChip(const std::shared_ptr<TChip>& chip) override;

    // power-ups
    int powerUpCanCharge(int slot) override;
    void flyingResource(int slot, float x, float y, const std::shared_ptr<TChipData>& cd) override;
    void chipFantoms(TTile& target, const std::vector<std::shared_ptr<TChip>>& chips) override;

    // flags and values
    void setChainBroken() override;
    void setTileMatched() override;
    void setPuzzleCollected() override;
    int levelTime() override;
    void setLevelTime(int t) override;
    void addCollectionTime(const std::string& t) override;
    float oznP() override;

    // host
    void addScore(int n) override;
    int profileLevel() override;
    TPowerUp* powerUp(int slot) override;

private:
    TMainGame& _s;
};
