#include "match3/TPara.h"
#include "rules_fixture.h"

TEST_F(RulesTest, SwapOntoChainOrWithAMovingChipIsRefusedWithoutMovement) {
    struct Case {
        const char* name;
        bool chained;
        bool moving;
    } cases[] = {{"chained partner", true, false}, {"moving partner", false, true}};
    for (auto& k : cases) {
        board({"12", "34"});
        if (k.chained) tile(0, 1)->chain = 1;
        if (k.moving) chip(0, 1)->state = "FALL-DOWN";
        auto a = chip(0, 0), b = chip(0, 1);
        game->swapChips(tile(0, 0), tile(0, 1));
        EXPECT_EQ(chip(0, 0), a) << k.name;
        EXPECT_EQ(chip(0, 1), b) << k.name;
        EXPECT_EQ(a->state, "") << k.name;
        EXPECT_TRUE(game->swapsList.empty()) << k.name;
    }
}

TEST_F(RulesTest, SwapWithoutMatchIsPlayedBack) {
    board({"123", "456"});
    auto a = chip(0, 0), b = chip(0, 1);
    game->swapChips(tile(0, 0), tile(0, 1));
    EXPECT_EQ(chip(0, 0), b);  // exchanged at once, moving toward their new tiles
    EXPECT_EQ(a->state, "MOVE-RIGHT");
    EXPECT_EQ(b->state, "MOVE-LEFT");
    settle();
    EXPECT_EQ(chip(0, 0), a);
    EXPECT_EQ(chip(0, 1), b);
    EXPECT_EQ(effects.badMatch, 1);
    EXPECT_TRUE(game->swapsList.empty());
    EXPECT_EQ(tile(0, 0)->swap, nullptr);
}

TEST_F(RulesTest, SwapMakingALineClearsIt) {
    board({"1213", "4565"}, "SWAP");
    game->swapChips(tile(0, 1), tile(1, 1));  // 2 <-> 5: row 1 has no line, row 0 neither
    settle();
    EXPECT_EQ(effects.badMatch, 1);
    board({"1213", "4165"});
    game->swapChips(tile(0, 1), tile(1, 1));  // brings a 1 between the 1s
    settle();
    EXPECT_EQ(effects.badMatch, 1);           // no new bad match
    EXPECT_EQ(game->level->log_iloscMatchy, 1);
    EXPECT_EQ(game->level->score, 150);
    EXPECT_FALSE(chip(0, 0));
    EXPECT_EQ(boardProblem(), "");
}

TEST_F(RulesTest, SwappingABonusChipSetsItOff) {
    board({"B1", "23"});
    game->swapChips(tile(0, 0), tile(0, 1));
    settle();
    // The bomb went off on arrival: nothing of the 2x2 board survives.
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) EXPECT_FALSE(chip(r, c)) << r << "," << c;
    EXPECT_EQ(effects.badMatch, 0);
}

TEST_F(RulesTest, ClickClickAndDragBothSwap) {
    for (int drag = 0; drag < 2; ++drag) {
        board({"1213", "4165"});
        game->matcheSamoistne = 5;
        if (drag) {
            mouseAt(1, 1, true, true);
            frame();
            mouseAt(0, 1, false, true);
            frame();
        } else {
            mouseAt(1, 1, true, true);
            frame();
            mouseAt(1, 1, false, false);
            frame();
            mouseAt(0, 1, true, true);
            frame();
        }
        mouseAt(0, 1, false, false);
        EXPECT_EQ(game->swapsCount, 1) << (drag ? "drag" : "clicks");
        EXPECT_EQ(game->matcheSamoistne, 0) << "a player swap resets the cascade count";
        settle();
        EXPECT_EQ(game->level->log_iloscMatchy, 1) << (drag ? "drag" : "clicks");
    }
}

