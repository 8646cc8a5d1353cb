// The jigsaw cutter (tools/jigsawcut): pieces cover the picture exactly once,
// each shows the picture at its place, neighbour lists are symmetric, every
// piece fits on the board, knobs interlock, pictures too large for the board
// are refused, the same input gives the same bytes, and the puzzle file reads
// back the way the game loads a puzzle.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "JigsawCutter.h"
#include "JigsawPuzzleFile.h"
#include "JigsawVerifier.h"
#include "RgbaImage.h"
#include "data/TRCMFile.h"

namespace fs = std::filesystem;

namespace {

const std::string kCutter = std::string(BRIMBLE_BINARY_DIR) + "/jigsawcut";

std::string scratch() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path d = fs::path(BRIMBLE_BINARY_DIR) / "test_jigsawcut_tmp" /
                       (std::string(info->test_suite_name()) + "_" + info->name());
    fs::remove_all(d);
    fs::create_directories(d);
    return d.string();
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs a command; its exit status, and its stderr in err.
int run(const std::string& cmd, std::string* err = nullptr) {
    const std::string e = std::string(BRIMBLE_BINARY_DIR) + "/test_jigsawcut_tmp/stderr.txt";
    const int rc = std::system((cmd + " >/dev/null 2>" + e).c_str());
    if (err) *err = slurp(e);
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

// Noise in every channel, kept away from 0 and 255 so that both a lighter and
// a darker bevel show: a piece shown one pixel off its place cannot match.
RgbaImage pattern(int w, int h) {
    RgbaImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t v = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u;
            v ^= v >> 13;
            v *= 0x5bd1e995u;
            v ^= v >> 15;
            uint8_t* p = img.at(x, y);
            p[0] = uint8_t(40 + v % 176);
            p[1] = uint8_t(40 + (v >> 8) % 176);
            p[2] = uint8_t(40 + (v >> 16) % 176);
            p[3] = 255;
        }
    return img;
}

struct Grid {
    int w, h, rows, cols;
};

// The grids of the campaign's stages on their 480 x 480 pictures, and a few
// odd shapes: not square, sizes that do not divide evenly, the largest
// picture the board takes, the fewest pieces.
const Grid kGrids[] = {
    {480, 480, 3, 4}, {480, 480, 4, 4}, {480, 480, 4, 5}, {480, 480, 4, 6},
    {480, 480, 5, 5}, {480, 480, 5, 6}, {480, 480, 6, 6}, {480, 480, 6, 7},
    {500, 500, 7, 7}, {317, 203, 3, 5}, {60, 200, 1, 2},  {200, 60, 2, 1},
};

class CutGrid : public ::testing::TestWithParam<Grid> {};

TEST_P(CutGrid, PiecesTileThePictureAtTheirPlaces) {
    const Grid g = GetParam();
    const RgbaImage pic = pattern(g.w, g.h);
    JigsawCutter cutter;
    cutter.rows = g.rows;
    cutter.cols = g.cols;
    cutter.seed = 11;
    std::vector<JigsawPiece> pieces;
    std::string err;
    ASSERT_TRUE(cutter.cut(pic, pieces, err)) << err;
    ASSERT_EQ(pieces.size(), size_t(g.rows * g.cols));

    std::vector<int> sum(size_t(g.w) * g.h, 0);
    for (size_t i = 0; i < pieces.size(); ++i) {
        const JigsawPiece& p = pieces[i];
        SCOPED_TRACE("piece " + std::to_string(p.id));
        EXPECT_EQ(p.id, int(i) + 1);
        // Inside the picture, so inside the board when the picture is.
        ASSERT_GE(p.x, 0);
        ASSERT_GE(p.y, 0);
        ASSERT_LE(p.x + p.img.w, g.w);
        ASSERT_LE(p.y + p.img.h, g.h);

        const int reach = JigsawCutter::kBevelReach;
        auto opaque = [&p](int x, int y) {
            return x >= 0 && y >= 0 && x < p.img.w && y < p.img.h && p.img.at(x, y)[3] == 255;
        };
        long shown = 0, untouched = 0, bevelled = 0, badBevel = 0, wrongInside = 0;
        for (int y = 0; y < p.img.h; ++y) {
            for (int x = 0; x < p.img.w; ++x) {
                const uint8_t* q = p.img.at(x, y);
                sum[size_t(p.y + y) * g.w + p.x + x] += q[3];
                if (!q[3]) continue;
                ++shown;
                const uint8_t* s = pic.at(p.x + x, p.y + y);
                bool inside = true;
                for (int dy = -reach; dy <= reach && inside; ++dy)
                    for (int dx = -reach; dx <= reach && inside; ++dx) inside = opaque(x + dx, y + dy);
                if (inside) {
                    ++untouched;
                    if (q[0] != s[0] || q[1] != s[1] || q[2] != s[2]) ++wrongInside;
                    continue;
                }
                // Near the cut the source is lightened toward white or
                // darkened toward black, never shifted in hue.
                bool lighter = true, darker = true;
                for (int c = 0; c < 3; ++c) {
                    lighter = lighter && q[c] >= s[c] && q[c] - s[c] <= (255 - s[c]) / 2 + 1;
                    darker = darker && q[c] <= s[c] && s[c] - q[c] <= s[c] / 2 + 1;
                }
                if (!lighter && !darker) ++badBevel;
                if (q[0] != s[0] || q[1] != s[1] || q[2] != s[2]) ++bevelled;
            }
        }
        EXPECT_EQ(wrongInside, 0);
        EXPECT_EQ(badBevel, 0);
        EXPECT_GT(bevelled, 0) << "no bevel along the cut";
        if (std::min(g.w / g.cols, g.h / g.rows) >= 40) {
            EXPECT_GT(untouched * 4, shown) << "too little of the piece keeps the picture";
        }
    }
    // Every pixel is covered once: the alphas of all pieces add up to one
    // full pixel, give or take the rounding of the anti-aliased edges.
    long gaps = 0, overlaps = 0;
    for (int v : sum) {
        gaps += v < 253;
        overlaps += v > 257;
    }
    EXPECT_EQ(gaps, 0);
    EXPECT_EQ(overlaps, 0);
}

TEST_P(CutGrid, NeighboursAreTheSymmetricEdgeSharers) {
    const Grid g = GetParam();
    JigsawCutter cutter;
    cutter.rows = g.rows;
    cutter.cols = g.cols;
    std::vector<JigsawPiece> pieces;
    std::string err;
    ASSERT_TRUE(cutter.cut(pattern(g.w, g.h), pieces, err)) << err;
    size_t links = 0;
    for (const JigsawPiece& p : pieces) {
        EXPECT_TRUE(std::is_sorted(p.neighbours.begin(), p.neighbours.end()));
        for (int n : p.neighbours) {
            ASSERT_GE(n, 1);
            ASSERT_LE(n, int(pieces.size()));
            const JigsawPiece& q = pieces[size_t(n - 1)];
            EXPECT_EQ(std::abs(p.row - q.row) + std::abs(p.col - q.col), 1) << p.id << " - " << n;
            EXPECT_EQ(std::count(q.neighbours.begin(), q.neighbours.end(), p.id), 1) << p.id << " - " << n;
        }
        links += p.neighbours.size();
    }
    EXPECT_EQ(links, size_t(2 * (g.rows * (g.cols - 1) + g.cols * (g.rows - 1))));
}

// Across every inner edge one of the two pieces reaches well into the other's
// cell (its knob), so pieces interlock instead of meeting on straight lines.
TEST_P(CutGrid, EveryInnerEdgeHasAKnob) {
    const Grid g = GetParam();
    JigsawCutter cutter;
    cutter.rows = g.rows;
    cutter.cols = g.cols;
    cutter.seed = 5;
    std::vector<JigsawPiece> pieces;
    std::string err;
    ASSERT_TRUE(cutter.cut(pattern(g.w, g.h), pieces, err)) << err;
    const double cw = double(g.w) / g.cols, ch = double(g.h) / g.rows, reach = 0.15 * std::min(cw, ch);
    // Knobs out of the left or upper piece and out of the right or lower
    // one, for the edges between columns [0] and between rows [1].
    int plus[2] = {0, 0}, minus[2] = {0, 0};
    for (const JigsawPiece& a : pieces) {
        if (a.col + 1 < g.cols) {
            const JigsawPiece& b = pieces[size_t(a.id)];
            const double line = (a.col + 1) * cw;
            const bool aOut = a.x + a.img.w > line + reach, bOut = b.x < line - reach;
            EXPECT_NE(aOut, bOut) << "edge between " << a.id << " and " << b.id;
            (aOut ? plus : minus)[0]++;
        }
        if (a.row + 1 < g.rows) {
            const JigsawPiece& b = pieces[size_t(a.id - 1 + g.cols)];
            const double line = (a.row + 1) * ch;
            const bool aOut = a.y + a.img.h > line + reach, bOut = b.y < line - reach;
            EXPECT_NE(aOut, bOut) << "edge between " << a.id << " and " << b.id;
            (aOut ? plus : minus)[1]++;
        }
    }
    // With enough edges both ways, knobs point both ways.
    for (int o = 0; o < 2; ++o) {
        if (plus[o] + minus[o] >= 8) {
            EXPECT_GT(plus[o], 0) << (o ? "between rows" : "between columns");
            EXPECT_GT(minus[o], 0) << (o ? "between rows" : "between columns");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Grids, CutGrid, ::testing::ValuesIn(kGrids), [](const auto& info) {
    const Grid& g = info.param;
    return std::to_string(g.w) + "x" + std::to_string(g.h) + "_" + std::to_string(g.rows) + "by" +
           std::to_string(g.cols);
});

TEST(JigsawCutter, RefusesPicturesAndGridsThatDoNotFit) {
    struct Case {
        int w, h, rows, cols;
        const char* reason;
    } cases[] = {
        {501, 480, 3, 4, "does not fit the 500 x 500 jigsaw board"},
        {480, 501, 3, 4, "does not fit the 500 x 500 jigsaw board"},
        {900, 700, 6, 7, "does not fit the 500 x 500 jigsaw board"},
        {0, 0, 3, 4, "empty"},
        {480, 480, 1, 1, "at least 2 pieces"},
        {480, 480, 0, 4, "at least 2 pieces"},
        {480, 480, 4, -1, "at least 2 pieces"},
        {480, 480, 3, 21, "smaller than 24 pixels"},
        {480, 100, 5, 2, "smaller than 24 pixels"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " grid " + std::to_string(c.rows) +
                     "x" + std::to_string(c.cols));
        JigsawCutter cutter;
        cutter.rows = c.rows;
        cutter.cols = c.cols;
        std::vector<JigsawPiece> pieces;
        std::string err;
        EXPECT_FALSE(cutter.cut(c.w > 0 ? pattern(c.w, c.h) : RgbaImage(), pieces, err));
        EXPECT_NE(err.find(c.reason), std::string::npos) << err;
        EXPECT_TRUE(pieces.empty());
    }
}

// The seed picks knob directions and shapes; the same seed the same pieces.
TEST(JigsawCutter, SeedDecidesTheCut) {
    const RgbaImage pic = pattern(480, 480);
    auto cut = [&pic](uint64_t seed) {
        JigsawCutter cutter;
        cutter.rows = 4;
        cutter.cols = 5;
        cutter.seed = seed;
        std::vector<JigsawPiece> pieces;
        std::string err;
        EXPECT_TRUE(cutter.cut(pic, pieces, err));
        return pieces;
    };
    const auto a = cut(3), b = cut(3), c = cut(4);
    int differ = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].img.px, b[i].img.px);
        EXPECT_EQ(a[i].x, b[i].x);
        differ += a[i].img.px != c[i].img.px;
    }
    EXPECT_GT(differ, int(a.size()) / 2);
}

