// A number followed by a short word ("7 chain!"): the large digits and the
// word in the caption font, outlined in the digits' brown.
#pragma once

#include <array>

#include "effects/TScoreParticle.h"

class TNumberAndTextParticle : public TScoreParticle {
public:
    TNumberAndTextParticle() { _plus = false; }
    std::array<char, 32> text{};  // kept inline: no allocation per particle

    static void setupFont();
    void setText(const char* t);
    void draw() override;

    static FontPtr font;
    static bool fontSetUp;
    static TNumberAndTextParticle* create(int value, const char* word, float x, float y, int delay,
                                          TParticleList* l = nullptr);
};
