// The owner scene as the jigsaw screen sees it in its win sequence: the
// stage's dog in the garden behind the fading board, dressing up as the
// pieces land on it. Only the scene's pictures are drawn (no panel, buttons
// or bubbles) and its states do not run, so nothing leaves the jigsaw early.
#pragma once

#include "jigsaw/TPuzzleOwnerScene.h"

class TOwnerSceneForJigsaw : public TPuzzleOwnerScene {
public:
    void prepareDog(int stage) override;
    void prepareBehind() override;
    void update() override;
    void draw() override;
    void getDressBlend(float ca[2], float dCA[2]) const override;
    void setDressBlend(const float ca[2], const float dCA[2]) override;
};
