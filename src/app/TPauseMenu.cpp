#include "app/TPauseMenu.h"

#include "app/FrameServices.h"
#include "data/DataGlobals.h"
#include "data/Paragraph.h"
#include "data/TTxtFile.h"
#include "gui/GuiGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"

TPauseMenu::TPauseMenu() {
    id = "PAUSE";
}

int TPauseMenu::setup() {
    if (_setUp) return 0;
    _setUp = true;
    Gui = loadGui(dataRoot + "gfx/gui/pause/pause.gui");
    panel = LoadImage(dataRoot + "gfx/gui/loseScreen/panel.png", IMG_FILTERED);
    if (panel) MidHandleImage(panel);
    titleFont = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 40, 0);
    auto t = loadLocalisedText(dataRoot + "txt/pauseMenu.txt");
    txtTitle = t && t->lines() >= 2 ? t->txt[1] : "Paused";
    return 0;
}

std::string TPauseMenu::mainLoop(TEkran* under) {
    setup();
    if (Gui)
        if (auto r = Gui->getItem("RESUME")) r->setState(1, 1);
    _answer.clear();
    _closing = false;
    alpha = 0;
    dAlpha = 1;
    fade = 0;
    dFade = 0;
    aSpeed = 0.1f;
    state = "PAUSED";
    mouse.clear();
    FlushKeys();
    runLoop(under);
    mouse.clear();
    state.clear();
    return _answer;
}

void TPauseMenu::_control() {
    if (_closing || !Gui || alpha <= 0.5f) return;
    if (Gui->clickedItem("RESUME"))
        _answer = "RESUME";
    else if (Gui->clickedItem("RESTART"))
        _answer = "RESTART";
    else if (Gui->clickedItem("MAINMENU"))
        _answer = "MAIN-MENU";
    if (!_answer.empty()) {
        _closing = true;
        dAlpha = 0;
        state = _answer;
    }
}

int TPauseMenu::update() {
    frameUpdate(0);
    _updateAlpha();
    if (Gui) {
        Gui->setGuiAlpha(alpha);
        Gui->update();
    }
    return 0;
}

int TPauseMenu::draw() {
    _drawBehind();
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetColor(0, 0, 0);
    SetAlpha(0.5f * alpha);
    DrawRect(0, 0, 1024, 768);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    if (panel) DrawImage(panel, 512, 384);
    SetImageFont(titleFont);
    const int w = TextWidth(txtTitle);
    SetColor(0, 0, 0);
    SetAlpha(0.5f * alpha);
    DrawText(txtTitle, 512 - w / 2 + 3, 233);
    SetColor(247, 222, 113);
    SetAlpha(alpha);
    DrawText(txtTitle, 512 - w / 2, 230);
    SetColor(255, 255, 255);
    _drawGui();
    SetAlpha(1);
    return 0;
}
