// One spark of a firework: thrown out at a speed, slowed by the air, pulled
// down by gravity, drawn as a bright head with a tail along its flight that
// shortens as it slows; it fades towards its end and, for glittering bursts,
// twinkles while it fades.
#pragma once

#include "effects/TParticle.h"

class TFireworkSpark : public TParticle {
public:
    TFireworkSpark() { blend = ALPHABLEND; }  // true colours over a light sky too
    float vx = 0, vy = 0;                     // pixels a frame of 1000/60 ms
    float drag = 0.955f;                      // the part of its speed a spark keeps each frame
    float gravity = 0.05f;                    // pixels a frame, each frame
    float tail = 5;                           // tail length in frames of flight (0: none)
    bool twinkle = false;
    float phase = 0;  // where its twinkle starts

    // Speed in pixels a frame.
    float speed() const;
    // A spark from the pool added to the list (the global one when null);
    // null when the pool or the list is full.
    static TFireworkSpark* create(TParticleList* l = nullptr);
    static int poolUsed();

    void _updateAlpha() override;
    void _updateMove() override;
    void draw() override;

    // Picture table slots of the head and the tail.
    static constexpr int kHeadGlow = 16, kTail = 26;
};
