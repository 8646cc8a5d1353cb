// Per-user paths when no per-user folder can be found: nothing may fall back
// to the root of the file system.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/App.h"
#include "app/AppGlobals.h"
#include "app/FrameServices.h"
#include "app/Paths.h"
#include "profiles/TProfileManager.h"
#include "screens/TOptions.h"

namespace {

namespace fs = std::filesystem;

class SavedEnv {
public:
    explicit SavedEnv(const char* name) : _name(name) {
        if (const char* v = std::getenv(name)) {
            _had = true;
            _value = v;
        }
    }
    ~SavedEnv() {
        if (_had)
            setenv(_name, _value.c_str(), 1);
        else
            unsetenv(_name);
    }

private:
    const char* _name;
    std::string _value;
    bool _had = false;
};

TEST(PathsTest, ProfilesAndSettingsFollowTheUserFolder) {
    const std::string saved = userRoot;
    userRoot = "/home/someone/.local/share/Brimble";
    Paths::getPaths();
    EXPECT_EQ(profilesDir, "/home/someone/.local/share/Brimble/Profiles/");
    EXPECT_EQ(profilesFile, "/home/someone/.local/share/Brimble/Profiles/profiles.dat");
    EXPECT_EQ(Paths::settingsFile(), "/home/someone/.local/share/Brimble/Data/settings.dat");
    EXPECT_EQ(TOptions().settingsPath(), Paths::settingsFile());
    userRoot = saved;
    Paths::getPaths();
}

TEST(PathsTest, WithoutHomeNothingIsWritten) {
    SavedEnv home("HOME"), xdg("XDG_DATA_HOME");
    unsetenv("HOME");
    unsetenv("XDG_DATA_HOME");
    const std::string savedRoot = userRoot, savedOverride = appOptions.userDirOverride;
    appOptions.userDirOverride.clear();
    // Only meaningful where the root does not hold these already.
    const bool rootClean = !fs::exists("/Profiles") && !fs::exists("/Data");

    testing::internal::CaptureStderr();
    makeUserFolders();
    const std::string err = testing::internal::GetCapturedStderr();
    Paths::getPaths();
    EXPECT_EQ(userRoot, "");
    EXPECT_NE(err.find("will not be kept"), std::string::npos);
    EXPECT_EQ(profilesDir, "");
    EXPECT_EQ(profilesFile, "");
    EXPECT_EQ(Paths::settingsFile(), "");

    TOptions o;
    EXPECT_EQ(o.settingsPath(), "");
    o.musicVolume = 0.1f;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(o.saveOptions());
    o.loadOptions();  // the defaults
    testing::internal::GetCapturedStderr();
    EXPECT_FLOAT_EQ(o.musicVolume, TOptions().musicVolume);

    TProfileManager m;
    m.profilesDir = profilesDir;
    testing::internal::CaptureStderr();
    m.loadProfiles();
    auto p = m.createProfile("Ann");
    const bool saved = m.save();
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(p);
    EXPECT_FALSE(saved);
    if (rootClean) {
        EXPECT_FALSE(fs::exists("/Profiles"));
        EXPECT_FALSE(fs::exists("/Data"));
    }

    userRoot = savedRoot;
    appOptions.userDirOverride = savedOverride;
    Paths::getPaths();
}

}  // namespace
