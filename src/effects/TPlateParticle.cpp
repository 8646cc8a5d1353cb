#include "effects/TPlateParticle.h"

#include "data/DataGlobals.h"

std::array<ImagePtr, 2> TPlateParticle::plates{};
bool TPlateParticle::platesSetUp = false;

namespace {
TParticlePool<TPlateParticle>& pool() {
    static auto* p = new TParticlePool<TPlateParticle>(512);
    return *p;
}
}  // namespace

void TPlateParticle::setupPlates() {
    if (platesSetUp) return;
    platesSetUp = true;
    const char* const files[2] = {"gfx/tiles/tile2.png", "gfx/tiles/tile3.png"};
    for (int i = 0; i < 2; ++i) {
        plates[static_cast<size_t>(i)] = LoadImage(dataRoot + files[i], IMG_FILTERED);
        if (!plates[static_cast<size_t>(i)]) notice(std::string("NO PARTICLE IMG: ") + files[i]);
    }
}

void TPlateParticle::draw() {
    if (Millisecs() < startTime || bornTime == 0) return;
    const ImagePtr& img = plates[static_cast<size_t>(frame & 1)];
    if (!img) return;
    const float hw = static_cast<float>(img->width) / 2, hh = static_cast<float>(img->height) / 2;
    const float sx = (quarter & 1) ? hw : 0, sy = (quarter & 2) ? hh : 0;
    SetBlend(ALPHABLEND);
    SetRotation(r);
    SetColor(rgb.r, rgb.g, rgb.b);
    SetAlpha(a);
    SetScale(s, s);
    DrawSubImageRect(img, x, y, hw, hh, sx, sy, hw, hh, hw / 2, hh / 2);
}

TPlateParticle* TPlateParticle::create(TParticleList* l) {
    TPlateParticle* t = pool().acquire();
    if (!t) return nullptr;
    t->blend = ALPHABLEND;
    if (!(l ? *l : particles()).add(t)) return nullptr;
    return t;
}
