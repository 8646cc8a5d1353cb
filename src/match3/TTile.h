// One board cell: the plate (tile kind), its lock and creator flags, and the
// chip lying on it.
#pragma once

#include <memory>
#include <string>

#include "match3/M3Shared.h"
#include "match3/TTileData.h"

class TLevel;
class TChip;
class TOdpad;
class TFlyingTile;

class TTile {
public:
    std::shared_ptr<TFlyingTile> _flyingTile;
    std::shared_ptr<TOdpad> _odpad;
    TLevel* level = nullptr;  // back-reference, not owning
    TTileDataPtr td;
    float ta = 1, tda = 1, ts = 1, tds = 1, tr = 0;
    std::shared_ptr<TChip> chip;  // set through setChip
    TTile* swap = nullptr;        // partner of a swap in progress
    int over = 0;
    int oznacz = 0, oznaczony = 0, ozn = 0;
    int creator = 0;
    int chain = 0;
    int destroyTime = 0, partTime = 0, destroyUseTime = 0;
    std::string specState;
    int destrType = 0;
    TDim dim;  // centre of the cell on screen
    int r = 0, c = 0;
    float blyskA = 0, dBlyskA = 0;
    int blyskTime = 0, startBlysk = 0;

    // Structural and drawing operations (board).
    void resetMyLook();
    void drawOnlyTile(int force, int shadow);
    void drawPoblysk();
    void drawBlysk(float f);
    void drawBezwzglednie(int force);
    // The tile alone with its shadow as it looks at rest: alpha 1, scale 1, no rotation.
    void drawRestingTile(int force);
    void draw(int force);
    void drawChip();
    void drawChip_EDITOR();
    void drawHintInfo();
    void drawChain();
    void setChip(const std::shared_ptr<TChip>& chip);
    void setTileData(const TTileDataPtr& td);
    void setMyAlpha(float a);
    int canBeOver();
    int updateOver();
    void updateAlpha();
    void updateScale();
    void updateParams();
    void checkIfPuzzle();
    // Per-frame steps driven by the round engine (their bodies live with it).
    std::string updateChip();
    void updateCreator();
    void updateBlysk();
    void _updateDestroy();
    void updateSpecState();
    void update();
    void generateDestroyParticlesBomb();
    void generateDestroyParticlesCross(float f);
    void generateDestroyParticles(int kind, int type);
    void randomMyChip();
    int haveBonus();
    void shutDown();
    void destroyChip();
    void destroyChain();
    void matchHere();
    void chipFallDown();
    void chipSideFallDown(int side);

    // Helpers of our own.
    int kind() const;  // tile kind id, 0 when the tile has no kind
    float pitchX() const;
    float pitchY() const;
};
using TTilePtr = std::shared_ptr<TTile>;

// A new tile of kind td.
TTilePtr createTile(const TTileDataPtr& td);