class CutterProgram : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override { dir = scratch(); }
    std::string cutCommand(const std::string& picture, const std::string& grid, const std::string& out,
                           const std::string& extra = "") const {
        return kCutter + " cut --picture " + picture + " --grid " + grid + " --pieces " + out +
               "/gfx/puzzle/stage07 --url gfx/puzzle/stage07 --puzzle " + out + "/data/puzzles/stage07.dat" +
               extra;
    }
};

TEST_F(CutterProgram, SameInputGivesTheSameBytes) {
    std::string err;
    ASSERT_TRUE(pattern(480, 480).savePng(dir + "/pic.png", err)) << err;
    for (const char* out : {"/a", "/b"})
        ASSERT_EQ(run(cutCommand(dir + "/pic.png", "4x6", dir + out, " --seed 9")), 0);
    ASSERT_EQ(run(cutCommand(dir + "/pic.png", "4x6", dir + "/c", " --seed 10")), 0);
    std::vector<std::string> files = {"data/puzzles/stage07.dat"};
    for (int id = 1; id <= 24; ++id)
        files.push_back("gfx/puzzle/stage07/" + JigsawPuzzleFile::pieceFileName(id));
    int differ = 0;
    for (const std::string& f : files) {
        const std::string a = slurp(dir + "/a/" + f);
        ASSERT_FALSE(a.empty()) << f;
        EXPECT_EQ(a, slurp(dir + "/b/" + f)) << f;
        differ += a != slurp(dir + "/c/" + f);
    }
    EXPECT_GT(differ, 12) << "another seed should cut differently";
}

