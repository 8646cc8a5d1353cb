#include "JigsawPreview.h"

#include <algorithm>
#include <vector>

#include "data/TRCMFile.h"

namespace {

struct Placed {
    RgbaImage img;
    int dx = 0, dy = 0;  // place in the solved picture
    int x = 0, y = 0;    // where it is drawn
};

void fill(RgbaImage& img, int x0, int y0, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    for (int y = std::max(0, y0); y < std::min(img.h, y0 + h); ++y)
        for (int x = std::max(0, x0); x < std::min(img.w, x0 + w); ++x) {
            uint8_t* d = img.at(x, y);
            d[0] = r, d[1] = g, d[2] = b, d[3] = 255;
        }
}

void blend(RgbaImage& dst, const RgbaImage& src, int ox, int oy) {
    for (int y = 0; y < src.h; ++y) {
        if (oy + y < 0 || oy + y >= dst.h) continue;
        for (int x = 0; x < src.w; ++x) {
            if (ox + x < 0 || ox + x >= dst.w) continue;
            const uint8_t* s = src.at(x, y);
            uint8_t* d = dst.at(ox + x, oy + y);
            const int a = s[3];
            for (int c = 0; c < 3; ++c) d[c] = uint8_t((s[c] * a + d[c] * (255 - a) + 127) / 255);
        }
    }
}

}  // namespace

bool JigsawPreview::render(const std::string& puzzleFile, const std::string& dataDir, Layout layout,
                           RgbaImage& out, std::string& err) {
    TRCMFile f;
    f.Load(puzzleFile);
    if (!f._loaded) {
        err = "cannot read " + puzzleFile;
        return false;
    }
    const int stx = f.getInt("puzzles::st", 0), sty = f.getInt("puzzles::st", 1);
    const int n = f.getInt("puzzles::i");
    std::vector<Placed> pieces;
    int picW = 0, picH = 0;
    for (int k = 1; k <= n; ++k) {
        const std::string P = "puzzles::p" + std::to_string(k);
        Placed p;
        const std::string img = dataDir + "/" + f.getString(P + "::img");
        if (!p.img.loadPng(img, err)) return false;
        p.dx = f.getInt(P + "::ddim", 0), p.dy = f.getInt(P + "::ddim", 1);
        p.x = f.getInt(P + "::dim", 0), p.y = f.getInt(P + "::dim", 1);
        picW = std::max(picW, p.dx + p.img.w);
        picH = std::max(picH, p.dy + p.img.h);
        pieces.push_back(std::move(p));
    }
    if (pieces.empty()) {
        err = puzzleFile + " has no pieces";
        return false;
    }

    out = RgbaImage(1024, 768);
    fill(out, 0, 0, 1024, 768, 44, 62, 80);
    fill(out, stx - 2, sty - 2, 504, 504, 214, 190, 140);
    fill(out, stx, sty, 500, 500, 70, 96, 118);

    if (layout == Layout::Apart) {
        // Spread from the picture's middle so a gap opens along every cut.
        const double spread = 1.22;
        for (Placed& p : pieces) {
            const double cx = p.dx + p.img.w / 2.0 - picW / 2.0, cy = p.dy + p.img.h / 2.0 - picH / 2.0;
            p.x = int(512 + cx * spread - p.img.w / 2.0);
            p.y = int(384 + cy * spread - p.img.h / 2.0);
        }
    } else if (layout == Layout::Scattered) {
        // Down the left edge, along the bottom, up the right edge, then
        // round again, each step three quarters of the first piece's size.
        const double w = pieces[0].img.w, h = pieces[0].img.h;
        double x = 10, y = 10;
        int phase = 0;
        for (Placed& p : pieces) {
            if (phase == 0) {
                y += 0.75 * h;
                if (y > 500) x = 190, y = 760 - h, phase = 1;
            } else if (phase == 1) {
                x += 0.75 * w;
                if (x > 900) x = 1000 - w, y = 760 - h, phase = 2;
            } else {
                y -= 0.75 * h;
                if (y >= h)
                    x = 1000 - w;
                else
                    x = 10, y = 10, phase = 0;
            }
            p.x = int(x), p.y = int(y);
        }
    }
    for (const Placed& p : pieces) blend(out, p.img, p.x, p.y);
    return true;
}
