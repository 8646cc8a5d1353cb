// A window theme: a nine-slice picture for frames plus the colours of menus
// and lists drawn with it. The file format is described in TTheme.cpp.
#pragma once

#include <list>
#include <memory>
#include <string>

#include "platform/Services.h"
#include "data/TRGB.h"

class TTheme {
public:
    std::string _id;  // upper case
    std::string path;
    ImagePtr _img;
    int left = 8, top = 8, right = 8, bottom = 8;  // slice borders of the picture
    TRGB fill{240, 236, 224};
    TRGB edge{90, 70, 50};
    TRGB text{40, 30, 20};
    TRGB highlight{255, 214, 120};
    TRGB bar{226, 216, 196};
    int loaded = 0;  // the file was read

    // Reads the theme file; 0 when the file is missing (defaults stay).
    int load(const std::string& file);
    // A frame at x, y of w x h in the current colour and alpha: the nine-slice
    // picture, or without one a filled box with a one-pixel edge.
    void drawFrame(float x, float y, float w, float h) const;
    // A filled box in one of the theme's colours, tinted by the current colour.
    void drawBox(float x, float y, float w, float h, const TRGB& c) const;
};
using TThemePtr = std::shared_ptr<TTheme>;

// Every theme ever created, and the most recent one.
extern std::list<TThemePtr> themeList;
extern TThemePtr lastTheme;

// Creates a theme from a file, appends it to themeList and makes it lastTheme.
TThemePtr createTheme(const std::string& name, const std::string& file);
// First theme of that name (case-blind) in a list, or null.
TThemePtr findTheme(const std::list<TThemePtr>& list, const std::string& name);
// In themeList.
TThemePtr findTheme(const std::string& name);
