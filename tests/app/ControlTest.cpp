// The main loop's dispatch and quest steps, with the hooks standing in for
// screens and the profile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppHooks.h"
#include "app/Control.h"

namespace {

class ControlTest : public ::testing::Test {
protected:
    AppHooks saved;
    std::vector<std::string> calls;
    int level = 1;
    bool puzzle = false;
    std::string gameType;

    void SetUp() override {
        saved = appHooks();
        AppHooks& h = appHooks();
        auto screen = [this](const char* name, const char* next) {
            return [this, name, next] {
                calls.push_back(name);
                return std::string(next);
            };
        };
        h.mainMenuLoop = screen("menu", "END");
        h.mainGameLoop = screen("game", "MAIN-MENU");
        h.ubieranieLoop = screen("ubieranie", "MAIN-GAME");
        h.puzzleLoop = screen("puzzle", "GET-NEXT-STAGE");
        h.endOfGameLoop = screen("endOfGame", "ignored");
        h.storyLoop = [this](int part) {
            calls.push_back("story" + std::to_string(part));
            return std::string("UBIERANIE");
        };
        h.galeriaLoop = [this](int) {
            calls.push_back("galeria");
            return std::string("UBIERANIE");
        };
        h.profileLevelNumber = [this] { return level; };
        h.setProfileLevelNumber = [this](int n) { level = n; };
        h.profileSave = [this] { calls.push_back("save"); };
        h.questStartNew = [this] {
            calls.push_back("startNew");
            level = 1;
        };
        h.questLoadActLevel = [this] {
            calls.push_back("loadLevel" + std::to_string(level));
            return 0;
        };
        h.mainGameSetQuestLevel = [this] { calls.push_back("setLevel"); };
        h.mainGameSetStartData = [this] { calls.push_back("startData"); };
        h.mainGameSetContinueLevel = [this](int n) { calls.push_back("continue" + std::to_string(n)); };
        h.profileGameType = [this] { return gameType; };
        h.finishedLevelHasPuzzle = [this] { return puzzle; };
        h.profileNextStage = [] { return std::string("GALERIA"); };
    }
    void TearDown() override { appHooks() = saved; }
};

TEST_F(ControlTest, NamesAreDispatchedWhateverTheirCase) {
    EXPECT_EQ(Control::dispatch("Main-MENU"), "END");
    EXPECT_EQ(Control::dispatch("main-game"), "MAIN-MENU");
    EXPECT_EQ(Control::currentName, "MAIN-GAME");
    EXPECT_EQ(Control::dispatch("UbIeRaNiE"), "MAIN-GAME");
    EXPECT_EQ(calls, (std::vector<std::string>{"menu", "game", "ubieranie"}));
}

TEST_F(ControlTest, UnknownNamesGoToTheMainMenu) {
    EXPECT_EQ(Control::dispatch("NO-SUCH-SCREEN"), "MAIN-MENU");
    EXPECT_EQ(Control::dispatch(""), "MAIN-MENU");
    EXPECT_TRUE(calls.empty());
}

TEST_F(ControlTest, StoryPartFollowsTheLevelNumber) {
    struct Case {
        int level;
        std::vector<std::string> calls;
    } cases[] = {
        {1, {"story1"}}, {9, {"story1"}}, {13, {"story3"}}, {10, {"galeria", "story2"}}, {50, {"galeria", "story2"}},
    };
    for (const Case& c : cases) {
        calls.clear();
        level = c.level;
        EXPECT_EQ(Control::dispatch("STORY"), "UBIERANIE");
        EXPECT_EQ(calls, c.calls) << "level " << c.level;
    }
}

TEST_F(ControlTest, QuestSteps) {
    EXPECT_EQ(Control::dispatch("new-quest"), "STORY");
    EXPECT_EQ(calls, (std::vector<std::string>{"continue0", "startNew"}));

    calls.clear();
    gameType = "";
    EXPECT_EQ(Control::dispatch("RESUME-QUEST"), "MAIN-GAME");
    gameType = "PUZZLE";
    EXPECT_EQ(Control::dispatch("RESUME-QUEST"), "PUZZLE");

    calls.clear();
    level = 7;
    EXPECT_EQ(Control::dispatch("RESTART-LEVEL"), "MAIN-GAME");
    EXPECT_EQ(calls, (std::vector<std::string>{"loadLevel7", "setLevel", "startData"}));

    calls.clear();
    EXPECT_EQ(Control::dispatch("GET-NEXT-QUEST-LEVEL"), "MAIN-GAME");
    EXPECT_EQ(level, 8);
    EXPECT_EQ(calls, (std::vector<std::string>{"save", "loadLevel8", "setLevel", "startData"}));

    EXPECT_EQ(Control::dispatch("GET-NEXT-STAGE"), "GALERIA");
}

TEST_F(ControlTest, ALevelWithAPuzzleGoesToThePuzzleAfterPreparingTheNext) {
    level = 12;
    puzzle = true;
    EXPECT_EQ(Control::dispatch("GET-NEXT-QUEST-LEVEL"), "PUZZLE");
    EXPECT_EQ(level, 13);
    EXPECT_EQ(calls, (std::vector<std::string>{"save", "loadLevel13", "setLevel", "startData"}));
}

TEST_F(ControlTest, TheLastLevelEndsTheCampaignWithoutLoading) {
    level = 191;
    EXPECT_EQ(Control::QUEST_PrepareNextLevel(), "MAIN-MENU");
    EXPECT_EQ(level, 192);
    EXPECT_EQ(calls, (std::vector<std::string>{"save", "endOfGame"}));
}

TEST_F(ControlTest, MainLoopRunsUntilEnd) {
    appHooks().setupMouse = [this] { calls.push_back("setupMouse"); };
    Control::start();
    Control::mainLoop();
    EXPECT_EQ(calls, (std::vector<std::string>{"setupMouse", "menu"}));
    EXPECT_EQ(Control::currentName, "END");
}

}  // namespace
