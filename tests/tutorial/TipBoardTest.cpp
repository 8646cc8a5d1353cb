// Tips on a real play screen (null backend, fixture levels): every show
// condition against a small board, the targets the arrows find, and a tip's
// run: locking, ending by each erase condition, ending itself when its
// target goes, and never leaving the screen locked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

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
#include "tutorial/TTutorialTip.h"

namespace {

using Words = std::vector<std::string>;

class TipBoardTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedRoot = dataRoot;
        dataRoot = std::string(BRIMBLE_GAME_DIR) + "/";
        frameDelta = 1.0f;
        SeedRnd(7);
        profile = std::make_shared<TProfile>();
        profile->allPowerUps = true;
        profile->gameMode = "RELAXED";
        game = std::make_shared<TMainGame>();
        game->profile = profile;
        game->setup();
        load("swap_basic.lvl");
        TTutorialTip::player = profile.get();
        TTutorialTip::tipDone = nullptr;
    }
    void TearDown() override {
        TTutorialTip::player = nullptr;
        TTutorialTip::tipDone = nullptr;
        PlaySprites::clearAll();
        game.reset();
        dataRoot = savedRoot;
        mouse.clear();
        ResetInput();
    }
    void load(const std::string& name) {
        auto lvl = loadLevelFile(std::string(BRIMBLE_SOURCE_DIR) + "/tests/fixtures/match3/" + name,
                                 game->m3Game.get());
        ASSERT_TRUE(lvl);
        game->setLevel(lvl);
        game->prepare();
        game->setState("NORMAL");
        game->level->setGlobalAlpha(1);
        game->alpha = 1;
        game->fade = game->dFade = 0;
    }
    TTilePtr tile(int r, int c) { return game->level->tile[static_cast<size_t>(r)][static_cast<size_t>(c)]; }
    // The condition written as in the file ("LEVEL 3 5") on the play screen.
    bool cond(const std::string& text, TEkran* screen = nullptr) {
        TTutorialTip::Entry e;
        std::string why;
        EXPECT_TRUE(TTutorialTip::parseCondition(TTutorialTip::words({text}), e, why)) << text << ": " << why;
        TTutorialTip t;
        return t.checkCondition(e, screen ? screen : game.get());
    }
    void expectConds(const std::vector<std::pair<const char*, bool>>& cases, const char* when) {
        for (auto& c : cases) EXPECT_EQ(cond(c.first), c.second) << c.first << " " << when;
    }
    void makeBonus(int r, int c, int kind) {
        auto cd = game->m3Game->getBonusChipData(kind);
        ASSERT_TRUE(cd) << "no bonus kind " << kind;
        tile(r, c)->chip->setChipData(cd);
    }
    // A tip made of entries written as in the file.
    static std::shared_ptr<TTutorialTip> tipOf(const Words& actions, const Words& erase,
                                               const Words& conditions = {}) {
        auto t = std::make_shared<TTutorialTip>();
        t->id = "TEST";
        t->screen = "MAIN-GAME";
        t->txt = "A tip.";
        std::string why;
        for (auto& a : actions) {
            TTutorialTip::Entry e;
            EXPECT_TRUE(TTutorialTip::parseAction(TTutorialTip::words({a}), e, why)) << a << why;
            t->actions.push_back(e);
        }
        for (auto& a : erase) {
            TTutorialTip::Entry e;
            EXPECT_TRUE(TTutorialTip::parseEraseCond(TTutorialTip::words({a}), e, why)) << a << why;
            t->eraseConds.push_back(e);
        }
        for (auto& a : conditions) {
            TTutorialTip::Entry e;
            EXPECT_TRUE(TTutorialTip::parseCondition(TTutorialTip::words({a}), e, why)) << a << why;
            t->conditions.push_back(e);
        }
        return t;
    }
    void tick(int ms) { Backend().advanceClock(ms); }
    void click() {
        InjectMouseMove(900, 600);
        InjectMouseButton(1, true);
        InjectMouseButton(1, false);
        mouse.update();
    }
    void noInput() {
        mouse.update();
        mouse.leftPressed = mouse.rightPressed = 0;
    }
    std::string savedRoot;
    std::shared_ptr<TProfile> profile;
    std::shared_ptr<TMainGame> game;
};

