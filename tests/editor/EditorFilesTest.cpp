// Saving and opening levels in the editor: names, the two folders, the
// round trip through the game's own loader, refusals and failed saves.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestDir.h"
#include "app/AppGlobals.h"
#include "app/Paths.h"
#include "data/DataGlobals.h"
#include "editor/EditorFiles.h"
#include "match3/TBackGround.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "platform/Backend.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {
class EditorFiles : public TempDirTest {
protected:
    std::shared_ptr<TM3Game> game;
    std::string keepRoot, keepUser;
    void SetUp() override {
        TempDirTest::SetUp();
        InstallBackend(nullptr);
        keepRoot = dataRoot;
        keepUser = userRoot;
        dataRoot = std::string(BRIMBLE_GAME_DIR) + "/";
        userRoot = dir.string();
        game = std::make_shared<TM3Game>();
        game->loadSettings("data/settings.dat");
        game->loadTiles("data/tiles.dat");
        game->loadChips("data/chips.dat");
        game->loadBonusChips("data/bonusy.dat");
        game->loadFrame("data/frames.dat");
        if (backGroundsList().empty()) loadBackgrounds("data/backgrounds.dat");
    }
    void TearDown() override {
        dataRoot = keepRoot;
        userRoot = keepUser;
        TempDirTest::TearDown();
    }
    std::string mine(const std::string& name) const { return Paths::userLevelsDir() + name; }

    // A 6 x 6 chain level with every kind of cell content.
    TEditorLevelData sample() const {
        TEditorBoard b;
        b.reset(6, 6);
        b.paint(0, 0, {TEditorTool::Tile, 0});
        b.paint(5, 5, {TEditorTool::Tile, 0});
        b.rectangle(2, 0, 2, 5, {TEditorTool::Tile, 3});
        b.paint(3, 1, {TEditorTool::Tile, 2});
        b.paint(3, 2, {TEditorTool::Chain, 2});
        b.paint(4, 4, {TEditorTool::Chain, 1});
        b.paint(0, 1, {TEditorTool::Creator, 1});
        b.paint(0, 3, {TEditorTool::Creator, 1});
        b.paint(1, 1, {TEditorTool::Chip, 4});
        b.paint(1, 2, {TEditorTool::Chip, 9});    // the puzzle chip
        b.paint(1, 3, {TEditorTool::Chip, 103});  // a bonus chip
        b.edit([](TEditorLevelData& d) {
            d.matchType = "CHAIN";
            d.czas = 120;
            d.maxCzas = 150;
            d.background = 3;
            d.puzzles = 2;
            d.zasob = {1, 2, 3, 4};
            d.availableChips = {5, 1, 3};
            d.availableBonus = {104, 101};
        });
        return b.doc;
    }
};
}  // namespace

TEST(EditorFileNames, AcceptsPlainNamesAndRefusesFoldersWithAReason) {
    struct Case {
        std::string typed;
        std::string name;  // "" when refused
    } cases[] = {
        {"level 1", "level 1.lvl"},
        {"My_Level-2.lvl", "My_Level-2.lvl"},
        {"  pad  ", "pad.lvl"},
        {"x.LVL", "x.LVL"},
        {"../up", ""},
        {"a/b", ""},
        {"a\\b", ""},
        {"C:x", ""},
        {".hidden", ""},
        {"", ""},
        {"what?", ""},
        {std::string(41, 'a'), ""},
    };
    for (const auto& k : cases) {
        std::string name, why;
        const bool ok = editorFileName(k.typed, name, why);
        EXPECT_EQ(ok, !k.name.empty()) << k.typed;
        if (ok)
            EXPECT_EQ(name, k.name);
        else
            EXPECT_FALSE(why.empty()) << k.typed;
    }
}

TEST_F(EditorFiles, SavedLevelOpensIdenticalAndSavesAgainByteForByte) {
    const TEditorLevelData d = sample();
    std::string why;
    TEditorLevelData saved;
    ASSERT_TRUE(saveEditorLevel(d, game.get(), mine("a.lvl"), why, &saved)) << why;
    EXPECT_EQ(saved.saPuzzle, 1);  // a puzzle chip lies on the board
    TEditorLevelData expected = d;
    expected.saPuzzle = 1;
    EXPECT_TRUE(saved == expected);

    TEditorLevelData back;
    ASSERT_TRUE(openEditorLevel(mine("a.lvl"), game.get(), back, why)) << why;
    EXPECT_TRUE(back == expected);
    EXPECT_EQ(back.zasob, (std::array<int, 4>{1, 2, 3, 4}));  // kept although the game ignores them
    EXPECT_EQ(back.availableChips, (std::vector<int>{5, 1, 3}));
    EXPECT_EQ(back.at(0, 1).creator, 1);
    EXPECT_EQ(back.at(3, 2).chain, 2);
    EXPECT_EQ(back.at(1, 3).chip, 103);

    ASSERT_TRUE(saveEditorLevel(back, game.get(), mine("b.lvl"), why)) << why;
    EXPECT_EQ(readBytes("Levels/a.lvl"), readBytes("Levels/b.lvl"));
    // No temporary file is left behind.
    EXPECT_EQ(Paths::levelFiles(Paths::userLevelsDir()), (std::vector<std::string>{"a.lvl", "b.lvl"}));
    size_t entries = 0;
    for (auto& e : fs::directory_iterator(Paths::userLevelsDir())) entries += e.is_regular_file();
    EXPECT_EQ(entries, 2u);

    // The game plays what the editor saved: the same board through the plain loader.
    auto lvl = loadLevelFile(mine("a.lvl"), game.get());
    ASSERT_TRUE(lvl);
    EXPECT_EQ(lvl->matchType, "CHAIN");
    EXPECT_EQ(lvl->tile[2][4]->td->id, 3);
    EXPECT_EQ(lvl->chipCreators.size(), 2u);
}

