// Chip states: timings at frame factor 1 with the shipped speeds (pitch 60,
// speeds 12), destruction rules, falls, landings and the statuses.
#include "board_fixture.h"

namespace {

// Frames until update() returns a non-empty status (or -1 after `limit`).
int framesTo(TChip& chip, std::string& status, int limit = 200) {
    for (int n = 1; n <= limit; ++n) {
        status = chip.update();
        if (!status.empty()) return n;
    }
    return -1;
}

}  // namespace

class ChipStatesTest : public BoardTest {
protected:
    void SetUp() override {
        BoardTest::SetUp();
        lvl = loadText(levelText(4, 4, {"1 1 1 1", "1 3 1 1", "1 1 2 1", "1 1 1 1"},
                                 {"1 2 3 4", "2 50 4 1", "3 4 1 2", "4 1 2 3"},
                                 {"0 0 0 0", "0 0 2 0", "0 0 0 0", "0 0 0 0"}));
        ASSERT_TRUE(lvl);
        bind(lvl);
    }
    TChip& chipAt(int r, int c) { return *lvl->tile[r][c]->chip; }
    TLevelPtr lvl;
};

TEST_F(ChipStatesTest, ShippedSpeedsAreTheFixture) {
    ASSERT_TRUE(game->settings);
    EXPECT_FLOAT_EQ(game->settings->sizeX, 60);
    EXPECT_FLOAT_EQ(game->settings->sizeY, 60);
    EXPECT_FLOAT_EQ(game->settings->xSpeed, 12);
    EXPECT_FLOAT_EQ(game->settings->ySpeed, 12);
    EXPECT_EQ(game->settings->swap_bonusMatch, 4);
    EXPECT_EQ(game->settings->chain_bonusMatch, 6);
    EXPECT_EQ(game->settings->group_bonusMatch, 7);
}

TEST_F(ChipStatesTest, StraightMoveTimings) {
    // 60 px at 12 / 3 * 1.3 = 5.2 px a frame: 60 - 11 * 5.2 > 0, 60 - 12 * 5.2 < 0.
    struct Case {
        const char* state;
        int dr, dc;
    } cases[] = {{"MOVE-LEFT", 0, -1}, {"MOVE-RIGHT", 0, 1}, {"MOVE-UP", -1, 0},
                 {"move-down", 1, 0}};
    for (const auto& k : cases) {
        TChip& chip = chipAt(2, 2);
        chip.setState(k.state);
        EXPECT_EQ(chip.r, 2 + k.dr) << k.state;  // the target cell at the start
        EXPECT_EQ(chip.c, 2 + k.dc) << k.state;
        EXPECT_FLOAT_EQ(std::abs(chip.adx) + std::abs(chip.adY), 60) << k.state;
        std::string status;
        EXPECT_EQ(framesTo(chip, status), 12) << k.state;
        EXPECT_EQ(status, "END_MOVE") << k.state;
        EXPECT_EQ(chip.adx, 0);
        EXPECT_EQ(chip.adY, 0);
        // Re-read from the tile (the chip did not really change tiles here).
        EXPECT_EQ(chip.r, 2);
        EXPECT_EQ(chip.c, 2);
        chip.setState("");
    }
}

TEST_F(ChipStatesTest, FallSpeedCarriesAndLandingResetsIt) {
    TChip& chip = chipAt(0, 0);
    chip.setState("FALL-DOWN");
    std::string status;
    // _ay: 5 + 1.2 = 6.2, 7.4, ... 13.4; -60 + sum > 0 after 7 frames.
    EXPECT_EQ(framesTo(chip, status), 7);
    EXPECT_EQ(status, "FALL");
    EXPECT_NEAR(chip._ay, 13.4f, 1e-4);
    EXPECT_EQ(chip.a, 1);
    // The next cell starts at the speed reached: 14.6 + 15.8 + 17 + 18.2 > 60.
    chip.setState("FALL-DOWN");
    EXPECT_EQ(framesTo(chip, status), 4);
    EXPECT_EQ(status, "FALL");
    EXPECT_GT(chip._ay, 18);
    // Speed is capped at the pitch.
    chip.setState("FALL-DOWN");
    chip._ay = 59.5f;
    chip.update();
    EXPECT_FLOAT_EQ(chip._ay, 60);
    chip.setState("LAND");
    chip.update();
    EXPECT_EQ(chip._ay, 0);
}

