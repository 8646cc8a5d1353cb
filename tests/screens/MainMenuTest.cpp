// The idle main menu: what it draws changes only on the clouds' step frames
// (the window skips a frame identical to the one on screen), and the panel
// takes input only once the screen has faded in.
#include <gtest/gtest.h>

#include <vector>

#include "data/DataGlobals.h"
#include "platform/Backend.h"
#include "platform/Services.h"
#include "screens/TChmura.h"
#include "screens/TMainMenu.h"

namespace {

class MainMenuTest : public ::testing::Test {
protected:
    TMainMenu menu;
    std::string keepRoot;

    void SetUp() override {
        InstallBackend(nullptr);
        Backend().advanceClock(1000);
        keepRoot = dataRoot;
        dataRoot = std::string(BRIMBLE_GAME_DIR) + "/";
        menu.prepare();
    }
    void TearDown() override { dataRoot = keepRoot; }

    void frame() {
        Backend().advanceClock(1000.0 / 60.0);
        menu.update();
    }

    // What the frame would draw that moves by itself: the cross-fade and
    // where each cloud stands.
    std::vector<float> drawn() const {
        std::vector<float> v{menu.shownA};
        for (const auto& c : TChmura::all()) v.push_back(c->drawX);
        return v;
    }
};

TEST_F(MainMenuTest, AnIdleMenuChangesOnlyOnTheCloudsStepFrames) {
    for (int i = 0; i < 120; ++i) frame();  // settled
    ASSERT_TRUE(menu.settled());
    int changed = 0, fading = 0;
    std::vector<float> before = drawn();
    // Long enough for two changes of the television (every 3 s).
    for (int i = 0; i < 600; ++i) {
        frame();
        const std::vector<float> now = drawn();
        if (now != before) {
            ++changed;
            EXPECT_TRUE(TChmura::stepped()) << "frame " << i << " changed between two steps";
        }
        if (menu.shownA > 0.0f && menu.shownA < 1.0f) ++fading;
        before = now;
    }
    // Both kinds of motion took place, on at most one frame in four.
    EXPECT_GT(fading, 0) << "the television never cross-faded";
    EXPECT_GT(changed, 100);
    EXPECT_LE(changed, 600 / TChmura::kDrawEvery);
}

TEST_F(MainMenuTest, InputWaitsForTheFadeInAndThePanelsLastStretch) {
    bool sawSliding = false;
    for (int i = 0; i < 120 && !menu.settled(); ++i) {
        // Never taking input while the screen still fades in or the panel is
        // in its fast first part.
        EXPECT_FALSE(menu.fade > 0.0f && menu.settled());
        if (menu.p < TMainMenu::kInputFrom) sawSliding = true;
        frame();
    }
    EXPECT_TRUE(sawSliding);
    ASSERT_TRUE(menu.settled());
    EXPECT_EQ(menu.fade, 0.0f);
    EXPECT_GE(menu.p, TMainMenu::kInputFrom);
    // The buttons are fading in by then, and reach full strength.
    for (int i = 0; i < 60; ++i) frame();
    EXPECT_TRUE(menu.shown());
}

}  // namespace
