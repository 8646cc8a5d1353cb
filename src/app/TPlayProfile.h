// What the play screen asks of the current player's profile. The real profile
// plugs in behind this; until then (and for --play-level) a temporary profile
// kept in memory and saved in the per-user folder stands in.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "match3/TPowerUp.h"

class TPlayProfile {
public:
    virtual ~TPlayProfile() = default;

    virtual TPowerUp& powerUp(int i) = 0;  // 0..5
    virtual int nrLevelu() = 0;
    virtual std::string gameMode() = 0;    // "RELAXED" or "TIMED"
    virtual void setGameType(const std::string& t) = 0;
    virtual int score() = 0;
    virtual void save() = 0;
    // Uncovers the power-ups the player's level has reached.
    virtual void checkPowerUps() = 0;
    virtual void resetPowerUpsEffects() = 0;
    virtual void updatePowerUps() = 0;
    virtual void giveActStageData(int levelScore) = 0;
    virtual bool allPuzzles() = 0;
    virtual void addPuzzles(int n) = 0;
};

// In-memory profile: every power-up uncovered, the given level number and
// mode; save() writes a small summary atomically to `savePath` when set.
class TTempProfile : public TPlayProfile {
public:
    std::array<TPowerUp, 6> powerUps{};
    int level = 1;
    std::string mode = "RELAXED";
    std::string gameType;
    int totalScore = 0;
    int stageScore = 0;
    int puzzles = 0;
    int saves = 0;
    std::string savePath;

    TTempProfile();
    TPowerUp& powerUp(int i) override;
    int nrLevelu() override { return level; }
    std::string gameMode() override { return mode; }
    void setGameType(const std::string& t) override { gameType = t; }
    int score() override { return totalScore; }
    void save() override;
    void checkPowerUps() override;
    void resetPowerUpsEffects() override;
    void updatePowerUps() override;
    void giveActStageData(int levelScore) override { stageScore += levelScore; }
    bool allPuzzles() override { return false; }
    void addPuzzles(int n) override { puzzles += n; }
};

// The profile the play screen uses; never null (a TTempProfile until one is set).
TPlayProfile& playProfile();
void setPlayProfile(std::shared_ptr<TPlayProfile> p);
