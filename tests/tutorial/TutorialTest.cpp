// The tutorial over a play screen: when it runs at all, which tip it starts
// (the first waiting one in file order whose conditions hold), that a tip is
// recorded for the player at once and never started twice, and that turning
// the tips back on for the player shows them again.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PlayFixture.h"
#include "TestDir.h"
#include "app/AppGlobals.h"
#include "app/PlaySprites.h"
#include "app/TMainGame.h"
#include "data/DataGlobals.h"
#include "gui/TMouse.h"
#include "match3/TChip.h"
#include "match3/TChipData.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "match3/TTile.h"
#include "platform/Backend.h"
#include "platform/Services.h"
#include "profiles/ProfileHooks.h"
#include "profiles/TProfile.h"
#include "profiles/TProfileManager.h"
#include "tutorial/TTutorial.h"

namespace {

class TutorialTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        savedRoot = dataRoot;
        dataRoot = std::string(BRIMBLE_GAME_DIR) + "/";
        savedProfile = profileManager().profile;
        savedDisabled = tutorialDisabled;
        tutorialDisabled = 0;
        frameDelta = 1.0f;
        SeedRnd(7);
        profile = std::make_shared<TProfile>();
        profile->allPowerUps = true;
        profile->gameMode = "RELAXED";
        profileManager().profile = profile;
        game = std::make_shared<TMainGame>();
        game->profile = profile;
        game->setup();
        ASSERT_TRUE(PlayFixtureLevel(*game, "swap_basic.lvl"));
        game->alpha = 1;
        game->fade = game->dFade = 0;
        game->closeGoalCard();
        // Three tips of the play screen and one of the jigsaw, in this order:
        // a chain-level tip that never holds here, then two swap tips that
        // both hold (the first must win), then one for another screen.
        writeBytes("tips.dat", R"(tutorial {
	i = 4
	txtFile = "txt/tutorial.txt"
	tut1 {
		id = "CHAINS"
		screen = "MAIN-GAME"
		txt = 3
		conds = 1
		condition1 = "GAME-TYPE", "CHAIN"
		eraseConds = 1
		eraseCondition1 = "OK"
	}
	tut2 {
		id = "FIRST"
		screen = "MAIN-GAME"
		txt = 3
		conds = 2
		condition1 = "FADE"
		condition2 = "GAME-TYPE SWAP"
		actions = 2
		action1 = "SHOW-ME"
		action2 = "LOCK-GUI"
		eraseConds = 1
		eraseCondition1 = "OK"
	}
	tut3 {
		id = "SECOND"
		screen = "MAIN-GAME"
		txt = 3
		conds = 1
		condition1 = "FADE"
		eraseConds = 1
		eraseCondition1 = "OK"
	}
	tut4 {
		id = "JIGSAW"
		screen = "PUZZLE"
		txt = 3
		eraseConds = 1
		eraseCondition1 = "OK"
	}
}
)");
        tut.loadTipsFrom(path("tips.dat"));
        ASSERT_EQ(tut.tips.size(), 4u);
    }
    void TearDown() override {
        tut.clearTip();
        TTutorialTip::player = nullptr;
        TTutorialTip::tipDone = nullptr;
        profileManager().profile = savedProfile;
        tutorialDisabled = savedDisabled;
        PlaySprites::clearAll();
        game.reset();
        dataRoot = savedRoot;
        mouse.clear();
        ResetInput();
        TempDirTest::TearDown();
    }
    // Frames of the play screen's tutorial call, 20 ms apart.
    void frames(int n) {
        for (int i = 0; i < n; ++i) {
            Backend().advanceClock(20);
            tut.updateOn(game.get());
        }
    }
    std::string shown() const {
        std::string s;
        for (auto& t : profile->lekcjeTutoriala) s += (s.empty() ? "" : " ") + t->id;
        return s;
    }
    // The tip on screen closed with its OK and faded out.
    void closeWithOk() {
        ASSERT_TRUE(tut.actTip);
        for (int i = 0; i < 30 && tut.actTip; ++i) {
            tut.actTip->okPressed = true;
            tut.actTip->update(game.get());
            frames(1);
        }
        ASSERT_FALSE(tut.actTip);
    }
    std::string savedRoot;
    TProfilePtr savedProfile;
    int savedDisabled = 0;
    std::shared_ptr<TProfile> profile;
    std::shared_ptr<TMainGame> game;
    TTutorial tut;
};

