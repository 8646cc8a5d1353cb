// A caption word ("Level complete", "Time's up", ...) that pops in, rests and
// drifts up as it fades.
#pragma once

#include <array>

#include "effects/TParticle.h"

class TTextParticle : public TParticle {
public:
    float px = 0, py = 0;  // resting place
    int p = 0;             // caption picture, CAPTION_*

    enum : int {
        CAPTION_EXCELLENT,
        CAPTION_GO,
        CAPTION_GREAT,
        CAPTION_LEVEL_COMPLETE,
        CAPTION_MATCHED,
        CAPTION_NO_MATCH,
        CAPTION_READY,
        CAPTION_SPECTACULAR,
        CAPTION_TERRIFIC,
        CAPTION_TIMES_UP,
        CAPTION_COUNT
    };

    static void setup();
    virtual void _updatePer();
    void update() override;
    void draw() override;

    static std::array<ImagePtr, CAPTION_COUNT> captions;
    static bool captionsSetUp;
    // A caption at (x, y) on list l (global when null); null when the pool is full.
    static TTextParticle* create(int caption, float x, float y, int delay, TParticleList* l = nullptr);
};
