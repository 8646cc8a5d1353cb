#include "effects/TScoreParticle.h"

#include <cmath>

#include "data/DataGlobals.h"

std::array<ImagePtr, 11> TScoreParticle::digits{};
bool TScoreParticle::digitsSetUp = false;

namespace {
TParticlePool<TScoreParticle>& pool() {
    static auto* p = new TParticlePool<TScoreParticle>(160);
    return *p;
}
}  // namespace

void TScoreParticle::setup() {
    if (digitsSetUp) return;
    digitsSetUp = true;
    for (int d = 0; d < 11; ++d) {
        const std::string path =
            "gfx/particles/cyfry/" + (d < 10 ? std::to_string(d) : std::string("plus")) + ".png";
        digits[static_cast<size_t>(d)] = LoadImage(dataRoot + path, IMG_FILTERED);
        if (digits[static_cast<size_t>(d)])
            MidHandleImage(digits[static_cast<size_t>(d)]);
        else
            notice("NO PARTICLE IMG: " + path);
    }
}

void TScoreParticle::przeliczWpis(int n) {
    count = 0;
    if (n < 0) n = 0;
    std::array<int, 11> rev{};
    int k = 0;
    do {
        rev[static_cast<size_t>(k++)] = n % 10;
        n /= 10;
    } while (n > 0 && k < 10);
    if (_plus) tab[static_cast<size_t>(count++)] = 10;
    while (k > 0) tab[static_cast<size_t>(count++)] = rev[static_cast<size_t>(--k)];
}

float TScoreParticle::countWidth() {
    float w = 0;
    for (int i = 0; i < count; ++i) {
        const ImagePtr& img = digits[static_cast<size_t>(tab[static_cast<size_t>(i)])];
        w += (img ? static_cast<float>(img->width) : 34.0f) * wspX;
    }
    return w;
}

// Pops up quickly, then floats up and fades.
void TScoreParticle::_updatePer() {
    const float t = lifePer;
    const float pop = t < 0.15f ? std::sin(t / 0.15f * 1.5707963f) : 1.0f;
    s = startS + (ds - startS) * pop;
    a = t < 0.6f ? startA : startA + (da - startA) * (t - 0.6f) / 0.4f;
    x = px;
    y = py - 50.0f * std::sqrt(t);
}

void TScoreParticle::_drawGlyphs(const std::array<ImagePtr, 11>& set, float cx, float cy) {
    float w = 0;
    for (int i = 0; i < count; ++i) {
        const ImagePtr& img = set[static_cast<size_t>(tab[static_cast<size_t>(i)])];
        w += (img ? static_cast<float>(img->width) : 34.0f) * wspX * s;
    }
    float gx = cx - w / 2;
    for (int i = 0; i < count; ++i) {
        const ImagePtr& img = set[static_cast<size_t>(tab[static_cast<size_t>(i)])];
        const float gw = (img ? static_cast<float>(img->width) : 34.0f) * wspX * s;
        if (img) DrawImage(img, gx + gw / 2, cy);
        gx += gw;
    }
}

void TScoreParticle::draw() {
    if (Millisecs() < startTime || bornTime == 0) return;
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetColor(rgb.r, rgb.g, rgb.b);
    SetAlpha(a);
    SetScale(s, s);
    _drawGlyphs(digits, x, y);
}

TScoreParticle* TScoreParticle::create(int value, float x, float y, int delay, TParticleList* l) {
    TScoreParticle* t = pool().acquire();
    if (!t) return nullptr;
    t->przeliczWpis(value);
    t->px = t->x = x;
    t->py = t->y = y;
    t->startA = 1;
    t->da = 0;
    t->startS = 0.2f;
    t->ds = value >= 100 ? 0.8f : 0.65f;
    t->lifeTime = 1000;
    t->startTime = Millisecs() + delay;
    t->blend = ALPHABLEND;
    if (!(l ? *l : particles()).add(t)) return nullptr;
    return t;
}
