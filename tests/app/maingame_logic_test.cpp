// The play screen's pure pieces (cross-fire cells, time strings) and its
// rules on a real level with the null backend: the countdown and the loss,
// the power-up modes and their uses, hints.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>

#include "PlayFixture.h"
#include "app/PlaySprites.h"
#include "app/TMainGame.h"
#include "data/DataGlobals.h"
#include "gui/TMouse.h"
#include "match3/TChip.h"
#include "match3/TChipData.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "match3/TMatchInfo.h"
#include "match3/TPowerUp.h"
#include "match3/TTile.h"
#include "platform/Backend.h"
#include "platform/Services.h"
#include "profiles/TProfile.h"

namespace {

using Cells = std::vector<std::pair<int, int>>;

TEST(MainGameCrossFire, CornerTakesOneDiagonalCentreTakesBoth) {
    auto all = [](int, int) { return true; };
    struct Case {
        const char* name;
        int r, c, rows, cols;
        Cells want;
    } cases[] = {
        {"top-left corner of 5x5",
         0,
         0,
         5,
         5,
         {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        {"bottom-right corner of 3x3", 2, 2, 3, 3, {{2, 2}, {2, 2}, {2, 2}, {2, 2}, {1, 1}, {0, 0}}},
        {"centre of 5x5",
         2,
         2,
         5,
         5,
         {{2, 2}, {2, 2}, {2, 2}, {2, 2}, {1, 1}, {1, 3}, {3, 3}, {3, 1}, {0, 0}, {0, 4}, {4, 4}, {4, 0}}},
        {"edge of a wide board", 0, 3, 2, 7, {{0, 3}, {0, 3}, {0, 3}, {0, 3}, {1, 4}, {1, 2}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TMainGame::crossFireCells(c.r, c.c, c.rows, c.cols, all), c.want) << c.name;
}

TEST(MainGameCrossFire, HolesAreSkippedButTheLineGoesOn) {
    // A hole at (1, 1) of a 4x4 board: the diagonal continues beyond it.
    auto ok = [](int r, int c) { return !(r == 1 && c == 1); };
    const Cells got = TMainGame::crossFireCells(0, 0, 4, 4, ok);
    EXPECT_EQ(got, (Cells{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {2, 2}, {3, 3}}));
}

TEST(MainGameStrings, TimeAndNumbers) {
    struct Case {
        int s;
        const char* want;
    } times[] = {{0, "0:00"},     {9, "0:09"},       {59, "0:59"},      {61, "1:01"}, {600, "10:00"},
                 {3599, "59:59"}, {3600, "1:00:00"}, {3725, "1:02:05"}, {-5, "0:00"}};
    for (const Case& c : times) EXPECT_EQ(TMainGame::formatTime(c.s), c.want) << c.s;
    EXPECT_EQ(TMainGame::cutFloat(1.5f), "1.5");
    EXPECT_EQ(TMainGame::cutFloat(2.0f), "2");
    EXPECT_EQ(TMainGame::cutFloat(0.25f), "0.25");
    EXPECT_EQ(TMainGame::cutFloat(1.239f), "1.24");
    EXPECT_EQ(TMainGame::cutFloat(-0.001f), "0");
    TMainGame g;
    EXPECT_EQ(g.getCutString(7, 3), "007");
    EXPECT_EQ(g.getCutString(1234, 2), "1234");
}

// A play screen on the fixture swap level, set up as the quest would.
class MainGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedRoot_ = dataRoot;
        dataRoot = std::string(BRIMBLE_GAME_DIR) + "/";
        frameDelta = 1.0f;
        SeedRnd(7);
        profile = std::make_shared<TProfile>();
        profile->allPowerUps = true;
        profile->gameMode = "RELAXED";
        game = std::make_shared<TMainGame>();
        game->profile = profile;
        game->setup();
        loadLevel("swap_basic.lvl");
    }
    void TearDown() override {
        PlaySprites::clearAll();
        game.reset();
        dataRoot = savedRoot_;
        mouse.clear();
        ResetInput();
    }
    void loadLevel(const std::string& name) {
        ASSERT_TRUE(PlayFixtureLevel(*game, name));
        game->level->setGlobalAlpha(1);
    }
    void tick(int ms) { Backend().advanceClock(ms); }
    void charge(int i) {
        TPowerUp& p = (*profile->powerUp[i]);
        p.data = TPowerUp::charge(i + 1);
        p.aktywny = 1;
    }
    TTilePtr tileWithChip(bool puzzle = false) {
        for (auto& row : game->level->tile)
            for (auto& t : row)
                if (t && t->chip && t->chip->cd && (t->chip->cd->puzzleChip != 0) == puzzle &&
                    t->chip->cd->id < 100)
                    return t;
        return nullptr;
    }
    // One frame's worth of input: the pointer on the tile's centre and, when
    // button is 1 (left) or 2 (right), a press of it since the last frame.
    void pointAt(const TTilePtr& t, int button = 0) {
        ASSERT_TRUE(t);
        InjectMouseMove(t->dim.x, t->dim.y);
        if (button) {
            InjectMouseButton(button, true);
            InjectMouseButton(button, false);
        }
        mouse.update();
        game->m3Game->_updateTileOver();
        ASSERT_EQ(game->m3Game->_updateTileOver_BEZWZGLEDNIE(), t) << "the pointer misses the tile";
        ASSERT_EQ(game->m3Game->overTile, t) << "the tile cannot be hovered";
    }
    int chipsOnBoard() {
        int n = 0;
        for (auto& row : game->level->tile)
            for (auto& t : row)
                if (t && t->chip && t->chip->state.empty()) ++n;
        return n;
    }
    std::string savedRoot_;
    std::shared_ptr<TProfile> profile;
    std::shared_ptr<TMainGame> game;
};

TEST_F(MainGameTest, CountdownOnlyWhenTimedAndLosingAsksTheLoseScreen) {
    int loses = 0;
    game->loseScreenLoop = [&] {
        ++loses;
        return std::string("RESTART");
    };
    // Relaxed: the budget stays, the played time counts.
    game->level->czas = 2;
    game->secondTime = Millisecs() + 1000;
    game->secondTime2 = Millisecs() + 1000;
    for (int i = 0; i < 5; ++i) {
        tick(1001);
        game->_updateTime();
    }
    EXPECT_EQ(game->level->czas, 2);
    EXPECT_EQ(game->levelTime, 5);
    EXPECT_EQ(loses, 0);
    // Timed: two ticks use the budget up and the lose screen's answer is taken.
    profile->gameMode = "TIMED";
    tick(1001);
    game->_updateTime();
    EXPECT_EQ(game->level->czas, 1);
    EXPECT_EQ(game->state, "NORMAL");
    tick(1001);
    game->_updateTime();
    EXPECT_EQ(game->level->czas, 0);
    EXPECT_EQ(loses, 1);
    EXPECT_EQ(game->state, "RESTART");
    game->_updateState();
    EXPECT_EQ(game->wynik, "RESTART-LEVEL");
    EXPECT_EQ(game->toExit, 1);
}

TEST_F(MainGameTest, TargetButtonsToggleAndReplaceEachOther) {
    game->useBonus(1);
    EXPECT_EQ(game->tryb, 1);
    game->useBonus(1);  // clicked again: disarmed, nothing spent
    EXPECT_EQ(game->tryb, 0);
    game->useBonus(2);
    EXPECT_EQ(game->tryb, 3);
    game->useBonus(6);  // another tool replaces it
    EXPECT_EQ(game->tryb, 2);
    game->useBonus(5);
    EXPECT_EQ(game->tryb, 4);
    EXPECT_EQ(game->bonusUse, (std::array<int, 6>{}));
    // While an emitter flies every button is ignored.
    PlaySprites::emitters.push_back(TBonusEmitter{});
    PlaySprites::emitters.back().sparks.push_back({});
    game->useBonus(4);
    game->useBonus(1);
    EXPECT_EQ(game->tryb, 4);
    EXPECT_EQ(game->bonusUse[3], 0);
}

TEST_F(MainGameTest, HammerBreaksAChipAndSpendsTheCharge) {
    charge(0);
    auto t = tileWithChip();
    ASSERT_TRUE(t);
    auto chip = t->chip;
    game->tryb = 1;
    mouse.leftPressed = 0;
    game->useHammerOnTile(t);  // no press: nothing
    EXPECT_EQ((*profile->powerUp[0]).aktywny, 1);
    mouse.leftPressed = 1;
    game->useHammerOnTile(t);
    EXPECT_NE(chip->state, "");  // on its way out
    EXPECT_EQ((*profile->powerUp[0]).aktywny, 0);
    EXPECT_EQ((*profile->powerUp[0]).data, 0);
    EXPECT_EQ(game->bonusUse[0], 1);
    EXPECT_EQ(game->tryb, 0);
}

TEST_F(MainGameTest, ReplaceSkipsBonusChipsAndTurnsOthersIntoTheTarget) {
    charge(4);
    auto t = tileWithChip();
    ASSERT_TRUE(t);
    const int kind = t->chip->cd->id;
    // A bonus chip is not a valid target.
    auto bonusCd = game->m3Game->getBonusChipData(104);
    ASSERT_TRUE(bonusCd);
    auto keep = t->chip->cd;
    t->chip->setChipData(bonusCd);
    game->tryb = 4;
    mouse.leftPressed = 1;
    game->useZamienOnTile(t);
    EXPECT_EQ(game->tryb, 4);
    EXPECT_EQ((*profile->powerUp[4]).aktywny, 1);
    t->chip->setChipData(keep);
    const size_t sameBefore = game->m3Game->getAllChipsLikeThisById(kind).size();
    mouse.leftPressed = 1;
    game->useZamienOnTile(t);
    EXPECT_EQ(game->tryb, 0);
    EXPECT_EQ((*profile->powerUp[4]).aktywny, 0);
    EXPECT_GE(game->vanishList.size(), 1u);
    for (auto& ch : game->vanishList) EXPECT_EQ(ch->cd->id, kind);
    EXPECT_GT(game->m3Game->getAllChipsLikeThisById(kind).size(), sameBefore);
}

TEST_F(MainGameTest, VanishColourTakesEveryChipOfTheKind) {
    charge(5);
    auto t = tileWithChip();
    ASSERT_TRUE(t);
    const int kind = t->chip->cd->id;
    const size_t n = game->m3Game->getAllChipsLikeThisById(kind).size();
    ASSERT_GT(n, 1u);
    game->tryb = 2;
    game->_updateTileVanish(t);
    EXPECT_EQ(game->vanishList.size(), n);
    mouse.leftPressed = 1;
    game->useVanishOnTile(t);
    EXPECT_TRUE(game->m3Game->getAllChipsLikeThisById(kind).empty());
    EXPECT_EQ(game->bonusUse[5], 1);
}

TEST_F(MainGameTest, ShuffleDropsEveryChipAndTheBoardRefills) {
    charge(3);
    const int before = chipsOnBoard();
    ASSERT_GT(before, 10);
    game->useBonus(4);
    EXPECT_EQ((*profile->powerUp[3]).aktywny, 0);
    EXPECT_EQ(static_cast<int>(PlaySprites::odpady.size()), before);
    // Run the board until the pieces are gone and new chips have landed.
    for (int f = 0; f < 60 * 8; ++f) {
        tick(17);
        PlaySprites::updateOdpady();
        game->m3Game->update();
    }
    EXPECT_TRUE(PlaySprites::odpady.empty());
    EXPECT_EQ(chipsOnBoard(), before);
}

// A round that can make no progress ends with a notice and the lose screen:
// at once when nothing can bring new pieces, after a few refills in a row
// without a match otherwise; a playable board goes on.
TEST_F(MainGameTest, ARoundThatCannotProgressEndsWithANotice) {
    // The stuck boards live apart from the board fixtures, which are all winnable.
    const struct {
        const char* level;
        bool ends;
        int refills;  // boards refilled before the end
    } cases[] = {{"../stuck/stuck_no_creators.lvl", true, 0},
                 {"../stuck/stuck_two_cells.lvl", true, TMainGame::kMaxIdleRefills},
                 {"swap_basic.lvl", false, 0}};
    for (const auto& c : cases) {
        loadLevel(c.level);
        game->m3Game->rAlpha = game->m3Game->dRAlpha = 1;  // the frame is in, as after the opening
        std::vector<std::string> notices;
        int loses = 0;
        game->showNotice = [&](const std::string& t) { notices.push_back(t); };
        game->loseScreenLoop = [&] {
            ++loses;
            return std::string("MAIN-MENU");
        };
        int frames = 0;
        for (; frames < 60 * 60 && game->state == "NORMAL"; ++frames) {
            tick(17);
            PlaySprites::updateOdpady();
            game->_STATE_Normal();
        }
        EXPECT_EQ(game->state != "NORMAL", c.ends) << c.level << " after " << frames << " frames";
        EXPECT_EQ(loses, c.ends ? 1 : 0) << c.level;
        ASSERT_EQ(notices.size(), c.ends ? 1u : 0u) << c.level;
        if (c.ends) {
            EXPECT_NE(notices[0].find("No move can be made"), std::string::npos) << notices[0];
            EXPECT_EQ(game->_idleRefills, c.refills + 1) << c.level;
        }
        PlaySprites::clearAll();
    }
}

TEST_F(MainGameTest, SwapHintShowsTwoArrowsThenWaits) {
    game->showHint();
    ASSERT_EQ(game->arrows.size(), 2u);
    EXPECT_EQ(game->hintTime, Millisecs() + 4000);
    // The next call with the arrows still up fades them and waits 45 s.
    game->showHint();
    EXPECT_EQ(game->hintTime, Millisecs() + 45000);
    for (auto& a : game->arrows) EXPECT_EQ(a->dA, 0);
    EXPECT_FALSE(game->hintInfo);
}

TEST_F(MainGameTest, PowerUpButtonRectanglesFollowTheToolTips) {
    const int ys[6] = {64, 156, 236, 316, 396, 484};
    for (int i = 1; i <= 6; ++i) {
        const TDim d = game->getPowerUpDim(i);
        // The button's centre sits in the middle of its tool-tip rectangle.
        EXPECT_EQ(d.x, 56) << i;
        EXPECT_GE(d.y, ys[i - 1]) << i;
        EXPECT_LE(d.y, ys[i - 1] + 67) << i;
    }
}

TEST_F(MainGameTest, RightPressHammersAtOnceWhenTheHammerIsCharged) {
    // The quick hammer needs no armed mode and no left press; a charged
    // hammer wins over whatever mode is armed, and its use disarms that mode.
    struct Case {
        const char* name;
        bool hammerCharged;
        int tryb;
        bool hammered;
        int trybAfter;
    } cases[] = {
        {"charged, nothing armed", true, 0, true, 0},
        {"charged, hammer armed", true, 1, true, 0},
        {"charged, cross-fire armed", true, 3, true, 0},
        {"charged, replace armed", true, 4, true, 0},
        {"not charged, nothing armed", false, 0, false, 0},
        {"not charged, cross-fire armed", false, 3, false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        loadLevel("swap_basic.lvl");
        game->resetPowerUps();
        if (c.hammerCharged) charge(0);
        charge(1);
        charge(4);
        const auto usesBefore = game->bonusUse;
        game->tryb = c.tryb;
        auto t = tileWithChip();
        ASSERT_TRUE(t);
        auto chip = t->chip;
        pointAt(t, 2);
        ASSERT_EQ(mouse.rightPressed, 1);
        ASSERT_EQ(mouse.leftPressed, 0);
        game->_updateTryb();
        EXPECT_EQ(chip->state, c.hammered ? "DESTROY" : "");
        EXPECT_EQ((*profile->powerUp[0]).aktywny, 0);  // spent, or never charged
        EXPECT_EQ(game->bonusUse[0] - usesBefore[0], c.hammered ? 1 : 0);
        EXPECT_EQ(game->tryb, c.trybAfter);
        // The armed tool is not used and keeps its charge.
        EXPECT_EQ(game->bonusUse[1], usesBefore[1]);
        EXPECT_EQ(game->bonusUse[4], usesBefore[4]);
        EXPECT_EQ((*profile->powerUp[1]).aktywny, 1);
        EXPECT_EQ((*profile->powerUp[4]).aktywny, 1);
    }
    // Off the board a right press spends nothing.
    loadLevel("swap_basic.lvl");
    charge(0);
    const int before = chipsOnBoard();
    const int usesBefore = game->bonusUse[0];
    InjectMouseMove(5, 5);
    InjectMouseButton(2, true);
    InjectMouseButton(2, false);
    mouse.update();
    ASSERT_FALSE(game->m3Game->_updateTileOver_BEZWZGLEDNIE());
    game->_updateTryb();
    EXPECT_EQ((*profile->powerUp[0]).aktywny, 1);
    EXPECT_EQ(game->bonusUse[0], usesBefore);
    EXPECT_EQ(chipsOnBoard(), before);
}

TEST_F(MainGameTest, TargetedUsesRefuseAPuzzleChipAndStayArmed) {
    struct Case {
        const char* name;
        int powerUp;  // index
        int tryb;
        int button;  // 1 left, 2 right (the quick hammer)
    } cases[] = {
        {"hammer", 0, 1, 1},        {"quick hammer", 0, 0, 2}, {"cross-fire", 1, 3, 1},
        {"vanish colour", 5, 2, 1}, {"replace", 4, 4, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        loadLevel("swap_puzzle.lvl");
        game->resetPowerUps();
        charge(c.powerUp);
        const auto usesBefore = game->bonusUse;
        auto t = tileWithChip(true);
        ASSERT_TRUE(t) << "the fixture has a puzzle chip";
        auto piece = t->chip;
        const int before = chipsOnBoard();
        game->tryb = c.tryb;
        pointAt(t, c.button);
        game->_updateTryb();
        EXPECT_EQ(t->chip, piece);
        EXPECT_EQ(piece->state, "");
        EXPECT_EQ(chipsOnBoard(), before);
        EXPECT_EQ((*profile->powerUp[c.powerUp]).aktywny, 1);
        EXPECT_EQ(game->bonusUse, usesBefore);
        EXPECT_EQ(game->tryb, c.tryb);
        EXPECT_EQ(mouse.leftPressed + mouse.rightPressed, 0);  // the press is swallowed
        // Still armed: the same press on an ordinary chip goes through.
        auto other = tileWithChip();
        ASSERT_TRUE(other);
        pointAt(other, c.button);
        game->_updateTryb();
        EXPECT_EQ((*profile->powerUp[c.powerUp]).aktywny, 0);
        EXPECT_EQ(game->bonusUse[static_cast<size_t>(c.powerUp)],
                  usesBefore[static_cast<size_t>(c.powerUp)] + 1);
        EXPECT_EQ(game->tryb, 0);
    }
}

TEST_F(MainGameTest, TutorialHintShowsTheArrowsAtOnceAndFadesTheOldOnes) {
    const auto move = game->m3Game->_noMatchLeft();
    ASSERT_TRUE(move && move->tile1 && move->tile2);
    game->hintTime = Millisecs() + 30000;  // the idle hint is still far off
    game->showHint2();
    ASSERT_EQ(game->arrows.size(), 2u);
    EXPECT_FALSE(game->hintInfo);
    EXPECT_EQ(game->hintTime, Millisecs() + 45000);
    // Arrow 1 stands by the move's first tile, arrow 0 by the second (tiles are 60 apart).
    std::set<int> kinds;
    for (auto& a : game->arrows) {
        kinds.insert(a->n);
        const auto& t = a->n == 1 ? move->tile1 : move->tile2;
        EXPECT_LE(std::hypot(a->x - t->dim.x, a->y - t->dim.y), 28.5f) << "arrow " << a->n;
        EXPECT_EQ(a->dA, 1.0f);
    }
    EXPECT_EQ(kinds, (std::set<int>{0, 1}));
    // Called again: the old pair fades out and a new pair comes in.
    const auto first = game->arrows;
    tick(1000);
    game->showHint2();
    EXPECT_EQ(game->hintTime, Millisecs() + 45000);
    ASSERT_EQ(game->arrows.size(), 4u);
    for (auto& a : game->arrows) {
        const bool old = std::find(first.begin(), first.end(), a) != first.end();
        EXPECT_EQ(a->dA, old ? 0.0f : 1.0f);
    }
}

TEST_F(MainGameTest, TutorialHintOnChainAndGroupBoardsKeepsTheMoveToShow) {
    struct Case {
        const char* level;
        int matchType;
    } cases[] = {{"chain_basic.lvl", 1}, {"group_basic.lvl", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        loadLevel(c.level);
        ASSERT_EQ(game->m3Game->matchType, c.matchType);
        game->arrows.clear();
        game->showHint2();
        ASSERT_TRUE(game->hintInfo);
        EXPECT_GE(game->hintInfo->zaznaczone.size(), 3u);
        EXPECT_TRUE(game->arrows.empty());
        EXPECT_EQ(game->hintTime, Millisecs() + 45000);
    }
}

TEST_F(MainGameTest, PauseStopsTheClocksAndHidesTheBoardOnlyAgainstTheClock) {
    // A pause of 30 s in each mode: the board is hidden only when timed; no
    // second of the budget, of the played time or of the hint wait passes.
    struct Case {
        const char* mode;
        bool hidden;
    } cases[] = {{"TIMED", true}, {"RELAXED", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        profile->gameMode = c.mode;
        game->setState("NORMAL");
        game->level->czas = 100;
        game->levelTime = 7;
        game->secondTime = Millisecs() + 500;
        game->secondTime2 = Millisecs() + 500;
        game->hintTime = Millisecs() + 2000;
        bool hiddenWhilePaused = !c.hidden;
        game->optionsLoop = [&] {
            EXPECT_TRUE(game->paused());
            hiddenWhilePaused = game->boardHidden();
            tick(30000);
            return std::string("RESUME");
        };
        EXPECT_FALSE(game->boardHidden());
        game->goMENU();
        EXPECT_EQ(hiddenWhilePaused, c.hidden);
        EXPECT_FALSE(game->paused());
        EXPECT_FALSE(game->boardHidden());
        EXPECT_EQ(game->state, "NORMAL");
        tick(400);  // still inside the second that was running when paused
        game->_updateTime();
        EXPECT_EQ(game->level->czas, 100);
        EXPECT_EQ(game->levelTime, 7);
        EXPECT_EQ(game->hintTime, Millisecs() + 1600);
        tick(200);  // that second ends now
        game->_updateTime();
        EXPECT_EQ(game->level->czas, c.hidden ? 99 : 100);
        EXPECT_EQ(game->levelTime, 8);
    }
}

TEST(MainGamePowerUpTips, WhatTheTipSaysAboutAPowerUp) {
    using S = TMainGame::PowerUpStatus;
    struct Case {
        const char* name;
        bool unlocked;
        float charge;
        bool chargeable;
        S want;
    } cases[] = {
        {"locked, whatever its charge", false, 1.0f, true, S::Locked},
        {"no colour of the level charges it", true, 0.0f, false, S::NotOnThisLevel},
        {"half charged earlier, no colour here", true, 0.5f, false, S::NotOnThisLevel},
        {"charged earlier, no colour here: still usable", true, 1.0f, false, S::Ready},
        {"full", true, 1.0f, true, S::Ready},
        {"charging", true, 0.99f, true, S::Charging},
        {"empty but chargeable", true, 0.0f, true, S::Charging},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TMainGame::powerUpStatus(c.unlocked, c.charge, c.chargeable), c.want) << c.name;
}

TEST_F(MainGameTest, OnlyTheLevelsColoursChargePowerUps) {
    // The swap fixture has five colours: the sixth power-up (the needle) can
    // never be charged there; a four-colour level leaves out the fifth too.
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(TMainGame::powerUpChargeable(i)) << i;
    EXPECT_FALSE(TMainGame::powerUpChargeable(5));
    loadLevel("group_basic.lvl");
    const size_t colours = game->level->availableChips.size();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(TMainGame::powerUpChargeable(i), static_cast<size_t>(i) < colours) << i;
}

TEST(MainGamePraise, LongCascadesAndBigMatchesEarnPraise) {
    struct Case {
        int size, cascade, want;
    } cases[] = {
        {3, 1, 0}, {5, 2, 0}, {6, 1, 1}, {7, 1, 1}, {8, 1, 2}, {10, 1, 3}, {13, 1, 4}, {40, 1, 4},
        {3, 3, 1}, {3, 4, 2}, {3, 5, 3}, {3, 6, 4}, {3, 9, 4}, {8, 5, 3},  {13, 3, 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TMainGame::praiseFor(c.size, c.cascade), c.want)
            << c.size << " chips, cascade " << c.cascade;
}

TEST_F(MainGameTest, PraiseClimbsWithTheCascadeOnceAMove) {
    game->praiseMatch(3, 1);
    EXPECT_EQ(game->praiseShown(), 0);
    game->praiseMatch(3, 3);
    EXPECT_EQ(game->praiseShown(), 1);
    game->praiseMatch(4, 3);  // the same praise is not said twice in a move
    EXPECT_EQ(game->praiseShown(), 1);
    game->praiseMatch(3, 5);
    EXPECT_EQ(game->praiseShown(), 3);
    game->praiseMatch(3, 1);  // the next move starts over
    EXPECT_EQ(game->praiseShown(), 0);
}

TEST_F(MainGameTest, GroupModeOutlinesTheHoveredGroupAndShakesATooShortOne) {
    loadLevel("group_basic.lvl");
    TTilePtr small, big;
    size_t bigSize = 0;
    for (auto& row : game->level->tile)
        for (auto& t : row) {
            if (!t || !t->chip || t->chip->isBonus() || t->chip->isPuzzle()) continue;
            auto g = game->m3Game->getMatchedChips(t);
            game->m3Game->clearMarks();
            const size_t n = g ? g->size() : 0;
            if (n >= 1 && n <= 2 && !small) small = t;
            if (n >= 3 && !big) big = t, bigSize = n;
        }
    ASSERT_TRUE(small && big) << "the fixture needs a lone chip and a group";
    pointAt(big);
    game->_updateFeedback();
    EXPECT_EQ(game->hoverGroup().size(), bigSize);
    pointAt(small);
    game->_updateFeedback();
    EXPECT_TRUE(game->hoverGroup().empty()) << "a group too small to go is not outlined";

    const auto chip = small->chip;
    pointAt(small, 1);
    game->m3Game->controlGame(0);
    EXPECT_EQ(small->chip, chip) << "a too-short group stays";
    EXPECT_TRUE(game->chipsShaking());
    tick(50);
    game->_updateFeedback();
    EXPECT_TRUE(chip->asx != 0 || chip->asy != 0) << "the refused chip shakes";
    tick(400);
    game->_updateFeedback();
    EXPECT_FALSE(game->chipsShaking());
    EXPECT_EQ(chip->asx, 0);
    EXPECT_EQ(chip->asy, 0);
}

TEST_F(MainGameTest, HoveredGroupIsSearchedOnceWhileTheBoardRestsAndAnewWhenItChanges) {
    loadLevel("group_basic.lvl");
    TTilePtr big;
    for (auto& row : game->level->tile)
        for (auto& t : row) {
            if (big || !t || !t->chip || t->chip->isBonus() || t->chip->isPuzzle()) continue;
            auto g = game->m3Game->getMatchedChips(t);
            game->m3Game->clearMarks();
            if (g && g->size() >= 3) big = t;
        }
    ASSERT_TRUE(big) << "the fixture needs a group";
    pointAt(big);
    game->_updateFeedback();
    const size_t size = game->hoverGroup().size();
    ASSERT_GE(size, 3u);
    const int searches = game->hoverGroupSearches();
    for (int i = 0; i < 30; ++i) game->_updateFeedback();
    EXPECT_EQ(game->hoverGroupSearches(), searches) << "a resting board is searched once";
    EXPECT_EQ(game->hoverGroup().size(), size);

    // A chip of the group changes kind: the outline follows at once.
    TTilePtr other;
    for (auto& row : game->level->tile)
        for (auto& t : row)
            if (!other && t && t->chip && t->chip->cd && t->chip->cd->id < 100 && big->chip->cd &&
                t->chip->cd->id != big->chip->cd->id)
                other = t;
    ASSERT_TRUE(other);
    std::shared_ptr<TChip> member;
    for (auto& ch : game->hoverGroup())
        if (ch != big->chip) member = ch;
    ASSERT_TRUE(member);
    const auto kind = member->cd;
    member->cd = other->chip->cd;
    game->_updateFeedback();
    EXPECT_GT(game->hoverGroupSearches(), searches);
    for (auto& ch : game->hoverGroup()) EXPECT_NE(ch, member) << "a chip that left the group is not outlined";
    member->cd = kind;
    game->_updateFeedback();
    EXPECT_EQ(game->hoverGroup().size(), size);

    // A chip of the group starts moving, then one is taken off the board.
    member->setState("FALL");
    game->_updateFeedback();
    for (auto& ch : game->hoverGroup()) EXPECT_NE(ch, member);
    member->setState("");
    game->_updateFeedback();
    EXPECT_EQ(game->hoverGroup().size(), size);
    TTile* gone = member->tile;
    ASSERT_TRUE(gone);
    gone->setChip(nullptr);
    game->_updateFeedback();
    EXPECT_LT(game->hoverGroup().size(), size);

    // Another tile under the pointer is searched again.
    const int before = game->hoverGroupSearches();
    pointAt(other);
    game->_updateFeedback();
    EXPECT_GT(game->hoverGroupSearches(), before);
}

TEST_F(MainGameTest, PlatesBrokenCountsWhatTheHudCountedDown) {
    // The swap fixture has one-layer plates (kind 2) and two-layer ones (3).
    TTilePtr one, two;
    for (auto& row : game->level->tile)
        for (auto& t : row) {
            if (t && t->td && t->td->id == 2 && !one) one = t;
            if (t && t->td && t->td->id == 3 && !two) two = t;
        }
    ASSERT_TRUE(one && two);
    const int hudAtStart = game->tilesLeft();
    EXPECT_EQ(game->platesAtStart, hudAtStart);
    EXPECT_EQ(game->platesBroken(), 0);
    const int layersBefore = game->level->tilesCount;
    two->matchHere();  // a layer off a two-layer plate: still a plate to break
    EXPECT_EQ(game->platesBroken(), 0);
    one->matchHere();
    two->matchHere();
    EXPECT_EQ(game->platesBroken(), 2);
    EXPECT_EQ(game->platesBroken(), hudAtStart - game->tilesLeft());
    EXPECT_EQ(game->level->tilesCount - layersBefore, 3) << "three layers broke on the way";
}

}  // namespace
