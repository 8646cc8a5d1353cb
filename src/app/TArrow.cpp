#include "app/TArrow.h"

#include <cmath>

ImagePtr TArrow::img;

void TArrow::update() {
    const float step = 0.05f * frameDelta;
    if (a < dA) a = std::fmin(dA, a + step);
    else if (a > dA) a = std::fmax(dA, a - step);
    phase += 6.0f * frameDelta;
    if (phase >= 360) phase -= 360;
}

void TArrow::draw() const {
    if (!img || a <= 0) return;
    // Rotation 0 points up; the arrow bobs back and forth along where it points.
    const float k = 3.14159265f / 180.0f;
    const float off = 5.0f * std::sin(phase * k);
    const float dx = std::sin(rot * k) * off, dy = -std::cos(rot * k) * off;
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(a);
    SetRotation(rot);
    SetScale(1, 1);
    DrawImage(img, x + dx, y + dy);
    SetRotation(0);
    SetAlpha(1);
}
