#include <algorithm>

#include "match3/TMatchInfo.h"
#include "rules_fixture.h"

namespace {
using Cells = std::vector<std::pair<int, int>>;

Cells cellsOf(const ChipListPtr& l) {
    Cells out;
    if (l)
        for (auto& ch : *l) out.push_back({ch->tile->r, ch->tile->c});
    return out;
}
}  // namespace

// Swap lines through the middle cell of small boards.
TEST_F(RulesTest, SwapLinesJoinOnlyWhenEachHasThree) {
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        size_t expected;
    } cases[] = {
        {"cross of two lines of 3 is one match of 5", {"313", "111", "313"}, 5},
        {"line of 3 with a perpendicular 2 gives 3", {"212", "111", "232"}, 3},
        {"lines of 2 both ways give nothing", {"111", "314", "125"}, 0},
        {"vertical line of 3 through the middle", {"212", "313", "414"}, 3},
    };
    for (auto& k : cases) {
        board(k.rows);
        EXPECT_EQ(game->getMatchedChipsSwap(tile(1, 1))->size(), k.expected) << k.name;
    }
    // The corner of an L counts both lines once.
    board({"111", "123", "145"});
    EXPECT_EQ(game->getMatchedChipsSwap(tile(0, 0))->size(), 5u);
}

TEST_F(RulesTest, FallingChipBreaksSwapLineButNotGroup) {
    board({"111", "234"});
    chip(0, 1)->state = "FALL-DOWN";
    EXPECT_TRUE(game->getMatchedChipsSwap(tile(0, 0))->empty());
    EXPECT_EQ(game->getMatchedChips(tile(0, 0))->size(), 3u);
    // In a chain only chips lying still join.
    EXPECT_EQ(game->getMatchedChipsChainSmall(tile(0, 0))->size(), 1u);
}

TEST_F(RulesTest, HolesEmptyTilesAndPuzzlePiecesNeverMatch) {
    board({"1#9", "1.1", "111"});
    EXPECT_EQ(game->getMatchedChipsSwap(tile(0, 1)), nullptr);  // hole
    EXPECT_EQ(game->getMatchedChips(tile(1, 1)), nullptr);      // empty plate
    ASSERT_NE(game->getMatchedChips(tile(0, 2)), nullptr);      // puzzle piece: empty list
    EXPECT_TRUE(game->getMatchedChips(tile(0, 2))->empty());
    EXPECT_TRUE(game->getMatchedChipsChain(tile(0, 2))->empty());
    // The group walks around the empty plate and the puzzle piece.
    EXPECT_EQ(game->getMatchedChips(tile(0, 0))->size(), 6u);
}

TEST_F(RulesTest, GroupFloodFillIsOrthogonalInDiscoveryOrder) {
    board({"12", "21", "11"});
    // (0,0) touches (1,1) only diagonally.
    EXPECT_EQ(cellsOf(game->getMatchedChips(tile(0, 0))), (Cells{{0, 0}}));
    EXPECT_EQ(cellsOf(game->getMatchedChips(tile(2, 0))), (Cells{{2, 0}, {2, 1}, {1, 1}}));
}

TEST_F(RulesTest, ChainPathFromOneEndOfAStraightLine) {
    board({"1111", "2323"}, "CHAIN");
    // The 3 chips nearest the start, ending with the start chip.
    EXPECT_EQ(cellsOf(game->getMatchedChipsChain(tile(0, 0))), (Cells{{0, 2}, {0, 1}, {0, 0}}));
    // A lone chip has an empty route.
    EXPECT_TRUE(game->getMatchedChipsChain(tile(1, 0))->empty());
    // Diagonal neighbours join a chain.
    board({"132", "414", "215"}, "CHAIN");
    EXPECT_EQ(game->getMatchedChipsChainSmall(tile(0, 0))->size(), 3u);
}

TEST_F(RulesTest, SwapHintsCoverTheLastRowAndColumnAndSkipChains) {
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        int chainR, chainC;  // -1: no chain
        int r1, c1, r2, c2, value;
    } cases[] = {
        {"vertical pair in the last column", {"112", "341"}, -1, -1, 0, 2, 1, 2, 3},
        {"horizontal pair in the last row", {"156", "178", "219"}, -1, -1, 2, 0, 2, 1, 3},
        {"a chained tile is never part of a hint", {"112", "341"}, 0, 2, -1, -1, -1, -1, 0},
        {"no move at all", {"12", "34"}, -1, -1, -1, -1, -1, -1, 0},
    };
    for (auto& k : cases) {
        board(k.rows);
        if (k.chainR >= 0) tile(k.chainR, k.chainC)->chain = 1;
        auto info = game->_noMatchLeft();
        EXPECT_EQ(info->maxMatch, k.value) << k.name;
        EXPECT_EQ(game->_MatchLeft_short(), k.value > 0 ? 1 : 0) << k.name;
        if (k.r1 < 0) {
            EXPECT_FALSE(info->tile1) << k.name;
            continue;
        }
        ASSERT_TRUE(info->tile1 && info->tile2) << k.name;
        EXPECT_EQ(info->tile1, tile(k.r1, k.c1)) << k.name;
        EXPECT_EQ(info->tile2, tile(k.r2, k.c2)) << k.name;
        // Trying the swaps leaves the board as it was.
        EXPECT_EQ(boardProblem(), "") << k.name;
    }
}

TEST_F(RulesTest, GroupAndChainHintsTakeTheLargestFirstInScanOrder) {
    board({"112", "333"}, "GROUP");
    auto g = game->_noMatchLeft();
    EXPECT_EQ(g->maxMatch, 3);
    EXPECT_EQ(g->tile1, tile(1, 0));
    EXPECT_EQ(g->zaznaczone.size(), 3u);
    // Chain hints ignore chains on tiles.
    board({"1111", "2345"}, "CHAIN");
    tile(0, 1)->chain = 2;
    auto c = game->_noMatchLeft();
    EXPECT_EQ(c->maxMatch, 3);
    EXPECT_EQ(c->tile1, tile(0, 0));
    EXPECT_EQ(game->_MatchLeft_short(), 1);
    board({"12", "21"}, "GROUP");
    EXPECT_EQ(game->_MatchLeft_short(), 0);
    EXPECT_EQ(game->_noMatchLeft()->maxMatch, 1);  // no threshold in the search itself
}

TEST_F(RulesTest, HintFadesOutHalfASecondBeforeItsTime) {
    TMatchInfo info;
    const int t = Millisecs() + 1000;
    info.update(t);
    EXPECT_FLOAT_EQ(info.a, 0.05f);
    Backend().advanceClock(600);
    info.update(t);  // now past t - 500
    EXPECT_EQ(info.da, 0);
    EXPECT_FLOAT_EQ(info.a, 0.0f);
}
