#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "audio/TGlobalSnd.h"
#include "gui/TMouse.h"
#include "platform/Files.h"
#include "screens/TOptions.h"

namespace {

class Options : public ::testing::Test {
protected:
    std::filesystem::path dir;
    std::string path;
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("brimble_opts_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        path = (dir / "Data" / "settings.dat").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    void write(const std::string& text) {
        std::filesystem::create_directories(dir / "Data");
        std::ofstream(path, std::ios::binary) << text;
    }
};

void expectDefaults(const TOptions& o) {
    EXPECT_EQ(o.fullScreen, 0);
    EXPECT_EQ(o.wideScreen, 0);
    EXPECT_FLOAT_EQ(o.musicVolume, 0.6f);
    EXPECT_FLOAT_EQ(o.soundVolume, 0.8f);
    EXPECT_EQ(o.customCursor, 1);
}

}  // namespace

TEST_F(Options, DefaultsWhenMissingOrBroken) {
    const std::string broken[] = {"", "settings {\n\tfullScreen = 1\n", "\xFF\xFE\x00", "{{{}"};
    TOptions o;
    o.setSettingsPath(path);
    o.loadOptions();
    expectDefaults(o);
    for (const auto& b : broken) {
        write(b);
        o.fullScreen = 1;
        o.musicVolume = 0.1f;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        o.loadOptions();
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        expectDefaults(o);
    }
}

TEST_F(Options, BadValuesFallBackOneByOne) {
    write("settings {\n\tfullScreen = 1\n\tmusicVolume = 7\n\tsoundVolume = -1\n\tcustomCursor = \"x\"\n}\n");
    TOptions o;
    o.setSettingsPath(path);
    o.loadOptions();
    EXPECT_EQ(o.fullScreen, 1);
    EXPECT_FLOAT_EQ(o.musicVolume, 0.6f);
    EXPECT_FLOAT_EQ(o.soundVolume, 0.8f);
    EXPECT_EQ(o.customCursor, 0);  // a text reads as 0
}

TEST_F(Options, SaveLayoutAndRoundTrip) {
    TOptions o;
    o.setSettingsPath(path);
    o.fullScreen = 1;
    o.wideScreen = 1;
    o.musicVolume = 0.3f;
    o.soundVolume = 1.0f;
    o.customCursor = 0;
    ASSERT_TRUE(o.saveOptions());  // creates the Data folder
    EXPECT_EQ(LoadText(path),
              "settings {\n\tfullScreen = 1\n\twideScreen = 1\n\tmusicVolume = 0.300000012\n"
              "\tsoundVolume = 1\n\tcustomCursor = 0\n}\n\n");
    EXPECT_EQ(FileType(path + ".tmp"), 0);
    TOptions r;
    r.setSettingsPath(path);
    r.loadOptions();
    EXPECT_EQ(r.fullScreen, 1);
    EXPECT_EQ(r.wideScreen, 1);
    EXPECT_FLOAT_EQ(r.musicVolume, 0.3f);
    EXPECT_FLOAT_EQ(r.soundVolume, 1.0f);
    EXPECT_EQ(r.customCursor, 0);
}

TEST_F(Options, SetupMouseAndVolumesReachCursorAndSound) {
    TOptions o;
    const int keepV = mouse._v;
    o.customCursor = 1;
    o.setupMouse();
    EXPECT_EQ(mouse._v, 1);
    o.customCursor = 0;
    o.setupMouse();
    EXPECT_EQ(mouse._v, 0);
    mouse._v = keepV;

    const float keepMusic = globalSnd.getMusicVolume(), keepSound = globalSnd.getSoundVolume();
    o.musicVolume = 0.25f;
    o.soundVolume = 0.5f;
    o.applyVolumes();
    EXPECT_FLOAT_EQ(globalSnd.getMusicVolume(), 0.25f);
    EXPECT_FLOAT_EQ(globalSnd.getSoundVolume(), 0.5f);
    globalSnd.setMusicVolume(keepMusic);
    globalSnd.setSoundVolume(keepSound);
}

// A settings file that is there but cannot be read is the player's: the exit
// save leaves it alone, until the player changes a setting. Unreadable:
// garbage, no permission to read it, or far larger than a settings file.
TEST_F(Options, UnreadableFileKeptUntilAChange) {
    struct Case {
        const char* what;
        std::string bytes;
        bool noReading;
    };
    const Case cases[] = {
        {"garbage", "{{{}", false},
        {"not readable", "settings {\n\tmusicVolume = 0.1\n}\n", true},
        {"too large", "settings {\n" + std::string(static_cast<size_t>(kMaxFileBytes), ' ') + "}\n", false},
    };
    for (const Case& c : cases) {
        if (c.noReading && ::geteuid() == 0) continue;  // root reads whatever the mode says
        write(c.bytes);
        if (c.noReading) std::filesystem::permissions(path, std::filesystem::perms::none);
        TOptions o;
        o.setSettingsPath(path);
        testing::internal::CaptureStderr();
        o.loadOptions();
        testing::internal::GetCapturedStderr();
        expectDefaults(o);
        EXPECT_TRUE(o.saveOptions()) << c.what;
        std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        std::ifstream in(path, std::ios::binary);
        std::string kept((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_TRUE(kept == c.bytes) << c.what << ": the unreadable file was replaced";
    }
    TOptions o;
    o.setSettingsPath(path);
    testing::internal::CaptureStderr();
    o.loadOptions();
    testing::internal::GetCapturedStderr();
    o.musicVolume = 0.25f;
    o.settingsChanged();
    TOptions again;
    again.setSettingsPath(path);
    again.loadOptions();
    EXPECT_FLOAT_EQ(again.musicVolume, 0.25f);
}
