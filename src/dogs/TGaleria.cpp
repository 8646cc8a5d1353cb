#include "dogs/TGaleria.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/FrameServices.h"
#include "app/TRMCounter.h"
#include "data/DataGlobals.h"
#include "data/TTxtFile.h"
#include "dogs/TShowDog.h"
#include "dogs/TUbieranie.h"
#include "gui/GuiGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "profiles/TProfileManager.h"

TGaleriaPtr galeria;

namespace {

constexpr float kDeg = 3.14159265f / 180.0f;
// Where the new dog's card starts its flight, and how large.
constexpr float kStartX = 512, kStartY = 250, kStartScale = 2.4f;

std::string lineOf(const TTxtFilePtr& t, int n) {
    if (!t || n < 1 || n > t->lines()) return "";
    std::string s = t->txt[static_cast<size_t>(n - 1)];
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
    return s;
}

// The new dog's arrival: it first grows in the middle of the board, large,
// for kHold of the time, then flies to its place.
constexpr float kHold = 0.4f;

float easeInOut(float t) {
    return t < 0.5f ? 4 * t * t * t : 1 - 4 * (1 - t) * (1 - t) * (1 - t);
}

struct TArrival {
    float x, y, scale, rot;
};

TArrival arrivalAt(float arrive, float px, float py, float rot) {
    if (arrive < kHold) {
        const float g = arrive / kHold;
        // Grows with a small overshoot and rocks gently.
        const float grow = 1 + 0.12f * std::sin(g * 3.14159265f) * (1 - g) * 4;
        return {kStartX, kStartY,
                kStartScale * (0.3f + 0.7f * std::min(1.0f, g * 1.6f)) * std::min(grow, 1.25f),
                -8 * std::sin(g * 6.2831853f)};
    }
    const float t = easeInOut((arrive - kHold) / (1 - kHold));
    return {kStartX + (px - kStartX) * t, kStartY + (py - kStartY) * t, kStartScale + (1 - kStartScale) * t,
            rot * t};
}

}  // namespace

TGaleria::TGaleria() {
    id = "GALERIA";
}

int TGaleria::setup() {
    if (_setUp) return 0;
    _setUp = true;
    const std::string dir = dataRoot + "gfx/gui/galeria/";
    back = loadImageChecked(dir + "back.jpg");
    sparkle = LoadImage(dir + "sparkle.png");
    if (sparkle) MidHandleImage(sparkle);
    Gui = loadGui(dir + "galeria.gui");
    if (!Gui->getItem("continue")) errorNotice("gfx/gui/galeria/galeria.gui has no button \"continue\"");
    const std::string face = dataRoot + "gfx/fonts/Bookman.ttf";
    titleFont = guiLoadFont(face, 40, 0);
    textFont = guiLoadFont(face, 20, 0);
    auto u = loadLocalisedText(dataRoot + "txt/ubieranie.txt");
    auto g = loadLocalisedText(dataRoot + "txt/galeria.txt");
    txtTitle = lineOf(u, 1);
    txtNewDog = lineOf(u, 2);
    txtHint = lineOf(g, 2);
    return 0;
}

bool TGaleria::uncovered(const TPies& d, const TProfile* p) {
    if (!p) return false;
    for (const auto& b : p->bylyPsy)
        if (b && b->id == d.id) return true;
    // Dog ids are stage numbers: every stage before the profile's is done
    // (after the last stage the profile's stage is past them all), and the
    // profile's own dog is done once its jigsaw is solved.
    if (d.id >= 1 && d.id < p->nrStageu) return true;
    return d.id == p->nrStageu && TUbieranie::puzzleComplete(p);
}

bool TGaleria::cardHit(const TPies& d, float x, float y) {
    const ImagePtr& img = d.odkryty ? d.odkryty : d.kartka;
    const float w = img ? static_cast<float>(img->width) : 128.0f;
    const float h = img ? static_cast<float>(img->height) : 150.0f;
    const float hx = img ? img->handleX : 64.0f, hy = img ? img->handleY : 18.0f;
    const float px = d.imgXY ? d.imgXY->x : 0, py = d.imgXY ? d.imgXY->y : 0;
    const float dx = x - px, dy = y - py;
    const float c = std::cos(static_cast<float>(d.rot) * kDeg),
                s = std::sin(static_cast<float>(d.rot) * kDeg);
    const float lx = dx * c + dy * s + hx, ly = -dx * s + dy * c + hy;
    return lx >= 0 && lx <= w && ly >= 0 && ly <= h;
}

