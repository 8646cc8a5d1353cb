// Everything the board asks of the world around it that is neither board logic
// nor particles (those go through TM3Particles): sounds, junk pieces, flying
// resources, and the few flags the play screen keeps for the tutorial. Until
// the play screen installs its own implementation they do nothing, so the
// engine runs unchanged in unit tests and in the level runner.
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

    // --- junk pieces ("odpady") ---
    // A puzzle piece left the board through the bottom of this tile. The board
    // has already taken the chip off the tile; the effect may keep it to draw.
    virtual std::shared_ptr<TOdpad> odpadFromTile(TTile& tile, const std::shared_ptr<TChip>& chip) {
        (void)tile;
        (void)chip;
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
        (void)chip;
        (void)cd;
        return nullptr;
    }

    // --- power-up charging ---
    // 1 when power-up slot i (0..5) of the current profile is uncovered and not active.
    virtual int powerUpCanCharge(int slot) {
        (void)slot;
        return 0;
    }
    virtual void flyingResource(int slot, float x, float y, const std::shared_ptr<TChipData>& cd) {
        (void)slot;
        (void)x;
        (void)y;
        (void)cd;
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
        (void)target;
        (void)chips;
    }

    // --- feedback (added with the play screen's polish) ---
    // The player let go of a chain, or clicked a group, too short to match:
    // the chips say no (the play screen shakes them); here only the sound.
    virtual void refusedMatch(const std::vector<std::shared_ptr<TChip>>& chips) {
        (void)chips;
        playBadMatch();
    }
    // A match of `size` chips was made; `cascade` counts the matches made
    // since the player's last move (1 for the move's own match).
    virtual void matchMade(int size, int cascade) {
        (void)size;
        (void)cascade;
    }
};

// The installed hooks; never null (a do-nothing instance when none is set).
TM3Effects& m3Effects();
// Installs hooks (not owned; the caller keeps them alive). Null restores the no-op.
void setM3Effects(TM3Effects* effects);
