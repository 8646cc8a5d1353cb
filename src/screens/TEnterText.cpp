#include "screens/TEnterText.h"

#include "app/FrameServices.h"
#include "data/DataGlobals.h"
#include "gui/GuiGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "gui/TText.h"
#include "screens/ScreenKit.h"

std::shared_ptr<TEnterText> enterText;

TEnterText::TEnterText() {
    id = "ENTER-TEXT";
}

int TEnterText::setup() {
    if (_setUp) return 0;
    _setUp = true;
    font = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 24, 0);
    panel = loadMidImage(dataRoot + "gfx/gui/common/dialog.png");
    Gui = loadGui(dataRoot + "gfx/gui/enterText/enterText.gui");
    return 0;
}

std::string TEnterText::mainLoop(TEkran* behind, const std::string& initial, const std::string& title,
                                 int noCancelFlag) {
    setup();
    entry.clear();
    for (char c : initial)
        if (entry.size() < kMaxLength) typeChar(static_cast<unsigned char>(c));
    noCancel = noCancelFlag != 0;
    if (Gui) {
        if (auto t = Gui->get<TText>("text")) t->_txt = title;
        if (auto c = Gui->getItem("cancel")) c->setState(!noCancel, !noCancel);
    }
    alpha = 0;
    dAlpha = 1;
    aSpeed = 0.1f;
    fade = 0;
    dFade = 0;
    _closing = false;
    switch_ = 1;
    time = Millisecs() + 500;
    runDialog(behind, "ENTER-TEXT");
    return entry;
}

bool TEnterText::typeChar(uint32_t c) {
    if (c == 8) {
        if (!entry.empty()) entry.pop_back();
        return true;
    }
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    const bool digit = c >= '0' && c <= '9';
    if (!letter && !digit) return false;
    if (entry.size() >= kMaxLength) return false;
    entry.push_back(static_cast<char>(c));
    return true;
}

void TEnterText::goOk() {
    if (entry.empty()) return;
    _closing = true;
    dAlpha = 0;
}

void TEnterText::goCancel() {
    if (noCancel) return;
    entry.clear();
    _closing = true;
    dAlpha = 0;
}

int TEnterText::update() {
    frameUpdate(0);
    if (Millisecs() >= time) {
        time = Millisecs() + 500;
        switch_ = !switch_;
    }
    if (Gui)
        if (auto ok = Gui->getItem("ok")) ok->setState(!entry.empty(), !entry.empty());
    _updateAlpha();
    _updateGui();
    return 0;
}

void TEnterText::_control() {
    if (_closing || alpha < 1.0f) return;
    // One typed character a frame.
    const int c = GetChar();
    if (c == 13) {
        goOk();
    } else if (c == 27) {
        goCancel();
    } else if (c != 0) {
        typeChar(static_cast<uint32_t>(c));
    }
    if (_closing || !Gui) return;
    if (Gui->clickedItem("ok"))
        goOk();
    else if (!noCancel && Gui->clickedItem("cancel"))
        goCancel();
}

int TEnterText::draw() {
    _drawBehind();
    drawDarkening(0.5f * alpha);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    if (panel) DrawImage(panel, 512, 384);
    // The field the name is typed into.
    SetColor(94, 58, 28);
    SetAlpha(0.85f * alpha);
    DrawRect(332, 312, 360, 44);
    SetImageFont(font);
    const int w = TextWidth(entry);
    const int h = TextHeight("A");
    const float ty = 334 - h / 2.0f;
    SetColor(0, 0, 0);
    SetAlpha(0.4f * alpha);
    DrawText(entry, 513 - w / 2, ty + 1);
    SetColor(247, 222, 113);
    SetAlpha(alpha);
    DrawText(entry, 512 - w / 2, ty);
    if (switch_ && !_closing) DrawRect(512 + w / 2 + 1, ty, TextWidth("A"), h);
    SetColor(255, 255, 255);
    _drawGui();
    SetAlpha(1);
    return 0;
}
