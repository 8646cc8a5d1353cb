// A plain number (no sign) drawn with the large digit set, e.g. a chain length.
#pragma once

#include "effects/TScoreParticle.h"

class TNumberParticle : public TScoreParticle {
public:
    TNumberParticle() { _plus = false; }
    static void setup();
    void draw() override;

    static std::array<ImagePtr, 11> digits1;  // 0-9; slot 10 unused
    static bool digits1SetUp;
    static TNumberParticle* create(int value, float x, float y, int delay, TParticleList* l = nullptr);
};
