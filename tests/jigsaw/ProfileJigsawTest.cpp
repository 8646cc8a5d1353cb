// A profile keeps its jigsaw through the links the jigsaw gives it: saved
// beside "profile.dat" and read back with the same pieces, groups and owned
// pieces; a saved jigsaw that names a piece that does not exist is refused
// and the profile starts the jigsaw again from its source.
#include <gtest/gtest.h>
#include <unistd.h>

#include "JigsawFixture.h"
#include "jigsaw/JigsawProfileLinks.h"
#include "profiles/TProfile.h"

namespace {

class ProfileJigsaw : public TempDirTest {
protected:
    ProfileHooks saved;
    void SetUp() override {
        TempDirTest::SetUp();
        saved = profileHooks();
        profileHooks() = ProfileHooks();
        connectJigsawToProfiles(profileHooks());
    }
    void TearDown() override {
        profileHooks() = saved;
        TempDirTest::TearDown();
    }
    TProfile player() {
        TProfile p;
        p.name = "Ann";
        p.profilesDir = path("Profiles") + "/";
        return p;
    }
};

TEST_F(ProfileJigsaw, SavedWithTheProfileAndReadBack) {
    auto src = makeLevel(square2x2());
    for (auto& p : src->allPuzzles) p->aktywny = 0;
    ASSERT_TRUE(src->save(path("stage.dat")));

    TProfile a = player();
    a.puzzleLevel = loadPuzzleLevel(path("stage.dat"), 0);
    ASSERT_NE(a.puzzleLevel, nullptr);
    SeedRnd(4);
    a.addPuzzles(3);
    ASSERT_EQ(a.activePuzzles.size(), 3u);
    for (auto& p : a.activePuzzles) EXPECT_EQ(p->nowy, 1);
    a.addPuzzles(5);  // only one is left to win
    ASSERT_EQ(a.activePuzzles.size(), 4u);
    // Pieces 1 and 2 joined on the board, 3 and 4 left loose.
    place(piece(a.puzzleLevel, 1), 300, 100);
    place(piece(a.puzzleLevel, 2), 402, 100);
    a.puzzleLevel->putPuzzle(piece(a.puzzleLevel, 2));
    ASSERT_NE(entries(a.puzzleLevel).find("(2 1)"), std::string::npos);
    ASSERT_TRUE(a.save());

    TProfile b = player();
    ASSERT_TRUE(b.load(a.folder()));
    ASSERT_NE(b.puzzleLevel, nullptr);
    EXPECT_EQ(entries(b.puzzleLevel), entries(a.puzzleLevel));
    ASSERT_EQ(b.activePuzzles.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(b.activePuzzles[i]->id, a.activePuzzles[i]->id);
        EXPECT_EQ(b.activePuzzles[i]->aktywny, 1);
        // The pieces are the loaded puzzle's own.
        EXPECT_EQ(b.activePuzzles[i], b.puzzleLevel->getPuzzleById(a.activePuzzles[i]->id));
    }
    EXPECT_TRUE(b._unresolvedPieces.empty());
}

TEST_F(ProfileJigsaw, SavedJigsawNamingAMissingPieceIsStartedAgain) {
    auto src = makeLevel(square2x2());
    for (auto& p : src->allPuzzles) p->aktywny = 0;
    ASSERT_NO_FATAL_FAILURE(std::filesystem::create_directories(dir / "data/PuzzleLevels"));
    ASSERT_TRUE(src->save(path("data/PuzzleLevels/puzzleLevel-1.dat")));

    TProfile a = player();
    a.puzzleLevel = loadPuzzleLevel(path("data/PuzzleLevels/puzzleLevel-1.dat"), 0);
    a.addPuzzles(2);
    ASSERT_TRUE(a.save());
    // The saved jigsaw is damaged: a group names piece 99.
    std::string text = readBytes("Profiles/" + a.getMyID() + "/puzzleLevel.dat");
    const size_t at = text.find("typ = \"PUZZLE\"");
    ASSERT_NE(at, std::string::npos);
    const size_t idAt = text.find("id = ", at);
    text.replace(idAt, text.find('\n', idAt) - idAt, "id = 99");
    writeBytes("Profiles/" + a.getMyID() + "/puzzleLevel.dat", text);

    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);  // the default jigsaw is found from here
    TProfile b = player();
    testing::internal::CaptureStderr();
    const bool loaded = b.load(a.folder());
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(chdir(old), 0);
    ASSERT_TRUE(loaded);
    EXPECT_NE(err.find("puzzleLevel.dat"), std::string::npos) << err;
    EXPECT_NE(err.find("99"), std::string::npos) << err;
    ASSERT_NE(b.puzzleLevel, nullptr);  // started again, not lost
    EXPECT_EQ(b.puzzleLevel->allPuzzles.size(), 4u);
}

