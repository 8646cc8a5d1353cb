// shotcheck [--size WxH] [--min-colours N] FILE.png...
// Exit 0 when every file is a PNG of that size (default 1024x768), fully
// opaque and showing at least N distinct colours (default 2); otherwise
// prints what is wrong and exits 1.
//
// shotcheck --contrast FILE.png X,Y,W,H BX,BY,BW,BH [MIN] [NAME]
// Measures how readable a text is: the first rectangle is drawn tightly
// around the text, the second covers only what lies behind it. Prints the
// contrast ratio (WCAG relative luminance) and exits 1 when it is below MIN
// (default 4.5). A text with a halo is judged by the fill of its letters.
//
// shotcheck --same|--differ A.png B.png X,Y,W,H [NAME]
// Compares one rectangle of two screenshots pixel by pixel: --same exits 1
// when any pixel differs, --differ when none does. Prints how many differ.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/Services.h"
#include "platform/sdl/SdlBackend.h"

namespace {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

bool parseRect(const char* text, Rect& r) {
    return std::sscanf(text, "%d,%d,%d,%d", &r.x, &r.y, &r.w, &r.h) == 4 && r.w > 0 && r.h > 0;
}

double channel(int v) {
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

struct Pixel {
    double lum;  // relative luminance
    int key;     // the colour, 4 bits a channel
    bool operator<(const Pixel& o) const { return lum < o.lum; }
};

// The pixels of a rectangle (clipped to the picture), darkest first.
std::vector<Pixel> pixels(const TPixmap& p, const Rect& r) {
    std::vector<Pixel> out;
    for (int y = std::max(0, r.y); y < std::min(p.height, r.y + r.h); ++y)
        for (int x = std::max(0, r.x); x < std::min(p.width, r.x + r.w); ++x) {
            const size_t k = (static_cast<size_t>(y) * p.width + x) * 4;
            const int cr = p.pixels[k], cg = p.pixels[k + 1], cb = p.pixels[k + 2];
            out.push_back({0.2126 * channel(cr) + 0.7152 * channel(cg) + 0.0722 * channel(cb),
                           ((cr >> 4) << 8) | ((cg >> 4) << 4) | (cb >> 4)});
        }
    std::sort(out.begin(), out.end());
    return out;
}

double ratio(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The background is the median of its rectangle. The ink is every pixel of
// the text rectangle that stands out from the background by a ratio of at
// least 1.2 (fainter pixels are the anti-aliased fringe) and whose colour is
// not common in the background rectangle. The text's colour is the commonest
// colour of the ink: letters are filled with one colour while their edges
// spread over many, so a text is judged by its fill. (A fill too close to the
// background to count as ink leaves only its outline, if it has one.)
int contrastMain(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: shotcheck --contrast FILE.png X,Y,W,H BX,BY,BW,BH [MIN] [NAME]\n");
        return 2;
    }
    Rect text, back;
    if (!parseRect(argv[3], text) || !parseRect(argv[4], back)) {
        std::fprintf(stderr, "shotcheck: bad rectangle (want X,Y,W,H)\n");
        return 2;
    }
    const double minRatio = argc > 5 ? std::atof(argv[5]) : 4.5;
    const std::string name = argc > 6 ? argv[6] : argv[3];
    TPixmap p = LoadPixmap(argv[2]);
    if (p.width == 0) {
        std::printf("%s cannot be read as a picture\n", argv[2]);
        return 1;
    }
    const std::vector<Pixel> t = pixels(p, text), b = pixels(p, back);
    if (t.empty() || b.empty()) {
        std::printf("%s: a rectangle lies outside the picture\n", name.c_str());
        return 1;
    }
    const double bg = b[b.size() / 2].lum;
    // Colours that cover at least 1% of the background rectangle are
    // background wherever they appear (gradients, paper grain).
    std::map<int, size_t> backColours;
    for (const Pixel& px : b) ++backColours[px.key];
    std::map<int, std::pair<int, double>> ink;  // colour -> count, summed luminance
    size_t inkCount = 0;
    for (const Pixel& px : t) {
        auto bc = backColours.find(px.key);
        if (bc != backColours.end() && bc->second * 100 >= b.size()) continue;
        if (ratio(px.lum, bg) >= 1.2) {
            auto& e = ink[px.key];
            e.first += 1;
            e.second += px.lum;
            ++inkCount;
        }
    }
    double best = 1.0;  // too little ink to be a text: nothing stands out
    if (inkCount * 50 >= t.size()) {
        auto top = ink.begin();
        for (auto it = ink.begin(); it != ink.end(); ++it)
            if (it->second.first > top->second.first) top = it;
        // A letter drawn with a halo has two fills, the letter's and the
        // halo's, and the halo may well be the commoner: of the colours
        // nearly as common as the commonest, the one that stands out most
        // is the letter.
        for (auto it = ink.begin(); it != ink.end(); ++it)
            if (it->second.first * 3 >= top->second.first)
                best = std::max(best, ratio(it->second.second / it->second.first, bg));
    }
    const bool ok = best >= minRatio;
    std::printf("contrast %s: %.2f:1 (min %.2f) %s\n", name.c_str(), best, minRatio, ok ? "ok" : "TOO LOW");
    return ok ? 0 : 1;
}

int compareMain(int argc, char** argv, bool wantSame) {
    Rect r;
    if (argc < 5 || !parseRect(argv[4], r)) {
        std::fprintf(stderr, "usage: shotcheck --same|--differ A.png B.png X,Y,W,H [NAME]\n");
        return 2;
    }
    const std::string name = argc > 5 ? argv[5] : argv[4];
    const TPixmap a = LoadPixmap(argv[2]), b = LoadPixmap(argv[3]);
    if (a.width == 0 || b.width == 0 || a.width != b.width || a.height != b.height) {
        std::printf("%s: the two pictures cannot be read or differ in size\n", name.c_str());
        return 1;
    }
    if (r.x < 0 || r.y < 0 || r.x + r.w > a.width || r.y + r.h > a.height) {
        std::printf("%s: the rectangle lies outside the pictures\n", name.c_str());
        return 1;
    }
    long differing = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) {
            const size_t k = (static_cast<size_t>(y) * a.width + x) * 4;
            if (!std::equal(&a.pixels[k], &a.pixels[k] + 3, &b.pixels[k])) ++differing;
        }
    const bool ok = wantSame ? differing == 0 : differing > 0;
    std::printf("%s: %ld of %ld pixels differ (want %s) %s\n", name.c_str(), differing,
                static_cast<long>(r.w) * r.h, wantSame ? "none" : "some", ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (std::string(argv[1]) == "--same" || std::string(argv[1]) == "--differ")) {
        InstallBackend(MakeHeadlessBackend());
        const int rc = compareMain(argc, argv, std::string(argv[1]) == "--same");
        InstallBackend(nullptr);
        return rc;
    }
    if (argc > 1 && std::string(argv[1]) == "--contrast") {
        InstallBackend(MakeHeadlessBackend());
        const int rc = contrastMain(argc, argv);
        InstallBackend(nullptr);
        return rc;
    }
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
