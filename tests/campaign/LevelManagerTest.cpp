// The level manager's four tables and their look-ups: entries looked up by
// number (not position), the first match wins, the free table's own path
// key, the line table's empty and non-numeric lines, damaged counts, missing
// files, and setup run twice replacing rather than appending.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestDir.h"
#include "campaign/TLevelManager.h"
#include "data/DataGlobals.h"
#include "platform/Backend.h"

namespace {

class LevelManagerTest : public TempDirTest {
protected:
    std::string keepRoot;
    TLevelManager m;

    void SetUp() override {
        TempDirTest::SetUp();
        InstallBackend(nullptr);
        keepRoot = dataRoot;
        dataRoot = dir.string() + "/";
        std::filesystem::create_directories(dir / "data");
    }
    void TearDown() override {
        dataRoot = keepRoot;
        TempDirTest::TearDown();
    }
    void write(const std::string& file, const std::string& text) { writeBytes("data/" + file, text); }
};

const char* kQuest =
    "levels {\n i = 4\n"
    " lvl1 {\n url = \"data/levels/five.lvl\"\n id = 5\n }\n"
    " lvl2 {\n url = \"data/levels/one.lvl\"\n id = 1\n }\n"
    " lvl3 {\n url = \"data/levels/five-again.lvl\"\n id = 5\n }\n"
    " lvl4 {\n id = 7\n }\n"
    "}\n";

TEST_F(LevelManagerTest, QuestLevelsAreFoundByIdAndTheFirstMatchWins) {
    write("quest_levels.dat", kQuest);
    m.setup();
    ASSERT_EQ(m.questLevels.size(), 4u);
    struct Case {
        int n;
        const char* url;  // null: no entry
    } cases[] = {
        {5, "data/levels/five.lvl"},  // lvl1 carries id 5: looked up by id, and it is earlier than lvl3
        {1, "data/levels/one.lvl"},
        {7, ""},  // no path: the bare data folder prefix
        {2, nullptr},
        {4, nullptr},
        {0, nullptr},
        {-1, nullptr},
    };
    for (const Case& c : cases) {
        const TLevelDataPtr d = m.getQuestLevelData(c.n);
        if (!c.url) {
            EXPECT_EQ(d, nullptr) << c.n;
            continue;
        }
        ASSERT_NE(d, nullptr) << c.n;
        EXPECT_EQ(d->id, c.n);
        EXPECT_EQ(d->url, dataRoot + c.url) << c.n;
    }
}

TEST_F(LevelManagerTest, FreePlayLevelsReadTheirOwnPathKey) {
    write("free_levels.dat",
          "levels {\n i = 2\n lvl1 {\n ulr = \"data/levels/a.lvl\"\n id = 1\n }\n"
          " lvl2 {\n url = \"data/levels/b.lvl\"\n id = 2\n }\n}\n");
    m.setup();
    ASSERT_EQ(m.freePlayLevels.size(), 2u);
    EXPECT_EQ(m.freePlayLevels[0]->url, dataRoot + "data/levels/a.lvl");
    EXPECT_EQ(m.freePlayLevels[1]->url, dataRoot) << "\"url\" is not the free table's key";
    EXPECT_TRUE(m.questLevels.empty());
}

TEST_F(LevelManagerTest, PuzzleListHasOneEntryPerLineNumberedFromOne) {
    write("puzzleList.dat", "4\n7.9\nabc\n-2\n\n");
    m.setup();
    const int expected[] = {4, 7, 0, -2, 0};  // the empty last line is an entry with 0 pieces
    ASSERT_EQ(m.puzzleList.size(), 5u);
    for (int k = 1; k <= 5; ++k) {
        const TPuzzleDataPtr d = m.getPuzzleData(k);
        ASSERT_NE(d, nullptr) << k;
        EXPECT_EQ(d->levelNr, k);
        EXPECT_EQ(d->puzzles, expected[k - 1]) << k;
    }
    EXPECT_EQ(m.getPuzzleData(6), nullptr);
    EXPECT_EQ(m.getPuzzleData(0), nullptr);
}

TEST_F(LevelManagerTest, TheJigsawQuotaIsLookedUpByTheLevelJustWon) {
    write("puzzlelist2.dat", "puzzles {\n i = 3\n level1 = 2\n level2 = 5.7\n level3 = 42\n}\n");
    m.setup();
    ASSERT_EQ(m.puzzleList2.size(), 3u);
    ASSERT_NE(m.getPuzzleData2(2), nullptr);
    EXPECT_EQ(m.getPuzzleData2(2)->puzzles, 5) << "numbers are truncated";
    EXPECT_EQ(m.getPuzzleData2(3)->puzzles, 42);
    EXPECT_EQ(m.getPuzzleData2(4), nullptr);
    EXPECT_EQ(m.getPuzzleData(1), nullptr) << "the two puzzle tables are separate";
}

TEST_F(LevelManagerTest, SetupTwiceReplacesTheListsWithTheFilesAsTheyAreNow) {
    write("quest_levels.dat", kQuest);
    write("puzzleList.dat", "1\n2\n");
    write("puzzlelist2.dat", "puzzles {\n i = 1\n level1 = 3\n}\n");
    m.setup();
    m.setup();
    EXPECT_EQ(m.questLevels.size(), 4u);
    EXPECT_EQ(m.puzzleList.size(), 2u);
    EXPECT_EQ(m.puzzleList2.size(), 1u);
    write("quest_levels.dat", "levels {\n i = 1\n lvl1 {\n url = \"x.lvl\"\n id = 9\n }\n}\n");
    std::filesystem::remove(dir / "data" / "puzzleList.dat");
    m.setup();
    ASSERT_EQ(m.questLevels.size(), 1u);
    EXPECT_EQ(m.getQuestLevelData(5), nullptr);
    EXPECT_NE(m.getQuestLevelData(9), nullptr);
    EXPECT_TRUE(m.puzzleList.empty()) << "a file gone since the last setup empties its list";
}

TEST_F(LevelManagerTest, MissingFilesAndDamagedCountsGiveShortTablesNotACrash) {
    m.setup();  // no files at all
    EXPECT_TRUE(m.isSetUp());
    EXPECT_TRUE(m.questLevels.empty());
    EXPECT_TRUE(m.freePlayLevels.empty());
    EXPECT_TRUE(m.puzzleList.empty());
    EXPECT_TRUE(m.puzzleList2.empty());
    EXPECT_EQ(m.getQuestLevelData(1), nullptr);
    EXPECT_EQ(m.getPuzzleData2(1), nullptr);

    write("quest_levels.dat", "levels {\n i = -3\n lvl1 {\n url = \"a.lvl\"\n id = 1\n }\n}\n");
    write("puzzlelist2.dat", "puzzles {\n i = 3000000000\n level1 = 4\n}\n");
    write("free_levels.dat", "levels {\n i = many\n}\n");
    m.setup();
    EXPECT_TRUE(m.questLevels.empty());
    EXPECT_TRUE(m.freePlayLevels.empty());
    ASSERT_EQ(m.puzzleList2.size(), static_cast<size_t>(TLevelManager::kMaxEntries));
    EXPECT_EQ(m.getPuzzleData2(1)->puzzles, 4);
    EXPECT_EQ(m.getPuzzleData2(2)->puzzles, 0) << "a missing key reads as 0";
}

TEST_F(LevelManagerTest, SetupOnceReadsTheTablesOnlyTheFirstTime) {
    write("quest_levels.dat", kQuest);
    m.setupOnce();
    write("quest_levels.dat", "levels {\n i = 0\n}\n");
    m.setupOnce();
    EXPECT_EQ(m.questLevels.size(), 4u);
}

}  // namespace
