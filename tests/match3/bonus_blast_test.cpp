#include <cmath>
#include <filesystem>
#include <fstream>

#include "match3/TPowerUp.h"
#include "rules_fixture.h"

namespace {
const std::vector<std::string> kFive = {"12345", "23451", "34512", "45123", "51234"};
}

TEST_F(RulesTest, BombRadiiOneAndTwo) {
    struct Case {
        int radius;
        int cleared;
    } cases[] = {{1, 9}, {2, 21}};
    for (auto& k : cases) {
        board(kFive, "GROUP");
        const int now = Millisecs();
        game->BOMB(2, 2, k.radius);
        int going = 0;
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 5; ++c) {
                const bool in = std::abs(r - 2) <= k.radius && std::abs(c - 2) <= k.radius &&
                                !(k.radius > 1 && std::abs(r - 2) == k.radius && std::abs(c - 2) == k.radius);
                EXPECT_EQ(chip(r, c)->state == "DESTROY", in) << "radius " << k.radius << " " << r << "," << c;
                if (!in) continue;
                ++going;
                // The blast spreads at 100 ms a cell of distance.
                const int d = static_cast<int>(std::sqrt(double((r - 2) * (r - 2) + (c - 2) * (c - 2))) * 100);
                EXPECT_EQ(chip(r, c)->startTime, now + d);
            }
        EXPECT_EQ(going, k.cleared);
    }
}

TEST_F(RulesTest, CrossfireReachesItsPowerNearestFirst) {
    board(kFive, "GROUP");
    const int now = Millisecs();
    game->CROSS_HORIZONTAL(2, 2, 2);
    game->CROSS_VERTICAL(2, 2, 2);
    struct Cell {
        int r, c, delay;
    } cells[] = {{2, 1, 100}, {2, 3, 100}, {1, 2, 100}, {3, 2, 100},
                 {2, 0, 200}, {2, 4, 200}, {0, 2, 200}, {4, 2, 200}};
    for (auto& k : cells) {
        EXPECT_EQ(chip(k.r, k.c)->state, "DESTROY") << k.r << "," << k.c;
        EXPECT_EQ(chip(k.r, k.c)->startTime, now + k.delay) << k.r << "," << k.c;
    }
    EXPECT_EQ(chip(2, 2)->state, "");  // the centre is the bonus itself
    EXPECT_EQ(chip(1, 1)->state, "");
}

TEST_F(RulesTest, BonusOnAChainedTileOnlyLosesTheChain) {
    board({"1B2", "345"}, "GROUP");
    tile(0, 1)->chain = 1;
    game->CROSS(0, 1, 0, 1);
    settle();
    EXPECT_EQ(tile(0, 1)->chain, 0);
    ASSERT_TRUE(chip(0, 1));
    EXPECT_EQ(kindAt(0, 1), 104);
    EXPECT_TRUE(chip(0, 0));  // the bomb did not go off
    // Unlocked, it goes off when its own chip is destroyed.
    chip(0, 1)->destroy(0);
    settle();
    EXPECT_FALSE(chip(0, 0));
    EXPECT_FALSE(chip(1, 2));
}

TEST_F(RulesTest, ABoardFullOfBonusChipsSettles) {
    board({"BXbBX", "XbBXb", "bBXbB", "BXbBX", "XbBXb"}, "GROUP");
    for (int c = 0; c < 5; ++c) tile(0, c)->creator = 1;
    chip(2, 2)->destroy(0);
    const int n = settle(3000);
    EXPECT_LT(n, 3000) << "the chain reaction did not settle";
    EXPECT_EQ(boardProblem(), "");
    // Every bonus went off and the creators refilled the board.
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) EXPECT_TRUE(chip(r, c)) << r << "," << c;
    EXPECT_EQ(game->getAllChipsLikeThisById(104).size() + game->getAllChipsLikeThisById(101).size(), 0u);
}

TEST_F(RulesTest, ShufflePairsSettleWithChipsExchanged) {
    board(kFive, "GROUP");
    std::vector<int> before;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) before.push_back(kindAt(r, c));
    game->SHUFFLE(0);
    EXPECT_EQ(game->listaPar.size(), 12u);  // 25 chips: one stays
    EXPECT_FALSE(game->_nothingIsHappening());
    EXPECT_LT(settle(), 2000);
    EXPECT_TRUE(game->listaPar.empty());
    EXPECT_EQ(boardProblem(), "");
    std::vector<int> after;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) after.push_back(kindAt(r, c));
    EXPECT_NE(after, before);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);  // the same chips, elsewhere
}

