// Catalogues: settings, tiles, chips, bonus kinds, frames, backgrounds; the
// real game tables when the content has been generated.
#include "board_fixture.h"

#include "platform/Files.h"
#include "match3/TChipData.h"
#include "match3/TM3FrameData.h"
#include "match3/TTileData.h"

using BoardCatalogueTest = BoardTest;

TEST_F(BoardCatalogueTest, TilesAndFrames) {
    ASSERT_EQ(game->tilesList.size(), 4u);
    EXPECT_EQ(game->tilesList[3]->id, 3);
    EXPECT_EQ(game->tilesList[3]->match, 2);
    EXPECT_EQ(game->tilesList[3]->frameW, 60);
    EXPECT_EQ(game->tilesList[3]->frameH, 60);
    EXPECT_EQ(game->tilesList[3]->url, "gfx/tiles/tile3.png");
    ASSERT_EQ(game->frameList.size(), 13u);
    auto in = game->getFrameDataByDir(-1, 1, "IN");
    ASSERT_TRUE(in);
    EXPECT_EQ(in->id, 10);
    EXPECT_EQ(game->getFrameDataByDir(-1, 1, "")->id, 6);
}

TEST_F(BoardCatalogueTest, ChipKinds) {
    auto c1 = game->getChipData(1);
    ASSERT_TRUE(c1);
    EXPECT_EQ(c1->rgb.r, 10);
    EXPECT_EQ(c1->rgb.g, 20);
    EXPECT_EQ(c1->rgb.b, 30);
    EXPECT_EQ(c1->score, 50);
    EXPECT_EQ(c1->res, -1);  // -1 in the file keeps the default
    EXPECT_EQ(c1->proper(), 1);
    EXPECT_EQ(game->getChipData(100)->proper(), 0);
    EXPECT_EQ(game->getChipData(50)->proper(), 0);  // puzzle piece
    auto b = game->getBonusChipData(105);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->typ, "BOMB");
    EXPECT_EQ(b->moc, 2);
    // Distinct upper-cased types in first-seen order ("crossfire" folds in).
    EXPECT_EQ(game->bonusyByType, (std::vector<std::string>{"CROSSFIRE", "BOMB"}));
}

TEST_F(BoardCatalogueTest, RgbJitterStaysWithinFifteenAndClamps) {
    TChipData cd;
    cd.rgb.r = 5;
    cd.rgb.g = 128;
    cd.rgb.b = 250;
    bool moved = false;
    for (int i = 0; i < 300; ++i) {
        const TRGB c = cd.getRGB();
        EXPECT_GE(c.r, 0);
        EXPECT_LE(c.r, 20);
        EXPECT_GE(c.g, 113);
        EXPECT_LE(c.g, 143);
        EXPECT_GE(c.b, 235);
        EXPECT_LE(c.b, 255);
        moved |= c.g != 128;
    }
    EXPECT_TRUE(moved);
}

TEST_F(BoardCatalogueTest, Backgrounds) {
    ASSERT_EQ(backGroundsList().size(), 2u);
    EXPECT_EQ(getBackground(2)->url, "gfx/back/back2.jpg");
    EXPECT_FALSE(getBackground(3));
}

TEST_F(BoardCatalogueTest, MissingPicturesGiveTheNotices) {
    testing::internal::CaptureStdout();
    auto tiles = loadTileCatalogue("data/tiles.dat");
    auto chips = loadChipCatalogue("data/chips.dat");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("NO TILE FILE : " + dataRoot + "gfx/tiles/tile0.png"), std::string::npos)
        << out;
    EXPECT_NE(out.find("NO CHIP FILE : " + dataRoot + "gfx/chips/chip1.png"), std::string::npos);
    EXPECT_FALSE(tiles[0]->gfx);
}

TEST_F(BoardCatalogueTest, MissingCatalogueGivesEmptyListsAndZeroSettings) {
    testing::internal::CaptureStdout();
    EXPECT_TRUE(loadTileCatalogue("data/none.dat").empty());
    EXPECT_TRUE(loadChipCatalogue("data/none.dat").empty());
    auto s = loadM3Settings("data/none.dat");
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(s);
    EXPECT_EQ(s->sizeX, 0);
}

// The real tables of game/data: every picture they name exists (once the
// content has been generated) and the board can load every level shipped.
TEST(BoardRealData, TablesNameExistingFiles) {
    const std::string root = std::string(BRIMBLE_GAME_DIR) + "/";
    if (FileType(root + "data/tiles.dat") != 1 || FileType(root + "data/chips.dat") != 1)
        GTEST_SKIP() << "game/data tables not generated yet";
    const std::string saved = dataRoot;
    dataRoot = root;
    testing::internal::CaptureStdout();
    TM3Game game;
    game.loadSettings("data/settings.dat");
    game.loadTiles("data/tiles.dat");
    game.loadChips("data/chips.dat");
    game.loadBonusChips("data/bonusy.dat");
    game.loadFrame("data/frames.dat");
    auto tiles1 = loadTileCatalogue("data/tiles1.dat");
    loadBackgrounds("data/backgrounds.dat");
    const std::string notices = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(game.settings);
    EXPECT_GT(game.settings->sizeX, 0);
    EXPECT_GT(game.settings->xSpeed, 0);
    for (int id = 0; id <= 3; ++id) EXPECT_TRUE(game.getTileData(id)) << "tile kind " << id;
    EXPECT_TRUE(game.getFrameData(0));
    for (int id = 101; id <= 106; ++id) EXPECT_TRUE(game.getBonusChipData(id)) << id;
    std::vector<std::string> paths;
    for (auto& t : game.tilesList) paths.push_back(t->url);
    for (auto& t : tiles1) paths.push_back(t->url);
    for (auto& c : game.chipsList) paths.push_back(c->url);
    for (auto& c : game.bonusList) paths.push_back(c->url);
    for (auto& f : game.frameList) paths.push_back(f->url);
    for (auto& b : backGroundsList()) paths.push_back(b->url);
    const bool generated = FileType(root + "gfx") == 2;
    for (auto& p : paths) {
        EXPECT_FALSE(p.empty());
        if (generated) {
            EXPECT_EQ(FileType(root + p), 1) << "missing " << p;
        }
    }
    if (generated) {
        EXPECT_EQ(notices.find("NO "), std::string::npos) << notices;
    }

    // Every shipped level loads against the real catalogues.
    const std::string levels = root + "data/levels";
    if (FileType(levels) == 2) {
        int n = 0;
        for (auto& e : std::filesystem::directory_iterator(levels)) {
            if (e.path().extension() != ".lvl") continue;
            testing::internal::CaptureStdout();
            auto lvl = loadLevelFile(e.path().string(), &game);
            testing::internal::GetCapturedStdout();
            EXPECT_TRUE(lvl) << e.path();
            ++n;
        }
        EXPECT_GT(n, 0);
    }
    dataRoot = saved;
    loadBackgrounds("data/none.dat");
}
