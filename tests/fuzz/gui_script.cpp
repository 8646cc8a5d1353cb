// Fuzz target: any bytes as a GUI script. Loading, a few frames of update with
// the mouse moving and clicking, and drawing must never crash, hang or leak.
// Runs on the null backend: no pictures or fonts are needed.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Backend.h"
#include "platform/Services.h"
#include "gui/GuiGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "gui/TRGMFont.h"
#include "gui/TTheme.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        InstallBackend(nullptr);
        errorNoticeHook = [](const std::string&) {};
        ready = true;
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        TGui gui;
        gui.loadFromText(text, "/nonexistent/fuzz/script.gui");
        // The last bytes steer the mouse so widgets get hovered and clicked.
        const int mx = size > 0 ? data[size - 1] * 4 : 0;
        const int my = size > 1 ? data[size - 2] * 3 : 0;
        for (int frame = 0; frame < 3; ++frame) {
            mouse.x = mx + frame;
            mouse.y = my;
            mouse.leftPressed = frame == 1;
            mouse.leftHolded = frame >= 1;
            InjectChar(frame == 2 ? 8 : 'a');
            gui.update();
            gui.draw();
            Backend().advanceClock(1000.0 / 60);
        }
        gui.clickedItem(gui._clicked);
    }
    // Themes and fonts are global; keep them from piling up across inputs.
    themeList.clear();
    fontList.clear();
    lastTheme.reset();
    return 0;
}
