// Level files: loading, the refusals, and the save -> load round trip.
#include "board_fixture.h"

#include <set>

namespace {

std::vector<int> ids(const std::vector<TChipDataPtr>& list) {
    std::vector<int> out;
    for (auto& cd : list) out.push_back(cd ? cd->id : -1);
    return out;
}

std::vector<int> frameIds(const TM3Frame& f) {
    std::vector<int> out;
    for (auto& p : f.lista) out.push_back(p ? p->id : -1);
    return out;
}

}  // namespace

using LevelFileTest = BoardTest;

TEST_F(LevelFileTest, LoadsTilesChipsChainsAndHeader) {
    auto lvl = loadText(levelText(2, 3, {"1 2 3", "0 1 1"}, {"1 0 101", "0 2 50"},
                                  {"0 1 2", "0 0 1"}, "1 2 3",
                                  "\t\tscore = 77\n\t\tcollect = 1\n\t\tpuzzles = \"3\"\n"
                                  "\t\ttilesCount = 5\n\t\tbackGround = 2\n"));
    ASSERT_TRUE(lvl);
    EXPECT_EQ(lvl->rows, 2);
    EXPECT_EQ(lvl->cols, 3);
    EXPECT_EQ(lvl->czas, 100);
    EXPECT_EQ(lvl->maxCzas, 200);
    EXPECT_EQ(lvl->score, 77);
    EXPECT_EQ(lvl->collect, 1);
    EXPECT_EQ(lvl->puzzles, 3);
    EXPECT_EQ(lvl->tilesCount, 5);
    ASSERT_TRUE(lvl->backGround);
    EXPECT_EQ(lvl->backGround->id, 2);
    EXPECT_EQ(lvl->matchType, "SWAP");
    EXPECT_EQ(lvl->tile[0][1]->kind(), 2);
    EXPECT_EQ(lvl->tile[1][0]->kind(), 0);
    EXPECT_EQ(lvl->tile[0][2]->chain, 2);
    ASSERT_TRUE(lvl->tile[0][0]->chip);
    EXPECT_EQ(lvl->tile[0][0]->chip->cd->id, 1);
    // The chip's back-reference is the tile it lies on.
    EXPECT_EQ(lvl->tile[0][0]->chip->tile, lvl->tile[0][0].get());
    EXPECT_FALSE(lvl->tile[0][1]->chip);
    ASSERT_TRUE(lvl->tile[0][2]->chip);
    EXPECT_EQ(lvl->tile[0][2]->chip->cd->id, 101);
    EXPECT_TRUE(lvl->tile[0][2]->chip->isBonus());
    // Play-log counters: match summed over tiles (kind 2 -> 1, kind 3 -> 2), puzzles counted.
    EXPECT_EQ(lvl->log_tilesToBrake, 3);
    EXPECT_EQ(lvl->log_iloscPuzzli, 1);
    EXPECT_EQ(lvl->log_availableChips, "1 2 3");
    EXPECT_EQ(lvl->tile[1][2]->r, 1);
    EXPECT_EQ(lvl->tile[1][2]->c, 2);
    EXPECT_EQ(lvl->tile[1][2]->level, lvl.get());
}

TEST_F(LevelFileTest, RefusesUnknownTileKindNamingFileAndId) {
    testing::internal::CaptureStderr();
    auto lvl = loadText(levelText(2, 2, {"1 1", "1 9"}));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(lvl);
    EXPECT_NE(err.find("level.lvl"), std::string::npos) << err;
    EXPECT_NE(err.find("tile kind 9"), std::string::npos) << err;
}

TEST_F(LevelFileTest, RefusalLeavesPowerUpColoursAlone) {
    ASSERT_TRUE(loadText(levelText(1, 1, {"1"}, {}, {}, "3 4")));
    EXPECT_EQ(TM3Game::powerUpColor[0]->id, 3);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadText(levelText(1, 1, {"7"}, {}, {}, "5 6")));
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(TM3Game::powerUpColor[0]);
    EXPECT_EQ(TM3Game::powerUpColor[0]->id, 3);
}