TEST_F(ChipStatesTest, LandingTimingsAndTheTwoCheckMatchStatuses) {
    TChip& chip = chipAt(0, 0);
    chip.setState("LAND");
    std::string status;
    EXPECT_EQ(framesTo(chip, status), 10);
    EXPECT_EQ(status, "CHECK-MATCH");  // hyphen: nobody acts on it
    EXPECT_EQ(chip.state, "LAND_BACK");
    EXPECT_EQ(framesTo(chip, status), 10);
    EXPECT_EQ(status, "LANDED");
    EXPECT_FLOAT_EQ(chip.adY, 0);

    // REPLACE (no junk effect installed) ends with the underscore status.
    chip.setState("");
    chip.replaceChipData(game->getChipData(5));
    EXPECT_EQ(chip.cd->id, 5);
    EXPECT_EQ(chip.state, "REPLACE");
    EXPECT_EQ(framesTo(chip, status), 1);
    EXPECT_EQ(status, "CHECK_MATCH");
    EXPECT_NE(std::string("CHECK-MATCH"), status);
    EXPECT_EQ(chip.state, "");
}

TEST_F(ChipStatesTest, LandingPlaysTheMoveSoundOnceOnEntry) {
    struct Count : TM3Effects {
        int moves = 0;
        void playChipMove() override { ++moves; }
    } fx;
    setM3Effects(&fx);
    TChip& chip = chipAt(0, 0);
    chip.setState("LAND");
    chip.setState("LAND_BACK");  // LAND -> LAND_BACK is no new landing
    chip.setState("");
    chip.setState("FALL-DOWN");
    setM3Effects(nullptr);
    EXPECT_EQ(fx.moves, 1);
}

TEST_F(ChipStatesTest, DestroyIsFinal) {
    TChip& chip = chipAt(0, 1);
    chip.adx = 5;
    chip.destroy(100);
    EXPECT_EQ(chip.state, "DESTROY");
    EXPECT_EQ(chip.adx, 0);
    const int start = chip.startTime;
    for (const char* s : {"MOVE-LEFT", "FALL-DOWN", "", "DESTROY", "LAND"}) {
        chip.setState(s);
        EXPECT_EQ(chip.state, "DESTROY") << s;
    }
    EXPECT_EQ(chip.c, 1);
    advance(50);
    chip.destroy(0);  // a second destroy is ignored too
    EXPECT_EQ(chip.startTime, start);
    // Nothing happens before the start time.
    EXPECT_EQ(chip.update(), "");
    EXPECT_FLOAT_EQ(chip.s, 1);
}

TEST_F(ChipStatesTest, NormalDestructionScoresAndTakesTwentyFrames) {
    TChip& chip = chipAt(0, 1);
    const int score0 = lvl->score;
    chip.destroy(0);
    std::string status;
    const int n = framesTo(chip, status);
    EXPECT_GE(n, 20);
    EXPECT_LE(n, 21);  // s drops by 0.05 a frame
    EXPECT_EQ(status, "DESTROYED");
    EXPECT_EQ(lvl->score, score0 + 50);
    EXPECT_EQ(chip.bylUsuwany, 1);
    EXPECT_FLOAT_EQ(chip.destrA, 1);
}

TEST_F(ChipStatesTest, DestroyBreaksTheLayerUnderIt) {
    TChip& chip = chipAt(2, 1);
    lvl->tile[2][1]->setTileData(game->getTileData(3));
    chip.destroy(0);
    chip.update();
    EXPECT_EQ(lvl->tile[2][1]->kind(), 2);
    EXPECT_EQ(lvl->tilesCount, 1);
}

TEST_F(ChipStatesTest, DestroyOnChainedTileOnlyWeakensTheChain) {
    TTile& t = *lvl->tile[1][2];
    ASSERT_EQ(t.chain, 2);
    auto chip = t.chip;
    chip->destroy(0);
    EXPECT_EQ(chip->state, "DESTROY-CHAIN");
    std::string status;
    EXPECT_EQ(framesTo(*chip, status), 20);
    EXPECT_EQ(status, "END_CHAIN");
    EXPECT_EQ(t.chain, 1);
    EXPECT_EQ(t.chip, chip);
    EXPECT_FLOAT_EQ(chip->s, 1);
    chip->setState("");
    chip->destroy(0);
    framesTo(*chip, status);
    EXPECT_EQ(t.chain, 0);
    chip->setState("");
    chip->destroy(0);
    EXPECT_EQ(chip->state, "DESTROY");
}

