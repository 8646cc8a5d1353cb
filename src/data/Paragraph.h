// Paragraph layout: texts wrapped into a column with an alignment, and text
// with a one-pixel outline. Everything is drawn through the platform layer.
#pragma once

#include <string>

#include "platform/Services.h"
#include "data/TRGB.h"

// Draws text broken into lines no wider than width; align is "LEFT",
// "RIGHT", "CENTER" or "JUSTIFY" (case-blind, trimmed; anything else is
// left). A null font keeps the current one. Returns the height used.
int drawTextBlock(const std::string& text, int x, int y, float width, const std::string& align,
                  const FontPtr& font = nullptr, int lineGap = 0);
// The height the same paragraph takes (one more line pitch when its last line
// is not empty).
int measureTextBlock(const std::string& text, float width, const std::string& align,
                     const FontPtr& font = nullptr, int lineGap = 0);
// Null colours mean black outline / white text.
void drawOutlinedText(const std::string& text, int x, int y, const TRGB* outline = nullptr,
                      const TRGB* color = nullptr, const std::string& align = "");
