#include "effects/TNumberAndTextParticle.h"

#include <cstring>

#include "data/DataGlobals.h"
#include "effects/TNumberParticle.h"
#include "gui/GuiGlobals.h"

FontPtr TNumberAndTextParticle::font;
bool TNumberAndTextParticle::fontSetUp = false;

namespace {
TParticlePool<TNumberAndTextParticle>& pool() {
    static auto* p = new TParticlePool<TNumberAndTextParticle>(32);
    return *p;
}
}  // namespace

void TNumberAndTextParticle::setupFont() {
    if (fontSetUp) return;
    fontSetUp = true;
    font = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 34, 0);
}

void TNumberAndTextParticle::setText(const char* t) {
    text.fill(0);
    if (t) std::strncpy(text.data(), t, text.size() - 1);
}

void TNumberAndTextParticle::draw() {
    if (Millisecs() < startTime || bornTime == 0) return;
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetColor(rgb.r, rgb.g, rgb.b);
    SetAlpha(a);
    SetScale(s, s);
    // Digits on the left of x, the word on the right, so the pair is centred.
    SetImageFont(font);
    const std::string word(text.data());  // short: stays in the small-string buffer
    const float ww = static_cast<float>(TextWidth(word)) * s;
    const float dw = countWidth() * s;
    const float left = x - (dw + 8 * s + ww) / 2;
    _drawGlyphs(TNumberParticle::digits1, left + dw / 2, y);
    const float ty = y - static_cast<float>(TextHeight(word)) * s / 2;
    SetColor(94, 58, 28);
    for (int k = 0; k < 4; ++k)
        DrawText(word, left + dw + 8 * s + (k & 1 ? 2.0f : -2.0f), ty + (k & 2 ? 2.0f : -2.0f));
    SetColor(247, 222, 113);
    DrawText(word, left + dw + 8 * s, ty);
}

TNumberAndTextParticle* TNumberAndTextParticle::create(int value, const char* word, float x, float y,
                                                       int delay, TParticleList* l) {
    TNumberAndTextParticle* t = pool().acquire();
    if (!t) return nullptr;
    t->przeliczWpis(value);
    t->setText(word);
    t->px = t->x = x;
    t->py = t->y = y;
    t->startA = 1;
    t->da = 0;
    t->startS = 0.3f;
    t->ds = 0.8f;
    t->lifeTime = 1400;
    t->startTime = Millisecs() + delay;
    if (!(l ? *l : particles()).add(t)) return nullptr;
    return t;
}