TEST_F(CutterProgram, RefusesAPictureTooLargeForTheBoard) {
    std::string err;
    ASSERT_TRUE(pattern(640, 480).savePng(dir + "/wide.png", err)) << err;
    EXPECT_EQ(run(cutCommand(dir + "/wide.png", "4x4", dir + "/out"), &err), 1);
    EXPECT_NE(err.find("640 x 480"), std::string::npos) << err;
    EXPECT_NE(err.find("does not fit the 500 x 500 jigsaw board"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir + "/out/data/puzzles/stage07.dat"));
    EXPECT_FALSE(fs::exists(dir + "/out/gfx/puzzle/stage07/piece01.png"));

    // Not a picture at all, a grid that is no grid, a missing argument.
    std::ofstream(dir + "/text.png") << "not a png";
    EXPECT_EQ(run(cutCommand(dir + "/text.png", "4x4", dir + "/out"), &err), 1);
    EXPECT_NE(err.find("text.png"), std::string::npos) << err;
    ASSERT_TRUE(pattern(480, 480).savePng(dir + "/pic.png", err)) << err;
    EXPECT_EQ(run(cutCommand(dir + "/pic.png", "4 by 4", dir + "/out")), 2);
    EXPECT_EQ(run(kCutter + " cut --picture " + dir + "/pic.png --grid 3x4"), 2);
}

