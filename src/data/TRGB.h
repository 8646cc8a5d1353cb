// Colour record shared by the paragraph code and the GUI toolkit.
#pragma once

#include <memory>

struct TRGB {
    int r = 255, g = 255, b = 255;  // a new colour is white
};
using TRGBPtr = std::shared_ptr<TRGB>;

inline TRGBPtr createRGB(int r, int g, int b) {
    auto c = std::make_shared<TRGB>();
    c->r = r;
    c->g = g;
    c->b = b;
    return c;
}