TEST_F(TipBoardTest, BoardConditionsOnASwapBoard) {
    // swap_basic: swap mode, chains on (3, 1) and (3, 5), kinds 1..5, no bonus, no piece.
    expectConds({{"FADE", true},
                 {"NOT FADE", false},
                 {"GAME-TYPE SWAP", true},
                 {"GAME-TYPE CHAIN", false},
                 {"GAME-TYPE GROUP", false},
                 {"MATCH", true},
                 {"CHAIN", true},
                 {"NOT CHAIN", false},
                 {"ANY-BONUS", false},
                 {"BONUS", false},
                 {"BONUS-TYPE BOMB", false},
                 {"IS-CHIP 5", true},
                 {"IS-CHIP 9", false},
                 {"IS-CHIP PUZZLE", false},
                 {"MATCHED", false},
                 {"CHAIN-BROKE", false},
                 {"PUZZLE-COLLECTED", false},
                 {"ALL-PUZZLE-COLLECTED", false}},
                "at the start");

    // A bomb lies on the board: any bonus, the bombs, not the cross-fire.
    makeBonus(0, 0, 104);
    expectConds({{"ANY-BONUS", true},
                 {"BONUS", true},
                 {"BONUS 104", true},
                 {"BONUS 101", false},
                 {"BONUS-TYPE BOMB", true},
                 {"BONUS-TYPE CROSSFIRE", false},
                 {"IS-CHIP 104", true}},
                "with a bomb");
    // Only chips at rest count: a falling bomb is not pointed at yet.
    tile(0, 0)->chip->state = "FALL-DOWN";
    EXPECT_FALSE(cond("ANY-BONUS"));
    // And a moving board offers no move to point at.
    EXPECT_FALSE(cond("MATCH"));
    tile(0, 0)->chip->state.clear();
    EXPECT_TRUE(cond("MATCH"));

    // The play screen's flags.
    game->chainBroken = 1;
    EXPECT_TRUE(cond("CHAIN-BROKE"));
    game->tileMatched = 1;
    EXPECT_TRUE(cond("MATCHED"));
    game->tileMatched = 0;
    game->level->log_iloscMatchy = 1;  // a match on plates already broken
    EXPECT_TRUE(cond("MATCHED"));

    // Chains gone: no chained chip.
    for (auto& row : game->level->tile)
        for (auto& t : row)
            if (t) t->chain = 0;
    EXPECT_FALSE(cond("CHAIN"));
}

TEST_F(TipBoardTest, FadeHoldsOnlyWhilePlayIsOnAndTheScreenIsIn) {
    EXPECT_TRUE(cond("FADE"));
    game->fade = 0.4f;
    EXPECT_FALSE(cond("FADE")) << "fading in";
    game->fade = 0;
    game->dFade = 1;
    EXPECT_FALSE(cond("FADE")) << "fading out";
    game->dFade = 0;
    game->alpha = 0.5f;
    EXPECT_FALSE(cond("FADE")) << "half shown";
    game->alpha = 1;
    for (const char* st : {"BEGIN", "WIN", "LOSE"}) {
        game->setState(st);
        EXPECT_FALSE(cond("FADE")) << st;
    }
    // Another screen: faded in is enough, and board conditions never hold there.
    TEkran other;
    other.id = "PUZZLE";
    other.alpha = 1;
    EXPECT_TRUE(cond("FADE", &other));
    for (const char* c : {"MATCH", "CHAIN", "GAME-TYPE SWAP", "IS-CHIP 1", "MATCHED"})
        EXPECT_FALSE(cond(c, &other)) << c;
}

