// The quest steps around the campaign's tables: one ending only (the last
// level's jigsaw before anything else, the credits once), and a level or
// stage the tables do not hold sending the quest back to the menu with a
// notice while the profile is kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestDir.h"
#include "app/Control.h"
#include "app/TMainGame.h"
#include "data/TRCMFile.h"
#include "match3/TLevel.h"
#include "platform/Backend.h"
#include "profiles/ProfileHooks.h"
#include "profiles/TProfileManager.h"

namespace {

class QuestFlowTest : public TempDirTest {
protected:
    ProfileHooks keepHooks;
    TProfilePtr profile;
    int held = 191;  // the tables hold levels 1..held
    int dogs = 0;
    int credits = 0;
    std::vector<std::string> notices;

    void SetUp() override {
        TempDirTest::SetUp();
        InstallBackend(nullptr);
        keepHooks = profileHooks();
        Control::clearRegistry();
        Control::registerScreen("MAIN-MENU", [] { return std::string("END"); });
        Control::registerScreen("END-OF-GAME", [this] {
            ++credits;
            return std::string("MAIN-MENU");
        });
        Control::registerQuestSteps();
        Control::hasQuestLevel = [this](int n) { return n >= 1 && n <= held; };
        profileHooks().showMessage = [this](const std::string& m) { notices.push_back(m); };
        profileHooks().dogCount = [this] { return dogs; };
        profileManager().profilesDir = dir.string() + "/";
        profile = std::make_shared<TProfile>();
        profile->name = "Ann";
        profile->profilesDir = profileManager().profilesDir;
        profileManager().profile = profile;
    }
    void TearDown() override {
        profileManager().profile = nullptr;
        profileManager().profilesDir.clear();
        profileHooks() = keepHooks;
        Control::hasQuestLevel = nullptr;
        Control::clearRegistry();
        mainGame.reset();
        TempDirTest::TearDown();
    }
    // A level being played (or just won), with or without jigsaw pieces.
    void playing(int nrLevelu, bool withPuzzle) {
        profile->nrLevelu = nrLevelu;
        profile->questLevel = std::make_shared<TLevel>();
        profile->gameType = "MAIN-GAME";
        if (!mainGame) mainGame = std::make_shared<TMainGame>();
        auto won = std::make_shared<TLevel>();
        won->saPuzzle = withPuzzle ? 1 : 0;
        mainGame->level = won;
    }
    int savedInt(const std::string& key) {
        auto f = loadRCMFile(path(profile->getMyID() + "/profile.dat"));
        EXPECT_TRUE(f->_loaded);
        return f->getInt(key);
    }
};

TEST_F(QuestFlowTest, ANewQuestWithoutLevelTablesLeavesTheQuestInProgressAlone) {
    held = 0;
    profile->nrLevelu = 7;
    profile->score = 99;
    profile->gameType = "UBIERANIE";
    EXPECT_EQ(Control::dispatch("NEW-QUEST"), "MAIN-MENU");
    EXPECT_EQ(profile->nrLevelu, 7);
    EXPECT_EQ(profile->score, 99);
    EXPECT_EQ(profile->gameType, "UBIERANIE");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("data/quest_levels.dat"), std::string::npos) << notices[0];
}

TEST_F(QuestFlowTest, TheLastLevelsJigsawComesBeforeTheEndingAndStillResumes) {
    dogs = 3;
    profile->nrStageu = 3;
    playing(191, true);
    const TLevelPtr kept = profile->questLevel;
    EXPECT_EQ(Control::dispatch("GET-NEXT-QUEST-LEVEL"), "PUZZLE");
    EXPECT_EQ(credits, 0) << "no credits before the last jigsaw";
    EXPECT_EQ(profile->nrLevelu, 192);
    EXPECT_EQ(profile->questLevel, kept) << "a quit in the last jigsaw must still resume";
    EXPECT_EQ(mainGame->level, nullptr) << "nothing is left to play after it";
    EXPECT_TRUE(notices.empty());

    profile->gameType = "PUZZLE";
    EXPECT_EQ(Control::dispatch("RESUME-QUEST"), "PUZZLE");
    EXPECT_EQ(mainGame->level, nullptr) << "the won level is not handed back to the play screen";
    // Solved: the stage ends and, as it was the last, the ending follows.
    EXPECT_EQ(Control::dispatch("GET-NEXT-STAGE"), "STORY");
    EXPECT_EQ(profile->questLevel, nullptr);
    EXPECT_EQ(credits, 0) << "the story step rolls the credits, not the stage step";
    // If the last jigsaw is left unsolved the play screen has no level: the
    // guard ends the campaign there instead.
}

TEST_F(QuestFlowTest, AGameKilledBetweenAWonLevelAndItsJigsawResumesAtTheJigsaw) {
    // The next level's preparation saves the profile (the play screen saves
    // when it is handed a level); a kill after that, before the jigsaw's own
    // save, must resume at the jigsaw, not by playing on without it.
    held = 10;
    int saves = 0;
    profileHooks().mainGameSetLevel = [&](const TLevelPtr&) { saves += profile->save() ? 1 : 0; };
    playing(2, true);
    EXPECT_EQ(Control::dispatch("GET-NEXT-QUEST-LEVEL"), "PUZZLE");
    ASSERT_GT(saves, 0);
    EXPECT_EQ(savedInt("Profile::nrLevelu"), 3);
    auto f = loadRCMFile(path(profile->getMyID() + "/profile.dat"));
    EXPECT_EQ(f->getString("Profile::gameType"), "PUZZLE");

    // The killed game's profile, read back, resumes there.
    auto back = std::make_shared<TProfile>();
    back->profilesDir = profile->profilesDir;
    ASSERT_TRUE(back->load(path(profile->getMyID() + "/")));
    profileManager().profile = back;
    EXPECT_EQ(Control::dispatch("RESUME-QUEST"), "PUZZLE");
    EXPECT_EQ(back->nrLevelu, 3);
}

