#include "data/TDim.h"

TDimPtr createDim(int x, int y, int w, int h) {
    auto d = std::make_shared<TDim>();
    d->x = static_cast<float>(x);
    d->y = static_cast<float>(y);
    d->w = static_cast<float>(w);
    d->h = static_cast<float>(h);
    return d;
}

TDimPtr createPoint(int x, int y) {
    auto d = std::make_shared<TDim>();
    d->x = static_cast<float>(x);
    d->y = static_cast<float>(y);
    return d;
}
