// The autoplayer plays a few boards for 20 000 frames each: no stall, no crash
// and no chip lost, checked every frame.
#include "match3/TM3AutoPlayer.h"
#include "match3/TM3Runner.h"
#include "rules_fixture.h"

namespace {
int platesOf(TLevel& lvl) {
    int n = 0;
    for (auto& row : lvl.tile)
        for (auto& t : row)
            if (t->kind() > 0) ++n;
    return n;
}
int chipsPlusEmptyPlates(TLevel& lvl) {
    int n = 0;
    for (auto& row : lvl.tile)
        for (auto& t : row) {
            if (t->chip)
                ++n;
            else if (t->kind() > 0)
                ++n;
        }
    return n;
}
}  // namespace

TEST_F(RulesTest, SoakAutoplayerOnEveryMode) {
    struct Case {
        const char* file;
        bool clicks;
        unsigned seed;
    } cases[] = {
        {"swap_basic.lvl", false, 11},
        {"swap_basic.lvl", true, 12},
        {"chain_basic.lvl", false, 13},
        {"group_basic.lvl", false, 14},
    };
    const int kFrames = 20000;
    for (auto& k : cases) {
        SCOPED_TRACE(k.file);
        SeedRnd(k.seed);
        const std::string path = std::string(BRIMBLE_SOURCE_DIR) + "/tests/fixtures/match3/" + k.file;
        int frames = 0, moves = 0, wins = 0, plates = 0;
        while (frames < kFrames) {
            auto lvl = loadLevelFile(path, game.get());
            ASSERT_TRUE(lvl);
            game->setLevel(lvl);
            game->setLevelPosition(534, 406);
            plates = platesOf(*lvl);
            TM3Runner run(game);
            run.player.clicksInSwap = k.clicks;
            while (frames < kFrames && run.frame()) {
                ++frames;
                ASSERT_EQ(chipsPlusEmptyPlates(*lvl), plates) << "frame " << frames;
                const std::string p = boardProblem();
                ASSERT_EQ(p, "") << "frame " << frames;
            }
            moves += run.player.moves;
            if (run.outcome == "won") ++wins;
            ASSERT_NE(run.outcome, "stuck") << "frame " << frames;
            if (!run.outcome.empty()) ++frames;
        }
        EXPECT_GT(moves, 50);
        EXPECT_GE(wins, 1);
    }
}

TEST_F(RulesTest, RunnerCountsADeadBoardAndEndsStuckWithoutCreators) {
    // No creators, no move: refilling empties the board, which never fills.
    board({"12", "34"});
    tile(0, 0)->setTileData(game->getTileData(2));  // a layer left to break
    TM3Runner run(game);
    run.run(5000);
    EXPECT_EQ(run.outcome, "stuck");
    EXPECT_GT(run.deadBoards, 0);
    EXPECT_LT(run.frames, 5000);
    EXPECT_NE(run.json().find("\"outcome\":\"stuck\""), std::string::npos);
}

TEST_F(RulesTest, AutoplayerReportsNoMoveOnAQuietDeadBoard) {
    board({"12", "34"}, "GROUP");
    TM3AutoPlayer p(*game);
    game->input = p.input;
    EXPECT_FALSE(p.step());
    EXPECT_TRUE(p.noMoveLeft);
    EXPECT_EQ(p.moves, 0);
    board({"11", "13"}, "GROUP");
    EXPECT_TRUE(p.step());  // press
    EXPECT_EQ(p.moves, 1);
    EXPECT_FALSE(p.noMoveLeft);
}

TEST_F(RulesTest, AutoplayerSetsOffABonusWhenNoMatchIsLeft) {
    // No match anywhere, but a bonus chip: on the play screen the board is
    // not dead, and the autoplayer goes for the bonus (once clicked in chain and group mode,
    // twice in swap mode) instead of reporting no move.
    struct Case {
        const char* mode;
        size_t presses;
    } cases[] = {{"SWAP", 2}, {"CHAIN", 1}, {"GROUP", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        board({"12", "3B"}, c.mode);
        TM3AutoPlayer p(*game);
        game->input = p.input;
        // Unasked (the level runner refills such a board), it reports no move.
        EXPECT_FALSE(p.step());
        EXPECT_TRUE(p.noMoveLeft);
        p.setsOffBonuses = true;
        size_t presses = 0;
        while (p.step()) {
            EXPECT_EQ(p.input->x, static_cast<int>(tile(1, 1)->dim.x));
            EXPECT_EQ(p.input->y, static_cast<int>(tile(1, 1)->dim.y));
            presses += p.input->hit ? 1 : 0;
            if (!p.busy()) break;
        }
        EXPECT_EQ(p.moves, 1);
        EXPECT_FALSE(p.noMoveLeft);
        EXPECT_EQ(presses, c.presses);
    }
}