TEST_F(LevelFileTest, RefusesDimensionsOutsideRange) {
    struct Case {
        const char* dims;
    } cases[] = {{"0, 5"}, {"5, 0"}, {"31, 5"}, {"5, 31"}, {"-1, 3"}, {"abc, 3"}, {nullptr}};
    for (const auto& k : cases) {
        std::string text = "level {\n\tdata {\n";
        if (k.dims) text += std::string("\t\tdims = ") + k.dims + "\n";
        text += "\t}\n\n}\n\n";
        testing::internal::CaptureStderr();
        auto lvl = loadText(text);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(lvl) << (k.dims ? k.dims : "(no dims)");
        EXPECT_NE(err.find("refused"), std::string::npos) << err;
    }
    // The limits themselves are fine.
    std::vector<std::string> rows(30, std::string("1") + std::string(29 * 2, ' '));
    for (auto& r : rows) {
        r.clear();
        for (int c = 0; c < 30; ++c) r += (c ? " 1" : "1");
    }
    EXPECT_TRUE(loadText(levelText(30, 30, rows)));
    EXPECT_TRUE(loadText(levelText(1, 1, {"1"})));
}

TEST_F(LevelFileTest, UnparseableNumbersReadAsZero) {
    // "x" in a chip row is no number: no chip; in a tile row it is kind 0 (a hole).
    auto lvl = loadText(levelText(1, 3, {"1 x 1"}, {"x 2 2abc"}, {"q 1 1"}));
    ASSERT_TRUE(lvl);
    EXPECT_EQ(lvl->tile[0][1]->kind(), 0);
    EXPECT_FALSE(lvl->tile[0][0]->chip);
    EXPECT_EQ(lvl->tile[0][0]->chain, 0);
    ASSERT_TRUE(lvl->tile[0][2]->chip);
    EXPECT_EQ(lvl->tile[0][2]->chip->cd->id, 2);  // leading digits count
}

TEST_F(LevelFileTest, ShortRowsFillWithHolesAndNoChips) {
    auto lvl = loadText(levelText(2, 3, {"1 1"}, {"3"}));
    ASSERT_TRUE(lvl);
    EXPECT_EQ(lvl->tile[0][2]->kind(), 0);
    EXPECT_EQ(lvl->tile[1][0]->kind(), 0);
    EXPECT_FALSE(lvl->tile[0][1]->chip);
}

TEST_F(LevelFileTest, ChipIdsByRange) {
    // 100 is a normal kind, 101+ bonus kinds, unknown ids leave the cell empty.
    auto lvl = loadText(levelText(1, 5, {"1 1 1 1 1"}, {"100 104 99 107 50"}));
    ASSERT_TRUE(lvl);
    ASSERT_TRUE(lvl->tile[0][0]->chip);
    EXPECT_EQ(lvl->tile[0][0]->chip->cd->id, 100);
    EXPECT_FALSE(lvl->tile[0][0]->chip->isBonus());
    EXPECT_EQ(lvl->tile[0][0]->chip->cd->proper(), 0);  // proper() wants id < 100
    ASSERT_TRUE(lvl->tile[0][1]->chip);
    EXPECT_EQ(lvl->tile[0][1]->chip->cd->typ, "BOMB");
    EXPECT_FALSE(lvl->tile[0][2]->chip);
    EXPECT_FALSE(lvl->tile[0][3]->chip);
    ASSERT_TRUE(lvl->tile[0][4]->chip);
    EXPECT_TRUE(lvl->tile[0][4]->chip->isPuzzle());
    lvl->checkIfPuzzles();
    EXPECT_EQ(lvl->saPuzzle, 1);
}

TEST_F(LevelFileTest, AvailableBonusBelowHundredIsRaised) {
    auto lvl = loadText(levelText(1, 1, {"1"}, {}, {}, "1",
                                  "\t\tavailableBonus = \"5 105 1 77 106\"\n"));
    ASSERT_TRUE(lvl);
    EXPECT_EQ(ids(lvl->availableBonus), (std::vector<int>{105, 105, 101, 106}));
    EXPECT_EQ(lvl->availableBonus[0], lvl->availableBonus[1]);  // the same kind object
}

