#include "screens/TFreePlayContinue.h"

#include "app/FrameServices.h"
#include "data/DataGlobals.h"
#include "data/Paragraph.h"
#include "gui/GuiGlobals.h"
#include "gui/TButton.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "screens/ScreenKit.h"

std::shared_ptr<TFreePlayContinue> freePlayContinue;

TFreePlayContinue::TFreePlayContinue() {
    id = "FREE-PLAY-CONTINUE";
}

int TFreePlayContinue::setup() {
    if (_setUp) return 0;
    _setUp = true;
    panel = loadMidImage(dataRoot + "gfx/gui/common/dialog.png");
    // The quest dialog's layout: a title, two choices and a close button.
    Gui = loadGui(dataRoot + "gfx/gui/resume/resume_quest.gui");
    return 0;
}

std::string TFreePlayContinue::mainLoop(TEkran* behind, const std::string& q, const std::string& yes,
                                        const std::string& no) {
    setup();
    question = q;
    if (Gui) {
        if (auto t = Gui->getItem("title")) t->setState(0, 0);
        if (auto b = Gui->get<TButton>("resume")) b->_txt = yes;
        if (auto b = Gui->get<TButton>("new")) b->_txt = no;
    }
    wynik.clear();
    _exit = 0;
    alpha = 0;
    dAlpha = 1;
    fade = 0;
    dFade = 0;
    runDialog(behind, "FREE-PLAY-CONTINUE");
    return wynik;
}

void TFreePlayContinue::_control() {
    if (_exit || alpha < 1.0f) return;
    std::string a = "-";
    if (KeyHit(27) > 0)
        a = "";
    else if (Gui && Gui->clickedItem("resume"))
        a = "RESUME";
    else if (Gui && Gui->clickedItem("new"))
        a = "NEW";
    else if (Gui && Gui->clickedItem("exit"))
        a = "";
    if (a == "-") return;
    wynik = a;
    _exit = 1;
    dAlpha = 0;
}

int TFreePlayContinue::update() {
    frameUpdate(0);
    _updateAlpha();
    _updateGui();
    return 0;
}

int TFreePlayContinue::draw() {
    _drawBehind();
    drawDarkening(0.5f * alpha);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    if (panel) DrawImage(panel, 512, 384);
    SetColor(94, 58, 28);
    static const FontPtr font = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 24, 0);
    drawTextBlock(question, 312, 280, 400, "CENTER", font, 2);
    SetColor(255, 255, 255);
    _drawGui();
    SetAlpha(1);
    return 0;
}
