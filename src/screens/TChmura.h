// One cloud drifting left over the main menu's sky. All clouds live in one
// class-wide list; a cloud past the left edge removes itself.
#pragma once

#include <list>
#include <memory>

#include "platform/Services.h"

class TChmura {
public:
    int n = 0;  // picture 0 or 1
    float x = 0, y = 0;
    float ax = 0;  // pixels per nominal frame, negative
    // Where the cloud is drawn: its x in whole pixels, taken over every
    // kDrawEvery updates. Clouds crawl at most half a pixel a frame, so the
    // steps stay small, and the frames between them are the frame already on
    // screen, which the window does not draw again.
    float drawX = 0;
    static constexpr int kDrawEvery = 4;

    static ImagePtr pictures[2];
    static std::list<std::shared_ptr<TChmura>>& all();

    static std::shared_ptr<TChmura> createNew(float x);
    static void drawAll();
    static void updateAll();
    // Whether the last updateAll() was one that moves the drawn clouds; the
    // menu's other slow changes (the television's cross-fade) keep to the
    // same frames, so the frames between stay unchanged.
    static bool stepped();

    void draw() const;
    // Moves; false once the cloud has left the screen (updateAll() removes
    // it on the next step frame).
    bool update();
};
using TChmuraPtr = std::shared_ptr<TChmura>;