TEST_F(EditorFiles, ARefusedLevelIsNotWrittenAndTheOldFileStays) {
    std::string why;
    ASSERT_TRUE(saveEditorLevel(sample(), game.get(), mine("keep.lvl"), why)) << why;
    const std::string before = readBytes("Levels/keep.lvl");
    TEditorLevelData bad = sample();
    bad.at(4, 4).tile = 9;  // no such plate kind: the loader refuses such a level
    EXPECT_FALSE(saveEditorLevel(bad, game.get(), mine("keep.lvl"), why));
    EXPECT_NE(why.find("plate kind 9"), std::string::npos) << why;
    EXPECT_EQ(readBytes("Levels/keep.lvl"), before);
    // Plates to break but no piece and no creator: it could never end.
    TEditorLevelData stuck = sample();
    for (auto& cell : stuck.cells) {
        cell.chip = 0;
        cell.creator = 0;
    }
    EXPECT_FALSE(saveEditorLevel(stuck, game.get(), mine("keep.lvl"), why));
    EXPECT_NE(why.find("could never be won or lost"), std::string::npos) << why;
    EXPECT_EQ(readBytes("Levels/keep.lvl"), before);

    // A save that cannot replace the file (a folder stands in its way) fails
    // and leaves nothing behind.
    fs::create_directories(mine("dir.lvl"));
    EXPECT_FALSE(saveEditorLevel(sample(), game.get(), mine("dir.lvl"), why));
    EXPECT_FALSE(why.empty());
    EXPECT_TRUE(fs::is_directory(mine("dir.lvl")));
    for (auto& e : fs::directory_iterator(Paths::userLevelsDir()))
        EXPECT_EQ(e.path().filename().string().find(".check"), std::string::npos) << e.path();

    // Outside the two level folders nothing is written.
    EXPECT_FALSE(saveEditorLevel(sample(), game.get(), path("elsewhere.lvl"), why));
    EXPECT_FALSE(fs::exists(path("elsewhere.lvl")));
    EXPECT_FALSE(saveEditorLevel(sample(), game.get(), Paths::userLevelsDir() + "../Levels2/x.lvl", why));
}

TEST_F(EditorFiles, MalformedFilesOpenWithTheReasonAndStayUntouched) {
    fs::create_directories(Paths::userLevelsDir());
    struct Case {
        const char* text;
        const char* reason;
    } cases[] = {
        {"level {\n data {\n dims = 0, 4\n }\n}\n", "outside 1 x 1 to 30 x 30"},
        {"level {\n data {\n dims = 31, 4\n }\n}\n", "outside 1 x 1 to 30 x 30"},
        {"level {\n data {\n time = 3\n }\n}\n", "no board size"},
        {"level {\n data {\n dims = 1, 2\n }\n tiles {\n row0 = \"1 7\"\n }\n}\n",
         "plate kind 7 at row 0, column 1"},
        {"\x01\x02 not a level {{{", "not a level file"},
    };
    for (const auto& k : cases) {
        writeBytes("Levels/bad.lvl", k.text);
        TEditorLevelData out;
        std::string why;
        EXPECT_FALSE(openEditorLevel(mine("bad.lvl"), game.get(), out, why)) << k.text;
        EXPECT_NE(why.find(k.reason), std::string::npos) << k.text << " -> " << why;
        EXPECT_EQ(readBytes("Levels/bad.lvl"), k.text);
    }
    TEditorLevelData out;
    std::string why;
    EXPECT_FALSE(openEditorLevel(mine("missing.lvl"), game.get(), out, why));
    EXPECT_NE(why.find("does not exist"), std::string::npos);
}

TEST_F(EditorFiles, ListsOnlyLevelFilesOfTheTwoFolders) {
    fs::create_directories(Paths::userLevelsDir());
    for (const char* n : {"b.lvl", "a.LVL", "notes.txt", ".a.lvl.check", ".hidden.lvl"})
        writeBytes(std::string("Levels/") + n, "x");
    EXPECT_EQ(Paths::levelFiles(Paths::userLevelsDir()), (std::vector<std::string>{"a.LVL", "b.lvl"}));
    EXPECT_TRUE(insideEditorFolders(mine("x.lvl")));
    EXPECT_TRUE(insideEditorFolders(dataRoot + "data/levels/level01.lvl"));
    EXPECT_FALSE(insideEditorFolders(dataRoot + "data/x.lvl"));
    EXPECT_FALSE(insideEditorFolders(path("x.lvl")));
    EXPECT_GE(Paths::levelFiles(dataRoot + "data/levels/").size(), 191u);
}