TEST_F(TutorialTest, TheFirstWaitingTipThatHoldsStartsAndIsRecordedAtOnce) {
    frames(10);
    ASSERT_TRUE(tut.actTip);
    EXPECT_EQ(tut.actTip->id, "FIRST");
    EXPECT_EQ(shown(), "FIRST");
    EXPECT_EQ(tut.bylTutorial("FIRST"), 1);
    EXPECT_EQ(tut.getTipById("FIRST"), nullptr) << "a shown tip no longer waits";
    EXPECT_EQ(tut.getTipById("second"), tut.tipById("SECOND"));
    EXPECT_EQ(tut.bylTutorial("SECOND"), 0);
    EXPECT_EQ(tut.bylTutorial("NO-SUCH-TIP"), 1);
    EXPECT_TRUE(tut.tipShown(game.get()));
    EXPECT_EQ(game->guiLocked, 1);
    // While it is on screen no other tip starts.
    frames(20);
    EXPECT_EQ(tut.actTip->id, "FIRST");
    closeWithOk();
    EXPECT_EQ(game->guiLocked, 0);
    // Then the next one in file order; the first is never started again.
    frames(10);
    ASSERT_TRUE(tut.actTip);
    EXPECT_EQ(tut.actTip->id, "SECOND");
    closeWithOk();
    frames(30);
    EXPECT_FALSE(tut.actTip);
    EXPECT_EQ(shown(), "FIRST SECOND");
}

TEST_F(TutorialTest, ATipThatEndsBeforeItAppearsWaitsAgain) {
    // One tip that waits a second before it shows, one that points at a
    // bomb at once.
    writeBytes("late.dat", R"(tutorial {
	i = 2
	txtFile = "txt/tutorial.txt"
	tut1 {
		id = "LATE"
		screen = "MAIN-GAME"
		txt = 3
		conds = 1
		condition1 = "FADE"
		actions = 2
		action1 = "WAIT", "1000"
		action2 = "SHOW-ME"
		eraseConds = 1
		eraseCondition1 = "OK"
	}
	tut2 {
		id = "ARROWED"
		screen = "MAIN-GAME"
		txt = 3
		conds = 1
		condition1 = "ANY-BONUS"
		actions = 1
		action1 = "ARROW", "BONUS"
		eraseConds = 1
		eraseCondition1 = "OK"
	}
}
)");
    tut.loadTipsFrom(path("late.dat"));
    ASSERT_EQ(tut.tips.size(), 2u);
    frames(10);
    ASSERT_TRUE(tut.actTip);
    EXPECT_EQ(shown(), "LATE") << "recorded at once";
    // The level ends before the panel came: the tip waits for the next level.
    tut.clearTip();
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(tut.bylTutorial("LATE"), 0);
    // Next time it shows; cleared then, it stays shown.
    frames(10);
    ASSERT_TRUE(tut.actTip);
    frames(60);
    ASSERT_GT(tut.actTip->a, 0.0f);
    tut.clearTip();
    EXPECT_EQ(shown(), "LATE");
    EXPECT_EQ(tut.bylTutorial("LATE"), 1);
    // An arrow is something seen too, without a panel.
    auto cd = game->m3Game->getBonusChipData(104);
    ASSERT_TRUE(cd);
    game->level->tile[2][3]->chip->setChipData(cd);
    frames(10);
    ASSERT_TRUE(tut.actTip);
    EXPECT_EQ(tut.actTip->id, "ARROWED");
    EXPECT_EQ(tut.actTip->arrows.size(), 1u);
    tut.clearTip();
    EXPECT_EQ(shown(), "LATE ARROWED");
}

