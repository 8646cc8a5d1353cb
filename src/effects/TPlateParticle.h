// A quarter of a broken plate layer that tumbles off the board.
#pragma once

#include <array>

#include "effects/TParticle.h"

class TPlateParticle : public TParticle {
public:
    int frame = 0;    // 0: the single-layer piece "tile2", 1: the double-layer piece "tile3"
    int quarter = 0;  // 0 top left, 1 top right, 2 bottom left, 3 bottom right

    static void setupPlates();
    void draw() override;

    static std::array<ImagePtr, 2> plates;
    static bool platesSetUp;
    static TPlateParticle* create(TParticleList* l = nullptr);
};