TEST_F(CutterProgram, RecuttingIntoFewerPiecesRemovesTheOldOnes) {
    std::string err;
    ASSERT_TRUE(pattern(480, 480).savePng(dir + "/pic.png", err)) << err;
    ASSERT_EQ(run(cutCommand(dir + "/pic.png", "6x7", dir)), 0);
    ASSERT_TRUE(fs::exists(dir + "/gfx/puzzle/stage07/piece42.png"));
    ASSERT_EQ(run(cutCommand(dir + "/pic.png", "3x4", dir)), 0);
    EXPECT_TRUE(fs::exists(dir + "/gfx/puzzle/stage07/piece12.png"));
    EXPECT_FALSE(fs::exists(dir + "/gfx/puzzle/stage07/piece13.png"));
    EXPECT_FALSE(fs::exists(dir + "/gfx/puzzle/stage07/piece42.png"));
}

// The file as the game reads a puzzle: the board corner, N pieces with id,
// picture, place, neighbours, screen position and owned flag in that order,
// then the list of loose pieces and groups.
TEST_F(CutterProgram, PuzzleFileLoadsAsTheGameReadsIt) {
    std::string err;
    const RgbaImage pic = pattern(480, 480);
    ASSERT_TRUE(pic.savePng(dir + "/pic.png", err)) << err;
    ASSERT_EQ(run(cutCommand(dir + "/pic.png", "3x4", dir, " --board 250,30")), 0);
    const std::string path = dir + "/data/puzzles/stage07.dat";

    // Key order, read off the raw text: groups open with "name {", entries
    // are "name = values".
    std::vector<std::string> keys, stack;
    std::istringstream text(slurp(path));
    for (std::string line; std::getline(text, line);) {
        line.erase(0, line.find_first_not_of('\t'));
        if (line.empty()) continue;
        if (line == "}") {
            stack.pop_back();
        } else if (line.size() > 2 && line.compare(line.size() - 2, 2, " {") == 0) {
            stack.push_back(line.substr(0, line.size() - 2));
        } else {
            std::string key;
            for (const std::string& s : stack) key += s + "::";
            keys.push_back(key + line.substr(0, line.find(" = ")));
        }
    }
    std::vector<std::string> expected = {"puzzles::st", "puzzles::i"};
    for (int k = 1; k <= 12; ++k)
        for (const char* e : {"id", "img", "ddim", "sasiedzi", "dim", "active"})
            expected.push_back("puzzles::p" + std::to_string(k) + "::" + e);
    expected.push_back("puzzles::puzzlesAndGroups::i");
    for (int j = 1; j <= 12; ++j)
        for (const char* e : {"typ", "id", "a"})
            expected.push_back("puzzles::puzzlesAndGroups::pog" + std::to_string(j) + "::" + e);
    EXPECT_EQ(keys, expected);
    EXPECT_NE(slurp(path).find("\tst = 250, 30\n"), std::string::npos);

    TRCMFile f;
    f.Load(path);
    ASSERT_TRUE(f._loaded);
    const int stx = int(f.getFloat("puzzles::st", 0)), sty = int(f.getFloat("puzzles::st", 1));
    EXPECT_EQ(stx, 250);
    EXPECT_EQ(sty, 30);
    const int n = int(f.getFloat("puzzles::i"));
    ASSERT_EQ(n, 12);
    std::set<int> ids;
    std::vector<std::set<int>> near(n + 1);
    std::vector<std::pair<int, int>> sizes;  // in file order
    for (int k = 1; k <= n; ++k) {
        SCOPED_TRACE("piece " + std::to_string(k));
        const std::string P = "puzzles::P" + std::to_string(k);  // names are read without regard to case
        const int id = int(f.getFloat(P + "::ID"));
        EXPECT_TRUE(ids.insert(id).second) << "id " << id << " twice";
        ASSERT_GE(id, 1);
        ASSERT_LE(id, n);
        EXPECT_EQ(f.getString(P + "::img"), "gfx/puzzle/stage07/" + JigsawPuzzleFile::pieceFileName(id));
        RgbaImage img;
        ASSERT_TRUE(img.loadPng(dir + "/" + f.getString(P + "::img"), err)) << err;
        sizes.push_back({img.w, img.h});
        const int dx = int(f.getFloat(P + "::ddim", 0)), dy = int(f.getFloat(P + "::ddim", 1));
        const int x = int(f.getFloat(P + "::dim", 0)), y = int(f.getFloat(P + "::dim", 1));
        // The solved picture lies centred on the board, every piece on it
        // by the game's own test (top-left within stx ... stx + 500 - w).
        EXPECT_EQ(x, stx + 10 + dx);
        EXPECT_EQ(y, sty + 10 + dy);
        EXPECT_GE(x, stx);
        EXPECT_LE(x, stx + 500 - img.w);
        EXPECT_GE(y, sty);
        EXPECT_LE(y, sty + 500 - img.h);
        // The picture at its place: an opaque pixel well inside matches.
        const int cx = img.w / 2, cy = img.h / 2;
        ASSERT_EQ(img.at(cx, cy)[3], 255);
        EXPECT_EQ(0, std::memcmp(img.at(cx, cy), pic.at(dx + cx, dy + cy), 3));
        std::istringstream list(f.getString(P + "::sasiedzi"));
        for (int m; list >> m;) near[size_t(id)].insert(m);
        EXPECT_FALSE(near[size_t(id)].empty());
        EXPECT_EQ(f.getFloat(P + "::active"), 0.0f);
    }
    EXPECT_EQ(ids.size(), size_t(n));
    // The game lays new pieces out with its bottom row at y = 760 - h and
    // its right column at x = 1000 - w, h and w those of the first listed
    // piece: no other piece listed first would leave less off the screen.
    auto overhang = [&sizes](std::pair<int, int> first) {
        int worst = 0;
        for (auto [w, h] : sizes)
            worst = std::max({worst, 760 - first.second + h - 768, 1000 - first.first + w - 1024});
        return worst;
    };
    for (auto size : sizes) EXPECT_LE(overhang(sizes[0]), overhang(size));
    for (int k = 1; k <= n; ++k)
        for (int m : near[size_t(k)]) {
            ASSERT_TRUE(ids.count(m)) << m;
            EXPECT_TRUE(near[size_t(m)].count(k)) << k << " lists " << m << " but not back";
        }
    ASSERT_EQ(int(f.getFloat("puzzles::puzzlesAndGroups::i")), n);
    std::set<int> loose;
    for (int j = 1; j <= n; ++j) {
        const std::string Q = "puzzles::puzzlesAndGroups::pog" + std::to_string(j);
        EXPECT_EQ(f.getString(Q + "::typ"), "PUZZLE");
        loose.insert(int(f.getFloat(Q + "::id")));
        EXPECT_EQ(f.getFloat(Q + "::a"), 0.0f);
    }
    EXPECT_EQ(loose, ids);
}

