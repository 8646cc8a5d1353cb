// Tile operations: hover rectangles, layer breaking, flashes, fades, puzzle
// collection and the chip back-reference.
#include "board_fixture.h"
#include "match3/TM3Input.h"
#include "match3/TM3Particles.h"

namespace {

struct FixedMouse : TM3Input {
    int x = 0, y = 0;
    int mouseX() override { return x; }
    int mouseY() override { return y; }
    int mouseHit() override { return 0; }
    bool mouseDown() override { return false; }
    void flushMouse() override {}
};

struct Recorder : TM3Effects, TM3Particles {
    int tileBreaks = 0, plateKind = 0, chainBreaks = 0, puzzles = 0, now = 0;
    float plateW = 0;
    int levelTime() override { return now; }
    void playTileBreak() override { ++tileBreaks; }
    void plateBreakParticles(float, float, float w, float, int kind) override {
        plateKind = kind;
        plateW = w;
    }
    void chainBreakParticles(float, float) override { ++chainBreaks; }
    void playPuzzleMatched() override { ++puzzles; }
};

}  // namespace

class BoardTileTest : public BoardTest {
protected:
    void SetUp() override {
        BoardTest::SetUp();
        lvl = loadText(levelText(3, 3, {"1 2 3", "1 0 1", "1 1 1"}, {"1 2 3", "50 0 4", "1 2 3"},
                                 {"0 1 0", "0 0 0", "0 0 0"}));
        ASSERT_TRUE(lvl);
        bind(lvl);
        mouse = std::make_shared<FixedMouse>();
        game->input = mouse;
    }
    void TearDown() override {
        setM3Effects(nullptr);
        setM3Particles(nullptr);
        BoardTest::TearDown();
    }
    TLevelPtr lvl;
    std::shared_ptr<FixedMouse> mouse;
};

TEST_F(BoardTileTest, SetChipKeepsTheBackReference) {
    auto chip = createChip(game->getChipData(6));
    lvl->tile[2][2]->setChip(chip);
    EXPECT_EQ(chip->tile, lvl->tile[2][2].get());
    lvl->tile[2][2]->setChip(nullptr);
    EXPECT_FALSE(lvl->tile[2][2]->chip);
}

TEST_F(BoardTileTest, HoverRectangleByMode) {
    TTile& t = *lvl->tile[0][0];
    const int x0 = static_cast<int>(t.dim.x - 30), y0 = static_cast<int>(t.dim.y - 30);
    struct Case {
        int mode, dx, dy, over;
    } cases[] = {
        {0, 0, 0, 1}, {0, 59, 59, 1}, {0, 60, 0, 0},  {0, -1, 0, 0},  {2, 2, 2, 1},
        {1, 2, 2, 0}, {1, 5, 5, 1},   {1, 54, 54, 1}, {1, 55, 30, 0},
    };
    for (const auto& k : cases) {
        game->matchType = k.mode;
        mouse->x = x0 + k.dx;
        mouse->y = y0 + k.dy;
        EXPECT_EQ(t.updateOver(), k.over) << "mode " << k.mode << " at +" << k.dx << ",+" << k.dy;
        EXPECT_EQ(t.over, k.over);
    }
}

TEST_F(BoardTileTest, CanBeOver) {
    game->matchType = 0;
    EXPECT_EQ(lvl->tile[0][0]->canBeOver(), 1);
    EXPECT_EQ(lvl->tile[0][1]->canBeOver(), 0);  // chained in swap mode
    EXPECT_EQ(lvl->tile[1][1]->canBeOver(), 0);  // no chip
    game->matchType = 1;
    EXPECT_EQ(lvl->tile[0][1]->canBeOver(), 1);
    lvl->tile[0][0]->chip->setState("FALL-DOWN");
    EXPECT_EQ(lvl->tile[0][0]->canBeOver(), 0);
}

TEST_F(BoardTileTest, MatchHereBreaksOneLayer) {
    Recorder rec;
    setM3Effects(&rec);
    setM3Particles(&rec);
    struct Case {
        int r, c, before, after, plateKind, counted;
    } cases[] = {{0, 2, 3, 2, 2, 1}, {0, 2, 2, 1, 1, 1}, {0, 2, 1, 1, 0, 0}, {1, 1, 0, 0, 0, 0}};
    int total = 0, lastBreak = 0;
    for (const auto& k : cases) {
        rec.plateKind = 0;
        rec.now += 7;  // played seconds move on between the matches
        TTile& t = *lvl->tile[k.r][k.c];
        ASSERT_EQ(t.kind(), k.before);
        t.matchHere();
        EXPECT_EQ(t.kind(), k.after);
        EXPECT_EQ(rec.plateKind, k.plateKind);
        total += k.counted;
        if (k.counted) lastBreak = rec.now;
        EXPECT_EQ(lvl->tilesCount, total);
        EXPECT_EQ(rec.tileBreaks, total);
        // Only a plate that really broke moves the play log's last-break time.
        EXPECT_EQ(lvl->log_lastTileBrakeTime, lastBreak);
    }
    EXPECT_FLOAT_EQ(rec.plateW, 60);
}