TEST_F(ChipStatesTest, PuzzlePieceIsNeverDestroyed) {
    TTile& t = *lvl->tile[1][1];  // kind 3 under puzzle chip 50
    auto chip = t.chip;
    ASSERT_TRUE(chip->isPuzzle());
    chip->destroy(0);
    EXPECT_NE(chip->state, "DESTROY");
    EXPECT_EQ(t.kind(), 2);  // the plate lost a layer
    EXPECT_EQ(t.chip, chip);
    chip->destroy(0);
    EXPECT_EQ(t.kind(), 1);
    chip->destroy(0);
    EXPECT_EQ(t.kind(), 1);
    EXPECT_EQ(lvl->tilesCount, 2);
    chip->giveResource(0);
    EXPECT_EQ(chip->bylOddanyRes, 0);
}

TEST_F(ChipStatesTest, KindChangeCrossFadesAndDestroyCompletesIt) {
    TChip& chip = chipAt(0, 0);
    chip.changeTo(game->getChipData(7));
    for (int i = 0; i < 10; ++i) chip.update();
    EXPECT_EQ(chip.cd->id, 1);
    EXPECT_NEAR(chip.changeP, 0.5f, 1e-4);
    chip.draw(0, 0, 0);  // draws both kinds; null images are skipped
    for (int i = 0; i < 11; ++i) chip.update();
    EXPECT_EQ(chip.cd->id, 7);
    EXPECT_FALSE(chip.docelowyChip);
    TChip& other = chipAt(0, 2);
    other.changeTo(game->getChipData(6));
    other.destroy(0);
    EXPECT_EQ(other.cd->id, 6);
}

TEST_F(ChipStatesTest, FlightFollowsTheCurve) {
    TChip& chip = chipAt(0, 0);
    TTile* target = lvl->tile[3][3].get();
    SeedRnd(7);
    chip.flyToTile(target);
    EXPECT_TRUE(chip.isMoving());
    EXPECT_FLOAT_EQ(chip.mDim.x, chip.startDim.x + (target->dim.x - chip.startDim.x) / 2);
    EXPECT_TRUE(chip.mDim.y == 0 || chip.mDim.y == 600);
    int frames = 0;
    while (chip.docelowyTile && frames < 100) {
        chip.update();
        ++frames;
    }
    EXPECT_EQ(frames, 34);  // 0.03 a frame: 33 frames reach 0.99, the 34th clamps to 1
    EXPECT_EQ(chip.tile, target);
    EXPECT_EQ(chip.adx, 0);
    EXPECT_FALSE(chip.isMoving());
}

TEST_F(ChipStatesTest, ReverseOfStraightMoves) {
    struct Case {
        const char* state;
        const char* rev;
    } cases[] = {{"MOVE-LEFT", "MOVE-RIGHT"}, {"MOVE-RIGHT", "MOVE-LEFT"},
                 {"MOVE-UP", "MOVE-DOWN"},    {"MOVE-DOWN", "MOVE-UP"},
                 {"FALL-DOWN", ""},           {"", ""}};
    for (const auto& k : cases) {
        TChip& chip = chipAt(2, 2);
        chip.setState(k.state);
        EXPECT_EQ(chip.getMoveReverse(), k.rev) << k.state;
        chip.reverse();
        EXPECT_EQ(chip.state, std::string(*k.rev ? k.rev : k.state)) << k.state;
        chip.finishMove();
        chip.setState("");
    }
}

TEST_F(ChipStatesTest, MovingQueries) {
    TChip& chip = chipAt(2, 2);
    struct Case {
        const char* state;
        int moving, checkSwap;
    } cases[] = {{"", 0, 0},        {"MOVE-LEFT", 1, 1}, {"FALL-DOWN", 1, 1},
                 {"LAND", 1, 1},    {"LAND_BACK", 1, 1}, {"LIE", 0, 0},
                 {"REPLACE", 0, 0}, {"DESTROY-CHAIN", 0, 0}};
    for (const auto& k : cases) {
        chip.setState(k.state);
        EXPECT_EQ(chip.isMoving(), k.moving) << k.state;
        EXPECT_EQ(chip.isMovingCheckSwap(), k.checkSwap) << k.state;
        chip.finishMove();
    }
    // A straight move of a chip whose tile is in a swap does not count for the swap check.
    chip.setState("MOVE-LEFT");
    lvl->tile[2][2]->swap = lvl->tile[2][1].get();
    EXPECT_EQ(chip.isMovingCheckSwap(), 0);
    EXPECT_EQ(chip.isSwaping(), 1);
    lvl->tile[2][2]->swap = nullptr;
    // Group mode: landing is not moving for isMoving, still is for the swap check.
    chip.setState("LAND");
    game->matchType = 2;
    EXPECT_EQ(chip.isMoving(), 0);
    EXPECT_EQ(chip.isMovingCheckSwap(), 1);
    game->matchType = 0;
    chip.setState("");
    chip.destroy(0);
    EXPECT_EQ(chip.isMoving(), 1);
    EXPECT_EQ(chip.isMovingCheckSwap(), 0);
    EXPECT_EQ(chip.doingNothing(), 0);
}

