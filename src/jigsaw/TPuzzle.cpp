#include "jigsaw/TPuzzle.h"

#include <algorithm>
#include <cmath>

#include "data/TRGB.h"
#include "effects/Particles.h"

namespace {

constexpr float kDeg = 3.14159265358979f / 180.0f;

TAlphaMask& pointerSlot() {
    static TAlphaMask m;
    return m;
}
bool& pointerLoaded() {
    static bool loaded = false;
    return loaded;
}

void approach(float& v, float target, float step) {
    if (v < target) v = std::min(target, v + step);
    if (v > target) v = std::max(target, v - step);
}

}  // namespace

TAlphaMask TAlphaMask::fromPixmap(const TPixmap& pix) {
    TAlphaMask m;
    if (pix.width <= 0 || pix.height <= 0 ||
        pix.pixels.size() < static_cast<size_t>(pix.width) * pix.height * 4)
        return m;
    m.w = pix.width;
    m.h = pix.height;
    m.solid.resize(static_cast<size_t>(m.w) * m.h);
    for (size_t i = 0; i < m.solid.size(); ++i) m.solid[i] = pix.pixels[i * 4 + 3] >= 128 ? 1 : 0;
    return m;
}

bool TAlphaMask::overlaps(int ax, int ay, const TAlphaMask& o, int bx, int by) const {
    if (empty() || o.empty()) return false;
    const int left = std::max(ax, bx), right = std::min(ax + w, bx + o.w);
    const int top = std::max(ay, by), bottom = std::min(ay + h, by + o.h);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (at(x - ax, y - ay) && o.at(x - bx, y - by)) return true;
    return false;
}

const TAlphaMask& TPuzzle::pointerMask() {
    if (!pointerLoaded()) {
        pointerLoaded() = true;
        TAlphaMask m = TAlphaMask::fromPixmap(LoadPixmap("gfx/point.png"));
        if (m.empty()) {
            m.w = m.h = 3;
            m.solid.assign(9, 1);
        }
        pointerSlot() = std::move(m);
    }
    return pointerSlot();
}

void TPuzzle::setPointerMask(TAlphaMask m) {
    pointerSlot() = std::move(m);
    pointerLoaded() = true;
}

void TPuzzle::loadPicture(const std::string& path) {
    img = LoadImage(path, IMG_FILTERED);
    mask = TAlphaMask::fromPixmap(LoadPixmap(path));
    w = img ? ImageWidth(img) : mask.w;
    h = img ? ImageHeight(img) : mask.h;
}

void TPuzzle::drawShadow(float screenAlpha) {
    if (!aktywny || nowy || clickA == 0 || !img) return;
    const float b = std::sin(90 * kDeg * clickA) * screenAlpha * 0.5f;
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetColor(0, 0, 0);
    SetAlpha(b);
    DrawImage(img, dim.x + 7 * b, dim.y + 7 * b);
    SetColor(255, 255, 255);
    SetAlpha(1);
}

void TPuzzle::drawNowy(float screenAlpha) {
    if (!img) return;
    const float hx = img->handleX, hy = img->handleY;
    SetImageHandle(img, dx, dy);
    SetBlend(ALPHABLEND);
    SetScale(1, 1);
    SetColor(255, 255, 255);
    SetRotation(720 * per);
    SetAlpha(screenAlpha);
    DrawImage(img, dim.x + dx, dim.y + dy);
    SetRotation(0);
    SetAlpha(1);
    SetImageHandle(img, hx, hy);
}

void TPuzzle::draw(float screenAlpha) {
    if (!aktywny) return;
    if (nowy) {
        drawNowy(screenAlpha);
        return;
    }
    if (!img) return;
    SetBlend(ALPHABLEND);
    SetScale(1, 1);
    SetRotation(0);
    SetColor(255, 255, 255);
    SetAlpha(1);
    DrawImage(img, dim.x, dim.y);
    // The piece under the pointer lights up a little.
    if (overA > 0) {
        SetBlend(LIGHTBLEND);
        SetAlpha(0.22f * overA);
        DrawImage(img, dim.x, dim.y);
        SetBlend(ALPHABLEND);
        SetAlpha(1);
    }
}

void TPuzzle::countPosition(float t) {
    dim.x = x1 + 2 * t * (mx - x1) + t * t * (x1 - 2 * mx + x2);
    dim.y = y1 + 2 * t * (my - y1) + t * t * (y1 - 2 * my + y2);
}

void TPuzzle::finish() {
    if (!nowy) return;
    per = 1;
    countPosition(1);
    nowy = 0;
}

void TPuzzle::updateNowy(float d) {
    dx = static_cast<float>(w / 2);
    dy = static_cast<float>(h / 2);
    per = std::min(1.0f, per + pSpeed * d);
    countPosition(std::sin(90 * kDeg * per));
    if (per >= 1) {
        per = 1;
        nowy = 0;
    }
    const int now = Millisecs();
    if (now >= partTime) {
        partTime = now + 10;
        for (int i = 0; i < 12; ++i) {
            const TRGB c{Rand(0, 255), Rand(0, 255), Rand(0, 255)};
            sparkle(dim.x + static_cast<float>(Rand(0, w)), dim.y + static_cast<float>(Rand(0, h)), c, 0);
        }
    }
}

void TPuzzle::animate(float d) {
    approach(overA, dOverA, 0.05f * d);
    approach(clickA, dClickA, 0.05f * d);
}

int TPuzzle::update(const TPuzzleFrame& f) {
    if (!aktywny) return 0;
    if (nowy) {
        updateNowy(f.d);
        return 0;
    }
    animate(f.d);
    dClickA = f.held == this ? 1.0f : 0.0f;
    const int over = updateOver(f.mouseX, f.mouseY);
    dOverA = over ? 1.0f : 0.0f;
    return over;
}

int TPuzzle::updateOver(int mouseX, int mouseY) {
    if (!aktywny || mask.empty()) return 0;
    const TAlphaMask& p = pointerMask();
    return mask.overlaps(posX(), posY(), p, mouseX - p.w / 2, mouseY - p.h / 2) ? 1 : 0;
}

void TPuzzle::setPosition(float ddx, float ddy) {
    dim.x += ddx;
    dim.y += ddy;
}

int TPuzzle::inRect(int x, int y, int rw, int rh) {
    return x <= dim.x && dim.x <= x + rw && y <= dim.y && dim.y <= y + rh ? 1 : 0;
}