void TGaleria::prepare() {
    setup();
    alpha = 0;
    dAlpha = 1;
    aSpeed = 0.04f;
    fade = 1;
    dFade = 0;
    over = nullptr;
    _sparks.clear();
    mouse.clear();
    FlushMouse();
    FlushKeys();
    const TProfilePtr p = profileManager().profile;
    const bool fresh = newDog && uncovered(*newDog, p.get());
    arrive = fresh ? 0.0f : 1.0f;
    state = fresh ? "NEW-DOG" : "NORMAL";
    startTime = Millisecs();
    const int dogs = ubieranie ? static_cast<int>(ubieranie->dogsList.size()) : 0;
    wynik = p && p->nrStageu > dogs ? "STORY" : "UBIERANIE";
    if (ubieranie)
        for (auto& d : ubieranie->dogsList) d->a = d->da = 0;
}

std::string TGaleria::mainLoop(int) {
    prepare();
    const std::string next = wynik;
    runLoop();
    mouse.clear();
    FlushKeys();
    return next;
}

int TGaleria::update() {
    frameUpdate(0);
    _updateAlpha();
    _updateFade();
    const TProfilePtr p = profileManager().profile;
    if (state == "NEW-DOG" && fade == 0) {
        // About three seconds: shown large, then flying to its place.
        approach(arrive, 1, 0.006f);
        if (newDog && newDog->imgXY && Rand(0, 1) == 0) {
            const TArrival a =
                arrivalAt(arrive, newDog->imgXY->x, newDog->imgXY->y, static_cast<float>(newDog->rot));
            // Sparkles burst from around the card's picture (below its pin).
            const float cx = a.x, cy = a.y + 60 * a.scale;
            const float ang = RndF(0, 360) * kDeg, v = RndF(1.0f, 3.5f);
            _sparks.push_back({cx + RndF(-50, 50) * a.scale, cy + RndF(-60, 60) * a.scale, std::cos(ang) * v,
                               std::sin(ang) * v, 1.0f, RndF(0, 90)});
        }
        if (arrive >= 1) state = "NORMAL";
    }
    for (auto& s : _sparks) {
        s.x += s.vx * frameDelta;
        s.y += s.vy * frameDelta;
        s.vy += 0.04f * frameDelta;
        s.life -= 0.02f * frameDelta;
        s.rot += 3 * frameDelta;
    }
    _sparks.erase(std::remove_if(_sparks.begin(), _sparks.end(), [](const Spark& s) { return s.life <= 0; }),
                  _sparks.end());
    over = nullptr;
    if (ubieranie && state == "NORMAL" && fade == 0) {
        // The topmost card under the pointer (cards later in the table lie on top).
        for (auto it = ubieranie->dogsList.rbegin(); it != ubieranie->dogsList.rend(); ++it)
            if (uncovered(**it, p.get()) &&
                cardHit(**it, static_cast<float>(mouse.x), static_cast<float>(mouse.y))) {
                over = *it;
                break;
            }
    }
    if (ubieranie)
        for (auto& d : ubieranie->dogsList) d->update(d == over);
    _updateGui();
    return 0;
}

void TGaleria::_control() {
    if (fade != 0 || dFade != 0) return;
    if (state == "NEW-DOG") {
        // A click lets the new dog land at once.
        if (mouse.leftPressed) {
            arrive = 1;
            state = "NORMAL";
            mouse.clear();
        }
        return;
    }
    if (Gui && Gui->clickedItem("continue")) {
        leaveTo(wynik);
        return;
    }
    if (over && mouse.leftPressed) {
        mouse.clear();
        if (showDog) {
            state = "SHOW-DOG";
            showDog->mainLoop(over, this);
            state = "NORMAL";
        }
    }
}

