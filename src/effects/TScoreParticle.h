// A score such as "+120" drawn with the digit pictures, rising as it fades.
#pragma once

#include <array>

#include "effects/TTextParticle.h"

class TScoreParticle : public TTextParticle {
public:
    float wspX = 0.8f;          // digit spacing as a part of a digit's width
    std::array<int, 12> tab{};  // glyphs: 0-9 digits, 10 the plus sign
    int count = 0;              // glyphs used in tab

    static void setup();
    // Fills tab with the glyphs of n (with a leading plus).
    virtual void przeliczWpis(int n);
    virtual float countWidth();
    void _updatePer() override;
    void draw() override;

    static std::array<ImagePtr, 11> digits;
    static bool digitsSetUp;
    static TScoreParticle* create(int value, float x, float y, int delay, TParticleList* l = nullptr);

protected:
    // Draws tab centred on (x, y) with the given digit set.
    void _drawGlyphs(const std::array<ImagePtr, 11>& set, float cx, float cy);
    bool _plus = true;
};
