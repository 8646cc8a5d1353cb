#include "tutorial/TTipArrow.h"

#include <algorithm>
#include <cmath>

#include "match3/TChip.h"
#include "match3/TTile.h"

namespace {
constexpr float kDeg = 3.14159265f / 180.0f;

// The chip's centre on screen: its tile's centre plus its movement offset.
bool chipCentre(const TChip& ch, float& x, float& y) {
    if (!ch.tile || ch.tile->chip.get() != &ch) return false;
    x = ch.tile->dim.x + ch.adx;
    y = ch.tile->dim.y + ch.adY;
    return true;
}
}  // namespace

void TTipArrow::aim(float tx, float ty, float dx, float dy) {
    x = tx;
    y = ty;
    // The picture points up (0, -1) at rotation 0; clockwise on screen.
    rot = std::atan2(dx, -dy) / kDeg;
    if (rot < 0) rot += 360;
}

void TTipArrow::setObject(const std::shared_ptr<TChip>& chip, float offsetX, float offsetY) {
    myObject = chip;
    _hasObject = chip != nullptr;
    offX = offsetX;
    offY = offsetY;
}

bool TTipArrow::objectAlive() const {
    return !_hasObject || chipOnBoard(myObject.lock());
}

bool TTipArrow::chipOnBoard(const std::shared_ptr<TChip>& ch) {
    if (!ch || ch->bylUsuwany) return false;
    if (ch->state == "DESTROY" || ch->state == "DESTROY-CHAIN") return false;
    float cx, cy;
    return chipCentre(*ch, cx, cy);
}

void TTipArrow::update() {
    if (auto ch = myObject.lock()) {
        float cx, cy;
        if (chipCentre(*ch, cx, cy)) {
            x = cx + offX;
            y = cy + offY;
        }
    }
    const float step = 0.06f * frameDelta;
    a = a < dA ? std::min(dA, a + step) : std::max(dA, a - step);
    p += dP * frameDelta;
    while (p >= 360) p -= 360;
}

void TTipArrow::draw(const ImagePtr& img1, const ImagePtr& img2, float alpha) const {
    const ImagePtr& img = n == 2 && img2 ? img2 : img1;
    if (!img || a * alpha <= 0) return;
    // The tip touches (x, y); the picture is mid-handled, so its centre lies
    // half its height back along the way it points, plus the pulse.
    const float half = ImageHeight(img) * s / 2.0f;
    const float back = half + 4 + ay * (0.5f + 0.5f * std::sin(p * kDeg));
    const float dx = std::sin(rot * kDeg), dy = -std::cos(rot * kDeg);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(a * alpha);
    SetScale(s, s);
    SetRotation(rot);
    DrawImage(img, x - dx * back, y - dy * back);
    SetRotation(0);
    SetScale(1, 1);
    SetAlpha(1);
}
