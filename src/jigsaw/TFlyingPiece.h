// A piece of the solved picture flying to the dog at the end of a jigsaw:
// it waits for its start time, then curves to the target while it turns and
// shrinks, and reports its landing once.
#pragma once

#include <memory>

#include "platform/Services.h"

class TFlyingPiece {
public:
    ImagePtr img;
    float x0 = 0, y0 = 0;  // start, the piece's top-left corner
    float tx = 0, ty = 0;  // target, where the piece's centre lands
    float endScale = 0.3f;
    bool keepWhenLanded = false;  // stays drawn where it landed
    int startTime = 0;            // clock time the flight begins
    int duration = 700;           // ms
    bool landed = false;
    float x = 0, y = 0, rot = 0, scale = 1;

    // Moves; true on the frame it lands (once).
    bool update(int now);
    void draw() const;
    bool started(int now) const { return now >= startTime; }
};
using TFlyingPiecePtr = std::shared_ptr<TFlyingPiece>;
