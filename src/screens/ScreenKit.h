// Small drawing and loading helpers shared by the menu screens and dialogs.
#pragma once

#include <string>
#include <vector>

#include "platform/Services.h"

// Black over the whole game area at alpha a (the darkening behind dialogs).
void drawDarkening(float a);
// Lines 1..n of a localised text file; a missing file or line gives the
// fallback of that line (and one notice on stderr naming the file).
std::vector<std::string> loadTextLines(const std::string& path, const std::vector<std::string>& fallbacks);
// A picture with its handle in the middle, or null with a notice.
ImagePtr loadMidImage(const std::string& path);
// A picture with its handle at the top-left corner, or null with a notice.
ImagePtr loadPlainImage(const std::string& path);
// Text centred on x with a soft black shadow, in the current font.
void drawShadowedCentred(const std::string& text, float x, float y, int r, int g, int b, float alpha);

// With BRIMBLE_START_STATS set: prints "start-stats <what> <wall clock ns>"
// once per name on stderr (the menu benchmark turns them into times since
// the process started).
void startStat(const char* what);
