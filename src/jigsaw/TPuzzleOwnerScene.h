// What the jigsaw screen needs of the owner scene: the stage's dog drawn
// behind the board in the win sequence and the dressed picture's blend, which
// grows as the pieces land on the dog. The owner scene provides it through
// the wiring; without one the jigsaw screen draws its own backdrop.
#pragma once

#include <memory>

class TPuzzleOwnerScene {
public:
    virtual ~TPuzzleOwnerScene() = default;
    // The dog of this stage is the one on show; its dog layer fully shown and
    // the owner's line on show cleared.
    virtual void prepareDog(int stage) = 0;
    // Ready to be drawn behind the board: no fade, alpha 1, dog layer 1,
    // figure layer 0, owner layer 1.
    virtual void prepareBehind() = 0;
    virtual void update() = 0;
    virtual void draw() = 0;
    // The dressed-picture blend: ca[0] the plain dog, ca[1] the dressed one,
    // with their targets dCA.
    virtual void getDressBlend(float ca[2], float dCA[2]) const = 0;
    virtual void setDressBlend(const float ca[2], const float dCA[2]) = 0;
};
using TPuzzleOwnerScenePtr = std::shared_ptr<TPuzzleOwnerScene>;