TEST_F(ChipStatesTest, ShowStartsInvisibleAboveAndFallsIn) {
    TChip& chip = chipAt(0, 3);
    chip.setState("MOVE-SHOW");
    EXPECT_EQ(chip.a, 0);
    EXPECT_EQ(chip.s, 0);
    chip.update();
    EXPECT_EQ(chip.state, "FALL-DOWN");
    EXPECT_FLOAT_EQ(chip.adY, -60);
    EXPECT_EQ(chip.s, 1);
    EXPECT_EQ(chip.r, 0);  // no start step ran
    std::string status;
    EXPECT_EQ(framesTo(chip, status), 7);
    EXPECT_EQ(chip.a, 1);
}

TEST_F(ChipStatesTest, MoveUpToFallJumpsAndComesBack) {
    TChip& chip = chipAt(3, 0);
    chip.moveUpToFall();
    EXPECT_EQ(chip._ay, -7);
    float highest = 0;
    std::string status;
    int n = 0;
    for (; n < 200; ++n) {
        status = chip.update();
        highest = std::min(highest, chip.adY);
        if (!status.empty()) break;
    }
    EXPECT_EQ(status, "FALL");
    EXPECT_LT(highest, -10);
    EXPECT_EQ(chip.adY, 0);
    // Fast settings used to jump over the end window; it must still come back.
    game->settings->ySpeed = 100;
    chip.setState("");
    chip.moveUpToFall();
    for (n = 0; n < 200 && chip.update().empty(); ++n) {
    }
    EXPECT_LT(n, 200);
    game->settings->ySpeed = 12;
}

TEST_F(ChipStatesTest, MoveChipsUpStopsAtChainsHolesAndGaps) {
    // Column 2: row 1 is chained, so hammering row 3 nudges row 2 only.
    lvl->moveChipsUp(lvl->tile[3][2]);
    EXPECT_EQ(chipAt(2, 2).state, "MOVE-UP-TO-FALL-DOWN");
    EXPECT_EQ(chipAt(1, 2).state, "");
    EXPECT_EQ(chipAt(0, 2).state, "");
    // Column 0: everything above moves.
    lvl->moveChipsUp(lvl->tile[3][0]);
    for (int r = 0; r < 3; ++r) EXPECT_EQ(chipAt(r, 0).state, "MOVE-UP-TO-FALL-DOWN");
    // A gap stops it.
    lvl->tile[2][3]->chip.reset();
    lvl->moveChipsUp(lvl->tile[3][3]);
    EXPECT_EQ(chipAt(1, 3).state, "");
}

TEST_F(ChipStatesTest, PickedChipWobblesAndSetStateDropsThePick) {
    game->pickedTile = lvl->tile[0][0];
    TChip& chip = chipAt(0, 0);
    EXPECT_EQ(chip.isPicked(), 1);
    for (int i = 0; i < 10; ++i) chip.update();
    EXPECT_GT(chip.overRot, 0);
    chip.setState("MOVE-RIGHT");
    EXPECT_FALSE(game->pickedTile);
    for (int i = 0; i < 40; ++i) chip._update_picked();
    EXPECT_FLOAT_EQ(chip.overRot, 0);
}

TEST_F(ChipStatesTest, ChipWithoutKindDestroysItself) {
    TChip& chip = chipAt(3, 3);
    chip.cd.reset();
    std::string status;
    EXPECT_GT(framesTo(chip, status), 0);
    EXPECT_EQ(status, "DESTROYED");
}

TEST_F(ChipStatesTest, RandomSignsAtConstruction) {
    for (int i = 0; i < 20; ++i) {
        TChip chip;
        EXPECT_TRUE(chip.dShakeP == 1 || chip.dShakeP == -1);
        EXPECT_TRUE(chip.sasX == 1 || chip.sasX == -1);
        EXPECT_TRUE(chip.sasY == 1 || chip.sasY == -1);
    }
}

TEST_F(ChipStatesTest, SameSeedSameRun) {
    auto run = [&]() {
        SeedRnd(99);
        std::vector<int> out;
        for (int i = 0; i < 50; ++i) out.push_back(lvl->getRandomChip()->id);
        return out;
    };
    EXPECT_EQ(run(), run());
}

