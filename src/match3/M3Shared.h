// The small shared records the board uses from the GUI toolkit (a rectangle and
// a colour). The toolkit owns them; until its headers are in the tree the board
// builds against the same field layout declared here.
#pragma once

#if __has_include("gui/TDim.h")
#include "gui/TDim.h"
#else
class TChip;
struct TDim {
    float x = 0, y = 0;
    float h = 0, w = 0;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    TChip* ch = nullptr;
    void update() {
        x1 = x;
        y1 = y;
        x2 = x + w;
        y2 = y + h;
    }
};
#endif

#include "data/TRGB.h"
