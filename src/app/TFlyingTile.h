// A board cell (plate and chip) flying to its place in an opening show, or
// away from it in a closing show. While it flies the tile does not draw itself.
#pragma once

#include <memory>

class TTile;

class TFlyingTile {
public:
    TTile* tile = nullptr;  // not owning: the level outlives the show
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    float rot0 = 0, scale0 = 1, scale1 = 1, rot1 = 0;
    float arc = 0;       // sideways bulge of the path, in pixels
    int startTime = 0;   // clock time the flight begins
    int duration = 600;  // ms
    bool leaving = false;  // closing show: the tile stays hidden afterwards
    float x = 0, y = 0, rot = 0, scale = 1, alpha = 0;

    // Moves; false once landed (the tile draws itself again unless leaving).
    bool update(int now);
    void draw() const;
};
using TFlyingTilePtr = std::shared_ptr<TFlyingTile>;