TEST_F(QuestFlowTest, PastTheLastLevelWithoutAnEndingTheCreditsRollOnce) {
    playing(191, false);
    EXPECT_EQ(Control::dispatch("GET-NEXT-QUEST-LEVEL"), "MAIN-MENU");
    EXPECT_EQ(credits, 1);
    EXPECT_EQ(profile->questLevel, nullptr) << "the quest is complete";
    EXPECT_EQ(savedInt("Profile::questLevel"), 0) << "nothing to resume is saved";
    profile->gameType = "MAIN-GAME";  // even a profile that says otherwise
    EXPECT_EQ(Control::dispatch("RESUME-QUEST"), "MAIN-MENU");
    EXPECT_EQ(credits, 1) << "never twice";
}

TEST_F(QuestFlowTest, UnsolvedLastJigsawEndsAtThePlayScreenOnce) {
    playing(191, true);
    EXPECT_EQ(Control::dispatch("GET-NEXT-QUEST-LEVEL"), "PUZZLE");
    EXPECT_EQ(Control::QUEST_cannotGoOn(), "MAIN-MENU");  // the play screen finds no level
    EXPECT_EQ(credits, 1);
    EXPECT_EQ(Control::dispatch("RESUME-QUEST"), "MAIN-MENU");
    EXPECT_EQ(credits, 1);
}

TEST_F(QuestFlowTest, ATableShorterThanTheProfileSendsTheQuestToTheMenuAndKeepsTheProfile) {
    held = 5;
    playing(5, false);
    const TLevelPtr kept = profile->questLevel;
    EXPECT_EQ(Control::dispatch("GET-NEXT-QUEST-LEVEL"), "MAIN-MENU");
    EXPECT_EQ(profile->nrLevelu, 6) << "the win counts";
    EXPECT_EQ(profile->questLevel, kept) << "no level was loaded over it";
    EXPECT_EQ(savedInt("Profile::nrLevelu"), 5) << "saved as won, before the step";
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("level 6"), std::string::npos) << notices[0];
    // Every way back in says so again instead of looping or crashing.
    EXPECT_EQ(Control::dispatch("RESUME-QUEST"), "MAIN-MENU");
    EXPECT_EQ(Control::dispatch("RESTART-LEVEL"), "MAIN-MENU");
    EXPECT_EQ(notices.size(), 3u);
    EXPECT_EQ(credits, 0);
    EXPECT_EQ(profile->nrLevelu, 6);
    EXPECT_EQ(profile->questLevel, kept);
}

TEST_F(QuestFlowTest, AStageTheDogTableDoesNotHoldIsRefusedOnResume) {
    dogs = 3;
    for (int stage : {9, 0}) {
        notices.clear();
        playing(4, false);
        profile->nrStageu = stage;
        EXPECT_EQ(Control::dispatch("RESUME-QUEST"), "MAIN-MENU") << stage;
        EXPECT_EQ(profile->nrStageu, stage);
        EXPECT_NE(profile->questLevel, nullptr);
        ASSERT_EQ(notices.size(), 1u) << stage;
        EXPECT_NE(notices[0].find("stage " + std::to_string(stage)), std::string::npos) << notices[0];
    }
    profile->nrStageu = 2;
    EXPECT_EQ(Control::dispatch("RESUME-QUEST"), "MAIN-GAME");
}

// Every stage done (the last stage change dropped the quest level): a quest
// left before its ending resumes with it; once the ending has begun (its
// screen name cleared) nothing is resumed, and neither is a notice given.
TEST_F(QuestFlowTest, AQuestPastItsLastStageResumesOnlyAnEndingNotYetBegun) {
    dogs = 3;
    struct Case {
        std::string gameType;
        std::string next;
    };
    for (const Case& c : {Case{"UBIERANIE", "STORY"}, Case{"", "MAIN-MENU"}}) {
        notices.clear();
        playing(40, false);
        profile->nrStageu = dogs + 1;
        profile->questLevel = nullptr;
        profile->gameType = c.gameType;
        EXPECT_EQ(Control::dispatch("RESUME-QUEST"), c.next) << c.gameType;
        EXPECT_TRUE(notices.empty()) << c.gameType;
        EXPECT_EQ(profile->nrStageu, dogs + 1);
    }
}

TEST_F(QuestFlowTest, ANextStageWithoutItsLevelIsNotStarted) {
    dogs = 3;
    held = 4;
    profile->nrStageu = 1;
    profile->nrLevelu = 5;
    EXPECT_EQ(Control::dispatch("GET-NEXT-STAGE"), "MAIN-MENU");
    EXPECT_EQ(profile->nrStageu, 1);
    EXPECT_EQ(notices.size(), 1u);
}

TEST_F(QuestFlowTest, TablesLongerThanTheCampaignLetTheQuestGoOn) {
    held = 300;
    playing(191, false);
    EXPECT_EQ(Control::dispatch("GET-NEXT-QUEST-LEVEL"), "MAIN-GAME");
    EXPECT_EQ(profile->nrLevelu, 192);
    EXPECT_EQ(credits, 0);
}

}  // namespace
