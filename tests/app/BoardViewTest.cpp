// Where the play screen shows boards of every size the editor can make: quest
// boards keep their place pixel for pixel; larger ones are shown smaller, in
// the room the HUD leaves, with cells a whole number of pixels wide.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/TBoardView.h"

namespace {

constexpr float kPitch = 60;
constexpr float kLx = 534, kLy = 406;  // the play screen's board centre

// The HUD's pieces (the power-up panel, the clock, the counters, the menu
// button, the match-type picture) as the play screen lays them out.
const TRectF kHud[] = {
    {0, 44, 112, 520}, {384, 0, 300, 80}, {764, 0, 260, 104}, {790, 686, 220, 64}, {7, 712, 56, 56},
};

bool overlaps(const TRectF& a, const TRectF& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

bool within(const TRectF& a, const TRectF& outer) {
    const float e = 1e-3f;
    return a.x >= outer.x - e && a.y >= outer.y - e && a.x + a.w <= outer.x + outer.w + e &&
           a.y + a.h <= outer.y + outer.h + e;
}

bool whole(float v) {
    return std::fabs(v - std::round(v)) < 1e-3f;
}

TEST(BoardView, FitsEveryBoardTheEditorMakesInTheRoomTheHudLeaves) {
    struct Case {
        const char* name;
        int rows, cols;
        bool usual;  // keeps the quest boards' place and size
        int cell;    // pixels a cell on screen
    } cases[] = {
        {"9x9, the largest quest board", 9, 9, true, 60},
        {"6x7 quest board", 6, 7, true, 60},
        {"8x9 quest board", 8, 9, true, 60},
        // 9 rows and 12 columns fit at full size once moved off the counters.
        {"9x12 wide, moved only", 9, 12, false, 60},
        // Frame 688 x 628 in 900 x 570: 570 / 628 of 60 is 54.5.
        {"10x11", 10, 11, false, 54},
        // 988 x 868: 570 / 868 of 60 is 39.4.
        {"14x16", 14, 16, false, 39},
        // 568 x 1228: 570 / 1228 of 60 is 27.9.
        {"20x9 tall", 20, 9, false, 27},
        // 1228 x 568: 900 / 1228 of 60 is 44.0 (43.97).
        {"9x20 wide", 9, 20, false, 43},
        // 1828 x 1828: 570 / 1828 of 60 is 18.7.
        {"30x30, the editor's largest", 30, 30, false, 18},
        // 1828 x 88: 900 / 1828 of 60 is 29.5.
        {"1x30 one row", 1, 30, false, 29},
        {"30x1 one column", 30, 1, false, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TBoardView v = TBoardView::fit(c.rows, c.cols, kPitch, kPitch, kLx, kLy);
        EXPECT_EQ(v.identity(), c.usual);
        EXPECT_NEAR(v.scale * kPitch, c.cell, 1e-3);
        const TRectF box = v.screenBox(c.rows, c.cols, kPitch, kPitch, kLx, kLy);
        if (c.usual) {
            EXPECT_TRUE(within(box, TBoardView::kUsualArea));
            continue;
        }
        EXPECT_TRUE(within(box, TBoardView::kFreeArea))
            << box.x << "," << box.y << " " << box.w << "x" << box.h;
        for (const TRectF& h : kHud)
            EXPECT_FALSE(overlaps(box, h)) << "covers the HUD piece at " << h.x << "," << h.y;
        // Every cell edge on a whole pixel, so the plates meet without seams.
        const float left = kLx - kPitch * c.cols / 2 - kPitch / 2,
                    top = kLy - kPitch * c.rows / 2 - kPitch / 2;
        for (int i = 0; i <= c.cols; ++i)
            EXPECT_TRUE(whole(v.toScreenX(left + kPitch * i))) << "column edge " << i;
        for (int i = 0; i <= c.rows; ++i)
            EXPECT_TRUE(whole(v.toScreenY(top + kPitch * i))) << "row edge " << i;
        // The pointer maps back onto the point it is over.
        for (float bx : {left, left + kPitch * c.cols, kLx + 7.5f})
            EXPECT_NEAR(v.toBoardX(v.toScreenX(bx)), bx, 1e-2);
        for (float by : {top, top + kPitch * c.rows, kLy - 3.25f})
            EXPECT_NEAR(v.toBoardY(v.toScreenY(by)), by, 1e-2);
    }
}

TEST(BoardView, UsualBoardsAreNotMovedAtAll) {
    // The identity view hands every coordinate back untouched (the quest's
    // pixels depend on it), odd fractions included.
    const TBoardView v = TBoardView::fit(9, 9, kPitch, kPitch, kLx, kLy);
    ASSERT_TRUE(v.identity());
    for (float p : {-80.0f, 0.1f, 533.7f, 1104.0f}) {
        EXPECT_EQ(v.toScreenX(p), p);
        EXPECT_EQ(v.toBoardY(p), p);
    }
}

}  // namespace
