// art_jpeg IN.png OUT.jpg [QUALITY]: converts a rendered picture to JPEG.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: art_jpeg IN.png OUT.jpg [QUALITY]\n");
        return 2;
    }
    const int quality = argc > 3 ? std::atoi(argv[3]) : 90;
    if (IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG) == 0) {
        std::fprintf(stderr, "art_jpeg: SDL_image: %s\n", IMG_GetError());
        return 1;
    }
    SDL_Surface* in = IMG_Load(argv[1]);
    if (!in) {
        std::fprintf(stderr, "art_jpeg: cannot read %s: %s\n", argv[1], IMG_GetError());
        return 1;
    }
    // JPEG has no alpha: flatten onto black first, the way the game would show it.
    SDL_Surface* rgb = SDL_CreateRGBSurfaceWithFormat(0, in->w, in->h, 24, SDL_PIXELFORMAT_RGB24);
    int rc = 1;
    if (rgb && SDL_BlitSurface(in, nullptr, rgb, nullptr) == 0) {
        // The temporary keeps the .jpg ending so an interrupted build leaves nothing git shows.
        const std::string tmp = std::string(argv[2]) + ".part.jpg";
        if (IMG_SaveJPG(rgb, tmp.c_str(), quality) == 0 && std::rename(tmp.c_str(), argv[2]) == 0) {
            rc = 0;
        } else {
            std::fprintf(stderr, "art_jpeg: cannot write %s: %s\n", argv[2], IMG_GetError());
            std::remove(tmp.c_str());
        }
    }
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(in);
    IMG_Quit();
    return rc;
}
