// A named image font declared by a GUI script (FONT) or made by code.
#pragma once

#include <list>
#include <memory>
#include <string>

#include "platform/Services.h"

class TRGMFont {
public:
    std::string _id;
    std::string path;
    int size = 12;
    int style = 4;  // 4 = smooth; the backend decides what it makes of it
    FontPtr font;
};
using TRGMFontPtr = std::shared_ptr<TRGMFont>;

// Fonts made without a GUI script; menu bars look their sub-menu fonts up here.
extern std::list<TRGMFontPtr> fontList;

// Loads a font through the shared font loader and appends it to fontList.
// Null when the file gives no font.
TRGMFontPtr createFont(const std::string& name, const std::string& path, int size, int style = 4);
// First font of that name (case-blind) in a list, or null.
TRGMFontPtr findFont(const std::list<TRGMFontPtr>& list, const std::string& name);