TEST_F(TipBoardTest, PlayerConditions) {
    profile->nrLevelu = 5;
    expectConds({{"LEVEL 5", true}, {"LEVEL 6", false}, {"LEVEL 1 4", false}, {"LEVEL 3 9", true}, {"TIMED", false}},
                "on relaxed level 5");
    profile->gameMode = "TIMED";
    EXPECT_TRUE(cond("TIMED"));
    // Power-up 2 charged: only when it is uncovered too.
    TPowerUp& p2 = *profile->powerUp[1];
    p2.aktywny = 1;
    p2.odkryty = 1;
    expectConds({{"ACTIVEPOWER-UP 2", true}, {"ACTIVEPOWER-UP 3", false}, {"ACTIVEPOWER-UP", true}}, "charged");
    p2.odkryty = 0;
    EXPECT_FALSE(cond("ACTIVEPOWER-UP 2"));
    EXPECT_FALSE(cond("ACTIVEPOWER-UP"));
    // Another tip's fate comes from the tutorial.
    TTutorialTip::tipDone = [](const std::string& id) { return id == "SEEN"; };
    EXPECT_TRUE(cond("TIP-EXECUTED SEEN"));
    EXPECT_FALSE(cond("TIP-EXECUTED WAITING"));
    // Without a player nothing about a player holds.
    TTutorialTip::player = nullptr;
    for (const char* c : {"LEVEL 5", "TIMED", "ACTIVEPOWER-UP", "ALL-PUZZLES"}) EXPECT_FALSE(cond(c)) << c;
    EXPECT_TRUE(cond("NOT TIMED"));
}

TEST_F(TipBoardTest, PuzzlePieceTargetsAndCollection) {
    load("swap_puzzle.lvl");  // a piece on (1, 2) of a 5 x 5 board
    EXPECT_TRUE(cond("IS-CHIP PUZZLE"));
    TTutorialTip::Target t;
    ASSERT_TRUE(TTutorialTip::findTarget("PUZZLE", {}, game.get(), t));
    EXPECT_EQ(t.chip, tile(1, 2)->chip);
    // Where it leaves: the bottom plate of its column.
    ASSERT_TRUE(t.hasSecond);
    EXPECT_FLOAT_EQ(t.d2.x, tile(4, 2)->dim.x);
    EXPECT_FLOAT_EQ(t.d2.y, tile(4, 2)->dim.y);
    // A hole below ends the run of plates there.
    tile(3, 2)->setTileData(game->m3Game->getTileData(0));
    ASSERT_EQ(tile(3, 2)->kind(), 0);
    ASSERT_TRUE(TTutorialTip::findTarget("PUZZLE", {}, game.get(), t));
    EXPECT_FLOAT_EQ(t.d2.y, tile(2, 2)->dim.y);

    game->puzzleCollected = 1;
    EXPECT_TRUE(cond("PUZZLE-COLLECTED"));
    EXPECT_FALSE(cond("ALL-PUZZLE-COLLECTED")) << "a piece is still on the board";
    tile(1, 2)->setChip(nullptr);
    EXPECT_TRUE(cond("ALL-PUZZLE-COLLECTED"));
    EXPECT_FALSE(cond("IS-CHIP PUZZLE"));
}

TEST_F(TipBoardTest, MoveTargetsAreRealMovesInEachMode) {
    // Swap: the engine's best swap, two neighbours, arrows pointing at each other.
    TTutorialTip::Target t;
    ASSERT_TRUE(TTutorialTip::findTarget("MATCH", {}, game.get(), t));
    auto best = game->m3Game->_noMatchLeft_SWAP();
    ASSERT_TRUE(best && best->tile1 && best->tile2);
    EXPECT_EQ(t.chip, best->tile1->chip);
    EXPECT_EQ(t.chip2, best->tile2->chip);
    EXPECT_TRUE(t.swap);
    const int dr = best->tile1->r - best->tile2->r, dc = best->tile1->c - best->tile2->c;
    EXPECT_EQ(dr * dr + dc * dc, 1);
    // Each arrow points from its chip toward the other one.
    EXPECT_GT(t.dirX * (t.d2.x - t.d.x) + t.dirY * (t.d2.y - t.d.y), 0);
    EXPECT_GT(t.dir2X * (t.d.x - t.d2.x) + t.dir2Y * (t.d.y - t.d2.y), 0);

    // Chain: two chips of one kind, both in the hint's match.
    load("chain_basic.lvl");
    EXPECT_TRUE(cond("GAME-TYPE CHAIN"));
    ASSERT_TRUE(TTutorialTip::findTarget("MATCH", {}, game.get(), t));
    ASSERT_TRUE(t.hasSecond);
    EXPECT_NE(t.chip, t.chip2);
    EXPECT_EQ(t.chip->cd->id, t.chip2->cd->id);
    EXPECT_FALSE(t.swap);

    // Group: a chip of a group of three or more.
    load("group_basic.lvl");
    EXPECT_TRUE(cond("GAME-TYPE GROUP"));
    ASSERT_TRUE(TTutorialTip::findTarget("MATCH", {}, game.get(), t));
    auto g = game->m3Game->getMatchedChips(tile(t.chip->tile->r, t.chip->tile->c));
    ASSERT_TRUE(g);
    EXPECT_GE(g->size(), 3u);
}

