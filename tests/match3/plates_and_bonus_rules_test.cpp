// Plates under chains and bonus chips, the hint's chips and dead boards.
#include "rules_fixture.h"

#include "QuadRecordingBackend.h"

class PlateRulesTest : public RulesTest {
protected:
    void plates(const std::vector<std::pair<int, int>>& cells, int kind) {
        for (auto& rc : cells) tile(rc.first, rc.second)->setTileData(game->getTileData(kind));
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) frame();
    }
};

TEST_F(PlateRulesTest, ChainBreaksBothLayersOfATwoLayerPlate) {
    board({"1112", "3451"}, "CHAIN");
    plates({{0, 0}, {0, 1}, {0, 2}}, 3);
    mouseAt(0, 0, true, true);
    frame();
    mouseAt(0, 1, false, true);
    frame();
    mouseAt(0, 2, false, true);
    frame();
    mouseAt(0, 2, false, false);
    frame();
    // One layer on release...
    for (int c = 0; c < 3; ++c) EXPECT_LE(tile(0, c)->kind(), 2) << c;
    settle();
    // ...and one more when each chip goes: a plain plate after one chain.
    for (int c = 0; c < 3; ++c) EXPECT_EQ(tile(0, c)->kind(), 1) << c;
    EXPECT_EQ(tile(1, 3)->kind(), 1);
    EXPECT_EQ(game->level->score, 150);
}

TEST_F(PlateRulesTest, SwapBonusStaysOnAnUnbrokenPlate) {
    // Swapping (1,2) up makes 1111 in row 0 on tile (0,2): a bonus match.
    board({"1121", "3413"});
    plates({{0, 0}, {0, 1}, {0, 2}, {0, 3}}, 3);
    game->swapChips(tile(0, 2), tile(1, 2));
    frames(90);
    ASSERT_TRUE(chip(0, 2));
    EXPECT_TRUE(chip(0, 2)->isBonus());
    // The three destroyed chips broke a layer each; the bonus's plate waits.
    EXPECT_EQ(tile(0, 0)->kind(), 2);
    EXPECT_EQ(tile(0, 1)->kind(), 2);
    EXPECT_EQ(tile(0, 3)->kind(), 2);
    EXPECT_EQ(tile(0, 2)->kind(), 3);
    // The staying chip scored with the others.
    EXPECT_EQ(game->level->score, 4 * 50);
}

TEST_F(PlateRulesTest, GroupBonusStaysWithoutScoringOrBreakingItsPlate) {
    // Clicking (2,0) takes the group of seven 1s: a bonus group.
    board({"111", "111", "123"}, "GROUP");
    plates({{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 0}}, 3);
    mouseAt(2, 0, true, true);
    frame();
    mouseAt(2, 0, false, false);
    frames(90);
    ASSERT_TRUE(chip(2, 0));
    EXPECT_TRUE(chip(2, 0)->isBonus());
    EXPECT_EQ(tile(2, 0)->kind(), 3);
    for (auto rc : std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}})
        EXPECT_EQ(tile(rc.first, rc.second)->kind(), 2) << rc.first << "," << rc.second;
    // Only the six destroyed chips scored.
    EXPECT_EQ(game->level->score, 6 * 50);
    // Setting the bonus off breaks its plate at last.
    mouseAt(2, 0, true, true);
    frame();
    mouseAt(2, 0, false, false);
    settle();
    EXPECT_LE(tile(2, 0)->kind(), 2);
}

TEST_F(PlateRulesTest, ABoardHoldingAFreeBonusIsNeverDead) {
    struct Case {
        const char* mode;
        std::vector<std::string> rows;
        bool chainOnBonus;
        int expected;
    };
    const Case cases[] = {
        {"SWAP", {"12", "34"}, false, 0},
        {"SWAP", {"1B", "34"}, false, 1},
        {"SWAP", {"1X", "34"}, false, 1},
        {"SWAP", {"1B", "34"}, true, 0},  // a chained bonus cannot be set off yet
        {"CHAIN", {"12", "34"}, false, 0},
        {"CHAIN", {"1b", "34"}, false, 1},
        {"GROUP", {"12", "34"}, false, 0},
        {"GROUP", {"12", "3X"}, false, 1},
    };
    for (const Case& k : cases) {
        board(k.rows, k.mode);
        if (k.chainOnBonus) tile(0, 1)->chain = 1;
        EXPECT_EQ(game->_MatchLeft_short(), k.expected) << k.mode << " " << k.rows[0] << k.rows[1];
    }
}

TEST_F(PlateRulesTest, HintedChipsAreLeftToTheHintDrawing) {
    board({"112", "133"}, "GROUP");
    auto backend = std::make_unique<TQuadRecordingBackend>();
    TQuadRecordingBackend* rec = backend.get();
    InstallBackend(std::move(backend));
    // Chips need a picture to draw anything at all.
    for (auto rc : std::vector<std::pair<int, int>>{{0, 0}, {0, 2}}) {
        auto cd = std::make_shared<TChipData>(*chip(rc.first, rc.second)->cd);
        cd->gfx = CreateImage(60, 60);
        chip(rc.first, rc.second)->cd = cd;
    }
    game->hintChips = {chip(0, 0).get()};
    rec->quads.clear();
    tile(0, 0)->drawChip();
    EXPECT_TRUE(rec->quads.empty());
    tile(0, 2)->drawChip();
    EXPECT_FALSE(rec->quads.empty());
    game->hintChips.clear();
    rec->quads.clear();
    tile(0, 0)->drawChip();
    EXPECT_FALSE(rec->quads.empty());
    InstallBackend(nullptr);
}