// The engine asks a chip's state by its enumeration; whatever prints it,
// reads it in a test or sets it by name sees the same names as ever.
TEST(ChipStateNames, EveryNameMapsToItsStateAndBack) {
    struct Case {
        const char* name;
        TChipState::Id id;
        bool move, fall, land;
    } cases[] = {
        {"", TChipState::NONE, false, false, false},
        {"MOVE-LEFT", TChipState::MOVE_LEFT, true, false, false},
        {"MOVE-RIGHT", TChipState::MOVE_RIGHT, true, false, false},
        {"MOVE-UP", TChipState::MOVE_UP, true, false, false},
        {"MOVE-DOWN", TChipState::MOVE_DOWN, true, false, false},
        {"MOVE-LEFT-UP", TChipState::MOVE_LEFT_UP, true, false, false},
        {"MOVE-RIGHT-UP", TChipState::MOVE_RIGHT_UP, true, false, false},
        {"MOVE-LEFT-DOWN", TChipState::MOVE_LEFT_DOWN, true, false, false},
        {"MOVE-RIGHT-DOWN", TChipState::MOVE_RIGHT_DOWN, true, false, false},
        {"FALL-DOWN", TChipState::FALL_DOWN, false, true, false},
        {"FALL-LEFT-DOWN", TChipState::FALL_LEFT_DOWN, false, true, false},
        {"FALL-RIGHT-DOWN", TChipState::FALL_RIGHT_DOWN, false, true, false},
        {"MOVE-UP-TO-FALL-DOWN", TChipState::MOVE_UP_TO_FALL_DOWN, true, false, false},
        {"MOVE-DOWN-TO-FALL-DOWN", TChipState::MOVE_DOWN_TO_FALL_DOWN, true, false, false},
        {"MOVE-SHOW", TChipState::MOVE_SHOW, true, false, false},
        {"MOVE-SHOW-2", TChipState::MOVE_SHOW_2, true, false, false},
        {"LAND", TChipState::LAND, false, false, true},
        {"LAND_BACK", TChipState::LAND_BACK, false, false, true},
        {"LIE", TChipState::LIE, false, false, false},
        {"REPLACE", TChipState::REPLACE, false, false, false},
        {"DESTROY", TChipState::DESTROY, false, false, false},
        {"DESTROY-CHAIN", TChipState::DESTROY_CHAIN, false, false, false},
        // Names outside the table are kept as text; their prefix still counts.
        {"MOVE-SIDEWAYS", TChipState::OTHER, true, false, false},
        {"LANDING", TChipState::OTHER, false, false, true},
        {"destroy", TChipState::OTHER, false, false, false},
    };
    for (const Case& c : cases) {
        const TChipState byName(c.name);
        EXPECT_EQ(byName.id(), c.id) << c.name;
        EXPECT_EQ(byName.name(), c.name);
        EXPECT_EQ(byName, c.name);
        EXPECT_EQ(byName.isMove(), c.move) << c.name;
        EXPECT_EQ(byName.isFall(), c.fall) << c.name;
        EXPECT_EQ(byName.isLand(), c.land) << c.name;
        EXPECT_EQ(byName.empty(), c.id == TChipState::NONE) << c.name;
        if (c.id != TChipState::OTHER) {
            const TChipState byId(c.id);
            EXPECT_EQ(byId.name(), c.name);
            EXPECT_TRUE(byId == byName) << c.name;
            EXPECT_TRUE(byName == c.id) << c.name;
        } else {
            EXPECT_FALSE(byName == TChipState::OTHER) << "OTHER is no one name: " << c.name;
            EXPECT_FALSE(byName == TChipState(std::string(c.name) + "!")) << c.name;
        }
    }
    TChipState s("DESTROY");
    EXPECT_NE(s, "DESTROY-CHAIN");
    s.clear();
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(static_cast<const std::string&>(s), "");
}

TEST_F(ChipStatesTest, AnUnknownStateNameLeavesTheChipStillWithItsName) {
    TChip& chip = chipAt(1, 2);
    chip.setState("move-left");
    EXPECT_EQ(chip.state, TChipState::MOVE_LEFT);
    EXPECT_TRUE(chip.isMoving());
    chip.setState("NO-SUCH-STATE");
    EXPECT_EQ(chip.state.id(), TChipState::OTHER);
    EXPECT_EQ(chip.state, "NO-SUCH-STATE");
    EXPECT_EQ(chip.lastState, "MOVE-LEFT");
    EXPECT_FALSE(chip.isMoving());
    EXPECT_EQ(chip.update(), "");
}