TEST_F(ProfileJigsaw, ASaveKilledHalfWayLeavesTheFilesOfOneSave) {
    auto src = makeLevel(square2x2());
    for (auto& p : src->allPuzzles) p->aktywny = 0;
    ASSERT_TRUE(src->save(path("stage.dat")));
    TProfile a = player();
    a.puzzleLevel = loadPuzzleLevel(path("stage.dat"), 0);
    SeedRnd(4);
    a.addPuzzles(1);
    place(a.activePuzzles[0].get(), 300, 100);
    ASSERT_TRUE(a.save());
    const std::string d = "Profiles/" + a.getMyID() + "/";
    EXPECT_FALSE(std::filesystem::exists(path(d + "puzzleLevel.dat.next"))) << "a whole save leaves no .next";
    const std::string profA = readBytes(d + "profile.dat"), puzA = readBytes(d + "puzzleLevel.dat");
    const std::string entriesA = entries(a.puzzleLevel);
    // The next save: two more pieces, the first moved.
    a.addPuzzles(2);
    place(a.activePuzzles[0].get(), 350, 140);
    ASSERT_TRUE(a.save());
    const std::string profB = readBytes(d + "profile.dat"), puzB = readBytes(d + "puzzleLevel.dat");
    const std::string entriesB = entries(a.puzzleLevel);
    ASSERT_NE(puzA, puzB);

    const struct {
        const char* when;
        const std::string &profile, &puzzle, &next;
        const std::string& expect;
        size_t owned;
    } cases[] = {
        {"killed before profile.dat was written", profA, puzA, puzB, entriesA, 1},
        {"killed after profile.dat, before the rename", profB, puzA, puzB, entriesB, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.when);
        writeBytes(d + "profile.dat", c.profile);
        writeBytes(d + "puzzleLevel.dat", c.puzzle);
        writeBytes(d + "puzzleLevel.dat.next", c.next);
        // Writes killed before their rename leave half files behind.
        writeBytes(d + "profile.dat.tmp", c.profile.substr(0, c.profile.size() / 2));
        writeBytes(d + "puzzleLevel.dat.next.tmp", c.next.substr(0, 10));
        TProfile b = player();
        ASSERT_TRUE(b.load(a.folder()));
        ASSERT_NE(b.puzzleLevel, nullptr);
        EXPECT_EQ(entries(b.puzzleLevel), c.expect);
        EXPECT_EQ(b.activePuzzles.size(), c.owned);
        EXPECT_FALSE(std::filesystem::exists(path(d + "puzzleLevel.dat.next")));
        EXPECT_FALSE(std::filesystem::exists(path(d + "profile.dat.tmp")));
        EXPECT_FALSE(std::filesystem::exists(path(d + "puzzleLevel.dat.next.tmp")));
        // Loaded again, the same.
        TProfile e = player();
        ASSERT_TRUE(e.load(a.folder()));
        EXPECT_EQ(entries(e.puzzleLevel), c.expect);
    }
}

}  // namespace
