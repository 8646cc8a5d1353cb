// The frame layout laid around and between the plates.
#include "board_fixture.h"

#include <algorithm>

namespace {

// Fixture frame ids: 0 base; edges 1 (-1,0) 2 (1,0) 3 (0,-1) 4 (0,1);
// outer corners 5 (1,1) 6 (-1,1) 7 (-1,-1) 8 (1,-1); inner corners
// 9 IN(1,1) 10 IN(-1,1) 11 IN(-1,-1) 12 IN(1,-1).
std::vector<int> frameIds(const TM3Frame& f) {
    std::vector<int> out;
    for (auto& p : f.lista) out.push_back(p ? p->id : -1);
    return out;
}

}  // namespace

class BoardFramesTest : public BoardTest {
protected:
    TLevelPtr board(const std::vector<std::string>& rows) {
        const int r = static_cast<int>(rows.size());
        const int c = static_cast<int>((rows[0].size() + 1) / 2);
        // A piece on every plate (its kind as chip kind): a board with plates
        // to break and nothing to play them is refused.
        auto lvl = loadText(levelText(r, c, rows, rows));
        EXPECT_TRUE(lvl);
        lvl->CreateLevelFrames();
        return lvl;
    }
};

TEST_F(BoardFramesTest, SingleHoleAmongPlates) {
    auto lvl = board({"1 1 1", "1 0 1", "1 1 1"});
    // Over the hole: piece 0, four edges, four inner corners (step 6 adds nothing).
    EXPECT_EQ(frameIds(*lvl->ramka[2][2]), (std::vector<int>{0, 1, 2, 3, 4, 9, 10, 11, 12}));
}

TEST_F(BoardFramesTest, PlateCellHoldsOnlyPieceZero) {
    auto lvl = board({"1 2 3", "1 0 1"});
    for (int R = 1; R <= 2; ++R)
        for (int C = 1; C <= 3; ++C) {
            if (lvl->tile[R - 1][C - 1]->kind() == 0) continue;
            EXPECT_EQ(frameIds(*lvl->ramka[R][C]), (std::vector<int>{0})) << R << "," << C;
        }
}

TEST_F(BoardFramesTest, BorderRingOfOnePlate) {
    auto lvl = board({"1"});
    ASSERT_EQ(lvl->ramka.size(), 3u);
    ASSERT_EQ(lvl->ramka[0].size(), 3u);
    // Edges face the plate: the cell left of it borders a plate at dx = +1.
    EXPECT_EQ(frameIds(*lvl->ramka[1][0]), (std::vector<int>{0, 2}));
    EXPECT_EQ(frameIds(*lvl->ramka[1][2]), (std::vector<int>{0, 1}));
    EXPECT_EQ(frameIds(*lvl->ramka[0][1]), (std::vector<int>{0, 4}));
    EXPECT_EQ(frameIds(*lvl->ramka[2][1]), (std::vector<int>{0, 3}));
    // Outer corners: only the diagonal neighbour is a plate.
    EXPECT_EQ(frameIds(*lvl->ramka[0][0]), (std::vector<int>{0, 5}));
    EXPECT_EQ(frameIds(*lvl->ramka[0][2]), (std::vector<int>{0, 6}));
    EXPECT_EQ(frameIds(*lvl->ramka[2][2]), (std::vector<int>{0, 7}));
    EXPECT_EQ(frameIds(*lvl->ramka[2][0]), (std::vector<int>{0, 8}));
    EXPECT_EQ(frameIds(*lvl->ramka[1][1]), (std::vector<int>{0}));
    // Ring cells sit over kind 0.
    EXPECT_EQ(lvl->ramka[0][0]->td->id, 0);
    EXPECT_EQ(lvl->ramka[1][1]->td->id, 1);
}

TEST_F(BoardFramesTest, BorderRingAlongAnEdgeHasNoCorners) {
    auto lvl = board({"1 1 1"});
    // Above the middle plate: its own edge only; the diagonal plates are
    // suppressed because the straight neighbour below is a plate.
    EXPECT_EQ(frameIds(*lvl->ramka[0][2]), (std::vector<int>{0, 4}));
}

TEST_F(BoardFramesTest, CornerBetweenTwoEdgesGetsInnerCorner) {
    // The hole at [0,0] touches plates right and below: step 3 gives the two
    // edges, step 4 the IN corner toward the diagonal plate, step 6 nothing new.
    auto lvl = board({"0 1", "1 1"});
    EXPECT_EQ(frameIds(*lvl->ramka[1][1]), (std::vector<int>{0, 2, 4, 9}));
    // L-shaped notch without the diagonal plate: step 6 adds the IN corner.
    auto lvl2 = board({"0 1", "1 0"});
    EXPECT_EQ(frameIds(*lvl2->ramka[1][1]), (std::vector<int>{0, 2, 4, 9}));
}

TEST_F(BoardFramesTest, DiagonalHolesGetInnerCornersBetweenThem) {
    // Holes at [1,1] and [2,2] touch corner to corner inside a 4 x 4 board.
    auto lvl = board({"1 1 1 1", "1 0 1 1", "1 1 0 1", "1 1 1 1"});
    const auto a = frameIds(*lvl->ramka[2][2]);  // over tile [1,1]
    // Step 5 adds IN(1,1) toward the other hole (besides the step 4 corners).
    EXPECT_EQ(std::count(a.begin(), a.end(), 9), 1) << ::testing::PrintToString(a);
    EXPECT_EQ(a, (std::vector<int>{0, 1, 2, 3, 4, 10, 11, 12, 9}));
    // The other hole's frame cell R = 3 is past rows - 2, so the corner toward
    // the first hole comes from the two-edge rule instead, last in the list.
    const auto b = frameIds(*lvl->ramka[3][3]);
    EXPECT_EQ(b, (std::vector<int>{0, 1, 2, 3, 4, 9, 10, 12, 11}));
}

TEST_F(BoardFramesTest, FrameAlphaAndDims) {
    auto lvl = board({"1 1", "1 1"});
    lvl->setFrameAlpha(0.5f);
    for (auto& row : lvl->ramka)
        for (auto& f : row) EXPECT_FLOAT_EQ(f->a, 0.5f);
    lvl->setPosition(200, 100);
    EXPECT_EQ(lvl->ramka[0][0]->x, static_cast<int>(200 - 60 * 4 / 2));
    EXPECT_EQ(lvl->ramka[0][0]->y, static_cast<int>(100 - 60 * 4 / 2));
    lvl->drawFrames();  // null images: nothing to draw, nothing to crash
}
