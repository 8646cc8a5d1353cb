#include "app/TPauseMenu.h"

#include "app/FrameServices.h"
#include "data/DataGlobals.h"
#include "data/Paragraph.h"
#include "data/TTxtFile.h"
#include "gui/GuiGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"

TPauseMenu::TPauseMenu() { id = "PAUSE"; }

int TPauseMenu::setup() {
    if (_setUp) return 0;
    _setUp = true;
    Gui = loadGui(dataRoot + "gfx/gui/pause/pause.gui");
    panel = LoadImage(dataRoot + "gfx/gui/loseScreen/panel.png", IMG_FILTERED);
    if (panel) MidHandleImage(panel);
    titleFont = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 40, 0);
    auto t = loadLocalisedText(dataRoot + "txt/pauseMenu.txt");
    txtTitle = t && t->lines() >= 2 ? t->txt[1] : "Paused";
    txtLoseTitle = t && t->lines() >= 6 ? t->txt[5] : "Time's up!";
    textFont = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 24, 0);
    auto l = loadLocalisedText(dataRoot + "txt/loseScreen.txt");
    txtLose = l && l->lines() >= 1 ? l->txt[0] : "Time is up!";
    return 0;
}

std::string TPauseMenu::mainLoop(TEkran* under, bool lose) {
    setup();
    _lose = lose;
    if (Gui)
        if (auto r = Gui->getItem("RESUME")) r->setState(lose ? 0 : 1, lose ? 0 : 1);
    _under = under;
    _answer.clear();
    alpha = 0;
    dAlpha = 1;
    fade = 0;
    dFade = 0;
    aSpeed = 0.1f;
    state = "OPEN";
    mouse.clear();
    FlushKeys();
    bool closing = false;
    for (;;) {
        Cls();
        update();
        draw();
        frameFlip(0);
        if (!closing && Gui && alpha > 0.5f) {
            if (Gui->clickedItem("RESUME")) _answer = "RESUME";
            else if (Gui->clickedItem("RESTART")) _answer = "RESTART";
            else if (Gui->clickedItem("MAINMENU")) _answer = "MAIN-MENU";
            if (!_answer.empty()) {
                closing = true;
                dAlpha = 0;
                state = _answer;
            }
        }
        if (closing && alpha == 0.0f) break;
    }
    mouse.clear();
    _under = nullptr;
    return _answer;
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
    if (_under) _under->draw();
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
    const std::string& title = _lose ? txtLoseTitle : txtTitle;
    const int w = TextWidth(title);
    SetColor(0, 0, 0);
    SetAlpha(0.5f * alpha);
    DrawText(title, 512 - w / 2 + 3, 233);
    SetColor(247, 222, 113);
    SetAlpha(alpha);
    DrawText(title, 512 - w / 2, 230);
    if (_lose) {
        SetColor(94, 58, 28);
        SetAlpha(alpha);
        drawTextBlock(txtLose, 322, 292, 380, "CENTER", textFont, 1);
    }
    SetColor(255, 255, 255);
    _drawGui();
    SetAlpha(1);
    return 0;
}
