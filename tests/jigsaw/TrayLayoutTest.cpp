// The bigger stages' pieces laid out round the board: each piece's middle
// (a box of the tray's step round its centre; a piece's picture less its
// tabs is about seven tenths of it) is on the screen, off the board and the
// sash, and no two middles overlap, so every piece can be seen and taken.
#include <gtest/gtest.h>

#include <cmath>

#include "JigsawFixture.h"
#include "jigsaw/TTrayLayout.h"

namespace {

struct Box {
    float x, y, w, h;
};

Box middle(float x, float y, float w, float h, float share) {
    return {x + w * (1 - share) / 2, y + h * (1 - share) / 2, w * share, h * share};
}

bool overlap(const Box& a, const Box& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// The piece sizes of the shipped stages with 30 to 42 pieces, and a few
// around them.
const struct {
    int count;
    float w, h;
} kStages[] = {{30, 122, 142}, {30, 127, 142}, {36, 105, 127},
               {42, 105, 121}, {42, 109, 122}, {25, 100, 100}};

TEST(TrayLayout, EveryPieceOfABigStageHasAPlaceOfItsOwn) {
    const Box board{262, 20, 500, 500}, sash{1024 - 262, 0, 262, 76};
    for (const auto& s : kStages) {
        SCOPED_TRACE(std::to_string(s.count) + " pieces of " + std::to_string(int(s.w)) + "x" +
                     std::to_string(int(s.h)));
        const TTrayLayout tray(s.w, s.h, board.x, board.y, board.w, s.count);
        ASSERT_GE(static_cast<int>(tray.places().size()), s.count);
        EXPECT_GE(tray.stepShare(), 0.7f);
        std::vector<Box> mids;
        for (int n = 0; n < s.count; ++n) {
            const auto [x, y] = tray.place(n);
            const Box m = middle(x, y, s.w, s.h, tray.stepShare());
            EXPECT_GE(m.x, 0);
            EXPECT_GE(m.y, 0);
            EXPECT_LE(m.x + m.w, 1024);
            EXPECT_LE(m.y + m.h, 768);
            EXPECT_FALSE(overlap(m, board)) << "piece " << n << " at " << x << "," << y;
            EXPECT_FALSE(overlap(m, sash)) << "piece " << n << " at " << x << "," << y;
            for (size_t k = 0; k < mids.size(); ++k)
                EXPECT_FALSE(overlap(m, mids[k])) << "pieces " << k << " and " << n;
            mids.push_back(m);
        }
    }
}

TEST(TrayLayout, PastItsLastPlaceThePlacesAreUsedAgainShifted) {
    const TTrayLayout tray(105, 121, 262, 20, 500, 1000);
    const int n = static_cast<int>(tray.places().size());
    ASSERT_GT(n, 0);
    EXPECT_FLOAT_EQ(tray.stepShare(), 0.7f);  // the closest step: the most places
    const auto first = tray.place(0), again = tray.place(n);
    EXPECT_NE(first, again);
    EXPECT_NEAR(again.first - first.first, 0.7f * 105 / 3, 0.01f);
    EXPECT_NEAR(again.second - first.second, 0.7f * 121 / 3, 0.01f);
}

// Opening the jigsaw screen with 42 pieces off the board: the walk round the
// edges would start again on top of the first pieces; instead every piece
// gets its own place.
TEST(LayoutOwned, FortyTwoPiecesAreLaidOutWithoutAPile) {
    std::vector<PieceSpec> specs;
    for (int k = 1; k <= 42; ++k) specs.push_back({k, 0, 0, {}});
    auto l = makeLevel(specs, 100);
    for (auto& p : l->allPuzzles) {
        p->w = 105;
        p->h = 121;
        place(p.get(), 0, 0);
    }
    l->allPuzzles.front()->w = 88;  // an edge piece first: smaller than the rest
    l->shufflePuzzlePositions2();
    for (size_t a = 0; a < l->allPuzzles.size(); ++a) {
        const auto& p = l->allPuzzles[a];
        const Box m = middle(p->dim.x, p->dim.y, 105, 121, 0.7f);
        EXPECT_FALSE(overlap(m, {262, 20, 500, 500})) << "piece " << p->id;
        for (size_t b = 0; b < a; ++b) {
            const auto& q = l->allPuzzles[b];
            EXPECT_FALSE(overlap(m, middle(q->dim.x, q->dim.y, 105, 121, 0.7f)))
                << "pieces " << q->id << " and " << p->id << " at " << p->dim.x << "," << p->dim.y;
        }
    }
}

// A small stage keeps the walk round the edges.
TEST(LayoutOwned, AFewPiecesStillFollowTheWalk) {
    std::vector<PieceSpec> specs;
    for (int k = 1; k <= 12; ++k) specs.push_back({k, 0, 0, {}});
    auto l = makeLevel(specs, 100);
    l->shufflePuzzlePositions2();
    TLayoutWalk walk(100, 100);
    for (auto& p : l->allPuzzles) {
        float x, y;
        walk.next(x, y);
        EXPECT_FLOAT_EQ(p->dim.x, x) << "piece " << p->id;
        EXPECT_FLOAT_EQ(p->dim.y, y) << "piece " << p->id;
    }
}

}  // namespace