TEST_F(TipBoardTest, ALockingTipWhoseChipGoesEndsItselfAndUnlocks) {
    makeBonus(2, 3, 104);
    auto t = tipOf({"SHOW-ME", "LOCK-GUI", "ARROW BONUS"}, {"OK"});
    EXPECT_TRUE(t->check(game.get()));
    t->reset(game.get());
    t->update(game.get());
    EXPECT_EQ(game->guiLocked, 1);
    ASSERT_EQ(t->arrows.size(), 1u);
    // The arrow follows its chip.
    const float x0 = t->arrows.front()->x;
    tile(2, 3)->chip->adx = 12;
    t->update(game.get());
    EXPECT_FLOAT_EQ(t->arrows.front()->x, x0 + 12);
    EXPECT_EQ(t->erase, 0);
    // The bomb is gone (blasted): after a moment's grace the tip ends and
    // the screen takes clicks again.
    tile(2, 3)->setChip(nullptr);
    t->update(game.get());
    tick(300);
    t->update(game.get());
    EXPECT_EQ(t->erase, 1);
    EXPECT_EQ(game->guiLocked, 0);
    for (int i = 0; i < 60 && !t->finished(); ++i) t->update(game.get());
    EXPECT_TRUE(t->finished());
}

TEST_F(TipBoardTest, ATargetMissingWhenItsArrowIsDueEndsTheTip) {
    makeBonus(2, 3, 104);
    auto t = tipOf({"LOCK-GUI", "WAIT 500", "ARROW BONUS"}, {"OK"});
    ASSERT_TRUE(t->check(game.get()));
    t->reset(game.get());
    t->update(game.get());
    EXPECT_EQ(game->guiLocked, 1);
    tile(2, 3)->setChip(nullptr);  // gone while the tip waited
    EXPECT_FALSE(t->check(game.get())) << "a tip whose target is missing is not started";
    tick(600);
    t->update(game.get());
    EXPECT_EQ(t->erase, 1);
    EXPECT_EQ(game->guiLocked, 0);
    EXPECT_TRUE(t->arrows.empty());
}

TEST_F(TipBoardTest, EachEraseCondition) {
    // MATCHED: matches made before the start do not count, one after does.
    game->tileMatched = 1;
    auto m = tipOf({"SHOW-ME"}, {"MATCHED"});
    m->reset(game.get());
    EXPECT_EQ(game->tileMatched, 0);
    m->update(game.get());
    EXPECT_EQ(m->erase, 0);
    game->level->log_iloscMatchy += 1;
    m->update(game.get());
    EXPECT_EQ(m->erase, 1);

    // OK: the button's click.
    auto ok = tipOf({"SHOW-ME"}, {"OK"});
    ok->reset(game.get());
    ok->update(game.get());
    EXPECT_EQ(ok->erase, 0);
    ok->okPressed = true;
    ok->update(game.get());
    EXPECT_EQ(ok->erase, 1);

    // MOUSE: not before the panel is up, then any click.
    auto ms = tipOf({"WAIT 1000", "SHOW-ME"}, {"MOUSE"});
    ms->reset(game.get());
    tick(400);
    click();
    ms->update(game.get());
    EXPECT_EQ(ms->erase, 0) << "a click before the panel showed";
    tick(1100);
    for (int i = 0; i < 20; ++i) {
        noInput();
        ms->update(game.get());
    }
    ASSERT_GE(ms->a, 0.5f);
    EXPECT_EQ(ms->erase, 0);
    click();
    ms->update(game.get());
    EXPECT_EQ(ms->erase, 1);

    // HIDE-ME: the tip goes by itself.
    auto h = tipOf({"SHOW-ME", "WAIT 1000", "HIDE-ME"}, {});
    h->reset(game.get());
    noInput();
    h->update(game.get());
    EXPECT_EQ(h->erase, 0);
    tick(1100);
    h->update(game.get());
    EXPECT_EQ(h->erase, 1);
}

