#include "platform/sdl/TX11WindowWatch.h"

#include <SDL_syswm.h>

#include <atomic>

#if defined(SDL_VIDEO_DRIVER_X11) && defined(BRIMBLE_HAVE_X11)
#include <X11/Xlib.h>
#define BRIMBLE_X11_WATCH 1
#endif

namespace {

std::atomic<bool> g_gone{false};

#ifdef BRIMBLE_X11_WATCH
Window g_window = 0;
SDL_Window* g_sdlWindow = nullptr;

// The X window behind the SDL window now (SDL may replace it, e.g. when a
// renderer needs another visual).
Window currentXWindow() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!g_sdlWindow || !SDL_GetWindowWMInfo(g_sdlWindow, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    return info.info.x11.window;
}
int (*g_previous)(Display*, XErrorEvent*) = nullptr;

// Drawing into (or asking about) a window that has been destroyed gives
// BadWindow, BadDrawable or BadMatch errors naming it; they mean "closed".
// Every other error goes on to the handler that was there before.
int onXError(Display* display, XErrorEvent* e) {
    if (g_window != 0 && e->resourceid == g_window &&
        (e->error_code == BadWindow || e->error_code == BadDrawable || e->error_code == BadMatch)) {
        g_gone = true;
        return 0;
    }
    return g_previous ? g_previous(display, e) : 0;
}
#endif

}  // namespace

void TX11WindowWatch::watch(SDL_Window* window) {
#ifdef BRIMBLE_X11_WATCH
    g_sdlWindow = window;
    g_window = currentXWindow();
    if (g_window == 0) return;
    static bool installed = false;
    if (!installed) {
        installed = true;
        g_previous = XSetErrorHandler(onXError);
    }
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
#else
    (void)window;
#endif
}

void TX11WindowWatch::handleEvent(const SDL_Event& ev) {
#ifdef BRIMBLE_X11_WATCH
    if (ev.type != SDL_SYSWMEVENT || !ev.syswm.msg || ev.syswm.msg->subsystem != SDL_SYSWM_X11) return;
    const XEvent& x = ev.syswm.msg->msg.x11.event;
    if (x.type != DestroyNotify || g_window == 0) return;
    g_window = currentXWindow();
    if (x.xdestroywindow.window == g_window) g_gone = true;
#else
    (void)ev;
#endif
}

bool TX11WindowWatch::windowGone() {
    return g_gone;
}
