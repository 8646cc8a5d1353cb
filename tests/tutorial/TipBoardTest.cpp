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
#include "tutorial/TTutorialTip.h"

namespace {

using Words = std::vector<std::string>;
using Cell = TTutorialTip::Cell;

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
        ASSERT_TRUE(PlayFixtureLevel(*game, name));
        game->level->setGlobalAlpha(1);
        game->alpha = 1;
        game->fade = game->dFade = 0;
        game->closeGoalCard();
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
    // The level's goal card is read first.
    game->prepare();
    game->setState("NORMAL");
    game->alpha = 1;
    game->fade = game->dFade = 0;
    ASSERT_TRUE(game->goalCardShown());
    EXPECT_FALSE(cond("FADE")) << "under the goal card";
    game->closeGoalCard();
    EXPECT_TRUE(cond("FADE"));
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
    expectConds(
        {{"LEVEL 5", true}, {"LEVEL 6", false}, {"LEVEL 1 4", false}, {"LEVEL 3 9", true}, {"TIMED", false}},
        "on relaxed level 5");
    profile->gameMode = "TIMED";
    EXPECT_TRUE(cond("TIMED"));
    // Power-up 2 charged: only when it is uncovered too.
    TPowerUp& p2 = *profile->powerUp[1];
    p2.aktywny = 1;
    p2.odkryty = 1;
    expectConds({{"ACTIVEPOWER-UP 2", true}, {"ACTIVEPOWER-UP 3", false}, {"ACTIVEPOWER-UP", true}},
                "charged");
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

// Every swap of the board that makes a line of three, worked out here from
// the chips' kinds alone: the two cells and the cells of the lines made.
struct SwapMove {
    Cell a, b;
    std::vector<Cell> match;
};

std::vector<SwapMove> allSwaps(const TLevel& lvl) {
    const int R = lvl.rows, C = lvl.cols;
    auto kindAt = [&](int r, int c) -> int {
        const TTile* t = lvl.tileAt(r, c);
        if (!t || t->kind() == 0 || !t->chip || !t->chip->cd || t->chip->cd->puzzleChip) return 0;
        return t->chip->cd->id;
    };
    std::vector<SwapMove> out;
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c)
            for (auto d : {Cell{0, 1}, Cell{1, 0}}) {
                const int r2 = r + d.r, c2 = c + d.c;
                const TTile *t1 = lvl.tileAt(r, c), *t2 = lvl.tileAt(r2, c2);
                if (!t1 || !t2 || !t1->chip || !t2->chip || t1->chain || t2->chain || t1->kind() == 0 ||
                    t2->kind() == 0)
                    continue;
                std::vector<std::vector<int>> k(static_cast<size_t>(R),
                                                std::vector<int>(static_cast<size_t>(C)));
                for (int i = 0; i < R; ++i)
                    for (int j = 0; j < C; ++j)
                        k[static_cast<size_t>(i)][static_cast<size_t>(j)] = kindAt(i, j);
                std::swap(k[static_cast<size_t>(r)][static_cast<size_t>(c)],
                          k[static_cast<size_t>(r2)][static_cast<size_t>(c2)]);
                auto at = [&](int i, int j) {
                    return i < 0 || j < 0 || i >= R || j >= C
                               ? 0
                               : k[static_cast<size_t>(i)][static_cast<size_t>(j)];
                };
                SwapMove m{{r, c}, {r2, c2}, {}};
                for (Cell p : {m.a, m.b}) {
                    const int kind = at(p.r, p.c);
                    if (!kind) continue;
                    for (auto dir : {Cell{0, 1}, Cell{1, 0}}) {
                        std::vector<Cell> line{p};
                        for (int s = 1; at(p.r + dir.r * s, p.c + dir.c * s) == kind; ++s)
                            line.push_back({p.r + dir.r * s, p.c + dir.c * s});
                        for (int s = 1; at(p.r - dir.r * s, p.c - dir.c * s) == kind; ++s)
                            line.push_back({p.r - dir.r * s, p.c - dir.c * s});
                        if (line.size() < 3) continue;
                        for (Cell x : line)
                            if (std::find(m.match.begin(), m.match.end(), x) == m.match.end())
                                m.match.push_back(x);
                    }
                }
                if (!m.match.empty()) out.push_back(m);
            }
    return out;
}

int platesUnder(const TLevel& lvl, const std::vector<Cell>& cells) {
    int n = 0;
    for (Cell c : cells) n += lvl.tileAt(c.r, c.c)->kind() >= 2 ? 1 : 0;
    return n;
}

bool has(const std::vector<Cell>& v, Cell c) {
    return std::find(v.begin(), v.end(), c) != v.end();
}

