#include "effects/TTextParticle.h"

#include <algorithm>
#include <cmath>

#include "data/DataGlobals.h"

std::array<ImagePtr, TTextParticle::CAPTION_COUNT> TTextParticle::captions{};
bool TTextParticle::captionsSetUp = false;

namespace {
const char* const kCaptionFiles[TTextParticle::CAPTION_COUNT] = {
    "/excellent.png", "/go.png",    "/great.png",       "/level_complited.png", "/matched.png",
    "/noMatch.png",   "/ready.png", "/spectacular.png", "/terrific.png",        "/times_up.png"};

TParticlePool<TTextParticle>& pool() {
    static auto* p = new TParticlePool<TTextParticle>(32);
    return *p;
}
}  // namespace

void TTextParticle::setup() {
    if (captionsSetUp) return;
    captionsSetUp = true;
    for (int i = 0; i < CAPTION_COUNT; ++i) {
        const std::string path = std::string("gfx/captions") + kCaptionFiles[i];
        captions[static_cast<size_t>(i)] = LoadImage(dataRoot + path, IMG_FILTERED);
        if (captions[static_cast<size_t>(i)])
            MidHandleImage(captions[static_cast<size_t>(i)]);
        else
            notice("NO PARTICLE IMG: " + path);
    }
}

// Pop in with a little overshoot during the first fifth, rest, then rise and
// fade during the last quarter.
void TTextParticle::_updatePer() {
    const float t = lifePer;
    if (t < 0.2f) {
        const float k = t / 0.2f;
        s = startS + (1.15f * ds - startS) * std::sin(k * 1.5707963f);
        a = startA + (1.0f - startA) * k;
        y = py;
    } else if (t < 0.3f) {
        const float k = (t - 0.2f) / 0.1f;
        s = ds * (1.15f - 0.15f * k);
        a = 1;
        y = py;
    } else if (t < 0.75f) {
        s = ds;
        a = 1;
        y = py;
    } else {
        const float k = (t - 0.75f) / 0.25f;
        s = ds * (1.0f + 0.1f * k);
        a = 1.0f - (1.0f - da) * k;
        y = py - 40.0f * k * k;
    }
    x = px;
    shadeA = std::min(1.0f, a);
    if (fadeFloor > 0 && t >= 0.75f) {
        // The word fades only to its floor, on its halo at full strength,
        // and both are gone when its life ends.
        const float k = (t - 0.75f) / 0.25f;
        a = 1.0f - (1.0f - fadeFloor) * k;
        shadeA = 1;
    }
}

void TTextParticle::_drawShade() const {
    // The word's own picture in deep blue, laid around it in rings of
    // offsets: a soft dark halo that hugs the letters and fills the gaps
    // between them.
    const float opacity = shade * shadeA;
    if (opacity <= 0) return;
    const ImagePtr& img = captions[static_cast<size_t>(p)];
    constexpr int kPerRing = 12;
    constexpr float kRings[] = {8, 16, 24};
    constexpr int kDraws = kPerRing * 3;
    // Where every offset overlaps the halo is `opacity` dark.
    const float layerA = 1.0f - std::pow(1.0f - std::min(opacity, 0.99f), 1.0f / kDraws);
    SetBlend(ALPHABLEND);
    SetRotation(r);
    SetScale(s, s);
    SetColor(12, 16, 44);
    SetAlpha(layerA);
    for (float radius : kRings)
        for (int i = 0; i < kPerRing; ++i) {
            const float ang = 6.2831853f * (static_cast<float>(i) + (radius == 16 ? 0.5f : 0.0f)) / kPerRing;
            DrawImage(img, x + radius * s * std::cos(ang), y + radius * s * std::sin(ang));
        }
}

void TTextParticle::update() {
    if (Millisecs() < startTime) return;
    _updateTime();
    _updatePosition();
    _updatePer();
}

void TTextParticle::draw() {
    if (Millisecs() < startTime || bornTime == 0) return;
    if (p < 0 || p >= CAPTION_COUNT || !captions[static_cast<size_t>(p)]) return;
    if (shade > 0) _drawShade();
    SetBlend(ALPHABLEND);
    SetRotation(r);
    SetColor(rgb.r, rgb.g, rgb.b);
    SetAlpha(a);
    SetScale(s, s);
    DrawImage(captions[static_cast<size_t>(p)], x, y);
    if (shade > 0) {
        // On the halo the fill is lit up as well (the word added onto
        // itself): its golden lower half is too dim for the dark.
        SetBlend(LIGHTBLEND);
        SetAlpha(a * std::min(1.0f, shade) * 0.75f);
        DrawImage(captions[static_cast<size_t>(p)], x, y);
    }
}

TTextParticle* TTextParticle::create(int caption, float x, float y, int delay, TParticleList* l) {
    TTextParticle* t = pool().acquire();
    if (!t) return nullptr;
    t->p = caption;
    t->px = t->x = x;
    t->py = t->y = y;
    t->startA = 0;
    t->da = 0;
    t->startS = 0.3f;
    t->ds = 1;
    t->lifeTime = 2200;
    t->startTime = Millisecs() + delay;
    t->blend = ALPHABLEND;
    if (!(l ? *l : particles()).add(t)) return nullptr;
    return t;
}
