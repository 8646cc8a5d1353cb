// A mouse driven by code (the autoplayer, tests, tools): what it says for the
// current frame is set before the engine's frame.
#pragma once

#include "match3/TM3Input.h"

class TM3ScriptedInput : public TM3Input {
public:
    int x = 0, y = 0;
    int hit = 0;        // presses this frame; read once
    bool down = false;  // button held

    int mouseX() override { return x; }
    int mouseY() override { return y; }
    int mouseHit() override {
        const int h = hit;
        hit = 0;
        return h;
    }
    bool mouseDown() override { return down; }
    void flushMouse() override {
        hit = 0;
        down = false;
    }
};
