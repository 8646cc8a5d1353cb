#include "match3/ChipShadow.h"

#include <algorithm>
#include <cmath>

namespace {

// Alpha of the chip picture at texel coordinates (tx, ty) measured from its
// top-left corner in texels, texel centres at .5: bilinear or nearest, edges
// clamped, nothing outside the picture.
float alphaAt(const TPixmap& p, float tx, float ty, bool filtered) {
    if (tx < 0 || ty < 0 || tx >= p.width || ty >= p.height) return 0;
    auto texel = [&](int x, int y) {
        x = std::clamp(x, 0, p.width - 1);
        y = std::clamp(y, 0, p.height - 1);
        return p.pixels[(static_cast<size_t>(y) * p.width + x) * 4 + 3] / 255.0f;
    };
    if (!filtered) return texel(static_cast<int>(tx), static_cast<int>(ty));
    const float fx = tx - 0.5f, fy = ty - 0.5f;
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    const float wx = fx - x0, wy = fy - y0;
    return (texel(x0, y0) * (1 - wx) + texel(x0 + 1, y0) * wx) * (1 - wy) +
           (texel(x0, y0 + 1) * (1 - wx) + texel(x0 + 1, y0 + 1) * wx) * wy;
}

}  // namespace

TPixmap BakeChipShadow(const TPixmap& chip, bool filtered, int& margin) {
    TPixmap out;
    margin = 0;
    if (chip.width <= 0 || chip.height <= 0 ||
        chip.pixels.size() != static_cast<size_t>(chip.width) * chip.height * 4)
        return out;
    // Room for the grown shadow, its offset and a texel of filtering.
    const int grow = static_cast<int>(std::ceil(std::max(chip.width, chip.height) * kChipShadowGrow / 2));
    margin = grow + static_cast<int>(std::ceil(kChipShadowOffset)) + 1;
    out.width = chip.width + 2 * margin;
    out.height = chip.height + 2 * margin;
    out.pixels.assign(static_cast<size_t>(out.width) * out.height * 4, 0);
    const float scale = 1 + kChipShadowGrow;
    const float cx = chip.width * 0.5f, cy = chip.height * 0.5f;
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            // The shadow: this pixel's centre taken back through the offset
            // and the growth to the chip picture.
            const float px = x + 0.5f - margin - kChipShadowOffset - cx;
            const float py = y + 0.5f - margin - kChipShadowOffset - cy;
            const float sa = kChipShadowAlpha * alphaAt(chip, px / scale + cx, py / scale + cy, filtered);
            // The chip's own texel, if any, lies over it.
            const int cxp = x - margin, cyp = y - margin;
            float ca = 0;
            const uint8_t* c = nullptr;
            if (cxp >= 0 && cyp >= 0 && cxp < chip.width && cyp < chip.height) {
                c = &chip.pixels[(static_cast<size_t>(cyp) * chip.width + cxp) * 4];
                ca = c[3] / 255.0f;
            }
            // Chip over black shadow, straight alpha: what shows is the chip's
            // colour in the share ca of the whole coverage.
            const float ra = ca + sa * (1 - ca);
            uint8_t* o = &out.pixels[(static_cast<size_t>(y) * out.width + x) * 4];
            o[3] = static_cast<uint8_t>(std::lround(ra * 255));
            if (c && ra > 0)
                for (int k = 0; k < 3; ++k)
                    o[k] = static_cast<uint8_t>(std::clamp(std::lround(c[k] * ca / ra), 0L, 255L));
        }
    return out;
}