TEST_F(BoardTileTest, DestroyChainNeverBelowZero) {
    Recorder rec;
    setM3Effects(&rec);
    setM3Particles(&rec);
    TTile& t = *lvl->tile[0][1];
    t.destroyChain();
    t.destroyChain();
    EXPECT_EQ(t.chain, 0);
    EXPECT_EQ(rec.chainBreaks, 2);
}

TEST_F(BoardTileTest, FlashRisesFallsAndEnds) {
    TTile& t = *lvl->tile[0][0];
    t.startBlysk = 1;
    t.blyskTime = Millisecs() + 100;
    t.updateBlysk();
    EXPECT_EQ(t.blyskA, 0);  // not yet
    advance(101);
    int frames = 0;
    while (t.startBlysk && frames < 200) {
        t.updateBlysk();
        ++frames;
    }
    // 0.05 a frame: 20 up, 20 down.
    EXPECT_NEAR(frames, 40, 1);
    EXPECT_EQ(t.blyskA, 0);
    EXPECT_GT(t.blyskTime, Millisecs() + 400000);
}

TEST_F(BoardTileTest, AlphaAndScaleEaseWithoutOvershoot) {
    TTile& t = *lvl->tile[0][0];
    lvl->shutDown();
    EXPECT_EQ(t.tda, 0);
    EXPECT_EQ(lvl->tile[1][1]->tda, 1);  // holes stay
    for (int i = 0; i < 49; ++i) t.updateParams();
    EXPECT_NEAR(t.ta, 0.02f, 1e-4);
    t.updateParams();
    t.updateParams();
    EXPECT_EQ(t.ta, 0);
    EXPECT_EQ(t.ts, 0);
    t.resetMyLook();
    EXPECT_EQ(t.ta, 1);
    EXPECT_EQ(t.ts, 1);
    lvl->setGlobalAlpha(0.25f);
    EXPECT_FLOAT_EQ(t.ta, 0.25f);
    EXPECT_FLOAT_EQ(t.chip->a, 0.25f);
}

TEST_F(BoardTileTest, PuzzlePieceLeavesOverAHole) {
    Recorder rec;
    setM3Effects(&rec);
    setM3Particles(&rec);
    // Puzzle chip 50 at [1,0]: the tile below is a plate, so it stays.
    lvl->tile[1][0]->checkIfPuzzle();
    EXPECT_TRUE(lvl->tile[1][0]->chip);
    // On the last row it leaves the board.
    auto piece = lvl->tile[1][0]->chip;
    lvl->tile[1][0]->setChip(nullptr);
    lvl->tile[2][0]->setChip(piece);
    lvl->tile[2][0]->checkIfPuzzle();
    EXPECT_FALSE(lvl->tile[2][0]->chip);
    EXPECT_EQ(rec.puzzles, 1);
    // An ordinary chip never does.
    lvl->tile[2][1]->checkIfPuzzle();
    EXPECT_TRUE(lvl->tile[2][1]->chip);
}

TEST_F(BoardTileTest, DrawingToleratesNullImages) {
    for (auto& row : lvl->tile)
        for (auto& t : row) {
            t->draw(1);
            t->drawBlysk(1);
            t->drawChain();
            t->drawChip();
            t->drawBezwzglednie(1);
            t->drawOnlyTile(1, 1);
            t->oznacz = t->oznaczony = t->ozn = 1;
            t->draw(0);
        }
    SUCCEED();
}

TEST_F(BoardTileTest, CreatorDealsAShowingChip) {
    TTile& t = *lvl->tile[2][2];
    t.creator = 1;
    t.chip.reset();
    t.updateCreator();
    ASSERT_TRUE(t.chip);
    EXPECT_EQ(t.chip->state, "MOVE-SHOW");
    EXPECT_EQ(t.chip->tile, &t);
    // A creator over a hole stays empty.
    TTile& hole = *lvl->tile[1][1];
    hole.creator = 1;
    hole.updateCreator();
    EXPECT_FALSE(hole.chip);
}
