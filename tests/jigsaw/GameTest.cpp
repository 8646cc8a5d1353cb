// The jigsaw screen's rules without its frame loop: earning by quota, the
// quota table, picking up (topmost wins), click and drag modes, leaving,
// the win and the dressed picture's blend.
#include <gtest/gtest.h>

#include "JigsawFixture.h"
#include "gui/TMouse.h"
#include <filesystem>

#include "jigsaw/JigsawProfileLinks.h"
#include "jigsaw/TPuzzleGame.h"
#include "platform/Backend.h"
#include "profiles/ProfileHooks.h"

namespace {

class FakeOwnerScene : public TPuzzleOwnerScene {
public:
    float ca[2] = {1, 0}, dCA[2] = {1, 0};
    int dog = 0, behind = 0;
    void prepareDog(int stage) override { dog = stage; }
    void prepareBehind() override { ++behind; }
    void update() override {}
    void draw() override {}
    void getDressBlend(float c[2], float d[2]) const override {
        c[0] = ca[0], c[1] = ca[1], d[0] = dCA[0], d[1] = dCA[1];
    }
    void setDressBlend(const float c[2], const float d[2]) override {
        ca[0] = c[0], ca[1] = c[1], dCA[0] = d[0], dCA[1] = d[1];
    }
};

class Screen : public ::testing::Test {
protected:
    ProfileHooks saved;
    TPuzzleGame g;
    TProfilePtr profile = std::make_shared<TProfile>();
    int quota = 0;

    void SetUp() override {
        saved = profileHooks();
        profileHooks().allPieces = [](const TPuzzleLevelPtr& l) { return l->allPuzzles; };
        profileHooks().markPieceNew = [](const TPuzzlePtr& p) { p->aktywny = p->nowy = 1; };
        TPuzzle::setPointerMask([] {
            TAlphaMask m;
            m.w = m.h = 1;
            m.solid.assign(1, 1);
            return m;
        }());
        profile->nrLevelu = 2;
        profile->puzzleLevel = makeLevel(square2x2());
        for (auto& p : profile->puzzleLevel->allPuzzles) {
            p->aktywny = 0;
            p->mask.w = p->mask.h = 100;
            p->mask.solid.assign(100 * 100, 1);
        }
        g.profile = profile;
        g.quotaHook = [this](int level) { return level == 1 ? quota : -1; };
        mouse.x = mouse.y = -500;
        mouse.vx = mouse.vy = 0;
        mouse.leftPressed = mouse.leftHolded = 0;
    }
    void TearDown() override { profileHooks() = saved; }

