// The main loop's screen table and the quest steps on a real profile.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestDir.h"
#include "app/Control.h"
#include "app/TMainGame.h"
#include "match3/TLevel.h"
#include "profiles/TProfileManager.h"

namespace {

class ControlTest : public TempDirTest {
protected:
    std::vector<std::string> calls;
    TProfilePtr profile;

    void SetUp() override {
        TempDirTest::SetUp();
        Control::clearRegistry();
        auto screen = [this](const char* name, const char* next) {
            return [this, name, next] {
                calls.push_back(name);
                return std::string(next);
            };
        };
        Control::registerScreen("MAIN-MENU", screen("menu", "END"));
        Control::registerScreen("main-game", screen("game", "MAIN-MENU"));
        Control::registerScreen("UBIERANIE", screen("ubieranie", "MAIN-GAME"));
        Control::registerScreen("END-OF-GAME", screen("endOfGame", "ignored"));
        Control::registerQuestSteps();
        profileManager().profilesDir = dir.string() + "/";
        profile = std::make_shared<TProfile>();
        profile->name = "Ann";
        profile->profilesDir = profileManager().profilesDir;
        profileManager().profile = profile;
    }
    void TearDown() override {
        profileManager().profile = nullptr;
        profileManager().profilesDir.clear();
        Control::clearRegistry();
        mainGame.reset();
        TempDirTest::TearDown();
    }
    bool saved() const { return std::filesystem::exists(dir / profile->getMyID() / "profile.dat"); }
};

TEST_F(ControlTest, NamesAreLookedUpWhateverTheirCase) {
    EXPECT_EQ(Control::dispatch("Main-MENU"), "END");
    EXPECT_EQ(Control::dispatch("MAIN-GAME"), "MAIN-MENU");
    EXPECT_EQ(Control::currentName, "MAIN-GAME");
    EXPECT_EQ(Control::dispatch("UbIeRaNiE"), "MAIN-GAME");
    EXPECT_EQ(calls, (std::vector<std::string>{"menu", "game", "ubieranie"}));
    EXPECT_TRUE(Control::isRegistered("new-quest"));
}

TEST_F(ControlTest, ARegisteredNameIsReplacedNotDoubled) {
    Control::registerScreen("ubieranie", [this] {
        calls.push_back("dressing");
        return std::string("MAIN-MENU");
    });
    EXPECT_EQ(Control::dispatch("UBIERANIE"), "MAIN-MENU");
    EXPECT_EQ(calls, (std::vector<std::string>{"dressing"}));
}

TEST_F(ControlTest, UnknownNamesGoToTheMainMenuAndAMissingMenuEnds) {
    EXPECT_EQ(Control::dispatch("NO-SUCH-SCREEN"), "MAIN-MENU");
    EXPECT_EQ(Control::dispatch(""), "MAIN-MENU");
    EXPECT_TRUE(calls.empty());
    Control::clearRegistry();
    EXPECT_EQ(Control::dispatch("MAIN-MENU"), "END");  // never a loop that spins
}

TEST_F(ControlTest, QuestStepsActOnTheCurrentProfile) {
    profile->nrLevelu = 40;
    profile->score = 99;
    EXPECT_EQ(Control::dispatch("new-quest"), "STORY");
    EXPECT_EQ(profile->nrLevelu, 1);
    EXPECT_EQ(profile->score, 0);

    profile->gameType = "";
    EXPECT_EQ(Control::dispatch("RESUME-QUEST"), "MAIN-GAME");
    profile->gameType = "PUZZLE";
    EXPECT_EQ(Control::dispatch("RESUME-QUEST"), "PUZZLE");

    profile->nrLevelu = 7;
    EXPECT_EQ(Control::dispatch("RESTART-LEVEL"), "MAIN-GAME");
    EXPECT_EQ(profile->nrLevelu, 7);
    EXPECT_FALSE(saved());

    EXPECT_EQ(Control::dispatch("GET-NEXT-QUEST-LEVEL"), "MAIN-GAME");
    EXPECT_EQ(profile->nrLevelu, 8);
    EXPECT_TRUE(saved()) << "the won level is saved before the next is prepared";
}

TEST_F(ControlTest, WithoutAPlayerTheQuestGoesBackToTheMenu) {
    profileManager().profile = nullptr;
    for (const char* step : {"NEW-QUEST", "RESUME-QUEST", "GET-NEXT-QUEST-LEVEL", "GET-NEXT-STAGE"})
        EXPECT_EQ(Control::dispatch(step), "MAIN-MENU") << step;
    EXPECT_EQ(Control::dispatch("RESTART-LEVEL"), "MAIN-GAME");  // nothing to load, the play screen says so
}

TEST_F(ControlTest, ALevelWithAPuzzleGoesToThePuzzleAfterPreparingTheNext) {
    mainGame = std::make_shared<TMainGame>();
    auto level = std::make_shared<TLevel>();
    level->saPuzzle = 1;
    mainGame->level = level;
    profile->nrLevelu = 12;
    EXPECT_EQ(Control::dispatch("GET-NEXT-QUEST-LEVEL"), "PUZZLE");
    EXPECT_EQ(profile->nrLevelu, 13);
    EXPECT_EQ(mainGame->profile, profile) << "the play screen plays for the current player";
}

TEST_F(ControlTest, TheLastLevelEndsTheCampaignWithoutLoading) {
    profile->nrLevelu = 191;
    EXPECT_EQ(Control::QUEST_PrepareNextLevel(), "MAIN-MENU");
    EXPECT_EQ(profile->nrLevelu, 192);
    EXPECT_EQ(calls, (std::vector<std::string>{"endOfGame"}));
}

TEST_F(ControlTest, MainLoopRunsUntilEnd) {
    Control::start();
    Control::mainLoop();
    EXPECT_EQ(calls, (std::vector<std::string>{"menu"}));
    EXPECT_EQ(Control::currentName, "END");
}

}  // namespace
