#include "screens/TModeSelection.h"

#include <cmath>

#include "app/FrameServices.h"
#include "app/TRMCounter.h"
#include "data/DataGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "screens/ScreenKit.h"

std::shared_ptr<TModeSelection> modeSelection;

TModeSelection::TModeSelection() {
    id = "MODE-SELECTION";
}

int TModeSelection::setup() {
    if (_setUp) return 0;
    _setUp = true;
    img = loadMidImage(dataRoot + "gfx/gui/modeSelection/panel.png");
    ikony = loadMidImage(dataRoot + "gfx/gui/modeSelection/ikony.png");
    Gui = loadGui(dataRoot + "gfx/gui/modeSelection/modeSelection.gui");
    return 0;
}

void TModeSelection::prepare() {
    setup();
    wynik.clear();
    alpha = 0;
    dAlpha = 0;
    fade = 0;
    dFade = 0.5f;
    fade2 = 0;
    dFade2 = 0;
    state = "SHOW";
    mouse.clear();
    FlushKeys();
    FlushMouse();
}

std::string TModeSelection::mainLoop(TEkran* behind) {
    prepare();
    runLoop(behind);
    mouse.clear();
    FlushKeys();
    FlushMouse();
    state.clear();
    return wynik;
}

void TModeSelection::_updateState() {
    if (state == "SHOW") {
        dFade2 = 1;
        if (fade2 >= 1.0f) dAlpha = 1;
    } else if (state == "HIDE") {
        dAlpha = 0;
        if (alpha <= 0.0f) dFade2 = 0;
    }
    approach(fade2, dFade2, 0.05f);
}

int TModeSelection::update() {
    frameUpdate(0);
    _updateState();
    _updateAlpha();
    _updateFade();
    _updateGui();
    return 0;
}

void TModeSelection::_control() {
    if (dAlpha != 1.0f || state != "SHOW" || !Gui) return;
    if (Gui->clickedItem("timed"))
        wynik = "TIMED";
    else if (Gui->clickedItem("relaxed"))
        wynik = "RELAXED";
    if (!wynik.empty()) {
        state = "HIDE";
        dFade = 0;
    }
}

int TModeSelection::draw() {
    _drawBehind();
    drawDarkening(fade);
    const float a = std::sin(fade2 * 3.14159265f / 2);
    if (img && a > 0) {
        SetBlend(ALPHABLEND);
        SetColor(255, 255, 255);
        SetAlpha(a);
        SetScale(a, a);
        SetRotation(360 * a);
        DrawImage(img, 512, 384);
        SetRotation(0);
        SetScale(1, 1);
    }
    SetAlpha(alpha);
    _drawGui();
    SetAlpha(1);
    return 0;
}
