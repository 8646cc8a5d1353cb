// Rectangle record shared by widgets, board cells and tutorial targets.
#pragma once

#include <memory>

class TChip;

struct TDim {
    float x = 0, y = 0;
    float h = 0, w = 0;  // height before width, as everywhere else in the game
    // Hit-test corners. Derived: update() or the widget's own layout sets them.
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    // The chip this rectangle belongs to (board and tutorial only). Non-owning so
    // that a chip holding its own rectangle makes no cycle.
    std::weak_ptr<TChip> ch;

    void update() {
        x1 = x;
        y1 = y;
        x2 = x + w;
        y2 = y + h;
    }
};
using TDimPtr = std::shared_ptr<TDim>;

// Note the argument order w, h; the corners are left at 0.
TDimPtr createDim(int x, int y, int w, int h);
TDimPtr createPoint(int x, int y);
