#include "jigsaw/TFlyingPiece.h"

#include <algorithm>
#include <cmath>

bool TFlyingPiece::update(int now) {
    if (landed) return false;
    const float w = img ? static_cast<float>(ImageWidth(img)) : 0,
                h = img ? static_cast<float>(ImageHeight(img)) : 0;
    const float sx = x0 + w / 2, sy = y0 + h / 2;  // the centre at the start
    float t = duration > 0 ? static_cast<float>(now - startTime) / static_cast<float>(duration) : 1;
    t = std::clamp(t, 0.0f, 1.0f);
    const float e = t * t * (3 - 2 * t);  // eased
    // A curve that rises first, so the pieces arc onto the dog.
    const float mxp = (sx + tx) / 2, myp = std::min(sy, ty) - 120;
    x = (1 - e) * (1 - e) * sx + 2 * (1 - e) * e * mxp + e * e * tx;
    y = (1 - e) * (1 - e) * sy + 2 * (1 - e) * e * myp + e * e * ty;
    rot = 360 * e;
    scale = 1 - (1 - endScale) * e;
    if (t >= 1) {
        landed = true;
        return true;
    }
    return false;
}

void TFlyingPiece::draw() const {
    if (!img || (landed && !keepWhenLanded)) return;
    const float hx = img->handleX, hy = img->handleY;
    SetImageHandle(img, static_cast<float>(ImageWidth(img) / 2), static_cast<float>(ImageHeight(img) / 2));
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetRotation(rot);
    SetScale(scale, scale);
    DrawImage(img, x, y);
    SetRotation(0);
    SetScale(1, 1);
    SetImageHandle(img, hx, hy);
}
