#include "screens/TLoadingScreen.h"

#include "app/FrameServices.h"
#include "data/DataGlobals.h"
#include "screens/ScreenKit.h"

std::shared_ptr<TLoadingScreen> loadingScreen;

TLoadingScreen::TLoadingScreen() {
    id = "LOADING";
}

int TLoadingScreen::setup() {
    if (_setUp) return 0;
    _setUp = true;
    back = loadPlainImage(dataRoot + "gfx/gui/mainMenu/back.jpg");
    logo = loadMidImage(dataRoot + "gfx/gui/branding/logo.png");
    return 0;
}

int TLoadingScreen::totalSteps() const {
    int n = 0;
    for (const auto& p : parts) n += static_cast<int>(p.size());
    return n;
}

int TLoadingScreen::_part(int n) {
    setup();
    if (n == 0 && stepsDone == 0) _showFrame();  // the empty bar first
    const int total = totalSteps();
    for (const TStep& s : parts[n]) {
        if (s) s();
        ++stepsDone;
        progress = total > 0 ? static_cast<float>(stepsDone) / total : 1.0f;
        _showFrame();
    }
    static const char* const names[5] = {"part1-done", "part2-done", "part3-done", "part4-done", "part5-done"};
    startStat(names[n]);
    return 0;
}

void TLoadingScreen::_showFrame() {
    if (quiet) return;
    enterLoop();
    state = "LOADING";
    timingUpdate();
    Cls();
    draw();
    frameFlip(1);
    startStat("first-frame");
    state.clear();
    leaveLoop();
}

int TLoadingScreen::draw() {
    SetScale(1, 1);
    SetRotation(0);
    SetAlpha(1);
    SetColor(255, 255, 255);
    SetBlend(SOLIDBLEND);
    if (back)
        DrawImage(back, 0, 0);
    else {
        SetColor(110, 180, 230);
        DrawRect(0, 0, 1024, 768);
    }
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    if (logo) DrawImage(logo, 512, 300);
    // The bar: a dark wooden groove filling with honey.
    SetColor(59, 36, 20);
    DrawRect(262, 560, 500, 36);
    SetColor(251, 238, 203);
    DrawRect(266, 564, 492, 28);
    SetColor(240, 168, 26);
    DrawRect(266, 564, 492 * progress, 28);
    SetColor(255, 255, 255);
    return 0;
}
