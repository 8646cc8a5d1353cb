// Notices when the window manager (or any X client) destroys the game's
// window outright instead of asking it to close: the game must then end as
// its close button ends it, with everything saved, not be killed by Xlib's
// default error handler on the next drawing into a window that is gone.
// Without X11 (another video driver, another system) it does nothing.
#pragma once

#include <SDL.h>

class TX11WindowWatch {
public:
    // Watches `window`: X errors about it no longer end the program, and its
    // destruction is remembered. SDL window-manager events are switched on,
    // so handleEvent can see the window's DestroyNotify.
    static void watch(SDL_Window* window);
    // Looks at one SDL event (the window-manager ones carry X events).
    static void handleEvent(const SDL_Event& ev);
    // The watched window has been destroyed (seen as an event or as an X
    // error naming it).
    static bool windowGone();
};
