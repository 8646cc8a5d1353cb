/* Preloaded by bench/startup.sh: prints the moment of the process's first
 * SDL_RenderPresent (the first frame on the window) as a start-stats line,
 * the same way for any build of the game. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <time.h>

void SDL_RenderPresent(void* renderer) {
    static void (*next)(void*) = 0;
    static int done = 0;
    if (!next) next = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
    next(renderer);
    if (!done) {
        struct timespec ts;
        done = 1;
        clock_gettime(CLOCK_REALTIME, &ts);
        fprintf(stderr, "start-stats first-present %lld\n", (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec);
    }
}
