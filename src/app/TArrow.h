// A hint arrow on the board: fades in, bobs along its direction, fades out
// when its target alpha drops to 0.
#pragma once

#include <memory>

#include "platform/Services.h"

class TArrow {
public:
    int n = 0;  // 1 the arrow at the first tile, 0 at the second
    float x = 0, y = 0, rot = 0;
    float a = 0, dA = 1;
    float phase = 0;

    static ImagePtr img;  // points up at rotation 0

    void update();
    void draw() const;
};
using TArrowPtr = std::shared_ptr<TArrow>;
