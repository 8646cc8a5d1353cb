#include "branding/TBranding.h"

#include <algorithm>
#include <cmath>

#include "app/FrameServices.h"
#include "audio/TGlobalSnd.h"
#include "branding/FontCache.h"
#include "data/DataGlobals.h"
#include "gui/TMouse.h"

std::shared_ptr<TBranding> branding;

TBranding::TBranding() {
    id = "BRANDING";
}

int TBranding::setup() {
    if (_setUp) return 0;
    _setUp = true;
    logo = LoadImage(dataRoot + "gfx/gui/branding/logo.png", IMG_FILTERED);
    if (logo) MidHandleImage(logo);
    font = loadSharedFont(dataRoot + "gfx/fonts/Bookman.ttf", 72);
    return 0;
}

void TBranding::mainLoop() {
    setup();
    skipped = false;
    wynik.clear();
    fade = 1;
    dFade = 0;
    fSpeed = 0.05f;
    state = "BRANDING";
    FlushKeys();
    FlushMouse();
    _prepareDelta();
    startTime = Millisecs();
    globalSnd.playJingle("win");
    runLoop();
    state.clear();
    FlushKeys();
    FlushMouse();
    mouse.clear();
}

int TBranding::update() {
    frameUpdate(0);
    if (Millisecs() - startTime > kLengthMs - 400) dFade = 1;
    _updateFade();
    return 0;
}

void TBranding::_control() {
    if (skipped) return;
    bool key = false;
    for (int k = 1; k < 256 && !key; ++k) key = KeyHit(k) > 0;
    if (MouseHit(1) > 0 || MouseHit(2) > 0 || key || GetChar() != 0) {
        skipped = true;
        fSpeed = 0.1f;
        dFade = 1;
    }
}

int TBranding::draw() {
    SetBlend(SOLIDBLEND);
    SetScale(1, 1);
    SetRotation(0);
    SetAlpha(1);
    SetColor(255, 214, 140);
    DrawRect(0, 0, 1024, 768);
    const float t = std::min(1.0f, (Millisecs() - startTime) / 900.0f);
    // Grows past its size and settles back: a small bounce.
    const float s = t < 1 ? std::sin(t * 3.14159265f * 0.75f) / std::sin(3.14159265f * 0.75f) : 1.0f;
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    if (logo) {
        SetScale(s, s);
        SetRotation((1 - t) * -30);
        DrawImage(logo, 512, 330);
        SetRotation(0);
        SetScale(1, 1);
    }
    const float ta = std::clamp((Millisecs() - startTime - 700) / 500.0f, 0.0f, 1.0f);
    if (ta > 0) {
        SetImageFont(font);
        const std::string title = "Brimble";
        const int w = TextWidth(title);
        SetColor(0, 0, 0);
        SetAlpha(0.35f * ta);
        DrawText(title, 512 - w / 2 + 3, 533);
        SetColor(94, 58, 28);
        SetAlpha(ta);
        DrawText(title, 512 - w / 2, 530);
        SetColor(255, 255, 255);
        SetAlpha(1);
    }
    _drawFade();
    return 0;
}
