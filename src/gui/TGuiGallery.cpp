#include "gui/TGuiGallery.h"

#include <cstdio>

#include "platform/Services.h"
#include "gui/GuiValues.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "gui/TSuwak.h"
#include "gui/TTextEntry.h"
#include "gui/TTextList.h"

static std::string g_lastClicked;

std::string guiGalleryState() { return g_lastClicked.empty() ? "none" : g_lastClicked; }

// A soft vertical gradient, so frames and captions show against something.
static void drawBackdrop() {
    SetBlend(SOLIDBLEND);
    SetAlpha(1);
    SetScale(1, 1);
    SetRotation(0);
    for (int band = 0; band < 48; ++band) {
        SetColor(40 + band, 70 + band * 2, 90 + band);
        DrawRect(0, static_cast<float>(band * 16), 1024, 16);
    }
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
}

int runGuiGallery(const std::string& guiFile, const std::function<void()>& beginFrame,
                  const std::function<void()>& endFrame) {
    if (guiFileType(guiFile) != 1) {
        loadGui(guiFile);  // reports the missing file
        return 1;
    }
    TGuiPtr gui = loadGui(guiFile);
    g_lastClicked.clear();
    mouse.clear();
    char status[256];
    for (;;) {
        Cls();
        beginFrame();
        gui->update();
        if (!gui->_clicked.empty()) g_lastClicked = gui->_clicked;
        if (KeyHit(27)) break;

        drawBackdrop();
        gui->draw();
        // What the widgets report, along the bottom edge.
        std::string extra;
        for (const auto& w : gui->_listaObiektow) {
            if (auto s = std::dynamic_pointer_cast<TSuwak>(w)) {
                std::snprintf(status, sizeof status, "  %s=%.2f", s->_id.c_str(), static_cast<double>(s->_value));
                extra += status;
            } else if (auto l = std::dynamic_pointer_cast<TTextList>(w)) {
                extra += "  " + l->_id + "=" + l->selectedText();
            } else if (auto e = std::dynamic_pointer_cast<TTextEntry>(w)) {
                extra += "  " + e->_id + "=\"" + e->getTxt() + "\"";
            }
        }
        std::snprintf(status, sizeof status, "clicked: %s   over: %s", g_lastClicked.c_str(), gui->_over.c_str());
        SetImageFont(nullptr);
        SetBlend(ALPHABLEND);
        SetAlpha(0.6f);
        SetColor(0, 0, 0);
        DrawRect(0, 740, 1024, 28);
        SetAlpha(1);
        SetColor(255, 255, 255);
        DrawText(std::string(status) + extra, 8, 746);
        endFrame();
    }
    return 0;
}
