#include "effects/TTextParticle.h"

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
    SetBlend(ALPHABLEND);
    SetRotation(r);
    SetColor(rgb.r, rgb.g, rgb.b);
    SetAlpha(a);
    SetScale(s, s);
    DrawImage(captions[static_cast<size_t>(p)], x, y);
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