TEST_F(TipBoardTest, ASwapTargetIsARealMoveOverMostPlates) {
    auto moves = allSwaps(*game->level);
    ASSERT_GE(moves.size(), 2u);
    auto same = [](const SwapMove& m, const TTutorialTip::Target& t) {
        return (m.a == t.cell && m.b == t.cell2) || (m.a == t.cell2 && m.b == t.cell);
    };
    TTutorialTip::Target t;
    ASSERT_TRUE(TTutorialTip::findTarget("MATCH", {}, game.get(), t));
    EXPECT_TRUE(t.swap);
    EXPECT_EQ(t.chip, tile(t.cell.r, t.cell.c)->chip);
    EXPECT_EQ(t.chip2, tile(t.cell2.r, t.cell2.c)->chip);
    auto found = std::find_if(moves.begin(), moves.end(), [&](const SwapMove& m) { return same(m, t); });
    ASSERT_NE(found, moves.end()) << "no match from swapping " << t.cell.r << "," << t.cell.c << " and "
                                  << t.cell2.r << "," << t.cell2.c;
    // No other move breaks more plates.
    for (auto& m : moves) EXPECT_LE(platesUnder(*game->level, m.match), t.plates);
    EXPECT_EQ(t.plates, platesUnder(*game->level, found->match));
    // What the arrows keep off: both chips and the whole match.
    for (Cell c : found->match) EXPECT_TRUE(has(t.keepClear, c)) << c.r << "," << c.c;
    EXPECT_TRUE(has(t.keepClear, t.cell) && has(t.keepClear, t.cell2));

    // Only the cells of a small move that is not the engine's pick keep their
    // plates: the tip teaches that move, not the bigger one over bare plates.
    auto engine = game->m3Game->_noMatchLeft_SWAP();
    ASSERT_TRUE(engine && engine->tile1 && engine->tile2);
    const Cell e1{engine->tile1->r, engine->tile1->c}, e2{engine->tile2->r, engine->tile2->c};
    const SwapMove* small = nullptr;
    for (auto& m : moves)
        if (!((m.a == e1 && m.b == e2) || (m.a == e2 && m.b == e1)) &&
            (!small || m.match.size() < small->match.size()))
            small = &m;
    ASSERT_TRUE(small);
    for (auto& row : game->level->tile)
        for (auto& tl : row)
            if (tl && tl->kind() > 0) tl->setTileData(game->m3Game->getTileData(1));
    for (Cell c : small->match) tile(c.r, c.c)->setTileData(game->m3Game->getTileData(2));
    ASSERT_TRUE(TTutorialTip::findTarget("MATCH", {}, game.get(), t));
    EXPECT_GE(t.plates, 1);
    EXPECT_FALSE((t.cell == e1 && t.cell2 == e2) || (t.cell == e2 && t.cell2 == e1))
        << "the engine's move breaks nothing";
}

