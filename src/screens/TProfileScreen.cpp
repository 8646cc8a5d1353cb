#include "screens/TProfileScreen.h"

#include <algorithm>

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
    _seenCurrent = nullptr;
    _wheelRead = false;
    _followCurrent();
    runDialog(behind, "PROFILES");
}

int TProfileScreen::rowAt(int x, int y) const {
    if (x < kListX || x >= kListX + kListW || y < kFirstRowY) return -1;
    const int r = (y - kFirstRowY) / kRowH;
    const int i = top + r;
    const int n = static_cast<int>(profileManager().lista.size());
    return r < kRows && i < n ? i : -1;
}

int TProfileScreen::maxTop() const {
    return std::max(0, static_cast<int>(profileManager().lista.size()) - kRows);
}

void TProfileScreen::scrollTo(int first) {
    top = std::clamp(first, 0, maxTop());
}

void TProfileScreen::keepInView(int i) {
    if (i < 0) return scrollTo(top);
    if (i < top)
        scrollTo(i);
    else if (i >= top + kRows)
        scrollTo(i - kRows + 1);
    else
        scrollTo(top);
}

int TProfileScreen::currentIndex() const {
    const auto& l = profileManager().lista;
    const auto it = std::find(l.begin(), l.end(), profileManager().profile);
    return it == l.end() ? -1 : static_cast<int>(it - l.begin());
}

void TProfileScreen::chooseNeighbour(int d) {
    const auto& l = profileManager().lista;
    if (l.empty()) return;
    const int at = currentIndex();
    const int to = at < 0 ? (d > 0 ? 0 : static_cast<int>(l.size()) - 1)
                          : std::clamp(at + d, 0, static_cast<int>(l.size()) - 1);
    if (to != at) profileManager().chooseProfile(l[static_cast<size_t>(to)]);
    _followCurrent();
}

void TProfileScreen::_followCurrent() {
    const void* now = profileManager().profile.get();
    if (now != _seenCurrent) {
        _seenCurrent = now;
        keepInView(currentIndex());
    } else {
        scrollTo(top);  // the list may have shrunk
    }
}

int TProfileScreen::barAt(int x, int y) const {
    if (maxTop() == 0 || x < kBarX || x >= kBarX + kBarW) return 0;
    const int y0 = kFirstRowY, y1 = kFirstRowY + kRows * kRowH;
    if (y < y0 || y >= y1) return 0;
    if (y < y0 + kArrowH) return -1;
    if (y >= y1 - kArrowH) return 1;
    const int n = static_cast<int>(profileManager().lista.size());
    const int track = y1 - y0 - 2 * kArrowH;
    const int thumbY = y0 + kArrowH + track * top / n;
    return y < thumbY ? -2 : (y >= thumbY + track * kRows / n ? 2 : 0);
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
    if (KeyHit(38) > 0) return chooseNeighbour(-1);
    if (KeyHit(40) > 0) return chooseNeighbour(1);
    if (KeyHit(33) > 0) return scrollTo(top - (kRows - 1));
    if (KeyHit(34) > 0) return scrollTo(top + (kRows - 1));
    if (mouse.leftPressed) {
        const int i = rowAt(mouse.x, mouse.y);
        if (i >= 0) return profileManager().chooseProfile(profileManager().lista[static_cast<size_t>(i)]);
        const int b = barAt(mouse.x, mouse.y);
        if (b == -1 || b == 1) return scrollTo(top + b);
        if (b == -2 || b == 2) return scrollTo(top + b / 2 * (kRows - 1));
    }
}

int TProfileScreen::update() {
    frameUpdate(0);
    _updateAlpha();
    // The wheel scrolls while the pointer is over the panel's list or bar.
    const int wheel = MouseZ();
    const int dz = _wheelRead ? wheel - _lastWheel : 0;
    _lastWheel = wheel;
    _wheelRead = true;
    if (dz != 0 && !_closing && mouse.x >= kListX && mouse.x < kBarX + kBarW && mouse.y >= kFirstRowY &&
        mouse.y < kFirstRowY + kRows * kRowH)
        scrollTo(top - dz);
    _followCurrent();
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
    const int hover = rowAt(mouse.x, mouse.y);
    const int centre = kListX + kListW / 2;
    for (int r = 0; r < kRows && top + r < static_cast<int>(l.size()); ++r) {
        const int i = top + r;
        const auto& p = l[static_cast<size_t>(i)];
        const int y = kFirstRowY + r * kRowH;
        const bool current = p == profileManager().profile;
        if (current || hover == i) {
            SetColor(current ? 94 : 201, current ? 58 : 138, current ? 28 : 60);
            SetAlpha(alpha * (current ? 0.9f : 0.35f));
            DrawRect(kListX, y + 2, kListW, kRowH - 4);
        }
        const std::string shown = p->damaged ? p->name + " (damaged)" : p->name;
        const int w = TextWidth(shown);
        SetAlpha(alpha);
        if (current)
            SetColor(247, 222, 113);
        else
            SetColor(59, 36, 20);
        DrawText(shown, centre - w / 2, y + (kRowH - h) / 2);
    }
    _drawBar();
    SetColor(255, 255, 255);
    _drawGui();
    SetAlpha(1);
    return 0;
}

void TProfileScreen::_drawBar() {
    if (maxTop() == 0) return;
    const int n = static_cast<int>(profileManager().lista.size());
    const int y0 = kFirstRowY, y1 = kFirstRowY + kRows * kRowH;
    const int track = y1 - y0 - 2 * kArrowH;
    // The track, then the thumb: the share of the list in view, where it is.
    SetColor(201, 138, 60);
    SetAlpha(alpha * 0.35f);
    DrawRect(kBarX + 8, y0 + kArrowH, kBarW - 16, track);
    SetColor(94, 58, 28);
    SetAlpha(alpha);
    DrawRect(kBarX + 6, y0 + kArrowH + track * top / n, kBarW - 12, std::max(8, track * kRows / n));
    // The arrows, drawn as stacks of one-pixel lines; a dead end is pale.
    const int hoverPart = barAt(mouse.x, mouse.y);
    for (int d = -1; d <= 1; d += 2) {
        const bool live = d < 0 ? top > 0 : top < maxTop();
        if (live && hoverPart == d)
            SetColor(201, 138, 60);
        else
            SetColor(94, 58, 28);
        SetAlpha(alpha * (live ? 1.0f : 0.3f));
        const int tipY = d < 0 ? y0 + 6 : y1 - 7;
        const int cx = kBarX + kBarW / 2;
        for (int k = 0; k < 13; ++k) {
            const int y = tipY - d * k;
            DrawRect(cx - k, y, 2 * k + 1, 1);
        }
    }
}
