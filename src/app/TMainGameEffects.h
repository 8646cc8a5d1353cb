// The play screen's side of the board engine: sounds through the sound
// manager, falling pieces, flying resources and chip ghosts of its own, the
// tutorial flags, the score and the profile's power-ups. (The board's
// particles go straight to the particle system.)
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

    // falling pieces
    std::shared_ptr<TOdpad> odpadFromTile(TTile& tile, const std::shared_ptr<TChip>& chip) override;
    std::shared_ptr<TOdpad> odpadFromChip(const std::shared_ptr<TChip>& chip) override;

    // power-ups
    int powerUpCanCharge(int slot) override;
    void flyingResource(int slot, float x, float y, const std::shared_ptr<TChipData>& cd) override;
    void chipFantoms(TTile& target, const std::vector<std::shared_ptr<TChip>>& chips) override;

    // feedback
    void refusedMatch(const std::vector<std::shared_ptr<TChip>>& chips) override;
    void matchMade(int size, int cascade) override;

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