TEST_F(TipBoardTest, ChainAndGroupTargetsAreRealMoves) {
    // Chain: a path of touching chips (corners count) of one kind, the arrows' targets at its ends.
    load("chain_basic.lvl");
    EXPECT_TRUE(cond("GAME-TYPE CHAIN"));
    TTutorialTip::Target t;
    ASSERT_TRUE(TTutorialTip::findTarget("MATCH", {}, game.get(), t));
    ASSERT_GE(t.move.size(), 3u);
    ASSERT_TRUE(t.hasSecond);
    EXPECT_FALSE(t.swap);
    EXPECT_EQ(t.chip, t.move.front());
    EXPECT_EQ(t.chip2, t.move.back());
    for (size_t i = 0; i < t.move.size(); ++i) {
        EXPECT_EQ(t.move[i]->cd->id, t.move[0]->cd->id);
        for (size_t j = 0; j < i; ++j) EXPECT_NE(t.move[i], t.move[j]) << "a chip twice in the path";
        if (i == 0) continue;
        const TTile *a = t.move[i - 1]->tile, *b = t.move[i]->tile;
        EXPECT_LE(std::abs(a->r - b->r), 1);
        EXPECT_LE(std::abs(a->c - b->c), 1);
    }
    // The engine's chain hint is no longer than the path (the path is the longest chain).
    auto hint = game->m3Game->_noMatchLeft();
    if (hint) {
        EXPECT_LE(hint->maxMatch, static_cast<int>(t.move.size()));
    }
    // A chain that bends: an upturned V of five chips of a new kind over the
    // only plates left, the first in reading order at its top. The path
    // runs from one foot over the top to the other.
    for (auto& row : game->level->tile)
        for (auto& tl : row)
            if (tl && tl->kind() > 0) tl->setTileData(game->m3Game->getTileData(1));
    const Cell vee[] = {{3, 0}, {2, 1}, {1, 2}, {2, 3}, {3, 4}};
    auto kind5 = game->m3Game->getChipData(5);
    ASSERT_TRUE(kind5);
    for (Cell c : vee) {
        tile(c.r, c.c)->chip->setChipData(kind5);
        tile(c.r, c.c)->setTileData(game->m3Game->getTileData(2));
    }
    ASSERT_TRUE(TTutorialTip::findTarget("MATCH", {}, game.get(), t));
    ASSERT_EQ(t.move.size(), 5u);
    EXPECT_EQ(t.plates, 5);
    const bool forth = t.cell == vee[0], back = t.cell == vee[4];
    EXPECT_TRUE(forth || back) << "the path starts at " << t.cell.r << "," << t.cell.c;
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(t.move[i], tile(vee[forth ? i : 4 - i].r, vee[forth ? i : 4 - i].c)->chip) << i;

    // Group: a group of three or more of one kind, pointed at on one of its chips.
    load("group_basic.lvl");
    ASSERT_TRUE(TTutorialTip::findTarget("MATCH", {}, game.get(), t));
    ASSERT_GE(t.move.size(), 3u);
    EXPECT_NE(std::find(t.move.begin(), t.move.end(), t.chip), t.move.end());
    auto g = game->m3Game->getMatchedChips(tile(t.chip->tile->r, t.chip->tile->c));
    game->m3Game->clearMarks();
    ASSERT_TRUE(g);
    EXPECT_EQ(g->size(), t.move.size()) << "the whole group is the move";
    // Three touching bombs over the only plates are no group to click (a
    // click sets a bomb off): the tip teaches a group of plain pieces.
    for (auto& row : game->level->tile)
        for (auto& tl : row)
            if (tl && tl->kind() > 0) tl->setTileData(game->m3Game->getTileData(1));
    for (int c = 0; c < 3; ++c) {
        makeBonus(0, c, 104);
        tile(0, c)->setTileData(game->m3Game->getTileData(2));
    }
    ASSERT_TRUE(TTutorialTip::findTarget("MATCH", {}, game.get(), t));
    for (auto& ch : t.move) EXPECT_LT(ch->cd->id, 100) << "a bonus piece in the group";
    EXPECT_EQ(t.plates, 0);
}

TEST_F(TipBoardTest, ArrowsAtAMoveLieOffItAndPointAtItsChips) {
    for (const char* lvl : {"swap_basic.lvl", "chain_basic.lvl", "group_basic.lvl"}) {
        SCOPED_TRACE(lvl);
        load(lvl);
        auto t = tipOf({"SHOW-ME", "DOUBLE-ARROW MATCH", "LIGHT-UP MATCH"}, {"MATCHED"});
        TTutorialTip::Target target;
        ASSERT_TRUE(TTutorialTip::findTarget("MATCH", {}, game.get(), target));
        t->reset(game.get());
        t->update(game.get());
        ASSERT_EQ(t->erase, 0);
        ASSERT_EQ(t->arrows.size(), 2u);
        for (auto& ar : t->arrows) {
            auto chip = ar->myObject.lock();
            ASSERT_TRUE(chip);
            const TTile* on = chip->tile;
            // Its tip is on its chip.
            EXPECT_LT(std::fabs(ar->x - on->dim.x), 30.0f);
            EXPECT_LT(std::fabs(ar->y - on->dim.y), 30.0f);
            // Its body lies on a cell that is no part of the move or its match.
            const float rad = ar->rot * 3.14159265f / 180.0f;
            const float bx = ar->x - std::sin(rad) * 40, by = ar->y + std::cos(rad) * 40;
            for (auto& row : game->level->tile)
                for (auto& tl : row)
                    if (tl && tl->kind() > 0 && std::fabs(tl->dim.x - bx) < 30 &&
                        std::fabs(tl->dim.y - by) < 30) {
                        EXPECT_FALSE(has(target.keepClear, Cell{tl->r, tl->c}))
                            << "an arrow lies on row " << tl->r << " column " << tl->c;
                    }
        }
        // The play screen's own hint waits while the tip points at the board.
        game->hintTime = Millisecs() + 100;
        t->update(game.get());
        EXPECT_GE(game->hintTime, Millisecs() + 4000);
        // Every chip of the move is lit.
        auto lit = t->litPlaces();
        ASSERT_EQ(lit.size(), target.move.size());
        for (size_t i = 0; i < lit.size(); ++i) {
            EXPECT_FLOAT_EQ(lit[i].x, target.move[i]->tile->dim.x);
            EXPECT_FLOAT_EQ(lit[i].y, target.move[i]->tile->dim.y);
        }
    }
}

