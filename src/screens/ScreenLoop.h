#pragma once

#include "app/FrameServices.h"
#include "app/services/Services.h"

// The frame loop every results screen runs: clear, update, draw, present, then
// the screen's own controls, until the screen says it is done.
template <class Screen>
void runScreenFrames(Screen& screen) {
    do {
        Cls();
        screen.update();
        screen.draw();
        frameFlip(0);
        screen._control();
    } while (!screen.finished());
}
