// A tip's pointing arrow: it fades in, pulses along the way it points and,
// when it belongs to a chip, follows that chip across the board. Its tip
// rests on the target; the picture points up at rotation 0.
#pragma once

#include <memory>

#include "platform/Services.h"

class TChip;

class TTipArrow {
public:
    float x = 0, y = 0;   // the point the arrow's tip touches
    float p = 0, dP = 6;  // pulse phase (degrees) and its speed per frame
    float a = 0, dA = 1;  // alpha and its target
    float rot = 180;      // 0 points up, 90 right, 180 down, 270 left
    int ay = 0;           // how far (pixels) the pulse pushes it along its way
    int n = 1;            // 1 the first arrow picture, 2 the second
    float s = 1;          // scale of the picture (arrows on the board are smaller)
    // The chip the arrow points at (null: a fixed place such as a button).
    std::weak_ptr<TChip> myObject;
    // Where the tip sits relative to the chip's centre.
    float offX = 0, offY = 0;

    // Points at (tx, ty) from the side opposite to the direction (dx, dy):
    // the arrow lies before the target and points along (dx, dy).
    void aim(float tx, float ty, float dx, float dy);
    // True while it has a chip that is still on the board; false once the
    // chip is gone (an arrow without a chip is always "alive").
    bool objectAlive() const;
    // The chip lies on its tile and is not being destroyed.
    static bool chipOnBoard(const std::shared_ptr<TChip>& chip);
    bool followsChip() const { return _hasObject; }
    void setObject(const std::shared_ptr<TChip>& chip, float offsetX, float offsetY);
    void update();
    // The pictures by n (1 or 2); a missing picture draws nothing.
    void draw(const ImagePtr& img1, const ImagePtr& img2, float alpha) const;

private:
    bool _hasObject = false;
};
using TTipArrowPtr = std::shared_ptr<TTipArrow>;