TEST_F(RulesTest, BonusKindOfALargeMatchByModeAndSize) {
    struct Case {
        const char* mode;
        const char* type;
        int extra;  // match size above the mode's threshold
        int id;
    } cases[] = {
        {"CHAIN", "BOMB", 0, 102},      {"CHAIN", "BOMB", 1, 102},      {"CHAIN", "CROSSFIRE", 2, 103},
        {"GROUP", "CROSSFIRE", 3, 105}, {"GROUP", "BOMB", 4, 105},      {"GROUP", "BOMB", 5, 106},
        {"SWAP", "BOMB", 0, 105},       {"SWAP", "BOMB", 1, 106},       {"SWAP", "CROSSFIRE", 0, 102},
        {"SWAP", "CROSSFIRE", 3, 103},
    };
    for (auto& k : cases) {
        board({"12", "34"}, k.mode);
        game->bonusyByType = {k.type};
        const int T = game->matchType == 0   ? game->settings->swap_bonusMatch
                      : game->matchType == 1 ? game->settings->chain_bonusMatch
                                             : game->settings->group_bonusMatch;
        game->createBonus(chip(0, 0), T + k.extra);
        ASSERT_TRUE(chip(0, 0)->docelowyChip) << k.mode << " " << k.extra;
        EXPECT_EQ(chip(0, 0)->docelowyChip->id, k.id) << k.mode << " " << k.type << " " << k.extra;
    }
}

TEST_F(RulesTest, LargeSwapMatchTurnsTheSwappedChipIntoABonus) {
    board({"11216", "45178"});
    game->swapChips(tile(0, 2), tile(1, 2));  // the 1 comes up: a line of 4
    settle();
    ASSERT_TRUE(chip(0, 2));
    auto bonus = chip(0, 2)->docelowyChip ? chip(0, 2)->docelowyChip : chip(0, 2)->cd;
    EXPECT_GT(bonus->id, 100);
    EXPECT_FALSE(chip(0, 0));
    EXPECT_FALSE(chip(0, 3));
    EXPECT_EQ(game->log_matches4, 1);
}

TEST_F(RulesTest, PowerUpCharge) {
    TPowerUp p;
    p.n = 1;
    const int full = TPowerUp::charge(1);
    ASSERT_GT(full, 1);
    EXPECT_FLOAT_EQ(p.getPercent(), 0.3f);  // covered
    p.odkryty = 1;
    p.addData(full - 1);
    EXPECT_EQ(p.aktywny, 0);
    EXPECT_FLOAT_EQ(p.getPercent(), float(full - 1) / full);
    p.addData(5);
    EXPECT_EQ(p.data, full);
    EXPECT_EQ(p.aktywny, 1);
    EXPECT_EQ(p.state, 1);
    EXPECT_FLOAT_EQ(p.getPercent(), 1.0f);
    // An active power-up takes no more charge.
    p.data = 0;
    p.addData(3);
    EXPECT_EQ(p.data, 0);
    p.use(1);
    EXPECT_EQ(p.aktywny, 0);
    p.addData(1);
    EXPECT_EQ(p.data, 1);
    // A covered one fills but does not become ready.
    TPowerUp q;
    q.n = 2;
    q.addData(1000);
    EXPECT_EQ(q.aktywny, 0);
}

TEST_F(RulesTest, GlowRunsThroughItsPhasesBackToIdle) {
    TPowerUp p;
    p.n = 3;
    p.odkryty = 1;
    p.state = 1;
    int frames = 0;
    bool saw2 = false;
    while (p.state != 0 && ++frames < 1000) {
        p.update(3);
        saw2 = saw2 || p.state == 2;
        Backend().advanceClock(1000.0 / 60.0);
    }
    EXPECT_TRUE(saw2);
    EXPECT_EQ(p.state, 0);
    EXPECT_LT(frames, 1000);
}

// The shipped table's values differ from the built-in defaults, so this fails
// when the file is silently not read.
TEST_F(RulesTest, PowerUpTableValuesComeFromTheFile) {
    const std::string dir = ::testing::TempDir() + "/powerups_table";
    std::filesystem::create_directories(dir);
    const std::string file = dir + "/powerUps.dat";
    {
        std::ofstream out(file);
        out << "powerUpsTimes {\n\tdata1 = 11\n\tdata6 = 66\n}\n"
               "powerUpsUnlock {\n\tdata1 = 3\n\tdata6 = 33\n}\n";
    }
    const std::string root = dataRoot;
    dataRoot = "";
    TPowerUp::loadTable(file);
    EXPECT_EQ(TPowerUp::charge(1), 11);
    EXPECT_EQ(TPowerUp::charge(6), 66);
    EXPECT_EQ(TPowerUp::unlockLevel(1), 3);
    EXPECT_EQ(TPowerUp::unlockLevel(6), 33);

    // A missing file keeps what was there.
    TPowerUp::loadTable(dir + "/missing.dat");
    EXPECT_EQ(TPowerUp::charge(6), 66);
    dataRoot = root;
    TPowerUp::loadTable("data/powerUps.dat");
    EXPECT_EQ(TPowerUp::charge(1), 20);
}

TEST_F(RulesTest, PowerUpTableIsRead) {
    TPowerUp::loadTable("data/powerUps.dat");
    for (int i = 1; i <= 6; ++i) {
        EXPECT_GT(TPowerUp::charge(i), 0);
        if (i > 1) {
            EXPECT_GT(TPowerUp::unlockLevel(i), TPowerUp::unlockLevel(i - 1));
        }
    }
}
