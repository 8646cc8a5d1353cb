// A caption word ("Level complete", "Time's up", ...) that pops in, rests and
// drifts up as it fades.
#pragma once

#include <array>

#include "effects/TParticle.h"

class TTextParticle : public TParticle {
public:
    float px = 0, py = 0;  // resting place
    int p = 0;             // caption picture, CAPTION_*
    // A caption over a darkened scene: a soft dark halo around the letters,
    // this opaque at most (0: none; the owner may change it every frame).
    float shade = 0;
    // The word's fade stops here (0: it fades out completely): it fades to
    // this alpha on its halo at full strength and both are gone when its
    // life ends, so it is never shown fainter than it reads.
    float fadeFloor = 0;
    float shadeA = 0;  // the share of `shade` the halo has this frame

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
    void _drawShade() const;

    static std::array<ImagePtr, CAPTION_COUNT> captions;
    static bool captionsSetUp;
    // A caption at (x, y) on list l (global when null); null when the pool is full.
    static TTextParticle* create(int caption, float x, float y, int delay, TParticleList* l = nullptr);
};