TEST_F(LevelFileTest, PowerUpColourSlots) {
    struct Case {
        std::string avail;
        std::vector<int> chips;
        std::vector<int> slots;  // 0 = empty
    } cases[] = {
        {"1 2 3 4 5 6 7 8", {1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6}},
        {"3 1", {3, 1}, {3, 1, 0, 0, 0, 0}},
        // Unknown kinds are skipped and take no slot.
        {"9 2 77 4", {2, 4}, {2, 4, 0, 0, 0, 0}},
        {"", {}, {0, 0, 0, 0, 0, 0}},
    };
    for (const auto& k : cases) {
        auto lvl = loadText(levelText(1, 1, {"1"}, {}, {}, k.avail));
        ASSERT_TRUE(lvl) << k.avail;
        EXPECT_EQ(ids(lvl->availableChips), k.chips) << k.avail;
        for (int i = 0; i < 6; ++i) {
            const auto& s = TM3Game::powerUpColor[i];
            EXPECT_EQ(s ? s->id : 0, k.slots[i]) << k.avail << " slot " << i;
        }
    }
}

TEST_F(LevelFileTest, CreatorsOutsideTheBoardAreIgnored) {
    auto lvl = loadText(withGroups(levelText(2, 2, {"1 1", "1 1"}, {}, {}, "1"),
                                   "\tchipCreators {\n\t\ti = 3\n\t\tcc1 = 0, 1\n\t\tcc2 = 5, 5\n"
                                   "\t\tcc3 = 1, 0\n\t}\n\n"));
    ASSERT_TRUE(lvl);
    EXPECT_EQ(lvl->tile[0][1]->creator, 1);
    EXPECT_EQ(lvl->tile[1][0]->creator, 1);
    EXPECT_EQ(lvl->tile[0][0]->creator, 0);
    EXPECT_EQ(lvl->chipCreators.size(), 2u);
}

TEST_F(LevelFileTest, MissingFileGivesNoLevel) {
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    auto lvl = loadLevelFile((tmpDir / "nope.lvl").string(), game.get());
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(lvl);
}

TEST_F(LevelFileTest, SaveLoadRoundTrip) {
    auto lvl = loadText(levelText(4, 5,
                                  {"1 2 3 1 0", "1 1 0 1 1", "0 3 1 2 1", "1 1 1 1 1"},
                                  {"1 2 3 4 0", "100 101 0 105 50", "0 1 2 3 4", "5 6 7 8 1"},
                                  {"0 1 2 0 0", "0 0 0 1 0", "0 2 0 0 0", "1 0 0 0 2"},
                                  "4 2 1 100 3", "\t\tavailableBonus = \"1 104\"\n"));
    ASSERT_TRUE(lvl);
    lvl->tile[0][0]->creator = 1;
    lvl->tile[0][3]->creator = 1;
    lvl->tile[2][4]->creator = 1;
    lvl->matchType = "CHAIN";
    lvl->puzzles = 2;
    lvl->score = 1234;
    lvl->highestMatch = 9;
    lvl->zasob = {1, 2, 3, 4};
    lvl->setBackGround(2);
    lvl->CreateLevelFrames();
    // A piece id the catalogue lacks in a saved frame list is skipped on load.
    const auto path = (tmpDir / "round.lvl").string();
    ASSERT_TRUE(lvl->save(path));
    // Written rows have no leading or trailing space and the frame values keep their quotes.
    auto raw = loadRCMFile(path);
    EXPECT_EQ(raw->getString("level::tiles::row0"), "1 2 3 1 0");
    EXPECT_EQ(raw->getString("level::chips::row1"), "100 101 0 105 50");
    EXPECT_EQ(raw->getString("level::frame::row0", 0).front(), '"');
    EXPECT_EQ(raw->getString("level::frame::row0", 0).back(), '"');
    EXPECT_EQ(raw->getString("level::data::saPuzzle"), "1");

    auto back = loadLevelFile(path, game.get());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->rows, 4);
    EXPECT_EQ(back->cols, 5);
    EXPECT_EQ(back->matchType, "CHAIN");
    EXPECT_EQ(back->czas, 100);
    EXPECT_EQ(back->maxCzas, 200);
    EXPECT_EQ(back->score, 1234);
    EXPECT_EQ(back->puzzles, 2);
    EXPECT_EQ(back->saPuzzle, 1);
    EXPECT_EQ(back->highestMatch, 0);
    EXPECT_EQ(back->zasob, (std::array<int, 4>{0, 0, 0, 0}));
    ASSERT_TRUE(back->backGround);
    EXPECT_EQ(back->backGround->id, 2);
    EXPECT_EQ(ids(back->availableChips), ids(lvl->availableChips));
    EXPECT_EQ(ids(back->availableBonus), ids(lvl->availableBonus));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c) {
            SCOPED_TRACE("cell " + std::to_string(r) + "," + std::to_string(c));
            const auto& a = *lvl->tile[r][c];
            const auto& b = *back->tile[r][c];
            EXPECT_EQ(a.kind(), b.kind());
            EXPECT_EQ(a.chain, b.chain);
            EXPECT_EQ(a.creator, b.creator);
            EXPECT_EQ(a.chip ? a.chip->cd->id : 0, b.chip ? b.chip->cd->id : 0);
        }
    ASSERT_EQ(back->chipCreators.size(), 3u);
    EXPECT_EQ(back->chipCreators[2].x, 2);
    EXPECT_EQ(back->chipCreators[2].y, 4);
    ASSERT_EQ(back->ramka.size(), lvl->ramka.size());
    for (size_t R = 0; R < lvl->ramka.size(); ++R)
        for (size_t C = 0; C < lvl->ramka[R].size(); ++C)
            EXPECT_EQ(frameIds(*lvl->ramka[R][C]), frameIds(*back->ramka[R][C]))
                << "frame cell " << R << "," << C;

    // And a second save of the loaded level is byte-identical to the first
    // (once the resource counters, which are not read back, agree).
    lvl->zasob = {0, 0, 0, 0};
    ASSERT_TRUE(lvl->save(path));
    const auto path2 = (tmpDir / "round2.lvl").string();
    ASSERT_TRUE(back->save(path2));
    std::ifstream f1(path, std::ios::binary), f2(path2, std::ios::binary);
    std::string s1((std::istreambuf_iterator<char>(f1)), {}), s2((std::istreambuf_iterator<char>(f2)), {});
    EXPECT_EQ(s1, s2);
}