TEST_F(TipBoardTest, PlayOverEndsATipOnlyAMatchCouldEnd) {
    auto onlyMatch = tipOf({"SHOW-ME"}, {"MATCHED"});
    auto withOk = tipOf({"SHOW-ME"}, {"MATCHED", "OK"});
    onlyMatch->reset(game.get());
    withOk->reset(game.get());
    game->setState("WIN");
    onlyMatch->update(game.get());
    withOk->update(game.get());
    EXPECT_EQ(onlyMatch->erase, 1) << "would hold the win forever";
    EXPECT_EQ(withOk->erase, 0) << "the player can still close it";
}

TEST_F(TipBoardTest, PanelsStayOnScreenBesideTheBoard) {
    auto t = tipOf({"SHOW-ME", "DOUBLE-ARROW MATCH"}, {"MATCHED"});
    t->autoID = {"AUTOMATCH"};
    t->txt = "Swap two neighbouring pieces to line up three of a kind.";
    ASSERT_TRUE(t->check(game.get()));
    t->reset(game.get());
    float right = 0;
    for (auto& row : game->level->tile)
        for (auto& tl : row)
            if (tl) right = std::max(right, tl->dim.x + 30);
    EXPECT_GE(t->dim.x, right) << "the panel covers the board of seven columns";
    EXPECT_GE(t->dim.x, 0);
    EXPECT_LE(t->dim.x + t->dim.w, 1024);
    EXPECT_GE(t->dim.y, 0);
    EXPECT_LE(t->dim.y + t->dim.h, 768);
    // The two arrows sit on the move's chips.
    t->update(game.get());
    ASSERT_EQ(t->arrows.size(), 2u);
    auto best = game->m3Game->_noMatchLeft_SWAP();
    EXPECT_EQ(t->arrows.front()->myObject.lock(), best->tile1->chip);
    EXPECT_EQ(t->arrows.back()->myObject.lock(), best->tile2->chip);

    // On a board too wide for the room beside it the panel stands over the
    // board but clear of both chips of the move.
    load("swap_basic.lvl");
    for (auto& row : game->level->tile)
        for (auto& tl : row)
            if (tl) tl->dim.x = 512 + (tl->dim.x - 504) * 1.5f;  // stretched to 9 columns' width
    t->reset(game.get());
    best = game->m3Game->_noMatchLeft_SWAP();
    for (auto* tl : {best->tile1.get(), best->tile2.get()}) {
        const bool overlaps = tl->dim.x + 30 > t->dim.x && tl->dim.x - 30 < t->dim.x + t->dim.w &&
                              tl->dim.y + 30 > t->dim.y && tl->dim.y - 30 < t->dim.y + t->dim.h;
        EXPECT_FALSE(overlaps) << "the panel covers the move at row " << tl->r << " column " << tl->c;
    }
    EXPECT_GE(t->dim.x, 0);
    EXPECT_LE(t->dim.x + t->dim.w, 1024);

    // A fixed position past the edge is pulled back inside.
    auto p = tipOf({"SHOW-ME"}, {"OK"});
    p->autoID = {"POSITION", "1000", "760"};
    p->reset(game.get());
    EXPECT_LE(p->dim.x + p->dim.w, 1024);
    EXPECT_LE(p->dim.y + p->dim.h, 768);
    // Longer texts make taller panels.
    auto s = tipOf({"SHOW-ME"}, {"OK"});
    s->txt = "Short.";
    s->reset(game.get());
    auto l = tipOf({"SHOW-ME"}, {"OK"});
    for (int i = 0; i < 40; ++i) l->txt += "many words here ";
    l->reset(game.get());
    EXPECT_GT(l->dim.h, s->dim.h);
}

}  // namespace
