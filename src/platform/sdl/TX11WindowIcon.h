// The window's icon in every size on X11. SDL hands the window manager one
// picture; _NET_WM_ICON can carry several, so a task bar, an Alt+Tab switcher
// and a title bar each take the size drawn for them instead of a scaled one.
// Without X11 (another video driver, another system) it does nothing.
#pragma once

#include <SDL.h>

#include <vector>

#include "platform/Services.h"

class TX11WindowIcon {
public:
    // Replaces the window's _NET_WM_ICON with all the pictures; true when done.
    static bool set(SDL_Window* window, const std::vector<TPixmap>& sizes);
};