TEST_F(TutorialTest, RunsOnlyForARealPlayerWhoWantsTips) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
    } cases[] = {
        {"noTutorial.txt", [&] { tutorialDisabled = 1; }},
        {"tips turned off", [&] { profile->tutorialOn = 0; }},
        {"no player", [&] { profileManager().profile = nullptr; }},
        {"a level played for a throw-away player", [&] { game->profile = std::make_shared<TProfile>(); }},
        {"a damaged profile", [&] { profile->damaged = true; }},
    };
    for (const Case& c : cases) {
        c.arrange();
        frames(10);
        EXPECT_FALSE(tut.actTip) << c.name;
        EXPECT_TRUE(profile->lekcjeTutoriala.empty()) << c.name;
        // Back to a player who wants tips: they start.
        tutorialDisabled = 0;
        profile->tutorialOn = 1;
        profile->damaged = false;
        profileManager().profile = profile;
        game->profile = profile;
        frames(10);
        EXPECT_TRUE(tut.actTip) << "after " << c.name;
        tut.clearTip();
        profile->lekcjeTutoriala.clear();
    }
}

TEST_F(TutorialTest, ATipBelongsToItsScreenAndNeverLeavesItLocked) {
    frames(10);
    ASSERT_TRUE(tut.actTip);
    ASSERT_EQ(game->guiLocked, 1);
    // The jigsaw screen calls in: the play screen's tip goes, its lock with it.
    TEkran jigsaw;
    jigsaw.id = "PUZZLE";
    jigsaw.alpha = 1;
    tut.updateOn(&jigsaw);
    EXPECT_EQ(game->guiLocked, 0);
    EXPECT_FALSE(tut.tipShown(game.get()));
    Backend().advanceClock(200);
    tut.updateOn(&jigsaw);
    ASSERT_TRUE(tut.actTip);
    EXPECT_EQ(tut.actTip->id, "JIGSAW");
    // A level that begins clears the tip on screen (the play screen's hook).
    tut.clearTip();
    EXPECT_FALSE(tut.actTip);
    // Turned off while a tip holds the screen: the tip still runs to its OK.
    tut.updateOn(game.get());
    Backend().advanceClock(200);
    tut.updateOn(game.get());
    ASSERT_TRUE(tut.actTip);
    EXPECT_EQ(tut.actTip->id, "SECOND");
    profile->tutorialOn = 0;
    closeWithOk();
}

TEST_F(TutorialTest, TurningTheTipsBackOnShowsThemAgain) {
    frames(10);
    ASSERT_TRUE(tut.actTip);
    closeWithOk();
    frames(10);
    closeWithOk();
    ASSERT_EQ(shown(), "FIRST SECOND");
    // The options' switch turned back on: the profile forgets what it saw.
    ProfileHooks& h = profileHooks();
    auto savedReset = h.tutorialReset;
    int resets = 0;
    h.tutorialReset = [&] {
        ++resets;
        tut.clearTip();
    };
    profile->restartTutorial();
    h.tutorialReset = savedReset;
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(shown(), "");
    frames(10);
    ASSERT_TRUE(tut.actTip);
    EXPECT_EQ(tut.actTip->id, "FIRST");
}

TEST_F(TutorialTest, ShownTipsSurviveTheProfilesSaveAndLoad) {
    frames(10);
    ASSERT_TRUE(tut.actTip);
    ProfileHooks& h = profileHooks();
    auto savedId = h.tipId;
    auto savedById = h.tipById;
    h.tipId = [](const TTutorialTipPtr& t) { return t ? t->id : std::string(); };
    h.tipById = [&](const std::string& id) { return tut.tipById(id); };
    profile->name = "Tips";
    profile->profilesDir = dir.string() + "/";
    const bool saved = profile->save();
    auto again = std::make_shared<TProfile>();
    const bool loaded = again->load(profile->folder());
    h.tipId = savedId;
    h.tipById = savedById;
    ASSERT_TRUE(saved);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(again->lekcjeTutoriala.size(), 1u);
    EXPECT_EQ(again->lekcjeTutoriala[0], tut.tipById("FIRST"));
    // Read back, the player is not shown the tip again.
    tut.clearTip();
    profileManager().profile = again;
    game->profile = again;
    frames(10);
    ASSERT_TRUE(tut.actTip);
    EXPECT_EQ(tut.actTip->id, "SECOND");
}

}  // namespace