void TGaleria::_drawCard(const TPies& d, float x, float y, float scale, float rot, float a) {
    const TProfilePtr p = profileManager().profile;
    const ImagePtr& img = uncovered(d, p.get()) ? d.odkryty : d.kartka;
    if (!img) return;
    SetBlend(ALPHABLEND);
    SetColor(0, 0, 0);
    SetAlpha(0.3f * a);
    SetRotation(rot);
    SetScale(scale, scale);
    DrawImage(img, x + 5 * scale, y + 6 * scale);
    SetColor(255, 255, 255);
    SetAlpha(a);
    // The hovered card lifts a little towards the player.
    const float lift = 1 + 0.06f * d.a;
    SetScale(scale * lift, scale * lift);
    DrawImage(img, x, y);
    if (d.a > 0) {
        SetBlend(LIGHTBLEND);
        SetAlpha(0.25f * d.a * a);
        DrawImage(img, x, y);
        SetBlend(ALPHABLEND);
    }
    SetRotation(0);
    SetScale(1, 1);
}

int TGaleria::draw() {
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetScale(1, 1);
    SetRotation(0);
    if (back) DrawImage(back, 0, 0);
    if (!txtTitle.empty()) {
        SetImageFont(titleFont);
        const int w = TextWidth(txtTitle);
        SetColor(60, 34, 16);
        DrawText(txtTitle, static_cast<float>(512 - w / 2 + 2), 24);
        SetColor(255, 244, 214);
        DrawText(txtTitle, static_cast<float>(512 - w / 2), 22);
    }
    if (ubieranie)
        for (const auto& d : ubieranie->dogsList) {
            if (!d->imgXY || (d == newDog && arrive < 1)) continue;
            _drawCard(*d, d->imgXY->x, d->imgXY->y, 1, static_cast<float>(d->rot), 1);
        }
    if (newDog && newDog->imgXY && arrive < 1) {
        const TArrival c =
            arrivalAt(arrive, newDog->imgXY->x, newDog->imgXY->y, static_cast<float>(newDog->rot));
        // The rest of the board dims while the new dog is shown large.
        const float dim = arrive < kHold ? 1 : std::max(0.0f, 1 - (arrive - kHold) * 4);
        SetColor(0, 0, 0);
        SetAlpha(0.35f * dim);
        DrawRect(0, 0, 1024, 768);
        _drawCard(*newDog, c.x, c.y, c.scale, c.rot, 1);
        if (!txtNewDog.empty() && arrive < kHold + 0.1f) {
            const std::string cap = newDog->name.empty() ? txtNewDog : newDog->name + ": " + txtNewDog;
            SetImageFont(titleFont);
            const int w = TextWidth(cap);
            const float a = std::min(1.0f, (kHold + 0.1f - arrive) * 10);
            SetColor(0, 0, 0);
            SetAlpha(0.55f * a);
            DrawRect(static_cast<float>(512 - w / 2 - 20), 600, static_cast<float>(w + 40), 62);
            SetColor(255, 236, 140);
            SetAlpha(a);
            DrawText(cap, static_cast<float>(512 - w / 2), 608);
        }
    }
    if (sparkle) {
        SetBlend(LIGHTBLEND);
        SetColor(255, 240, 180);
        for (const auto& s : _sparks) {
            SetAlpha(s.life);
            SetRotation(s.rot);
            SetScale(0.5f + s.life * 0.6f, 0.5f + s.life * 0.6f);
            DrawImage(sparkle, s.x, s.y);
        }
        SetRotation(0);
        SetScale(1, 1);
        SetBlend(ALPHABLEND);
        SetColor(255, 255, 255);
    }
    if (state == "NORMAL" && !txtHint.empty()) {
        SetImageFont(textFont);
        const int w = TextWidth(txtHint), h = TextHeight(txtHint);
        const float x = static_cast<float>(512 - w / 2);
        SetColor(0, 0, 0);
        SetAlpha(0.55f * alpha);
        DrawRect(x - 12, 700, static_cast<float>(w + 24), static_cast<float>(h + 10));
        SetColor(255, 255, 255);
        SetAlpha(alpha);
        DrawText(txtHint, x, 705);
    }
    SetAlpha(1);
    SetColor(255, 255, 255);
    if (Gui) {
        Gui->setGuiAlpha(alpha);
        Gui->draw();
    }
    _drawFade();
    return 0;
}
