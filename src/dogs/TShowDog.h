// One dressed-up dog shown large over the gallery, with its name. Any click
// or key closes it.
#pragma once

#include <memory>
#include <string>

#include "app/TEkran.h"
#include "dogs/TPies.h"

class TShowDog : public TEkran {
public:
    TShowDog();

    ImagePtr frame;
    FontPtr nameFont, hintFont;
    std::string txtHint;
    TPiesPtr dog;

    int setup() override;
    // Shows d over `behind` until dismissed; returns "GALERIA".
    std::string mainLoop(const TPiesPtr& d, TEkran* behind = nullptr);
    int update() override;
    int draw() override;
    void _control() override;
    bool loopDone() const override { return dAlpha == 0.0f && alpha == 0.0f; }

private:
    bool _setUp = false;
};
using TShowDogPtr = std::shared_ptr<TShowDog>;

extern TShowDogPtr showDog;
