// Everything the board asks of the world around it that is not board logic:
// sounds, particles, junk pieces, flying resources, and the few flags the play
// screen keeps for the tutorial. The board calls these hooks at the moments the
// design names; until the play screen installs its own implementation they do
// nothing, so the engine runs unchanged in unit tests and in the level runner.
//
// Add methods freely (with a no-op default); never remove one.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TChip;
class TTile;
class TChipData;
class TOdpad;

class TM3Effects {
public:
    virtual ~TM3Effects() = default;

    // --- sounds (the sound manager) ---
    virtual void playSound(const std::string& name) { (void)name; }
    virtual void playTileBreak() {}
    virtual void playChipMove() {}
    virtual void playDestroyChip() {}
    virtual void playChainBreak() {}
    virtual void playPuzzleMatched() {}
    virtual void playBOMB(int level) { (void)level; }
    virtual void playCROSSFIRE(int level) { (void)level; }
    virtual void playBadMatch() {}
    virtual void playAddToChain() {}
    virtual void playCreateBonus() {}

    // --- particles (visual effects) ---
    // Normal destruction burst of a chip; n is the argument the chip passes (-1).
    virtual void chipDestroyParticles(TChip& chip, int n) { (void)chip; (void)n; }
    virtual void chipDestroyParticlesCross(TChip& chip) { (void)chip; }
    virtual void chipDestroyParticlesFireHorizontal(TChip& chip) { (void)chip; }
    virtual void chipDestroyParticlesFireVertical(TChip& chip) { (void)chip; }
    virtual void chipDestroyParticlesBomb(TChip& chip) { (void)chip; }
    // A layer of a plate broke: kind 1 (single layer) or 2 (double layer).
    virtual void plateBreakParticles(float x, float y, float w, float h, int kind) {
        (void)x; (void)y; (void)w; (void)h; (void)kind;
    }
    virtual void chainBreakParticles(float x, float y) { (void)x; (void)y; }
    // Tile-level destruction particles of a special sweep (bonus blasts).
    virtual void tileDestroyParticles(TTile& tile, int kind, int type) {
        (void)tile; (void)kind; (void)type;
    }
    virtual void scoreParticle(float x, float y, int score, int last) {
        (void)x; (void)y; (void)score; (void)last;
    }
    virtual void explosion(float x, float y) { (void)x; (void)y; }

    // --- junk pieces ("odpady") ---
    // A puzzle piece left the board through the bottom of this tile. The board
    // has already taken the chip off the tile; the effect may keep it to draw.
    virtual std::shared_ptr<TOdpad> odpadFromTile(TTile& tile, const std::shared_ptr<TChip>& chip) {
        (void)tile; (void)chip;
        return nullptr;
    }
    // A chip vanishes as junk (already taken off its tile by the board).
    virtual std::shared_ptr<TOdpad> odpadFromChip(const std::shared_ptr<TChip>& chip) {
        (void)chip;
        return nullptr;
    }
    // A junk piece covers the chip and turns it into kind cd. Returning null
    // means no effect runs: the board then sets the kind at once.
    virtual std::shared_ptr<TOdpad> odpadReplace(const std::shared_ptr<TChip>& chip,
                                                 const std::shared_ptr<TChipData>& cd) {
        (void)chip; (void)cd;
        return nullptr;
    }

    // --- power-up charging ---
    // 1 when power-up slot i (0..5) of the current profile is uncovered and not active.
    virtual int powerUpCanCharge(int slot) {
        (void)slot;
        return 0;
    }
    virtual void flyingResource(int slot, float x, float y, const std::shared_ptr<TChipData>& cd) {
        (void)slot; (void)x; (void)y; (void)cd;
    }

    // --- play screen flags and values ---
    virtual void setChainBroken() {}
    virtual void setTileMatched() {}
    virtual void setPuzzleCollected() {}
    // The play screen's current level time and its list of puzzle collection times.
    virtual int levelTime() { return 0; }
    virtual void setLevelTime(int t) { (void)t; }
    virtual void addCollectionTime(const std::string& t) { (void)t; }
    // The HUD pulse used to draw marked tiles.
    virtual float oznP() { return 0; }

    // --- rewards (added with the round engine) ---
    // The chips of a large match fly to the tile where the bonus forms. Only a
    // picture: the board turns the chip into the bonus when the flight is over.
    virtual void chipFantoms(TTile& target, const std::vector<std::shared_ptr<TChip>>& chips) {
        (void)target; (void)chips;
    }
    // The length of a matched chain shown over its last chip.
    virtual void chainLengthParticle(float x, float y, int n) { (void)x; (void)y; (void)n; }
    // One sparkle of a charged power-up at (x, y), picture frame 0..15.
    virtual void powerUpSparkle(float x, float y, int r, int g, int b, int frame) {
        (void)x; (void)y; (void)r; (void)g; (void)b; (void)frame;
    }
};

// The installed hooks; never null (a do-nothing instance when none is set).
TM3Effects& m3Effects();
// Installs hooks (not owned; the caller keeps them alive). Null restores the no-op.
void setM3Effects(TM3Effects* effects);
