// Where loose pieces go: the walk round the screen edges, the lay-out of
// owned pieces when the screen opens, the fly-in curve and the random order.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "JigsawFixture.h"

namespace {

// With a 100 x 100 reference piece: down the left edge in steps of 75, along
// the bottom from x = 190, up the right edge from the corner, then round
// again from the top left.
TEST(LayoutWalk, GoesRoundTheEdgesAndWrapsToTheTopLeft) {
    TLayoutWalk walk(100, 100);
    std::vector<std::pair<float, float>> got;
    for (int i = 0; i < 27; ++i) {
        float x, y;
        walk.next(x, y);
        got.push_back({x, y});
    }
    const struct {
        int step;  // 1-based
        float x, y;
    } expect[] = {{1, 10, 85},    {6, 10, 460},   {7, 190, 660},  {8, 265, 660},
                  {16, 865, 660}, {17, 900, 660}, {18, 900, 585}, {24, 900, 135},
                  {25, 10, 10},   {26, 10, 85},   {27, 10, 160}};
    for (const auto& e : expect) {
        EXPECT_FLOAT_EQ(got[e.step - 1].first, e.x) << "step " << e.step;
        EXPECT_FLOAT_EQ(got[e.step - 1].second, e.y) << "step " << e.step;
    }
}

TEST(LayoutWalk, ShufflePositionsUsesTheFirstPieceForEveryStep) {
    std::vector<PieceSpec> specs;
    for (int k = 1; k <= 9; ++k) specs.push_back({k, 0, 0, {}});
    auto l = makeLevel(specs, 60);
    l->allPuzzles.front()->w = 100;  // the reference
    l->allPuzzles.front()->h = 200;
    l->shufflePuzzlePositions();
    // y: 160, 310, 460, then 610 > 500 -> bottom row at 760 - 200.
    const float ex[] = {10, 10, 10, 190, 265, 340, 415, 490, 565};
    const float ey[] = {160, 310, 460, 560, 560, 560, 560, 560, 560};
    for (int k = 0; k < 9; ++k) {
        EXPECT_FLOAT_EQ(l->allPuzzles[k]->dim.x, ex[k]) << "piece " << k + 1;
        EXPECT_FLOAT_EQ(l->allPuzzles[k]->dim.y, ey[k]) << "piece " << k + 1;
    }
}

// Owned loose pieces on the board keep their places (bounds included);
// the others take the walk's places in list order; unowned pieces and
// groups are left alone.
TEST(LayoutOwned, PiecesOnTheBoardStayOthersAreLaidOut) {
    std::vector<PieceSpec> specs;
    for (int k = 1; k <= 6; ++k) specs.push_back({k, 0, 0, {}});
    auto l = makeLevel(specs, 100);
    place(piece(l, 1), 662, 420);  // last on-board corner for 100 x 100
    place(piece(l, 2), 663, 420);  // one pixel too far right
    place(piece(l, 3), 262, 20);   // first on-board corner
    place(piece(l, 4), 262, 19);   // one pixel too high
    place(piece(l, 5), 0, 700);
    place(piece(l, 6), 500, 300);
    piece(l, 6)->aktywny = 0;
    l->shufflePuzzlePositions2();
    EXPECT_FLOAT_EQ(piece(l, 1)->dim.x, 662);
    EXPECT_FLOAT_EQ(piece(l, 3)->dim.y, 20);
    EXPECT_FLOAT_EQ(piece(l, 2)->dim.x, 10);
    EXPECT_FLOAT_EQ(piece(l, 2)->dim.y, 85);
    EXPECT_FLOAT_EQ(piece(l, 4)->dim.y, 160);
    EXPECT_FLOAT_EQ(piece(l, 5)->dim.y, 235);
    EXPECT_FLOAT_EQ(piece(l, 6)->dim.x, 500);  // not owned: untouched
}

// A new piece flies in from the screen corner away from its place, through
// the control point (start x, end y); on the centre lines the start stays.
TEST(LayoutOwned, NewPiecesStartFromTheOppositeCorner) {
    const struct {
        float x, y, sx, sy;
    } cases[] = {{300, 100, 1200, 800}, {600, 100, -200, 800}, {300, 400, 1200, -200}, {600, 400, -200, -200},
                 {512, 100, 0, 0},      {300, 384, 0, 0},      {512, 400, 0, 0}};
    for (const auto& c : cases) {
        auto l = makeLevel({{1, 0, 0, {}}}, 20);
        TPuzzle* p = piece(l, 1);
        place(p, c.x, c.y);
        p->nowy = 1;
        l->shufflePuzzlePositions2();
        EXPECT_FLOAT_EQ(p->x2, c.x);
        EXPECT_FLOAT_EQ(p->y2, c.y);
        EXPECT_FLOAT_EQ(p->x1, c.sx) << c.x << "," << c.y;
        EXPECT_FLOAT_EQ(p->y1, c.sy) << c.x << "," << c.y;
        EXPECT_FLOAT_EQ(p->mx, c.sx);
        EXPECT_FLOAT_EQ(p->my, c.y);
        EXPECT_FLOAT_EQ(p->dim.x, c.sx);  // put at the start of its curve
        EXPECT_GE(p->pSpeed, 0.01f);
        EXPECT_LE(p->pSpeed, 0.013f);
    }
}

TEST(FlyIn, RunsTheCurveToItsEndAndStops) {
    auto l = makeLevel({{1, 0, 0, {}}}, 20);
    TPuzzle* p = piece(l, 1);
    place(p, 300, 100);
    p->nowy = 1;
    l->shufflePuzzlePositions2();
    p->pSpeed = 0.01f;
    TPuzzleFrame f;
    int frames = 0;
    float lastX = p->dim.x;
    bool monotonic = true;
    while (p->nowy && frames < 1000) {
        EXPECT_EQ(p->update(f), 0);  // no pointer hits while flying
        monotonic = monotonic && p->dim.x <= lastX;
        lastX = p->dim.x;
        ++frames;
    }
    EXPECT_TRUE(monotonic);  // from x 1200 towards 300, never back
    EXPECT_GE(frames, 99);
    EXPECT_LE(frames, 101);
    EXPECT_FLOAT_EQ(p->dim.x, 300);
    EXPECT_FLOAT_EQ(p->dim.y, 100);
    EXPECT_EQ(p->dx, 10);
}

TEST(FlyIn, LeavingPutsFlyingPiecesAtTheirEnds) {
    auto l = makeLevel(square2x2(), 50);
    for (auto& p : l->allPuzzles) {
        place(p.get(), 300, 100);
        p->nowy = 1;
    }
    l->shufflePuzzlePositions2();
    TPuzzleFrame f;
    for (int i = 0; i < 10; ++i)
        for (auto& p : l->allPuzzles) p->update(f);
    l->finishPuzzles();
    for (auto& p : l->allPuzzles) {
        EXPECT_EQ(p->nowy, 0);
        EXPECT_FLOAT_EQ(p->dim.x, 300);
        EXPECT_FLOAT_EQ(p->dim.y, 100);
    }
}

TEST(Permutation, EmptiesTheSourceAndReachesEveryOrderEvenly) {
    SeedRnd(12345);
    std::map<std::vector<int>, int> seen;
    const int runs = 6000;
    for (int i = 0; i < runs; ++i) {
        std::vector<int> src = {1, 2, 3};
        const auto out = randomPermutation(src);
        EXPECT_TRUE(src.empty());
        seen[out]++;
    }
    ASSERT_EQ(seen.size(), 6u);
    for (auto& [order, n] : seen) {
        auto sorted = order;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, (std::vector<int>{1, 2, 3}));
        EXPECT_GT(n, runs / 6 - 150);
        EXPECT_LT(n, runs / 6 + 150);
    }
    std::vector<int> none;
    EXPECT_TRUE(randomPermutation(none).empty());
}

}  // namespace
