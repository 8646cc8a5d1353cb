// A chip's picture with its drop shadow already under it, so a chip at rest
// is one blended quad instead of two.
#pragma once

#include "platform/Services.h"

// The shadow a chip casts: the picture in black at this alpha, scaled up by
// kChipShadowGrow about its middle and moved by kChipShadowOffset pixels
// right and down.
constexpr float kChipShadowAlpha = 0.4f;
constexpr float kChipShadowGrow = 0.1f;
constexpr float kChipShadowOffset = 2;

// The picture `chip` (one frame, drawn mid-handled at scale 1) with its shadow
// composited under it, on a canvas `margin` pixels wider on every side so the
// middle stays the middle; drawn over any background at full alpha it gives
// what the shadow and then the chip drawn over it give. `filtered`: the shadow
// is sampled bilinearly, as a filtered picture is scaled; else the nearest
// texel. An empty pixmap gives an empty pixmap.
TPixmap BakeChipShadow(const TPixmap& chip, bool filtered, int& margin);