    TPuzzleLevelPtr level() { return profile->puzzleLevel; }
    void own(std::initializer_list<int> ids) {
        for (int id : ids) profile->activePuzzles.push_back(level()->getPuzzleById(id));
    }
    // One frame of play with the mouse at (x, y) and the button state given.
    void frame(int x, int y, bool held, bool pressed = false, int ms = 17) {
        Backend().advanceClock(ms);
        mouse.vx = mouse.x - x;
        mouse.vy = mouse.y - y;
        mouse.x = x;
        mouse.y = y;
        mouse.leftHolded = held;
        mouse.leftPressed = pressed;
        g._updatePuzzles();
    }
    void ready() {
        g.prepare();
        level()->finishPuzzles();
        g.fade = 0;
    }
};

TEST_F(Screen, EarnsUpToTheQuotaOfTheLevelJustWon) {
    quota = 3;
    g._prepareMissingPuzzles();
    EXPECT_EQ(profile->activePuzzles.size(), 3u);
    int fresh = 0;
    for (auto& p : level()->allPuzzles) fresh += p->nowy;
    EXPECT_EQ(fresh, 3);
    // A second visit owning the quota adds nothing and starts no flights.
    level()->finishPuzzles();
    g._prepareMissingPuzzles();
    EXPECT_EQ(profile->activePuzzles.size(), 3u);
    for (auto& p : level()->allPuzzles) EXPECT_EQ(p->nowy, 0);
    // A level without a quota hands out nothing.
    profile->nrLevelu = 5;
    quota = 4;
    g._prepareMissingPuzzles();
    EXPECT_EQ(profile->activePuzzles.size(), 3u);
}

TEST_F(Screen, NewPiecesFlyInAndAreDrawnOnTop) {
    own({1});
    place(piece(level(), 1), 300, 100);
    quota = 3;
    g.prepare();
    ASSERT_EQ(profile->activePuzzles.size(), 3u);
    // The two new ones are last in drawing order and flying.
    const auto& e = level()->puzzles;
    EXPECT_TRUE(e[2]->nowy && e[3]->nowy);
    EXPECT_FALSE(piece(level(), 1)->nowy);
    EXPECT_EQ(piece(level(), 1)->dim.x, 300);  // on the board: stays
    EXPECT_EQ(profile->gameType, "PUZZLE");
}

class QuotaTable : public TempDirTest {};

TEST_F(QuotaTable, IsReadFromItsFileAndReplacedOnReload) {
    writeBytes("q.dat", "puzzles {\n i = 3\n level1 = 2\n level2 = 5\n level3 = 0\n}\n");
    TPuzzleQuota q;
    q.load(path("q.dat"));
    EXPECT_EQ(q.of(1), 2);
    EXPECT_EQ(q.of(2), 5);
    EXPECT_EQ(q.of(3), 0);
    EXPECT_EQ(q.of(4), -1);
    EXPECT_EQ(q.of(0), -1);
    writeBytes("q.dat", "puzzles {\n i = 1\n level1 = 9\n}\n");
    q.load(path("q.dat"));  // replaces, does not append
    EXPECT_EQ(q.entries.size(), 1u);
    EXPECT_EQ(q.of(1), 9);
    q.load(path("missing.dat"));
    EXPECT_EQ(q.of(1), -1);
}

// Owned flags follow the player's list when the screen opens; a piece already
// in a group counts as owned even if the list lost it, and does not fly in.
TEST_F(Screen, OwnedFlagsFollowThePlayersListAndGroupsStayOwned) {
    for (auto& p : level()->allPuzzles) p->aktywny = 1;
    place(piece(level(), 1), 300, 100);
    place(piece(level(), 2), 400, 100);
    level()->putPuzzle(piece(level(), 2));
    ASSERT_EQ(entries(level()), "3 4 (2 1)");
    own({3});
    piece(level(), 2)->nowy = 1;
    g.prepare();
    EXPECT_EQ(piece(level(), 3)->aktywny, 1);
    EXPECT_EQ(piece(level(), 4)->aktywny, 0);  // owned in the file, not by the player
    EXPECT_EQ(piece(level(), 1)->aktywny, 1);
    EXPECT_EQ(piece(level(), 2)->nowy, 0);
    EXPECT_EQ(profile->activePuzzles.size(), 3u);
    EXPECT_EQ(profile->puzzles, 3);
}

TEST_F(Screen, TopmostPieceIsPickedUpAndRaised) {
    own({1, 2, 3});
    ready();
    place(piece(level(), 1), 300, 100);
    place(piece(level(), 2), 350, 120);
    place(piece(level(), 3), 600, 400);
    level()->toTop(piece(level(), 2));
    level()->toTop(piece(level(), 3));
    frame(360, 130, false);
    EXPECT_EQ(g.over.get(), piece(level(), 2));  // 2 lies over 1 there
    frame(360, 130, true);
    EXPECT_EQ(g.click.get(), piece(level(), 2));
    EXPECT_EQ(level()->puzzles.back().get(), piece(level(), 2));
}

TEST_F(Screen, QuickClickSticksThePieceToThePointerUntilTheNextPress) {
    own({1, 2});
    ready();
    place(piece(level(), 1), 300, 100);
    place(piece(level(), 2), 600, 400);
    frame(620, 420, true);   // press on 2
    frame(620, 420, false);  // released at once
    EXPECT_EQ(g.clicked + g.holded, 0);
    frame(620, 420, false, false, 200);  // more than 200 ms since pick-up
    EXPECT_EQ(g.clicked, 1);
    frame(420, 140, false);  // follows the pointer without the button
    EXPECT_EQ(piece(level(), 2)->dim.x, 400);
    EXPECT_EQ(piece(level(), 2)->dim.y, 120);
    frame(424, 140, true, true);  // the next press drops it: it snaps to 1
    EXPECT_EQ(g.click, nullptr);
    EXPECT_EQ(entries(level()), "3 4 (2 1)");
    EXPECT_EQ(piece(level(), 2)->dim.x, 400);
}

TEST_F(Screen, HeldButtonDragsThePieceUntilRelease) {
    own({1, 2});
    ready();
    place(piece(level(), 1), 300, 100);
    place(piece(level(), 2), 600, 400);
    frame(620, 420, true);
    frame(620, 420, true, false, 250);
    EXPECT_EQ(g.holded, 1);
    frame(424, 130, true);
    EXPECT_EQ(g.click.get(), piece(level(), 2));
    EXPECT_EQ(piece(level(), 2)->dim.x, 404);
    frame(424, 130, false);  // released: dropped and snapped
    EXPECT_EQ(g.click, nullptr);
    EXPECT_EQ(entries(level()), "3 4 (2 1)");
}

// Every drop is saved at once, so a game killed on the board keeps it.
TEST_F(Screen, EveryDropIsSavedAtOnce) {
    const std::string dir = ::testing::TempDir() + "jigsaw_drop_save/";
    std::filesystem::remove_all(dir);
    connectJigsawToProfiles(profileHooks());
    profile->name = "Ann";
    profile->profilesDir = dir;
    own({1, 2});
    ready();
    place(piece(level(), 1), 300, 100);
    place(piece(level(), 2), 600, 400);
    frame(620, 420, true);
    frame(620, 420, true, false, 250);
    frame(720, 500, true);
    frame(720, 500, false);  // dropped far from its neighbour: no join
    ASSERT_EQ(piece(level(), 2)->dim.x, 700);
    auto saved = loadPuzzleLevel(dir + profile->folderName() + "/puzzleLevel.dat", 0);
    ASSERT_NE(saved, nullptr) << "nothing was saved at the drop";
    EXPECT_EQ(saved->getPuzzleById(2)->dim.x, 700);
    EXPECT_EQ(saved->getPuzzleById(2)->dim.y, 480);
    std::filesystem::remove_all(dir);
}

TEST_F(Screen, BackIsRefusedWhileEveryPieceIsOwnedAndUnsolved) {
    own({1, 2, 3, 4});
    ready();
    ASSERT_EQ(g.infoMustBe, 1);
    g.txtCantPlay = "Finish it first";
    g.goPlay();
    EXPECT_EQ(g.dFade, 0);
    EXPECT_EQ(g.notice(), "Finish it first");
    std::string shown;
    g.popUp = [&](const std::string& t, TEkran*) { shown = t; };
    g.goPlay();
    EXPECT_EQ(shown, "Finish it first");
    EXPECT_EQ(g.dFade, 0);
}

TEST_F(Screen, BackLeavesToPlayWhilePiecesAreMissing) {
    own({1, 2, 3});
    ready();
    EXPECT_EQ(g.infoMustBe, 0);
    g.goPlay();
    EXPECT_EQ(g.dFade, 1);
    EXPECT_EQ(g.wynik, "MAIN-GAME");
}

TEST_F(Screen, MenuLeavesOnlyOnTheMainMenuAnswer) {
    own({1});
    ready();
    g.menuQuestion = [](TEkran*) { return std::string("resume"); };
    g.goMenu();
    EXPECT_EQ(g.dFade, 0);
    g.menuQuestion = [](TEkran*) { return std::string("Main-Menu"); };
    g.goMenu();
    EXPECT_EQ(g.dFade, 1);
    EXPECT_EQ(g.wynik, "MAIN-MENU");
}

TEST_F(Screen, LastJoinWinsAndTheWinSequenceSendsEveryPieceToTheDog) {
    auto scene = std::make_shared<FakeOwnerScene>();
    g.ownerScene = scene;
    profile->nrStageu = 4;
    own({1, 2, 3, 4});
    ready();
    EXPECT_EQ(scene->dog, 4);
    place(piece(level(), 1), 300, 100);
    place(piece(level(), 2), 400, 100);
    place(piece(level(), 3), 300, 200);
    place(piece(level(), 4), 600, 400);
    level()->putPuzzle(piece(level(), 2));
    level()->putPuzzle(piece(level(), 3));
    frame(620, 420, true);
    frame(425, 225, true, false, 250);
    frame(425, 225, false);  // drops 4 in place: solved
    EXPECT_EQ(g.state, "WIN");
    EXPECT_EQ(g.wynik, "UBIERANIE");
    EXPECT_EQ(profile->ulozone, 1);
    g.alpha = 0;
    g._updateWin();
    EXPECT_GT(scene->behind, 0);
    EXPECT_EQ(g.state, "WIN-2");
    EXPECT_TRUE(level()->complete());  // kept whole for the save
    ASSERT_EQ(g.flying().size(), 4u);
    EXPECT_EQ(g.flying()[1]->startTime - g.flying()[0]->startTime, 100);
    for (int i = 0; i < 200 && !g._exit; ++i) {
        Backend().advanceClock(17);
        g._updateWin_2();
    }
    EXPECT_EQ(g._exit, 1);
    EXPECT_EQ(scene->ca[1], 1);
    EXPECT_EQ(scene->ca[0], 0);
}

// Each landing piece adds 1/N to the dressed picture and takes 1/N from the
// plain one; after N landings the dressed picture is fully shown.
TEST_F(Screen, AddDogAlphaGrowsByOneNthPerPiece) {
    for (int n : {1, 3, 7, 12, 42}) {
        std::vector<PieceSpec> specs;
        for (int k = 1; k <= n; ++k) specs.push_back({k, 0, 0, {}});
        g.level = makeLevel(specs);
        auto scene = std::make_shared<FakeOwnerScene>();
        g.ownerScene = scene;
        for (int k = 1; k <= n; ++k) {
            g.addDogAlpha();
            EXPECT_NEAR(scene->ca[1], float(k) / n, 1e-5) << n << " pieces, landing " << k;
            EXPECT_NEAR(scene->dCA[1], float(k) / n, 1e-5);
            EXPECT_NEAR(scene->ca[0], 1 - float(k) / n, 1e-5);
        }
        EXPECT_EQ(scene->ca[1], 1.0f) << n;
        EXPECT_EQ(scene->ca[0], 0.0f) << n;
        g.addDogAlpha();  // capped
        EXPECT_EQ(scene->ca[1], 1.0f);
        EXPECT_EQ(scene->dCA[0], 0.0f);
    }
    // Without an owner scene the screen keeps the blend itself.
    g.ownerScene = nullptr;
    g.level = makeLevel({{1, 0, 0, {}}, {2, 0, 0, {}}});
    g.dressCA[0] = 1, g.dressCA[1] = 0;
    g.addDogAlpha();
    EXPECT_FLOAT_EQ(g.dressCA[1], 0.5f);
}

}  // namespace