TEST_F(TipBoardTest, AnArrowSideKeepsOffTheMoveAndPrefersTheFrame) {
    // On the 7 x 7 board with a hole at (3, 3).
    const TLevel& lvl = *game->level;
    using C = Cell;
    struct Case {
        C at;
        std::vector<C> clear;
        C taken;
        float ax, ay;
        C want;
        const char* why;
    } cases[] = {
        {{0, 2}, {}, {-9, -9}, 0, 0, {-1, 0}, "top row: from above, over the frame"},
        {{6, 2}, {}, {-9, -9}, 0, 0, {1, 0}, "bottom row: from below"},
        {{3, 2}, {}, {-9, -9}, 0, 0, {0, 1}, "beside the hole: over the hole"},
        {{2, 2}, {{1, 2}}, {-9, -9}, 0, -1, {0, -1}, "above is part of the move: from the side it may"},
        {{2, 2}, {{1, 2}, {2, 1}}, {-9, -9}, 0, -1, {0, 1}, "above and left taken: right"},
        {{1, 4}, {}, {-9, -9}, 0, 1, {1, 0}, "wanted from below"},
        {{2, 2}, {}, {-9, -9}, 0, 1, {1, 1}, "wanted from below, where the hole is a step aside"},
        {{2, 2}, {}, {1, 2}, 0, -1, {0, -1}, "the other arrow lies above"},
        {{2, 6}, {}, {-9, -9}, 0, 0, {-1, 0}, "right column: not over the panels' side"},
        {{2, 0}, {}, {-9, -9}, 0, 0, {0, -1}, "left column: over the frame"},
    };
    for (auto& c : cases) {
        const C got = TTutorialTip::arrowSide(lvl, c.at, c.clear, c.taken, c.ax, c.ay);
        EXPECT_TRUE(got == c.want) << c.why << ": got " << got.r << "," << got.c;
    }
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

TEST_F(TipBoardTest, StartHintShowsThePlayScreensHintAtOnce) {
    game->arrows.clear();
    game->hintTime = Millisecs() + 100000;
    auto t = tipOf({"SHOW-ME", "START-HINT"}, {"MATCHED"});
    t->reset(game.get());
    t->update(game.get());
    EXPECT_FALSE(game->arrows.empty()) << "no hint arrows on a swap board";
    EXPECT_GE(game->hintTime, Millisecs() + 40000);
}

TEST_F(TipBoardTest, ATipHoldingTheBoardHoldsTheClock) {
    // Timed play: the clock loses a second a second, but not while a tip
    // holds the board; it goes on once the tip has gone.
    profile->gameMode = "TIMED";
    game->level->czas = 60;
    game->secondTime = Millisecs() + 1000;
    auto run = [&](int seconds) {
        for (int i = 0; i < seconds * 10; ++i) {
            tick(100);
            game->_updateTime();
        }
    };
    run(3);
    const int before = game->level->czas;
    EXPECT_LE(before, 58);
    auto t = tipOf({"SHOW-ME", "LOCK-GUI"}, {"OK"});
    t->reset(game.get());
    t->update(game.get());
    ASSERT_EQ(game->guiLocked, 1);
    run(10);
    EXPECT_EQ(game->level->czas, before) << "the clock ran under the tip";
    t->okPressed = true;
    t->update(game.get());
    ASSERT_EQ(game->guiLocked, 0);
    run(3);
    EXPECT_GE(before - game->level->czas, 2);
    EXPECT_LE(before - game->level->czas, 3);
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
    // The two arrows point at the move's chips.
    t->update(game.get());
    ASSERT_EQ(t->arrows.size(), 2u);
    TTutorialTip::Target move;
    ASSERT_TRUE(TTutorialTip::findTarget("MATCH", {}, game.get(), move));
    EXPECT_EQ(t->arrows.front()->myObject.lock(), move.chip);
    EXPECT_EQ(t->arrows.back()->myObject.lock(), move.chip2);

    // On a board too wide for the room beside it the panel stands over the
    // board but clear of both chips of the move.
    load("swap_basic.lvl");
    for (auto& row : game->level->tile)
        for (auto& tl : row)
            if (tl) tl->dim.x = 512 + (tl->dim.x - 504) * 1.5f;  // stretched to 9 columns' width
    t->reset(game.get());
    ASSERT_TRUE(TTutorialTip::findTarget("MATCH", {}, game.get(), move));
    for (auto* tl : {move.chip->tile, move.chip2->tile}) {
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
