#include "dogs/TShowDog.h"

#include <algorithm>

#include "app/FrameServices.h"
#include "data/DataGlobals.h"
#include "data/TTxtFile.h"
#include "gui/GuiGlobals.h"
#include "gui/TMouse.h"

TShowDogPtr showDog;

TShowDog::TShowDog() {
    id = "SHOW-DOG";
}

int TShowDog::setup() {
    if (_setUp) return 0;
    _setUp = true;
    frame = loadImageChecked(dataRoot + "gfx/gui/galeria/frame.png");
    if (frame) MidHandleImage(frame);
    const std::string face = dataRoot + "gfx/fonts/Bookman.ttf";
    nameFont = guiLoadFont(face, 36, 0);
    hintFont = guiLoadFont(face, 18, 0);
    auto t = loadLocalisedText(dataRoot + "txt/galeria.txt");
    if (t && t->lines() >= 3) {
        txtHint = t->txt[2];
        while (!txtHint.empty() && (txtHint.back() == '\r' || txtHint.back() == '\n')) txtHint.pop_back();
    }
    return 0;
}

std::string TShowDog::mainLoop(const TPiesPtr& d, TEkran* behind) {
    setup();
    dog = d;
    alpha = 0;
    dAlpha = 1;
    aSpeed = 0.08f;
    fade = dFade = 0;
    state = "SHOW";
    mouse.clear();
    FlushKeys();
    runLoop(behind);
    mouse.clear();
    FlushKeys();
    return "GALERIA";
}

int TShowDog::update() {
    frameUpdate(0);
    _updateAlpha();
    return 0;
}

void TShowDog::_control() {
    if (dAlpha == 0 || alpha < 1) return;
    if (mouse.leftPressed || mouse.rightPressed || KeyHit(13) || KeyHit(27) || KeyHit(32)) {
        dAlpha = 0;
        state = "CLOSE";
        mouse.clear();
    }
}

int TShowDog::draw() {
    _drawBehind();
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetColor(0, 0, 0);
    SetAlpha(0.65f * alpha);
    DrawRect(0, 0, 1024, 768);
    // The frame grows out of nothing as it fades in.
    const float sc = 0.85f + 0.15f * alpha;
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    SetScale(sc, sc);
    if (frame) DrawImage(frame, 512, 372);
    const ImagePtr& pic = dog ? (dog->img[1] ? dog->img[1] : dog->img[0]) : nullptr;
    if (pic) {
        // The dressed dog as large as the frame's window allows.
        const float fit =
            std::min(420.0f / static_cast<float>(pic->width), 470.0f / static_cast<float>(pic->height));
        const float k = std::min(1.4f, fit) * sc;
        SetScale(k, k);
        DrawImage(pic, 512, 372 + 230 * sc);
    }
    SetScale(1, 1);
    if (dog && !dog->name.empty()) {
        // Centred in the frame's name band (52 px high, 566 px below the frame's top).
        SetImageFont(nameFont);
        const int w = TextWidth(dog->name), h = TextHeight(dog->name);
        const float y = 372 + (566 - 320 + 26) * sc - static_cast<float>(h) / 2;
        SetColor(40, 22, 8);
        DrawText(dog->name, static_cast<float>(512 - w / 2 + 2), y + 2);
        SetColor(255, 244, 214);
        DrawText(dog->name, static_cast<float>(512 - w / 2), y);
    }
    if (!txtHint.empty()) {
        SetImageFont(hintFont);
        const int w = TextWidth(txtHint), h = TextHeight(txtHint);
        SetColor(0, 0, 0);
        SetAlpha(0.6f * alpha);
        DrawRect(static_cast<float>(512 - w / 2 - 12), 705, static_cast<float>(w + 24),
                 static_cast<float>(h + 10));
        SetColor(255, 255, 255);
        SetAlpha(alpha);
        DrawText(txtHint, static_cast<float>(512 - w / 2), 710);
    }
    SetAlpha(1);
    SetColor(255, 255, 255);
    return 0;
}
