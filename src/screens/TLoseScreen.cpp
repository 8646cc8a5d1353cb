#include "screens/TLoseScreen.h"

#include <algorithm>

#include "app/FrameServices.h"
#include "data/DataGlobals.h"
#include "data/Paragraph.h"
#include "data/TTxtFile.h"
#include "effects/TParticle.h"
#include "gui/GuiGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "screens/TResultsHost.h"

std::shared_ptr<TLoseScreen> loseScreen;

TLoseScreen::TLoseScreen() {
    id = "LOSE-SCREEN";
}

int TLoseScreen::setup() {
    if (_setUp) return 0;
    _setUp = true;
    img = LoadImage(dataRoot + "gfx/gui/loseScreen/panel.png", IMG_FILTERED);
    if (img) MidHandleImage(img);
    ribbonImg = LoadImage(dataRoot + "gfx/captions/times_up.png", IMG_FILTERED);
    if (ribbonImg) MidHandleImage(ribbonImg);
    auto t = loadLocalisedText(dataRoot + "txt/loseScreen.txt");
    txtInfo = t && t->lines() >= 1 ? t->txt[0] : "Time is up!";
    while (!txtInfo.empty() && txtInfo.back() == '\r') txtInfo.pop_back();
    txtNoMoves = t && t->lines() >= 4 ? t->txt[3] : "No moves left. Another go?";
    while (!txtNoMoves.empty() && txtNoMoves.back() == '\r') txtNoMoves.pop_back();
    font = guiLoadFont(dataRoot + "gfx/gui/loseScreen/font.ttf", 36, 0);
    Gui = loadGui(dataRoot + "gfx/gui/loseScreen/loseScreen.gui");
    return 0;
}

void TLoseScreen::prepare() {
    setup();
    toExit = 0;
    alpha = 0;
    dAlpha = 1;
    aSpeed = 0.05f;
    fade = 0;
    dFade = 0.5f;
    fSpeed = 0.025f;
    wynik = "";
    mouse.clear();
    FlushKeys();
    FlushMouse();
}

std::string TLoseScreen::mainLoop(TEkran* behind) {
    prepare();
    keepBehindAlive = true;
    runLoop(behind);
    mouse.clear();
    FlushMouse();
    return wynik;
}

int TLoseScreen::update() {
    frameUpdate(0);
    _updateBehind();
    updateParticles();
    _updateAlpha();
    _updateFade();
    if (Gui) {
        Gui->setGuiAlpha(alpha);
        for (auto& o : Gui->_listaObiektow) {
            if (!o) continue;
            o->_alpha = alpha;
            o->_dAlpha = alpha;
        }
        Gui->update();
    }
    return 0;
}

void TLoseScreen::_control() {
    if (closing() || !Gui || alpha < 0.5f) return;
    if (Gui->clickedItem("RESTART"))
        wynik = "RESTART";
    else if (Gui->clickedItem("MAINMENU"))
        wynik = "MAIN-MENU";
    if (closing()) {
        dAlpha = 0;
        dFade = 0;
        mouse.clear();
    }
}

int TLoseScreen::draw() {
    _drawBehind();
    SetColor(255, 255, 255);
    SetScale(1, 1);
    SetRotation(0);
    SetBlend(ALPHABLEND);
    SetColor(0, 0, 0);
    SetAlpha(fade);
    DrawRect(0, 0, 1024, 768);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    if (img) DrawImage(img, 512, 370);
    if (img && ribbonImg && !noMoves) {
        // Scaled to sit inside the ribbon's middle, 158 pixels above the panel's centre.
        const float s = std::min(1.0f, 290.0f / static_cast<float>(std::max(1, ribbonImg->width)));
        SetScale(s, s);
        DrawImage(ribbonImg, 512, 370 - 158);
        SetScale(1, 1);
    }
    if (img && noMoves) {
        // No caption picture says this: the words on the ribbon itself.
        SetColor(94, 46, 18);
        drawTextBlock("No moves!", 367, 190, 290, "CENTER", font, 1);
        SetColor(255, 255, 255);
    }
    // The message sits on the parchment under the ribbon, in dark brown: gold
    // letters on the cream are too faint to read (about 1.2:1).
    const int top = 370 - 200 + 100;
    SetColor(94, 46, 18);
    drawTextBlock(noMoves ? txtNoMoves : txtInfo, 360, top, 305, "CENTER", font, 1);
    SetColor(255, 255, 255);
    SetAlpha(1);
    _drawGui();
    return 0;
}
