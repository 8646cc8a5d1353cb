#include "app/TFlyingTile.h"

#include <algorithm>
#include <cmath>

#include "platform/Services.h"
#include "match3/TChip.h"
#include "match3/TTile.h"

namespace {
float easeOutBack(float t) {
    const float c1 = 1.2f, c3 = c1 + 1;
    const float u = t - 1;
    return 1 + c3 * u * u * u + c1 * u * u;
}
void drawPicture(const ImagePtr& img, int frame, float x, float y) {
    if (!img) return;
    DrawImage(img, x, y, frame < img->frameCount ? frame : 0);
}
}  // namespace

bool TFlyingTile::update(int now) {
    if (now < startTime) {
        x = x0;
        y = y0;
        rot = rot0;
        scale = scale0;
        alpha = leaving ? 1.0f : 0.0f;
        return true;
    }
    const float t = std::min(1.0f, static_cast<float>(now - startTime) / static_cast<float>(std::max(1, duration)));
    const float e = leaving ? t * t : easeOutBack(t);
    // The bulge is across the straight line, largest half way.
    const float dx = x1 - x0, dy = y1 - y0;
    const float len = std::max(1.0f, std::sqrt(dx * dx + dy * dy));
    const float bulge = arc * std::sin(3.14159265f * std::min(1.0f, e));
    x = x0 + dx * e - dy / len * bulge;
    y = y0 + dy * e + dx / len * bulge;
    rot = rot0 + (rot1 - rot0) * std::min(1.0f, e);
    scale = scale0 + (scale1 - scale0) * std::min(1.0f, e);
    alpha = leaving ? 1 - t : std::min(1.0f, t * 3);
    if (t >= 1) {
        if (!leaving && tile) tile->_flyingTile.reset();
        return false;
    }
    return true;
}

void TFlyingTile::draw() const {
    if (!tile || alpha <= 0) return;
    SetRotation(rot);
    SetScale(scale, scale);
    SetBlend(ALPHABLEND);
    // The shadow first, as the board draws its plates.
    SetColor(0, 0, 0);
    SetAlpha(alpha * 0.4f);
    if (tile->td) drawPicture(tile->td->gfx, 0, x + 3, y + 3);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    if (tile->td) drawPicture(tile->td->gfx, 0, x, y);
    if (tile->chip && tile->chip->cd) drawPicture(tile->chip->cd->gfx, tile->chip->frame, x, y);
}