// A picture with see-through parts: each piece carries the picture's alpha
// at its place, so the pieces together give the picture's alpha back.
TEST_F(CutterProgram, TranslucentPictureKeepsItsAlpha) {
    std::string err;
    RgbaImage pic = pattern(400, 300);
    for (int y = 0; y < pic.h; ++y)
        for (int x = 0; x < pic.w; ++x)
            if (x > 100 && x < 260 && y > 50) pic.at(x, y)[3] = uint8_t((x * 3 + y) % 256);
    ASSERT_TRUE(pic.savePng(dir + "/pic.png", err)) << err;
    ASSERT_EQ(run(cutCommand(dir + "/pic.png", "3x5", dir)), 0);
    const std::vector<std::string> problems =
        JigsawVerifier::verify(dir + "/data/puzzles/stage07.dat", dir, dir + "/pic.png");
    for (const std::string& p : problems) ADD_FAILURE() << p;

    // And checked against the same picture made opaque, the gaps show.
    for (size_t i = 3; i < pic.px.size(); i += 4) pic.px[i] = 255;
    ASSERT_TRUE(pic.savePng(dir + "/opaque.png", err)) << err;
    std::string all;
    for (const std::string& p :
         JigsawVerifier::verify(dir + "/data/puzzles/stage07.dat", dir, dir + "/opaque.png"))
        all += p + "\n";
    EXPECT_NE(all.find("pixels of the picture are not covered"), std::string::npos) << all;
}

