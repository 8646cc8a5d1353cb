#include "effects/TNumberParticle.h"

#include "data/DataGlobals.h"

std::array<ImagePtr, 11> TNumberParticle::digits1{};
bool TNumberParticle::digits1SetUp = false;

namespace {
TParticlePool<TNumberParticle>& pool() {
    static auto* p = new TParticlePool<TNumberParticle>(64);
    return *p;
}
}  // namespace

void TNumberParticle::setup() {
    if (digits1SetUp) return;
    digits1SetUp = true;
    for (int d = 0; d < 10; ++d) {
        const std::string path = "gfx/particles/cyfry1/" + std::to_string(d) + ".png";
        digits1[static_cast<size_t>(d)] = LoadImage(dataRoot + path, IMG_FILTERED);
        if (digits1[static_cast<size_t>(d)])
            MidHandleImage(digits1[static_cast<size_t>(d)]);
        else
            notice("NO PARTICLE IMG: " + path);
    }
}

void TNumberParticle::draw() {
    if (Millisecs() < startTime || bornTime == 0) return;
    SetBlend(ALPHABLEND);
    SetRotation(r);
    SetColor(rgb.r, rgb.g, rgb.b);
    SetAlpha(a);
    SetScale(s, s);
    _drawGlyphs(digits1, x, y);
}

TNumberParticle* TNumberParticle::create(int value, float x, float y, int delay, TParticleList* l) {
    TNumberParticle* t = pool().acquire();
    if (!t) return nullptr;
    t->przeliczWpis(value);
    t->px = t->x = x;
    t->py = t->y = y;
    t->startA = 1;
    t->da = 0;
    t->startS = 0.3f;
    t->ds = 1.0f;
    t->lifeTime = 1200;
    t->startTime = Millisecs() + delay;
    if (!(l ? *l : particles()).add(t)) return nullptr;
    return t;
}
