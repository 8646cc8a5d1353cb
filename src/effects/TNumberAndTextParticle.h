// A number followed by a short word ("7 chain!"), drawn as one caption: gold
// letters of the caption font in a brown outline.
#pragma once

#include <array>

#include "effects/TScoreParticle.h"

class TNumberAndTextParticle : public TScoreParticle {
public:
    TNumberAndTextParticle() { _plus = false; }
    std::array<char, 32> text{};  // kept inline: no allocation per particle

    static void setupFont();
    // Renders the glyphs of every caption (digits and the word) ahead of use.
    static void warmFont();
    void setText(const char* t);
    void draw() override;

    static FontPtr font;
    static bool fontSetUp;
    static TNumberAndTextParticle* create(int value, const char* word, float x, float y, int delay,
                                          TParticleList* l = nullptr);
};