TEST_F(LevelFileTest, FramePieceMissingFromCatalogueIsSkipped) {
    std::string text = withGroups(levelText(1, 1, {"1"}),
                                  "\tframe {\n\t\trow0 = \"\"0\"\", \"\"0 99 4\"\", \"\"0\"\"\n\t}\n\n");
    auto lvl = loadText(text);
    ASSERT_TRUE(lvl);
    ASSERT_EQ(lvl->ramka.size(), 3u);
    EXPECT_EQ(frameIds(*lvl->ramka[0][1]), (std::vector<int>{0, 4}));
    EXPECT_EQ(frameIds(*lvl->ramka[0][0]), (std::vector<int>{0}));
}

TEST_F(LevelFileTest, GeometryFollowsPitchAndCentre) {
    auto lvl = loadText(levelText(3, 4, {"1 1 1 1", "1 1 1 1", "1 1 1 1"}));
    ASSERT_TRUE(lvl);
    lvl->CreateLevelFrames();
    lvl->setPosition(501, 300);
    // sx = 501 - 60 * 4 / 2 = 381, sy = 300 - 60 * 3 / 2 = 210
    EXPECT_FLOAT_EQ(lvl->sx, 381);
    EXPECT_FLOAT_EQ(lvl->sy, 210);
    EXPECT_EQ(lvl->tile[2][3]->dim.x, 381 + 180);
    EXPECT_EQ(lvl->tile[2][3]->dim.y, 210 + 120);
    EXPECT_EQ(lvl->getLevelWidth(), 240);
    EXPECT_EQ(lvl->getLevelHeight(), 180);
    // Frame cell [R, C] coincides with tile [R - 1, C - 1].
    EXPECT_EQ(lvl->ramka[3][4]->x, lvl->tile[2][3]->dim.x);
    EXPECT_EQ(lvl->ramka[3][4]->y, lvl->tile[2][3]->dim.y);
    EXPECT_EQ(lvl->ramka[0][0]->x, 381 - 60);
    // Truncation toward zero of a fractional origin.
    lvl->setPosition(100.7f, 50.2f);
    EXPECT_EQ(lvl->tile[0][0]->dim.x, static_cast<int>(100.7f - 120));
}

