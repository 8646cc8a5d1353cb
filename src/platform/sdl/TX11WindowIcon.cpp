#include "platform/sdl/TX11WindowIcon.h"

#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11) && defined(BRIMBLE_HAVE_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>

bool TX11WindowIcon::set(SDL_Window* window, const std::vector<TPixmap>& sizes) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || sizes.empty() || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    // Each picture: width, height, then its pixels as ARGB, each in a long
    // (Xlib's unit for 32-bit properties, whatever the size of a long).
    std::vector<unsigned long> data;
    for (const TPixmap& p : sizes) {
        data.push_back(static_cast<unsigned long>(p.width));
        data.push_back(static_cast<unsigned long>(p.height));
        for (size_t i = 0; i + 3 < p.pixels.size(); i += 4)
            data.push_back(static_cast<unsigned long>(p.pixels[i + 3]) << 24 |
                           static_cast<unsigned long>(p.pixels[i]) << 16 |
                           static_cast<unsigned long>(p.pixels[i + 1]) << 8 | p.pixels[i + 2]);
    }
    Display* display = info.info.x11.display;
    const Atom icon = XInternAtom(display, "_NET_WM_ICON", False);
    XChangeProperty(display, info.info.x11.window, icon, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
    XFlush(display);
    return true;
}
#else
bool TX11WindowIcon::set(SDL_Window*, const std::vector<TPixmap>&) {
    return false;
}
#endif
