#include "screens/TEndOfGame.h"

#include <cstdio>

#include "app/FrameServices.h"
#include "app/Harness.h"
#include "data/DataGlobals.h"
#include "data/TTxtFile.h"
#include "gui/GuiGlobals.h"
#include "gui/TMouse.h"

std::shared_ptr<TEndOfGame> endOfGame;

TEndOfGame::TEndOfGame() {
    id = "END-OF-GAME";
}

void TEndOfGame::setLines(const std::vector<std::string>& text) {
    lista.clear();
    for (std::string s : text) {
        while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
        if (s.empty()) continue;
        TCreditData d;
        d.size = 1;
        d.font = font1;
        if (s[0] == '#') {
            d.size = 2;
            d.font = font2;
            s.erase(0, 1);
        } else if (s[0] == '$') {
            d.size = 3;
            d.font = font3;
            s.erase(0, 1);
        }
        // "{version}" stands for the game's version in every language's credits.
        for (size_t k; (k = s.find("{version}")) != std::string::npos;) s.replace(k, 9, BRIMBLE_VERSION);
        d.txt = s;
        lista.push_back(d);
    }
}

int TEndOfGame::setup() {
    if (_setUp) return 0;
    _setUp = true;
    img = LoadImage(dataRoot + "gfx/gui/credits/back.jpg", IMG_FILTERED);
    const std::string face = dataRoot + "gfx/fonts/bluehigh.ttf";
    font1 = guiLoadFont(face, 26, 0);
    font2 = guiLoadFont(face, 42, 0);
    font3 = guiLoadFont(face, 60, 0);
    auto t = loadLocalisedText(dataRoot + "txt/credits.txt");
    if (t)
        setLines(t->txt);
    else
        std::fprintf(stderr, "Cannot read txt/credits.txt: no credits to show.\n");
    return 0;
}

void TEndOfGame::prepare() {
    setup();
    alpha = 0;
    dAlpha = 1;
    aSpeed = 0.03f;
    fade = 0;
    dFade = 0;
    y = 768;
    restarts = 0;
    state = "ROLL";
    mouse.clear();
    FlushKeys();
    FlushMouse();
}

std::string TEndOfGame::mainLoop(TEkran* behind) {
    prepare();
    keepBehindAlive = true;
    runLoop(behind);
    mouse.clear();
    FlushKeys();
    return "MAIN-MENU";
}

float TEndOfGame::listHeight() const {
    float h = 0;
    for (const TCreditData& d : lista) {
        SetImageFont(d.font);
        h += static_cast<float>(TextHeight(d.txt)) + 2;
    }
    return h;
}

int TEndOfGame::update() {
    frameUpdate(0);
    _updateAlpha();
    y -= 1.0f * frameDelta;
    if (y + listHeight() < 0) {
        y = 800;
        ++restarts;
        if (harnessActive()) {
            std::printf("credits: restarted (%d)\n", restarts);
            std::fflush(stdout);
        }
    }
    return 0;
}

void TEndOfGame::_control() {
    if (dAlpha == 0) return;
    if (mouse.leftPressed || KeyHit(13) || KeyHit(32) || KeyHit(27)) {
        dAlpha = 0;
        state = "CLOSE";
        mouse.clear();
    }
}

int TEndOfGame::draw() {
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    if (img) DrawImage(img, 0, 0);
    float ly = y;
    SetColor(247, 222, 113);
    for (const TCreditData& d : lista) {
        SetImageFont(d.font);
        const int h = TextHeight(d.txt);
        if (ly + static_cast<float>(h) > 0 && ly < 768) {
            const int w = TextWidth(d.txt);
            DrawText(d.txt, static_cast<float>(640 - w / 2), ly);
        }
        ly += static_cast<float>(h) + 2;
    }
    SetColor(255, 255, 255);
    SetAlpha(1);
    return 0;
}
