// A headless backend for tests that draws, decodes and plays nothing: the
// null backend, with a 1024 x 768 screen whatever is opened and a clock
// standing at 0. Test backends derive from it and override only what they
// record or change.
#pragma once

#include "platform/NullBackend.h"

class TStubBackend : public TNullBackend {
public:
    const char* name() const override { return "stub"; }
    bool openGraphics(int, int, int, int, int) override { return true; }
    int graphicsWidth() const override { return 1024; }
    int graphicsHeight() const override { return 768; }
    int desktopWidth() const override { return 1024; }
    int desktopHeight() const override { return 768; }
    double millisecs() override { return 0; }
    void advanceClock(double) override {}
};
