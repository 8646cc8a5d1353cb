#include "effects/TNumberAndTextParticle.h"

#include <cstdio>
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
    warmFont();
}

void TNumberAndTextParticle::warmFont() {
    // A glyph is rendered the first time it is measured or drawn: measuring
    // every character a caption can hold renders them now, not in the middle
    // of a cascade when the first "12 chain!" comes up.
    if (!font) return;
    const FontPtr keep = GetImageFont();
    SetImageFont(font);
    TextWidth("0123456789 chain!");
    SetImageFont(keep);
}

void TNumberAndTextParticle::setText(const char* t) {
    text.fill(0);
    if (t) std::memcpy(text.data(), t, strnlen(t, text.size() - 1));
}

void TNumberAndTextParticle::draw() {
    if (Millisecs() < startTime || bornTime == 0) return;
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(s, s);
    // Number and word are one caption in one style: gold letters in a brown
    // outline, centred on x.
    SetImageFont(font);
    const std::string label(text.data());  // short: stays in the small-string buffer
    const float left = x - static_cast<float>(TextWidth(label)) * s / 2;
    const float ty = y - static_cast<float>(TextHeight(label)) * s / 2;
    SetColor(94, 58, 28);
    SetAlpha(a);
    for (int k = 0; k < 4; ++k)
        DrawText(label, left + (k & 1 ? 2.0f : -2.0f) * s, ty + (k & 2 ? 2.0f : -2.0f) * s);
    SetColor(247, 222, 113);
    DrawText(label, left, ty);
}

TNumberAndTextParticle* TNumberAndTextParticle::create(int value, const char* word, float x, float y,
                                                       int delay, TParticleList* l) {
    TNumberAndTextParticle* t = pool().acquire();
    if (!t) return nullptr;
    t->przeliczWpis(value);
    char label[32];
    std::snprintf(label, sizeof label, "%d %s", value, word ? word : "");
    t->setText(label);
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
