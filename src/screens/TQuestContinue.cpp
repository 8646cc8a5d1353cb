#include "screens/TQuestContinue.h"

#include "app/FrameServices.h"
#include "data/DataGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "screens/ScreenKit.h"
#include "screens/TPopUp.h"

std::shared_ptr<TQuestContinue> questContinue;

TQuestContinue::TQuestContinue() {
    id = "QUEST-CONTINUE";
}

int TQuestContinue::setup() {
    if (_setUp) return 0;
    _setUp = true;
    panel = loadMidImage(dataRoot + "gfx/gui/common/dialog.png");
    Gui = loadGui(dataRoot + "gfx/gui/resume/resume_quest.gui");
    txtAreYouSure = loadTextLines(dataRoot + "txt/resume.txt",
                                  {"", "", "", "Start a new quest? The quest in progress will be lost."})[3];
    return 0;
}

void TQuestContinue::prepare(TEkran*) {
    setup();
    wynik.clear();
    _exit = 0;
    alpha = 0;
    dAlpha = 1;
    fade = 0;
    dFade = 0.5f;
    state = "QUEST-DIALOG";
    mouse.clear();
    FlushKeys();
    FlushMouse();
}

std::string TQuestContinue::mainLoop(TEkran* behind) {
    prepare(behind);
    runLoop(behind);
    mouse.clear();
    FlushKeys();
    FlushMouse();
    state.clear();
    return wynik;
}

void TQuestContinue::_choose(const std::string& w) {
    wynik = w;
    _exit = 1;
    dAlpha = 0;
    dFade = 0;
}

void TQuestContinue::_control() {
    if (_exit || alpha < 1.0f) return;
    if (KeyHit(27) > 0) return _choose("");
    if (!Gui) return;
    if (Gui->clickedItem("resume")) {
        _choose("RESUME");
    } else if (Gui->clickedItem("new")) {
        if (confirm(txtAreYouSure, this)) _choose("NEW");
    } else if (Gui->clickedItem("exit")) {
        _choose("");
    }
}

int TQuestContinue::update() {
    frameUpdate(0);
    _updateAlpha();
    _updateFade();
    _updateGui();
    return 0;
}

int TQuestContinue::draw() {
    _drawBehind();
    drawDarkening(fade);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    if (panel) DrawImage(panel, 512, 384);
    _drawGui();
    SetAlpha(1);
    return 0;
}
