// Where a tip stands on the play screen: moved the shortest way off the HUD's
// panels (and the button it points at), staying on the screen.
#include <gtest/gtest.h>

#include <vector>

#include "tutorial/TTutorialTip.h"

namespace {

TDim rect(float x, float y, float w, float h) {
    TDim d;
    d.x = x;
    d.y = y;
    d.w = w;
    d.h = h;
    d.update();
    return d;
}

// The play screen's HUD at rest: the power-up panel, the clock, the score
// counters and the menu button.
const std::vector<TDim>& hud() {
    static const std::vector<TDim> v{rect(0, 44, 112, 520), rect(384, 0, 300, 80), rect(764, 0, 260, 104),
                                     rect(790, 686, 220, 64)};
    return v;
}

bool overlaps(const TDim& a, const TDim& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

TEST(TipPlace, MovesTheShortestWayOffThePanels) {
    struct Case {
        const char* what;
        TDim tip;
        float wantX, wantY;
    };
    const Case cases[] = {
        {"beside the board, clear already", rect(722, 206, 290, 340), 722, 206},
        {"over the clock: under it", rect(180, 8, 290, 311), 180, 86},
        {"over the power-up panel: right of it", rect(40, 300, 290, 200), 118, 300},
        {"over the panel and the clock: into the corner between them", rect(60, 10, 290, 200), 118, 86},
        {"over the menu button: above it rather than far left", rect(700, 600, 290, 150), 700, 530},
        {"touching the clock's gap only: one pixel under is not enough", rect(180, 81, 290, 200), 180, 86},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TDim got = TTutorialTip::placeClear(c.tip, hud());
        EXPECT_EQ(got.x, c.wantX);
        EXPECT_EQ(got.y, c.wantY);
        EXPECT_EQ(got.w, c.tip.w);
        EXPECT_EQ(got.h, c.tip.h);
        // Its corners follow the move.
        EXPECT_EQ(got.x2, got.x + got.w);
        EXPECT_EQ(got.y2, got.y + got.h);
        for (const TDim& p : hud()) EXPECT_FALSE(overlaps(got, p));
        EXPECT_GE(got.x, 4);
        EXPECT_LE(got.x + got.w, 1020);
    }
}

TEST(TipPlace, ThePointedButtonAndItsArrowAreKeptClearToo) {
    std::vector<TDim> avoid = hud();
    avoid.push_back(rect(20, 61, 152, 72));  // the hammer's button and its arrow
    const TDim got = TTutorialTip::placeClear(rect(150, 90, 290, 250), avoid);
    EXPECT_FALSE(overlaps(got, avoid.back()));
    EXPECT_EQ(got.x, 178);  // just right of the arrow, at the same height
    EXPECT_EQ(got.y, 90);
}

TEST(TipPlace, StaysWhereItIsWhenNoPlaceIsClear) {
    // A tip as big as the screen cannot leave the panels: it is not thrown
    // off the screen either.
    const TDim got = TTutorialTip::placeClear(rect(4, 4, 1016, 760), hud());
    EXPECT_EQ(got.x, 4);
    EXPECT_EQ(got.y, 4);
}

}  // namespace