TEST_F(LevelFileTest, CreateEmptyLevelForTheEditor) {
    auto lvl = createEmptyLevel(5, 7, game.get());
    ASSERT_TRUE(lvl);
    EXPECT_EQ(lvl->czas, 360);
    EXPECT_EQ(lvl->maxCzas, 360);
    ASSERT_TRUE(lvl->backGround);
    EXPECT_EQ(lvl->backGround->id, 1);
    for (auto& row : lvl->tile)
        for (auto& t : row) {
            EXPECT_EQ(t->kind(), 1);
            EXPECT_FALSE(t->chip);
        }
    EXPECT_EQ(lvl->allTilesAre(3), 1);
    EXPECT_EQ(lvl->noPuzzleChip, 1);
}

TEST_F(LevelFileTest, AllTilesAreIgnoresItsArgument) {
    auto lvl = loadText(levelText(1, 3, {"1 0 1"}, {"50 0 1"}));
    ASSERT_TRUE(lvl);
    EXPECT_EQ(lvl->allTilesAre(2), 1);
    EXPECT_EQ(lvl->noPuzzleChip, 0);
    lvl->tile[0][2]->setTileData(game->getTileData(2));
    EXPECT_EQ(lvl->allTilesAre(1), 0);
}

TEST_F(LevelFileTest, RandomChipIsUniformOverAvailable) {
    auto lvl = loadText(levelText(1, 1, {"1"}, {}, {}, "1 2 3"));
    ASSERT_TRUE(lvl);
    std::set<int> seen;
    for (int i = 0; i < 200; ++i) seen.insert(lvl->getRandomChip()->id);
    EXPECT_EQ(seen, (std::set<int>{1, 2, 3}));
    lvl->availableChips.clear();
    EXPECT_FALSE(lvl->getRandomChip());
}

TEST_F(LevelFileTest, RebuildTilesSwitchesToTheOtherSet) {
    auto lvl = loadText(levelText(1, 2, {"2 0"}, {"1 0"}));
    ASSERT_TRUE(lvl);
    bind(lvl);
    const auto before = lvl->tile[0][0]->td;
    game->loadTileSet(1);
    ASSERT_TRUE(lvl->tile[0][0]->td);
    EXPECT_NE(lvl->tile[0][0]->td, before);
    EXPECT_EQ(lvl->tile[0][0]->kind(), 2);
    EXPECT_EQ(lvl->tile[0][0]->td->url, "gfx/tiles/tileB2.png");
}

// A board with plates to break that no move could ever touch is refused,
// saying why; one that pieces or creators can play is not.
TEST_F(LevelFileTest, BoardsThatCanNeverEndAreRefused) {
    const std::string creators = "\tchipCreators {\n\t\ti = 1\n\t\tcc1 = 0, 0\n\t}\n\n";
    const struct {
        const char* what;
        std::string text;
        bool refused;
    } cases[] = {
        {"plates to break, no pieces, no creators", levelText(2, 2, {"2 1", "1 3"}), true},
        {"creators with no chip kinds", withGroups(levelText(2, 2, {"2 1", "1 1"}, {}, {}, ""), creators), true},
        {"creators on a hole only", withGroups(levelText(2, 2, {"0 2", "1 1"}), creators), true},
        {"creators that bring pieces", withGroups(levelText(2, 2, {"2 1", "1 1"}), creators), false},
        {"pieces without creators", levelText(1, 3, {"2 1 1"}, {"1 2 3"}), false},
        {"nothing to break", levelText(2, 2, {"1 1", "1 1"}), false},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        auto lvl = loadText(c.text);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(lvl == nullptr, c.refused) << c.what;
        if (c.refused) EXPECT_NE(err.find("could never be won or lost"), std::string::npos) << c.what << ": " << err;
        TRCMFile f;
        f.LoadFromText(c.text);
        std::string why;
        EXPECT_EQ(loadLevelFromRCM(f, "x", game.get(), &why) == nullptr, c.refused) << c.what;
        EXPECT_EQ(why.empty(), !c.refused) << c.what << ": " << why;
    }
}
