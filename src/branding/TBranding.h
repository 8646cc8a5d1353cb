// The short show before the loading screen: the game's paw logo bounces in
// over a warm sky with a sound, the title appears under it, and it all fades
// to black. A click or a key skips it.
#pragma once

#include <memory>
#include <string>

#include "app/TEkran.h"

class TBranding : public TEkran {
public:
    TBranding();

    // Length of the show without skipping, in milliseconds.
    static constexpr int kLengthMs = 2600;

    ImagePtr logo;
    FontPtr font;
    int startTime = 0;
    bool skipped = false;

    int setup() override;
    void mainLoop();
    int update() override;
    int draw() override;
    void _control() override;

private:
    bool _setUp = false;
};

extern std::shared_ptr<TBranding> branding;