TEST_F(RulesTest, LandingMatchesOnlyInSwapMode) {
    struct Case {
        const char* mode;
        int matches;
    } cases[] = {{"SWAP", 1}, {"CHAIN", 0}, {"GROUP", 0}};
    for (auto& k : cases) {
        board({"145", ".67", ".11"}, k.mode);
        settle();
        EXPECT_EQ(kindAt(2, 0) == 1 ? 0 : 1, k.matches) << k.mode;
        EXPECT_EQ(game->level->log_iloscMatchy, k.matches) << k.mode;
    }
}

TEST_F(RulesTest, EightAutomaticMatchesMakeABonus) {
    board({"111", "234"});
    game->matcheSamoistne = 7;
    EXPECT_EQ(game->_isMatch(*tile(0, 0)), 3);
    EXPECT_EQ(game->matcheSamoistne, 0);
    EXPECT_EQ(effects.createBonus, 1);
    int changing = 0;
    for (int c = 0; c < 3; ++c)
        if (chip(1, c)->docelowyChip) ++changing;
    EXPECT_EQ(changing, 1);  // the only chips not going are the bottom row
    board({"111", "234"});
    game->matcheSamoistne = 6;
    game->_isMatch(*tile(0, 0));
    EXPECT_EQ(game->matcheSamoistne, 7);
    EXPECT_EQ(effects.createBonus, 1);
}

TEST_F(RulesTest, NoFallThroughAHoleAndASlideBesideOne) {
    board({"1", "#", "."}, "GROUP");
    settle();
    EXPECT_EQ(kindAt(0, 0), 1);
    EXPECT_FALSE(chip(2, 0));
    // The cell below the hole cannot be fed from above: the neighbour slides in.
    board({"3#", "4."}, "GROUP");
    settle();
    EXPECT_EQ(kindAt(1, 1), 3);
    EXPECT_FALSE(chip(0, 0));
    // A chained chip never slides.
    board({"3#", "4."}, "GROUP");
    tile(0, 0)->chain = 1;
    settle();
    EXPECT_EQ(kindAt(0, 0), 3);
    EXPECT_EQ(boardProblem(), "");
}

TEST_F(RulesTest, CreatorsRefillAnEmptiedColumn) {
    board({"1", ".", "."}, "GROUP");
    tile(0, 0)->creator = 1;
    game->dropAllChips();
    settle();
    for (int r = 0; r < 3; ++r) EXPECT_TRUE(chip(r, 0)) << r;
    EXPECT_EQ(boardProblem(), "");
}

TEST_F(RulesTest, GroupClickClearsGroupsOfThreeOrMore) {
    board({"112", "133"}, "GROUP");
    mouseAt(1, 1, true, true);  // group of 2
    frame();
    EXPECT_EQ(chip(1, 1)->state, "");
    mouseAt(0, 0, true, true);
    frame();
    EXPECT_EQ(chip(0, 0)->state, "DESTROY");
    EXPECT_EQ(chip(0, 1)->state, "DESTROY");
    EXPECT_EQ(chip(1, 0)->state, "DESTROY");
    EXPECT_EQ(game->level->highestMatch, 3);
}

TEST_F(RulesTest, ChainIsDrawnSteppedBackAndMatchedOnRelease) {
    board({"1112", "3451"}, "CHAIN");
    mouseAt(0, 0, true, true);
    frame();
    mouseAt(0, 1, false, true);
    frame();
    mouseAt(0, 2, false, true);
    frame();
    EXPECT_EQ(game->zaznaczone.size(), 3u);
    mouseAt(0, 1, false, true);  // back onto the chip before the last
    frame();
    EXPECT_EQ(game->zaznaczone.size(), 2u);
    mouseAt(1, 3, false, true);  // skipped (0,2): the gap is filled
    frame();
    EXPECT_EQ(game->zaznaczone.size(), 4u);
    mouseAt(1, 3, false, false);
    frame();
    EXPECT_TRUE(game->zaznaczone.empty());
    EXPECT_EQ(game->level->highestMatch, 4);
    EXPECT_EQ(chip(0, 0)->state, "DESTROY");
    EXPECT_EQ(chip(1, 3)->state, "DESTROY");
    EXPECT_EQ(game->log_matches4, 1);
}
