// The winnability check: reading the runner's lines, the summary and its
// warnings, and real runs of the level runner on a winnable and an
// impossible level.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "TestDir.h"
#include "editor/TEditorCheck.h"

namespace {
TEditorRun run(bool timed, const char* outcome, int moves, int frames, bool start = true) {
    TEditorRun r;
    r.timed = timed;
    r.outcome = outcome;
    r.moves = moves;
    r.frames = frames;
    r.startMove = start;
    return r;
}
bool hasWarning(const TEditorCheckSummary& s, const std::string& part) {
    for (const auto& w : s.warnings)
        if (w.find(part) != std::string::npos) return true;
    return false;
}
}  // namespace

TEST(EditorCheck, ReadsTheRunnersLine) {
    TEditorRun r;
    ASSERT_TRUE(parseLevelRun(
        "{\"outcome\":\"won\",\"moves\":96,\"frames\":5957,\"score\":18600,\"refills\":2,\"startMove\":0}",
        r));
    EXPECT_EQ(r.outcome, "won");
    EXPECT_EQ(r.moves, 96);
    EXPECT_EQ(r.frames, 5957);
    EXPECT_FALSE(r.startMove);
    for (const char* bad : {"", "garbage", "{\"outcome\":\"won\"}", "{\"moves\":3,\"frames\":4}"})
        EXPECT_FALSE(parseLevelRun(bad, r)) << bad;
}

TEST(EditorCheck, SummaryGivesShareMediansAndWarnings) {
    // Relaxed: won 3 of 4 (moves 10, 30, 20 -> median 20; frames 600, 1800, 1200 -> 20 s).
    std::vector<TEditorRun> runs{run(false, "won", 10, 600),    run(false, "won", 30, 1800),
                                 run(false, "stuck", 99, 9999), run(false, "won", 20, 1200),
                                 run(true, "lost", 40, 600),    run(true, "lost", 50, 1200)};
    TEditorCheckSummary s = summariseRuns(runs);
    EXPECT_EQ(s.runs[0], 4);
    EXPECT_EQ(s.won[0], 3);
    EXPECT_EQ(s.medianMoves[0], 20);
    EXPECT_FLOAT_EQ(s.medianSeconds[0], 20.0f);
    EXPECT_EQ(s.won[1], 0);
    EXPECT_EQ(s.medianMoves[1], 45);  // nothing won: the median of all runs
    EXPECT_TRUE(hasWarning(s, "Timed: not won"));
    EXPECT_FALSE(hasWarning(s, "The level was not won"));

    s = summariseRuns(
        {run(false, "stuck", 0, 3600, false), run(true, "lost", 0, 600, false), run(true, "error", 0, 0)});
    EXPECT_TRUE(hasWarning(s, "The level was not won on any seed."));
    EXPECT_TRUE(hasWarning(s, "without a possible move on 2 of 2"));
    EXPECT_TRUE(hasWarning(s, "1 runs failed"));
    EXPECT_TRUE(summariseRuns({run(false, "won", 1, 60), run(true, "won", 1, 60)}).warnings.empty());
}

class EditorCheckRuns : public TempDirTest {};

TEST_F(EditorCheckRuns, PlaysTenSeedsBothWaysWithoutWaiting) {
    const std::string runner = std::string(BRIMBLE_BINARY_DIR) + "/levelrun";
    if (!std::filesystem::exists(runner)) GTEST_SKIP() << "levelrun not built";
    setenv("BRIMBLE_LEVELRUN", runner.c_str(), 1);
    const std::string data = BRIMBLE_GAME_DIR;
    auto checkLevel = [&](const std::string& file) {
        TEditorCheck check;
        std::string why;
        std::filesystem::current_path(data);
        EXPECT_TRUE(check.start(file, why)) << why;
        EXPECT_TRUE(check.busy());
        // poll() returns at once: the runs go on beside us.
        const auto t0 = std::chrono::steady_clock::now();
        check.poll();
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(50));
        for (int i = 0; i < 60000 && !check.done(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            check.poll();
        }
        EXPECT_TRUE(check.done());
        EXPECT_EQ(check.finishedRuns(), 20);
        return check.summary();
    };
    // A quest level the autoplayer wins.
    TEditorCheckSummary s = checkLevel(data + "/data/levels/level01.lvl");
    EXPECT_EQ(s.runs[0], 10);
    EXPECT_EQ(s.runs[1], 10);
    EXPECT_GT(s.won[0], 0);
    EXPECT_GT(s.medianMoves[0], 0);
    EXPECT_FALSE(hasWarning(s, "not won on any seed"));
    // One two-layer plate alone: no move ever, never cleared.
    writeBytes(
        "lone.lvl",
        "level {\n data {\n dims = 1, 1\n time = 30, 30\n matchType = \"SWAP\"\n"
        " availableChips = \"1 2 3\"\n }\n tiles {\n row0 = \"3\"\n }\n chips {\n row0 = \"1\"\n }\n}\n");
    s = checkLevel(path("lone.lvl"));
    EXPECT_EQ(s.won[0] + s.won[1], 0);
    EXPECT_EQ(s.errors, 0);
    EXPECT_TRUE(hasWarning(s, "not won on any seed"));
    EXPECT_TRUE(hasWarning(s, "without a possible move"));
}

TEST(EditorCheck, AMissingRunnerIsSaidNotHidden) {
    setenv("BRIMBLE_LEVELRUN", "/nonexistent/levelrun", 1);
    TEditorCheck check;
    std::string why;
    EXPECT_FALSE(check.start("x.lvl", why));
    EXPECT_NE(why.find("missing"), std::string::npos);
    EXPECT_FALSE(check.busy());
    unsetenv("BRIMBLE_LEVELRUN");
}
