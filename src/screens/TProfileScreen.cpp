#include "screens/TProfileScreen.h"

#include "app/FrameServices.h"
#include "data/DataGlobals.h"
#include "gui/GuiGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "profiles/TProfileManager.h"
#include "screens/ScreenKit.h"
#include "screens/TEnterText.h"
#include "screens/TPopUp.h"

TProfileScreen& profileScreen() {
    static TProfileScreen* s = new TProfileScreen();
    return *s;
}

TProfileScreen::TProfileScreen() {
    id = "PROFILES";
}

int TProfileScreen::setup() {
    if (_setUp) return 0;
    _setUp = true;
    const auto lines = loadTextLines(dataRoot + "txt/profiles.txt",
                                     {"Players", "New", "Rename", "Delete", "Back", "Type the new player's name:",
                                      "Type the new name:", "Delete the player %s and all their progress?"});
    for (size_t i = 0; i < 8; ++i) txt[i] = lines[i];
    panel = loadMidImage(dataRoot + "gfx/gui/profiles/panel.png");
    font = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 24, 0);
    titleFont = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 36, 0);
    Gui = loadGui(dataRoot + "gfx/gui/profiles/profiles.gui");
    return 0;
}

void TProfileScreen::mainLoop(TEkran* behind) {
    setup();
    _closing = false;
    alpha = 0;
    dAlpha = 1;
    aSpeed = 0.1f;
    fade = 0;
    dFade = 0;
    runDialog(behind, "PROFILES");
}

int TProfileScreen::rowAt(int x, int y) const {
    if (x < 262 || x > 762 || y < kFirstRowY) return -1;
    const int r = (y - kFirstRowY) / kRowH;
    const int n = static_cast<int>(profileManager().lista.size());
    return r < kRows && r < n ? r : -1;
}

void TProfileScreen::goNew() {
    const std::string name = enterText->mainLoop(this, "", txt[5], 0);
    if (name.empty()) return;
    if (TProfilePtr p = profileManager().createProfile(name)) profileManager().chooseProfile(p);
}

void TProfileScreen::goRename() {
    const TProfilePtr p = profileManager().profile;
    if (!p) return;
    const std::string name = enterText->mainLoop(this, p->name, txt[6], 0);
    if (name.empty() || name == p->name) return;
    profileManager().renameProfile(p, name);
}

void TProfileScreen::goDelete() {
    const TProfilePtr p = profileManager().profile;
    if (!p) return;
    std::string question = txt[7];
    const size_t at = question.find("%s");
    if (at != std::string::npos)
        question.replace(at, 2, p->name);
    else
        question += " " + p->name;
    if (!confirm(question, this)) return;
    profileManager().deleteProfile(p);
    // Nobody left: a new player must be named before anything else.
    while (!profileManager().profile) profileManager().createNewProfile();
}

void TProfileScreen::_control() {
    if (_closing || alpha < 1.0f || !Gui) return;
    if (Gui->clickedItem("back")) {
        _closing = true;
        dAlpha = 0;
        return;
    }
    if (Gui->clickedItem("new")) return goNew();
    if (Gui->clickedItem("rename")) return goRename();
    if (Gui->clickedItem("delete")) return goDelete();
    if (mouse.leftPressed) {
        const int r = rowAt(mouse.x, mouse.y);
        if (r >= 0) profileManager().chooseProfile(profileManager().lista[static_cast<size_t>(r)]);
    }
}

int TProfileScreen::update() {
    frameUpdate(0);
    _updateAlpha();
    const bool any = profileManager().profile != nullptr;
    if (Gui) {
        if (auto b = Gui->getItem("rename")) b->setState(1, any);
        if (auto b = Gui->getItem("delete")) b->setState(1, any);
    }
    _updateGui();
    return 0;
}

int TProfileScreen::draw() {
    _drawBehind();
    drawDarkening(0.5f * alpha);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    if (panel) DrawImage(panel, 512, 384);
    SetImageFont(titleFont);
    drawShadowedCentred(txt[0], 512, 118, 94, 58, 28, alpha);
    SetImageFont(font);
    const int h = TextHeight("A");
    const auto& l = profileManager().lista;
    for (int i = 0; i < kRows && i < static_cast<int>(l.size()); ++i) {
        const auto& p = l[static_cast<size_t>(i)];
        const int y = kFirstRowY + i * kRowH;
        const bool current = p == profileManager().profile;
        const bool over = rowAt(mouse.x, mouse.y) == i;
        if (current || over) {
            SetColor(current ? 94 : 201, current ? 58 : 138, current ? 28 : 60);
            SetAlpha(alpha * (current ? 0.9f : 0.35f));
            DrawRect(262, y + 2, 500, kRowH - 4);
        }
        const std::string shown = p->damaged ? p->name + " (damaged)" : p->name;
        const int w = TextWidth(shown);
        SetAlpha(alpha);
        if (current)
            SetColor(247, 222, 113);
        else
            SetColor(59, 36, 20);
        DrawText(shown, 512 - w / 2, y + (kRowH - h) / 2);
    }
    SetColor(255, 255, 255);
    _drawGui();
    SetAlpha(1);
    return 0;
}
