#include "JigsawVerifier.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "JigsawCutter.h"
#include "RgbaImage.h"
#include "data/TRCMFile.h"

namespace {

struct Piece {
    int id = 0;
    std::string url;
    RgbaImage img;
    int dx = 0, dy = 0, x = 0, y = 0;
    std::vector<int> near;
};

// Pixels of img whose square of radius r lies wholly on opaque pixels
// (outside the picture counts as transparent), by a summed-area table.
std::vector<char> innerPixels(const RgbaImage& img, int r) {
    const int w = img.w, h = img.h;
    std::vector<int> sat(size_t(w + 1) * (h + 1), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            sat[size_t(y + 1) * (w + 1) + x + 1] =
                (img.at(x, y)[3] != 255) + sat[size_t(y) * (w + 1) + x + 1] +
                sat[size_t(y + 1) * (w + 1) + x] - sat[size_t(y) * (w + 1) + x];
    std::vector<char> inner(size_t(w) * h, 0);
    for (int y = r; y + r < h; ++y)
        for (int x = r; x + r < w; ++x) {
            const int x0 = x - r, y0 = y - r, x1 = x + r + 1, y1 = y + r + 1;
            const int holes = sat[size_t(y1) * (w + 1) + x1] - sat[size_t(y0) * (w + 1) + x1] -
                              sat[size_t(y1) * (w + 1) + x0] + sat[size_t(y0) * (w + 1) + x0];
            inner[size_t(y) * w + x] = holes == 0;
        }
    return inner;
}

}  // namespace

std::vector<std::string> JigsawVerifier::verify(const std::string& puzzleFile, const std::string& dataDir,
                                                const std::string& picturePath) {
    std::vector<std::string> problems;
    auto problem = [&problems](const std::string& s) { problems.push_back(s); };

    RgbaImage pic;
    std::string err;
    if (!pic.loadPng(picturePath, err)) return {err};
    if (pic.w > JigsawCutter::kBoardSize || pic.h > JigsawCutter::kBoardSize)
        problem("the picture does not fit the board");
    TRCMFile f;
    f.Load(puzzleFile);
    if (!f._loaded) return {"cannot read " + puzzleFile};
    const int stx = f.getInt("puzzles::st", 0), sty = f.getInt("puzzles::st", 1);
    const int n = f.getInt("puzzles::i");
    if (n < 2) return {"the puzzle has " + std::to_string(n) + " pieces"};

    std::vector<Piece> pieces;
    std::map<int, size_t> byId;
    for (int k = 1; k <= n; ++k) {
        const std::string P = "puzzles::p" + std::to_string(k);
        Piece p;
        p.id = f.getInt(P + "::id");
        const std::string name = "piece " + std::to_string(p.id);
        if (!f.hasEntry(P + "::id") || byId.count(p.id)) problem(P + ": missing or repeated id");
        byId[p.id] = pieces.size();
        p.url = f.getString(P + "::img");
        if (!p.img.loadPng(dataDir + "/" + p.url, err)) {
            problem(name + ": " + err);
            p.img = RgbaImage();
        }
        p.dx = f.getInt(P + "::ddim", 0), p.dy = f.getInt(P + "::ddim", 1);
        p.x = f.getInt(P + "::dim", 0), p.y = f.getInt(P + "::dim", 1);
        std::istringstream list(f.getString(P + "::sasiedzi"));
        for (std::string t; list >> t;) {
            try {
                p.near.push_back(std::stoi(t));
            } catch (...) {
                problem(name + ": neighbour list holds \"" + t + "\"");
            }
        }
        if (p.near.empty()) problem(name + ": no neighbours");
        if (f.getInt(P + "::active") != 0) problem(name + ": owned from the start");
        if (p.dx < 0 || p.dy < 0 || p.dx + p.img.w > pic.w || p.dy + p.img.h > pic.h)
            problem(name + ": reaches outside the picture");
        if (p.x < stx || p.x > stx + JigsawCutter::kBoardSize - p.img.w || p.y < sty ||
            p.y > sty + JigsawCutter::kBoardSize - p.img.h)
            problem(name + ": not on the board in the solved picture");
        pieces.push_back(std::move(p));
    }
    // Solved, the pieces keep their offsets in the picture.
    for (const Piece& p : pieces)
        if (p.x - p.dx != pieces[0].x - pieces[0].dx || p.y - p.dy != pieces[0].y - pieces[0].dy)
            problem("piece " + std::to_string(p.id) + ": its screen position disagrees with its place");

    for (const Piece& p : pieces)
        for (int m : p.near) {
            const std::string pair = std::to_string(p.id) + " lists " + std::to_string(m);
            auto it = byId.find(m);
            if (m == p.id)
                problem("piece " + pair + ": itself");
            else if (it == byId.end())
                problem("piece " + pair + ": no such piece");
            else if (std::count(pieces[it->second].near.begin(), pieces[it->second].near.end(), p.id) != 1)
                problem("piece " + pair + " but not the other way round");
        }

    std::vector<int> sum(size_t(pic.w) * pic.h, 0);
    for (const Piece& p : pieces) {
        if (!p.img.w) continue;
        if (p.dx < 0 || p.dy < 0 || p.dx + p.img.w > pic.w || p.dy + p.img.h > pic.h) continue;
        const std::vector<char> inner = innerPixels(p.img, JigsawCutter::kBevelReach);
        long wrong = 0, shown = 0;
        for (int y = 0; y < p.img.h; ++y)
            for (int x = 0; x < p.img.w; ++x) {
                const uint8_t* q = p.img.at(x, y);
                sum[size_t(p.dy + y) * pic.w + p.dx + x] += q[3];
                if (!q[3]) continue;
                ++shown;
                const uint8_t* s = pic.at(p.dx + x, p.dy + y);
                if (inner[size_t(y) * p.img.w + x]) {
                    wrong += q[0] != s[0] || q[1] != s[1] || q[2] != s[2];
                    continue;
                }
                bool lighter = true, darker = true;
                for (int c = 0; c < 3; ++c) {
                    lighter = lighter && q[c] >= s[c] && q[c] - s[c] <= (255 - s[c]) / 2 + 1;
                    darker = darker && q[c] <= s[c] && s[c] - q[c] <= s[c] / 2 + 1;
                }
                wrong += !lighter && !darker;
            }
        if (!shown) problem("piece " + std::to_string(p.id) + ": empty picture");
        if (wrong)
            problem("piece " + std::to_string(p.id) + ": " + std::to_string(wrong) +
                    " pixels differ from the picture at its place");
    }
    // Together the pieces give every pixel the picture's own alpha, give or
    // take the rounding of the anti-aliased edges.
    long gaps = 0, overlaps = 0;
    for (size_t i = 0; i < sum.size(); ++i) {
        const int a = pic.px[i * 4 + 3];
        gaps += sum[i] < a - 2;
        overlaps += sum[i] > a + 2;
    }
    if (gaps) problem(std::to_string(gaps) + " pixels of the picture are not covered");
    if (overlaps) problem(std::to_string(overlaps) + " pixels of the picture are covered twice");

    const int m = f.getInt("puzzles::puzzlesAndGroups::i");
    std::multiset<int> listed;
    for (int j = 1; j <= m; ++j) {
        const std::string Q = "puzzles::puzzlesAndGroups::pog" + std::to_string(j);
        std::string typ = f.getString(Q + "::typ");
        std::transform(typ.begin(), typ.end(), typ.begin(), ::toupper);
        if (typ == "GROUP") {
            std::istringstream list(f.getString(Q + "::grupa"));
            for (int id; list >> id;) listed.insert(id);
        } else {
            listed.insert(f.getInt(Q + "::id"));
        }
    }
    for (const Piece& p : pieces)
        if (listed.count(p.id) != 1)
            problem("piece " + std::to_string(p.id) + " is listed " + std::to_string(listed.count(p.id)) +
                    " times among the loose pieces and groups");
    if (listed.size() != pieces.size()) problem("the loose pieces and groups name unknown pieces");
    return problems;
}
