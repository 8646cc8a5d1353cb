// Display set-up arithmetic, user folders, the command line and the harness
// script parser.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/App.h"
#include "app/AppGlobals.h"
#include "app/FrameServices.h"
#include "app/Harness.h"
#include "app/Paths.h"
#include "platform/Backend.h"
#include "platform/Services.h"

namespace {

namespace fs = std::filesystem;

TEST(LetterboxTest, WideScreenDesktop) {
    const TLetterbox b = computeLetterbox(1920, 1080, 1024, 768, 3);
    EXPECT_FLOAT_EQ(b.scale, 1.40625f);
    EXPECT_NEAR(b.logicalW, 1365.333f, 1e-2);
    EXPECT_FLOAT_EQ(b.logicalH, 768);
    EXPECT_NEAR(b.offsetX, 170.667f, 1e-2);
    EXPECT_NEAR(b.offsetX * b.scale, 240.0f, 1e-2);  // display pixels of each bar
    EXPECT_FLOAT_EQ(b.offsetY, 0);
}

TEST(LetterboxTest, SmallWindowsShowTheWholeGameScaledDown) {
    struct Case {
        int gw, gh;
        float scale, logicalW, logicalH;
    } cases[] = {
        {1024, 768, 1.0f, 1024, 768},
        {640, 480, 0.625f, 1024, 768},
        {819, 614, 614.0f / 768, 819 / (614.0f / 768), 768},
    };
    for (const Case& c : cases) {
        const TLetterbox b = computeLetterbox(c.gw, c.gh, 1024, 768, 3);
        EXPECT_NEAR(b.scale, c.scale, 1e-4) << c.gw;
        EXPECT_NEAR(b.logicalW, c.logicalW, 1e-2) << c.gw;
        EXPECT_NEAR(b.logicalH, c.logicalH, 1e-2) << c.gw;
        EXPECT_GE(b.offsetX, 0);
        EXPECT_LT(b.offsetX, 1);
    }
}

TEST(LetterboxTest, WholeNumberScaleAndModeZero) {
    const TLetterbox w = computeLetterbox(1920, 1080, 1024, 768, VG_LETTERBOX | VG_WHOLE);
    EXPECT_EQ(w.scale, 1.0f);
    EXPECT_EQ(w.offsetX, 448.0f);
    EXPECT_EQ(w.offsetY, 156.0f);
    const TLetterbox tiny = computeLetterbox(640, 480, 1024, 768, VG_WHOLE);
    EXPECT_EQ(tiny.scale, 1.0f);  // never below 1
    EXPECT_EQ(tiny.offsetX, -192.0f);
    const TLetterbox none = computeLetterbox(1920, 1080, 1024, 768, 0);
    EXPECT_EQ(none.scale, 1.0f);
    EXPECT_EQ(none.logicalW, 1024.0f);
    EXPECT_EQ(none.offsetX, 0.0f);
}

TEST(LetterboxTest, BarsAreLeftOnlyWhereTheGameAreaDoesNotFillTheDisplay) {
    struct Case {
        int gw, gh, mode;
        bool bars;
    } cases[] = {
        {1024, 768, 3, false},                    // the usual window
        {640, 480, 3, false},                     // scaled down, same shape
        {2048, 1536, VG_LETTERBOX | VG_WHOLE, false},
        {1920, 1080, 3, true},                    // wide desktop: bars left and right
        {1024, 1024, 3, true},                    // tall: bars above and below
        {819, 614, 3, true},                      // a fraction of a pixel left over
        {1920, 1080, VG_LETTERBOX | VG_WHOLE, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hasLetterboxBars(computeLetterbox(c.gw, c.gh, 1024, 768, c.mode)), c.bars)
            << c.gw << "x" << c.gh << " mode " << c.mode;
}

TEST(LetterboxTest, SetVirtualGraphicsMovesTheGameAreaAndThePointer) {
    InstallBackend(nullptr);
    ASSERT_TRUE(OpenGraphics(1920, 1080, 32, 60));
    setVirtualGraphics(1024, 768, 3);
    float ox, oy;
    GetOrigin(ox, oy);
    EXPECT_NEAR(ox, 170.667f, 1e-2);
    int x, y, w, h;
    GetViewport(x, y, w, h);
    EXPECT_EQ(x, 170);
    EXPECT_EQ(w, 1025);  // covers 170.67 .. 1194.67
    setVirtualGraphics(1024, 768, VG_KEEP);  // keeps the letterbox mode
    EXPECT_EQ(virtualGraphicsMode(), 3);
    MoveMouse(10, 20);
    EXPECT_EQ(MouseX(), 10);
    EXPECT_EQ(MouseY(), 20);
    setVirtualGraphics(1024, 768, 0);
    GetOrigin(ox, oy);
    EXPECT_EQ(ox, 0);
    InstallBackend(nullptr);
}

TEST(GraphicsModesTest, FallBacksFollowTheDesktop) {
    using M = std::vector<TGraphicsMode>;
    EXPECT_EQ(graphicsModesToTry(1024, 768, 0, 0, 1920, 1080), (M{{1024, 768, 0}}));
    EXPECT_EQ(graphicsModesToTry(1024, 768, 0, 0, 800, 600), (M{{640, 480, 0}}));
    EXPECT_EQ(graphicsModesToTry(1024, 768, 0, 0, 1366, 768), (M{{819, 614, 0}}));
    EXPECT_EQ(graphicsModesToTry(1024, 768, 1, 0, 1920, 1080), (M{{1024, 768, 32}, {800, 600, 32}}));
    EXPECT_EQ(graphicsModesToTry(1024, 768, 1, 1, 1920, 1080), (M{{1920, 1080, 32}, {1920, 1080, 32}}));
}

class UserFolderTest : public ::testing::Test {
protected:
    fs::path tmp;
    std::string oldXdg;
    bool hadXdg = false;
    void SetUp() override {
        tmp = fs::temp_directory_path() / ("brimble_user_" + std::to_string(::getpid()));
        fs::remove_all(tmp);
        if (const char* x = std::getenv("XDG_DATA_HOME")) {
            hadXdg = true;
            oldXdg = x;
        }
        appOptions.userDirOverride.clear();
    }
    void TearDown() override {
        if (hadXdg)
            setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
        appOptions.userDirOverride.clear();
        fs::remove_all(tmp);
    }
};

TEST_F(UserFolderTest, CreatedWithTheirParents) {
    const fs::path xdg = tmp / "deep" / "share";
    setenv("XDG_DATA_HOME", xdg.c_str(), 1);
    makeUserFolders();
    Paths::getPaths();
    EXPECT_EQ(userRoot, (xdg / "Brimble").string());
    EXPECT_TRUE(fs::is_directory(xdg / "Brimble" / "Data"));
    EXPECT_TRUE(fs::is_directory(xdg / "Brimble" / "Profiles"));
    EXPECT_EQ(profilesDir, userRoot + "/Profiles/");
    EXPECT_EQ(profilesFile, userRoot + "/Profiles/profiles.dat");
}

TEST_F(UserFolderTest, OverrideAndHomeFallback) {
    appOptions.userDirOverride = (tmp / "mine/").string();
    makeUserFolders();
    EXPECT_EQ(userRoot, (tmp / "mine").string());  // no trailing slash
    EXPECT_TRUE(fs::is_directory(tmp / "mine" / "Profiles"));

    unsetenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (home) {
        EXPECT_EQ(defaultUserRoot(), std::string(home) + "/.local/share/Brimble");
    }
    setenv("XDG_DATA_HOME", "relative/not/allowed", 1);  // XDG paths must be absolute
    if (home) {
        EXPECT_EQ(defaultUserRoot(), std::string(home) + "/.local/share/Brimble");
    }
}

TEST_F(UserFolderTest, UnwritableFolderIsReportedNotFatal) {
    fs::create_directories(tmp);
    std::ofstream((tmp / "file").string()) << "x";
    appOptions.userDirOverride = (tmp / "file" / "Brimble").string();  // parent is a file
    testing::internal::CaptureStderr();
    makeUserFolders();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Cannot create"), std::string::npos);
}

TEST(CommandLineTest, FlagsAndErrors) {
    TCommandLine cl;
    std::string err;
    ASSERT_TRUE(parseCommandLine({"--data", "g", "--user-dir", "u", "--headless", "--script", "s.e2e", "--shots",
                                  "out", "--seed", "42", "--windowed", "--play-level", "a.lvl", "--timed"},
                                 cl, err))
        << err;
    EXPECT_EQ(cl.dataDir, "g");
    EXPECT_EQ(cl.userDir, "u");
    EXPECT_TRUE(cl.headless);
    EXPECT_EQ(cl.script, "s.e2e");
    EXPECT_EQ(cl.shots, "out");
    EXPECT_TRUE(cl.seedGiven);
    EXPECT_EQ(cl.seed, 42u);
    EXPECT_TRUE(cl.windowed);
    EXPECT_EQ(cl.playLevel, "a.lvl");
    EXPECT_TRUE(cl.timed);

    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"}, {"--data"}, {"--seed", "x"}, {"--seed", "-1"}, {"--seed", "99999999999"}, {"--timed"}, {"game"},
    };
    for (const auto& args : bad) {
        TCommandLine c;
        std::string e;
        EXPECT_FALSE(parseCommandLine(args, c, e)) << args[0];
        EXPECT_FALSE(e.empty());
    }
}

TEST(CommandLineTest, EditorTakesAnOptionalFile) {
    const struct {
        std::vector<std::string> args;
        std::string file;
        bool headless;
    } cases[] = {
        {{"--editor"}, "", false},
        {{"--editor", "a.lvl"}, "a.lvl", false},
        {{"--editor", "--headless"}, "", true},
        {{"--editor", "data/levels/x.lvl", "--headless"}, "data/levels/x.lvl", true},
    };
    for (const auto& k : cases) {
        TCommandLine cl;
        std::string err;
        ASSERT_TRUE(parseCommandLine(k.args, cl, err)) << err;
        EXPECT_TRUE(cl.editor);
        EXPECT_EQ(cl.editorFile, k.file);
        EXPECT_EQ(cl.headless, k.headless);
    }
    TCommandLine cl;
    std::string err;
    ASSERT_TRUE(parseCommandLine({"--headless"}, cl, err));
    EXPECT_FALSE(cl.editor);
}

TEST(HarnessScriptTest, ParsesCommandsAndReportsTheLine) {
    std::vector<THarnessCommand> cmds;
    std::string err;
    std::vector<THarnessCommand> shots;
    std::string shotError;
    EXPECT_TRUE(parseHarnessScript("shot win-screen_2.v1\n", shots, shotError)) << shotError;
    ASSERT_TRUE(parseHarnessScript("# a comment\n\nwait 60\nclick 10 20  # trailing\ntype hello world\r\n"
                                   "expect-screen MAIN-MENU\ndrag 1 2 3 4 5\nkey 13\nquit\n",
                                   cmds, err))
        << err;
    ASSERT_EQ(cmds.size(), 7u);
    EXPECT_EQ(cmds[0].name, "wait");
    EXPECT_EQ(cmds[0].line, 3);
    EXPECT_EQ(cmds[1].numbers, (std::vector<int>{10, 20}));
    EXPECT_EQ(cmds[2].args[0], "hello world");
    EXPECT_EQ(cmds[3].args[0], "MAIN-MENU");
    EXPECT_EQ(cmds[4].numbers.size(), 5u);

    const struct {
        const char* text;
        const char* line;
    } bad[] = {
        {"wait 1\nfly 2\n", "line 2"},     {"wait x\n", "line 1"},          {"click 1\n", "line 1"},
        {"wait 1 2\n", "line 1"},          {"\n\nkey 300\n", "line 3"},     {"shot\n", "line 1"},
        {"expect-screen A B\n", "line 1"}, {"wait -5\n", "line 1"},         {"autoplay 9999999999\n", "line 1"},
        // Screenshots stay in their folder.
        {"shot ../../x\n", "line 1"},     {"wait 1\nshot /tmp/x\n", "line 2"}, {"shot ..\n", "line 1"},
        {"shot a\\b\n", "line 1"},       {"shot a:b\n", "line 1"},
    };
    for (const auto& b : bad) {
        std::vector<THarnessCommand> c;
        std::string e;
        EXPECT_FALSE(parseHarnessScript(b.text, c, e)) << b.text;
        EXPECT_NE(e.find(b.line), std::string::npos) << e;
    }
}

}  // namespace
