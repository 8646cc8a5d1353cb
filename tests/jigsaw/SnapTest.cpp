// The snapping rules: the fit test's tolerance, distance-only matching,
// one-sided neighbour lists, the snapping area and every join.
#include <gtest/gtest.h>

#include "JigsawFixture.h"

namespace {

// Piece 2 belongs 100 px right of piece 1. Piece 1 lies at (300, 100); piece
// 2 is put `extra` px further away (negative: closer) along the row.
struct ToleranceCase {
    float extra;
    bool fits;
};

class FitTolerance : public ::testing::TestWithParam<ToleranceCase> {};

TEST_P(FitTolerance, FourteenPixelsSnapFifteenDoNot) {
    auto l = makeLevel(square2x2());
    place(piece(l, 1), 300, 100);
    place(piece(l, 2), 400 + GetParam().extra, 100);
    const auto off = l->puzelPasujeDoPuzla(piece(l, 2), piece(l, 1));
    ASSERT_EQ(off.has_value(), GetParam().fits);
    if (off) {
        EXPECT_EQ(off->x, 100);
        EXPECT_EQ(off->y, 0);
    }
    // Dropping it: a fit joins and puts the piece exactly in place.
    l->putPuzzle(piece(l, 2));
    if (GetParam().fits) {
        EXPECT_EQ(entries(l), "3 4 (2 1)");
        EXPECT_EQ(piece(l, 2)->dim.x, 400);
        EXPECT_EQ(piece(l, 2)->dim.y, 100);
    } else {
        EXPECT_EQ(entries(l), "1 2 3 4");
        EXPECT_EQ(piece(l, 2)->dim.x, 400 + GetParam().extra);
    }
}

INSTANTIATE_TEST_SUITE_P(Distances, FitTolerance,
                         ::testing::Values(ToleranceCase{0, true}, ToleranceCase{14, true},
                                           ToleranceCase{14.9f, true}, ToleranceCase{15, false},
                                           ToleranceCase{-14, true}, ToleranceCase{-15, false},
                                           ToleranceCase{40, false}));

// Only distances are compared: at 100 px from piece 1 in any direction,
// piece 2 snaps into its one right place.
TEST(Fit, AnySideAtTheRightDistanceSnapsIntoTheRightPlace) {
    const struct {
        float x, y;
    } sides[] = {{500, 150}, {300, 150}, {400, 250}, {400, 50}, {470.71f, 220.71f}, {329.29f, 79.29f}};
    for (const auto& s : sides) {
        auto l = makeLevel(square2x2());
        place(piece(l, 1), 400, 150);
        place(piece(l, 2), s.x, s.y);
        l->putPuzzle(piece(l, 2));
        EXPECT_EQ(entries(l), "3 4 (2 1)") << s.x << "," << s.y;
        EXPECT_EQ(piece(l, 2)->dim.x, 500) << s.x << "," << s.y;
        EXPECT_EQ(piece(l, 2)->dim.y, 150) << s.x << "," << s.y;
        EXPECT_EQ(piece(l, 1)->dim.x, 400);  // the piece lying there stays
    }
}

// Piece 1 lists piece 2, piece 2 lists nobody: only 1 dropped onto 2 snaps.
TEST(Fit, OneSidedNeighbourListSnapsOnlyFromTheListingPiece) {
    const std::vector<PieceSpec> specs = {{1, 0, 0, {2}}, {2, 100, 0, {}}};
    {
        auto l = makeLevel(specs);
        place(piece(l, 2), 400, 100);
        place(piece(l, 1), 305, 100);
        EXPECT_TRUE(l->puzelPasujeDoPuzla(piece(l, 1), piece(l, 2)).has_value());
        l->putPuzzle(piece(l, 1));
        EXPECT_EQ(entries(l), "(1 2)");
        EXPECT_EQ(piece(l, 1)->dim.x, 300);
    }
    {
        auto l = makeLevel(specs);
        place(piece(l, 1), 300, 100);
        place(piece(l, 2), 405, 100);
        EXPECT_FALSE(l->puzelPasujeDoPuzla(piece(l, 2), piece(l, 1)).has_value());
        l->putPuzzle(piece(l, 2));
        EXPECT_EQ(entries(l), "1 2");
        EXPECT_EQ(piece(l, 2)->dim.x, 405);
    }
}

// The snapping area runs from (237, -5) to (787, 545) for the board at
// (262, 20); a piece whose corner is outside it never snaps.
TEST(Fit, OutsideTheSnappingAreaNothingHappens) {
    const struct {
        float x, y;
        bool snaps;
    } cases[] = {{236, 100, false}, {237, 100, true},  {300, -6, false}, {300, -5, true},
                 {687, 445, true},  {688, 100, false}, {300, 446, true}, {300, 546, false}};
    // Piece 2 (dropped) sits right of piece 1 at the right distance; the case
    // moves piece 1, so either piece may be the one outside.
    for (const auto& c : cases) {
        auto l = makeLevel(square2x2());
        place(piece(l, 1), c.x, c.y);
        place(piece(l, 2), c.x + 100, c.y);
        l->putPuzzle(piece(l, 2));
        EXPECT_EQ(entries(l) == "3 4 (2 1)", c.snaps) << c.x << "," << c.y << ": " << entries(l);
    }
}

TEST(Fit, UnownedPiecesNeverFit) {
    auto l = makeLevel(square2x2());
    place(piece(l, 1), 300, 100);
    place(piece(l, 2), 400, 100);
    piece(l, 1)->aktywny = 0;
    EXPECT_FALSE(l->puzelPasujeDoPuzla(piece(l, 2), piece(l, 1)).has_value());
    l->putPuzzle(piece(l, 2));
    EXPECT_EQ(entries(l), "1 2 3 4");
}

TEST(Join, DroppedGroupJoinsTheGroupLyingThereWhichDoesNotMove) {
    auto l = makeLevel(square2x2());
    place(piece(l, 1), 300, 100);
    place(piece(l, 2), 404, 100);
    l->putPuzzle(piece(l, 2));
    place(piece(l, 3), 600, 400);
    place(piece(l, 4), 705, 400);
    l->putPuzzle(piece(l, 4));  // 4 onto 3, both away from the others
    ASSERT_EQ(entries(l), "(2 1) (4 3)");
    // The group (4 3) dragged to just below (2 1).
    TPuzzle* g43 = l->puzzles[1].get();
    g43->setPosition(300 - 600 + 6, 200 - 400 - 5);
    l->putPuzzle(g43);
    EXPECT_EQ(entries(l), "(2 1 4 3)");
    EXPECT_EQ(piece(l, 1)->dim.x, 300);
    EXPECT_EQ(piece(l, 2)->dim.x, 400);
    EXPECT_EQ(piece(l, 3)->dim.x, 300);
    EXPECT_EQ(piece(l, 3)->dim.y, 200);
    EXPECT_EQ(piece(l, 4)->dim.x, 400);
    EXPECT_EQ(piece(l, 4)->dim.y, 200);
    EXPECT_TRUE(l->complete());
    EXPECT_EQ(l->joins, 3);
}

TEST(Join, LoosePieceLyingThereJoinsADroppedGroup) {
    auto l = makeLevel(square2x2());
    place(piece(l, 3), 300, 205);  // loose, below where 1 will be
    place(piece(l, 1), 300, 100);
    place(piece(l, 2), 400, 100);
    l->putPuzzle(piece(l, 2));  // (2 1), then 3 comes to the group
    EXPECT_EQ(entries(l), "4 (2 1 3)");
    EXPECT_EQ(piece(l, 3)->dim.y, 200);
}

// One drop makes at most three joins: a row of five pieces lying in place
// and the fifth dropped at the end gathers the next three, not the first.
TEST(Join, AtMostThreeJoinsFollowOneDrop) {
    std::vector<PieceSpec> row;
    for (int k = 1; k <= 5; ++k) {
        std::vector<int> nb;
        if (k > 1) nb.push_back(k - 1);
        if (k < 5) nb.push_back(k + 1);
        row.push_back({k, 100 * (k - 1), 0, nb});
    }
    auto l = makeLevel(row, 90);
    for (int k = 1; k <= 4; ++k) place(piece(l, k), 270 + 100.0f * (k - 1), 100);
    place(piece(l, 5), 670 + 3, 100 - 2);
    l->putPuzzle(piece(l, 5));
    EXPECT_EQ(entries(l), "1 (5 4 3 2)");
    EXPECT_EQ(l->joins, 3);
    EXPECT_EQ(piece(l, 5)->dim.x, 670);
    EXPECT_EQ(piece(l, 5)->dim.y, 100);
}

TEST(Join, PieceAlreadyInTheGroupIsNotAddedTwice) {
    auto l = makeLevel(square2x2());
    place(piece(l, 1), 300, 100);
    place(piece(l, 2), 400, 100);
    l->putPuzzle(piece(l, 2));
    auto* g = static_cast<TPuzzleGroup*>(l->puzzles.back().get());
    EXPECT_EQ(l->putSingleToGroup(piece(l, 1), g), nullptr);
    EXPECT_EQ(g->grupa.size(), 2u);
}

TEST(Join, RozbijGrupeLaysEveryMemberLooseAgain) {
    auto l = makeLevel(square2x2());
    place(piece(l, 1), 300, 100);
    place(piece(l, 2), 400, 100);
    place(piece(l, 3), 300, 200);
    l->putPuzzle(piece(l, 2));
    l->putPuzzle(piece(l, 3));
    ASSERT_EQ(entries(l), "4 (2 1 3)");
    std::weak_ptr<TPuzzle> group = l->puzzles.back();
    l->rozbijGrupe(static_cast<TPuzzleGroup*>(l->puzzles.back().get()));
    EXPECT_EQ(entries(l), "4 2 1 3");
    EXPECT_TRUE(group.expired());
    EXPECT_EQ(piece(l, 3)->dim.y, 200);  // members keep their places
}

TEST(Join, GroupMovesAndTestsAsOne) {
    auto l = makeLevel(square2x2());
    place(piece(l, 1), 300, 100);
    place(piece(l, 2), 400, 100);
    l->putPuzzle(piece(l, 2));
    TPuzzle* g = l->puzzles.back().get();
    g->setPosition(-10, 5);  // a displacement
    EXPECT_EQ(piece(l, 1)->dim.x, 290);
    EXPECT_EQ(piece(l, 2)->dim.x, 390);
    EXPECT_EQ(piece(l, 2)->dim.y, 105);
    // inRect is the first member's (piece 2 here).
    EXPECT_TRUE(g->inRect(390, 105, 0, 0));
    EXPECT_FALSE(g->inRect(290, 105, 0, 0));
}

}  // namespace