// The check the build runs on every stage's puzzle passes a fresh cut and
// catches each way a puzzle can go wrong.
TEST_F(CutterProgram, VerifyCatchesBrokenPuzzles) {
    std::string err;
    const RgbaImage pic = pattern(480, 480);
    ASSERT_TRUE(pic.savePng(dir + "/pic.png", err)) << err;
    RgbaImage other = pic;
    other.at(240, 240)[0] ^= 0x55;  // one pixel deep inside a piece
    ASSERT_TRUE(other.savePng(dir + "/other.png", err)) << err;
    const std::string puzzle = dir + "/data/puzzles/stage07.dat";
    const std::string pieces = dir + "/gfx/puzzle/stage07/";

    using Edit = void (*)(TRCMFile&);
    struct Case {
        const char* name;
        Edit edit;                // change to the puzzle file, if any
        const char* removePiece;  // piece picture to delete, if any
        const char* picture;      // picture to check against
        const char* expect;       // part of the report; empty: passes
    } cases[] = {
        {"fresh cut", nullptr, nullptr, "pic.png", ""},
        {"place moved",
         [](TRCMFile& f) {
             // The fifth listed piece is piece 4 or 5, in the upper two
             // rows, so three pixels down it stays inside the picture.
             f.setFloat("puzzles::p5::ddim", f.getInt("puzzles::p5::ddim", 1) + 3, 1);
             f.setFloat("puzzles::p5::dim", f.getInt("puzzles::p5::dim", 1) + 3, 1);
         },
         nullptr, "pic.png", "pixels differ from the picture at its place"},
        {"screen position off",
         [](TRCMFile& f) { f.setFloat("puzzles::p3::dim", f.getInt("puzzles::p3::dim", 1) + 1, 1); }, nullptr,
         "pic.png", "its screen position disagrees"},
        {"neighbour one way only",
         [](TRCMFile& f) {
             const std::string near = f.getString("puzzles::p4::sasiedzi");
             f.setString("puzzles::p4::sasiedzi", near.substr(near.find(' ') + 1));
         },
         nullptr, "pic.png", "but not the other way round"},
        {"unknown neighbour",
         [](TRCMFile& f) {
             f.setString("puzzles::p2::sasiedzi", f.getString("puzzles::p2::sasiedzi") + " 99");
         },
         nullptr, "pic.png", "lists 99: no such piece"},
        {"owned from the start", [](TRCMFile& f) { f.setFloat("puzzles::p1::active", 1); }, nullptr,
         "pic.png", ": owned from the start"},
        {"piece listed twice",
         [](TRCMFile& f) {
             f.setFloat("puzzles::puzzlesAndGroups::pog4::id",
                        f.getInt("puzzles::puzzlesAndGroups::pog5::id"));
         },
         nullptr, "pic.png", "is listed 2 times"},
        {"off the board", [](TRCMFile& f) { f.setFloat("puzzles::st", 400, 0); }, nullptr, "pic.png",
         "not on the board"},
        {"picture missing", nullptr, "piece07.png", "pic.png", "pixels of the picture are not covered"},
        {"another picture", nullptr, nullptr, "other.png", "pixels differ from the picture at its place"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(run(cutCommand(dir + "/pic.png", "3x4", dir)), 0);
        if (c.edit) {
            TRCMFile f;
            f.Load(puzzle);
            c.edit(f);
            ASSERT_TRUE(f.save(puzzle));
        }
        if (c.removePiece) fs::remove(pieces + c.removePiece);
        const std::vector<std::string> problems = JigsawVerifier::verify(puzzle, dir, dir + "/" + c.picture);
        std::string all;
        for (const std::string& p : problems) all += p + "\n";
        const int rc = run(
            kCutter + " verify --puzzle " + puzzle + " --data " + dir + " --picture " + dir + "/" + c.picture,
            &err);
        if (!*c.expect) {
            EXPECT_TRUE(problems.empty()) << all;
            EXPECT_EQ(rc, 0) << err;
        } else {
            EXPECT_NE(all.find(c.expect), std::string::npos) << all;
            EXPECT_EQ(rc, 1);
            EXPECT_NE(err.find(c.expect), std::string::npos) << err;
        }
    }
}

}  // namespace
