// The free-play table: the entries in file order, with every damaged entry
// left out and reported, and the levels a player has reached.
#include <gtest/gtest.h>

#include "TestDir.h"
#include "screens/FreePlayTable.h"
#include "screens/TFreePlay.h"

namespace {

class FreePlayTable : public TempDirTest {};

TEST_F(FreePlayTable, ReadsEntriesAndRefusesDamagedOnes) {
    writeBytes("free.dat",
               "levels {\n\ti = 6\n"
               "\tlvl1 {\n\t\tulr = \"data/levels/level01.lvl\"\n\t\tid = 1\n\t}\n"
               "\tlvl2 {\n\t\turl = \"data/levels/level02.lvl\"\n\t\tid = 2\n\t}\n"   // the other spelling
               "\tlvl3 {\n\t\tulr = \"../../secret.lvl\"\n\t\tid = 3\n\t}\n"          // leaves the folder
               "\tlvl4 {\n\t\tulr = \"/etc/passwd\"\n\t\tid = 4\n\t}\n"               // absolute
               "\tlvl5 {\n\t\tid = 5\n\t}\n"                                          // no file
               "\tlvl6 {\n\t\tulr = \"data/levels/level06.lvl\"\n\t\tid = \"x\"\n\t}\n"  // no id
               "}\n");
    std::vector<std::string> problems;
    const auto t = readFreePlayTable(path("free.dat"), &problems);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].id, 1);
    EXPECT_EQ(t[0].url, "data/levels/level01.lvl");
    EXPECT_EQ(t[1].id, 2);
    EXPECT_EQ(t[1].url, "data/levels/level02.lvl");
    EXPECT_EQ(problems.size(), 4u);
}

TEST_F(FreePlayTable, BadCountsAndMissingFilesGiveNothing) {
    const char* counts[] = {"\"many\"", "-3", "nan", "1e12"};
    for (const char* c : counts) {
        writeBytes("free.dat", std::string("levels {\n\ti = ") + c +
                                   "\n\tlvl1 {\n\t\tulr = \"a.lvl\"\n\t\tid = 1\n\t}\n}\n");
        std::vector<std::string> problems;
        const auto t = readFreePlayTable(path("free.dat"), &problems);
        // "many" reads as 0: an empty table; the others are refused outright.
        EXPECT_TRUE(t.empty()) << c;
    }
    std::vector<std::string> problems;
    EXPECT_TRUE(readFreePlayTable(path("none.dat"), &problems).empty());
    EXPECT_EQ(problems.size(), 1u);
}

TEST(FreePlayPaths, StayInsideTheDataFolder) {
    const struct {
        const char* p;
        bool ok;
    } cases[] = {{"data/levels/a.lvl", true}, {"a..b/c.lvl", true},  {"../a.lvl", false},
                 {"data/../../a", false},     {"/abs.lvl", false},   {"\\\\share\\a", false},
                 {"C:\\a.lvl", false},        {"data\\..\\a", false}, {"", false}};
    for (const auto& c : cases) EXPECT_EQ(safeDataPath(c.p), c.ok) << c.p;
}

TEST(FreePlayReached, OnlyLevelsUpToThePlayersQuestLevel) {
    const std::vector<TFreePlayEntry> all = {{1, "a"}, {5, "b"}, {2, "c"}, {9, "d"}};
    const auto r = TFreePlay::reached(all, 5);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].url, "a");
    EXPECT_EQ(r[1].url, "b");
    EXPECT_EQ(r[2].url, "c");
    EXPECT_TRUE(TFreePlay::reached(all, 0).empty());
}

}  // namespace
