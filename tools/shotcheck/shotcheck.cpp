// shotcheck [--size WxH] [--min-colours N] FILE.png...
// Exit 0 when every file is a PNG of that size (default 1024x768), fully
// opaque and showing at least N distinct colours (default 2); otherwise
// prints what is wrong and exits 1.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "platform/Backend.h"
#include "platform/Services.h"
#include "platform/sdl/SdlBackend.h"

int main(int argc, char** argv) {
    int wantW = 1024, wantH = 768, minColours = 2;
    int files = 0, bad = 0;
    InstallBackend(MakeHeadlessBackend());
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--size" && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &wantW, &wantH) != 2) {
                std::fprintf(stderr, "shotcheck: bad size %s\n", argv[i]);
                return 2;
            }
            continue;
        }
        if (a == "--min-colours" && i + 1 < argc) {
            minColours = std::atoi(argv[++i]);
            continue;
        }
        ++files;
        TPixmap p = LoadPixmap(a);
        std::string problem;
        if (p.width == 0) {
            problem = "cannot be read as a picture";
        } else if (p.width != wantW || p.height != wantH) {
            problem = "is " + std::to_string(p.width) + "x" + std::to_string(p.height) + ", not " +
                      std::to_string(wantW) + "x" + std::to_string(wantH);
        } else {
            std::set<uint32_t> colours;
            bool opaque = true;
            for (size_t k = 0; k + 3 < p.pixels.size(); k += 4) {
                if (p.pixels[k + 3] != 255) opaque = false;
                if (colours.size() < static_cast<size_t>(minColours))
                    colours.insert(p.pixels[k] | (p.pixels[k + 1] << 8) | (p.pixels[k + 2] << 16));
            }
            if (!opaque)
                problem = "has transparent pixels";
            else if (colours.size() < static_cast<size_t>(minColours))
                problem = "is blank (" + std::to_string(colours.size()) + " colour(s))";
        }
        if (!problem.empty()) {
            std::printf("%s %s\n", a.c_str(), problem.c_str());
            ++bad;
        }
    }
    InstallBackend(nullptr);
    if (files == 0) {
        std::fprintf(stderr, "usage: shotcheck [--size WxH] [--min-colours N] FILE.png...\n");
        return 2;
    }
    return bad == 0 ? 0 : 1;
}
