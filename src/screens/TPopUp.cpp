#include "screens/TPopUp.h"

#include "app/FrameServices.h"
#include "data/DataGlobals.h"
#include "data/Paragraph.h"
#include "gui/GuiGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "screens/ScreenKit.h"

std::shared_ptr<TPopUp> popUp;

TPopUp::TPopUp() {
    id = "POPUP";
}

int TPopUp::setup() {
    if (_setUp) return 0;
    _setUp = true;
    panel = loadMidImage(dataRoot + "gfx/gui/common/dialog.png");
    font = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 24, 0);
    Gui = loadGui(dataRoot + "gfx/gui/popUp/popUp.gui");
    return 0;
}

std::string TPopUp::mainLoop(const std::string& message, bool askQuestion, TEkran* behind) {
    setup();
    text = message;
    question = askQuestion;
    if (Gui) {
        if (auto b = Gui->getItem("yes")) b->setState(question, question);
        if (auto b = Gui->getItem("no")) b->setState(question, question);
        if (auto b = Gui->getItem("ok")) b->setState(!question, !question);
    }
    wynik.clear();
    alpha = 0;
    dAlpha = 1;
    aSpeed = 0.1f;
    fade = 0;
    dFade = 0;
    runDialog(behind, question ? "CONFIRM" : "NOTICE");
    return wynik;
}

void TPopUp::_answer(const std::string& a) {
    wynik = a;
    dAlpha = 0;
}

void TPopUp::_control() {
    if (!wynik.empty() || alpha < 0.5f) return;
    if (KeyHit(13) > 0) return _answer(question ? "YES" : "OK");
    if (KeyHit(27) > 0) return _answer(question ? "NO" : "OK");
    if (!Gui) return;
    if (question && Gui->clickedItem("yes")) return _answer("YES");
    if (question && Gui->clickedItem("no")) return _answer("NO");
    if (!question && Gui->clickedItem("ok")) return _answer("OK");
}

int TPopUp::update() {
    frameUpdate(0);
    _updateAlpha();
    _updateGui();
    return 0;
}

int TPopUp::draw() {
    _drawBehind();
    drawDarkening(0.5f * alpha);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    if (panel) DrawImage(panel, 512, 384);
    SetColor(94, 58, 28);
    drawTextBlock(text, 292, 280, 440, "CENTER", font, 2);
    SetColor(255, 255, 255);
    _drawGui();
    SetAlpha(1);
    return 0;
}

static TEkran* innermost(TEkran* behind) {
    if (behind) return behind;
    const auto& r = TEkran::running();
    return r.empty() ? nullptr : r.back();
}

int confirm(const std::string& text, TEkran* behind) {
    if (!popUp) popUp = std::make_shared<TPopUp>();
    return popUp->mainLoop(text, true, innermost(behind)) == "YES" ? 1 : 0;
}

void notice(const std::string& text, TEkran* behind) {
    if (!popUp) popUp = std::make_shared<TPopUp>();
    popUp->mainLoop(text, false, innermost(behind));
}
