// The game's own mouse pointer: a still picture or an animation strip, drawn
// with its hot spot (the image handle) on the mouse position.
#pragma once

#include <memory>
#include <string>

#include "platform/Services.h"

class TCursor {
public:
    std::string _id;
    ImagePtr _img;
    int _time = 0;       // clock time of the next frame change
    int _timeDelta = 0;  // ms a frame
    int _frame = 0;
    int _maxFrames = 0;  // index of the last frame; 0 for a still cursor
    int _hx = 0, _hy = 0;

    int draw(int x, int y);
    int update();  // 1 when the frame changed
};
using TCursorPtr = std::shared_ptr<TCursor>;
