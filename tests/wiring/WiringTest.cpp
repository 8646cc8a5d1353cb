// The composition root: every link between subsystems is connected or left
// empty on purpose, the screen table holds every name the quest uses, and the
// results screens credit the real player of the play screen.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/Control.h"
#include "app/TMainGame.h"
#include "data/DataGlobals.h"
#include "dogs/TUbieranie.h"
#include "gui/GuiGlobals.h"
#include "jigsaw/TPuzzleGame.h"
#include "match3/TLevel.h"
#include "platform/Backend.h"
#include "platform/Services.h"
#include "profiles/ProfileHooks.h"
#include "profiles/TProfile.h"
#include "screens/TWinScreen.h"
#include "wiring/Wiring.h"

namespace {

class WiringTest : public ::testing::Test {
protected:
    std::string keepRoot;
    void SetUp() override {
        InstallBackend(nullptr);
        keepRoot = dataRoot;
        dataRoot = std::string(BRIMBLE_GAME_DIR) + "/";
        createSingletons();
        wireGame();
    }
    void TearDown() override { dataRoot = keepRoot; }
};

TEST_F(WiringTest, EveryLinkIsConnectedOrLeftEmptyOnPurpose) {
    const auto missing = unconnectedHooks();
    EXPECT_TRUE(missing.empty()) << "first: " << (missing.empty() ? "" : missing.front());
}

// The jigsaw's win sequence dresses the owner scene's dog: the scene shows
// the stage's dog undressed, each landing piece raises the dressed picture by
// 1/N, and the last one shows it fully.
TEST_F(WiringTest, JigsawPiecesDressTheOwnerScenesDog) {
    ASSERT_TRUE(puzzleGame && puzzleGame->ownerScene);
    ASSERT_TRUE(ubieranie);
    ubieranie->readDogs();
    ASSERT_FALSE(ubieranie->dogsList.empty());
    ubieranie->ca = {1, 1, 0};
    puzzleGame->ownerScene->prepareDog(1);
    EXPECT_EQ(ubieranie->dog, ubieranie->getDog(1));
    EXPECT_EQ(ubieranie->ca[1], 0.0f);

    auto level = std::make_shared<TPuzzleLevel>();
    constexpr int kPieces = 7;
    for (int i = 0; i < kPieces; ++i) level->allPuzzles.push_back(std::make_shared<TPuzzle>());
    puzzleGame->level = level;
    for (int i = 1; i <= kPieces; ++i) {
        puzzleGame->addDogAlpha();
        EXPECT_NEAR(ubieranie->ca[1], static_cast<float>(i) / kPieces, 1e-4f) << "piece " << i;
        EXPECT_NEAR(ubieranie->dCA[1], static_cast<float>(i) / kPieces, 1e-4f) << "piece " << i;
    }
    EXPECT_EQ(ubieranie->ca[1], 1.0f);
    // The plain picture stays under the dressed one.
    EXPECT_EQ(ubieranie->ca[0], 0.0f);
    puzzleGame->level = nullptr;
}

TEST_F(WiringTest, TheCheckNamesALinkThatLostItsProvider) {
    const struct {
        const char* name;
        std::function<void()> cut, mend;
    } cases[] = {
        {"mainGame.winScreenLoop", [] { mainGame->winScreenLoop = nullptr; }, [] { wireResultScreens(); }},
        {"profile.mainGameSetLevel", [] { profileHooks().mainGameSetLevel = nullptr; },
         [] { wireProfiles(); }},
        {"screen.UBIERANIE", [] { Control::registerScreen("UBIERANIE", nullptr); },
         [] {
             Control::clearRegistry();
             wireGame();
         }},
    };
    for (const auto& c : cases) {
        c.cut();
        const auto missing = unconnectedHooks();
        EXPECT_NE(std::find(missing.begin(), missing.end(), c.name), missing.end()) << c.name;
        c.mend();
        EXPECT_TRUE(unconnectedHooks().empty()) << c.name;
    }
}

TEST_F(WiringTest, EveryQuestNameReachesAScreenOrStep) {
    for (const char* name :
         {"MAIN-MENU", "MAIN-GAME", "STORY", "UBIERANIE", "PUZZLE", "GALERIA", "NEW-QUEST", "RESUME-QUEST",
          "GET-NEXT-QUEST-LEVEL", "GET-NEXT-STAGE", "RESTART-LEVEL", "END-OF-GAME"})
        EXPECT_TRUE(Control::isRegistered(name)) << name;
}

TEST_F(WiringTest, AWonLevelRaisesThePlayersScoreOnce) {
    auto player = std::make_shared<TProfile>();
    player->score = 500;
    player->gameMode = "RELAXED";
    auto level = std::make_shared<TLevel>();
    level->score = 1234;
    level->czas = 10;
    mainGame->profile = player;
    mainGame->level = level;
    TWinScreen win;
    win.setupTexts();
    win._prepareSummary();
    const int total = win.getTotalScore();
    EXPECT_GT(total, 1234);
    EXPECT_EQ(player->score, 500 + total);
    win._prepareSummary();  // the same win shown again credits nothing more
    EXPECT_EQ(player->score, 500 + total);
    mainGame->level.reset();
    mainGame->profile.reset();
}

}  // namespace
