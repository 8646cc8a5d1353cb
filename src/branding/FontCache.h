// The shared font loader: one image font per path, size and style, loaded on
// first use and kept, so every screen asking for Bookman at 24 gets the same
// font (and the same glyph cache).
#pragma once

#include <string>

#include "platform/Services.h"

// style: 1 bold, 2 italic; 4 (smooth) is how every font is drawn anyway.
// Null (and no entry kept) when the file cannot be loaded, so a later call
// tries again.
FontPtr loadSharedFont(const std::string& path, int size, int style = 0);
// Fonts held now (for tests).
size_t sharedFontCount();
void clearSharedFonts();
