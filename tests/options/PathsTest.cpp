// Per-user paths when no per-user folder can be found: nothing may fall back
// to the root of the file system.
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
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

// Without HOME (a service started without one) or with a relative one, the
// player's files go under the account's home from the password database.
TEST(PathsTest, WithoutHomeTheAccountsHomeIsUsed) {
    SavedEnv home("HOME"), xdg("XDG_DATA_HOME");
    const passwd* pw = ::getpwuid(::getuid());
    if (!pw || !pw->pw_dir || pw->pw_dir[0] != '/') GTEST_SKIP() << "this account has no home in the password database";
    const std::string account = std::string(pw->pw_dir) == "/" ? "" : pw->pw_dir;
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    EXPECT_EQ(defaultUserRoot(), account + "/.local/share/Brimble");
    setenv("HOME", "", 1);
    EXPECT_EQ(defaultUserRoot(), account + "/.local/share/Brimble");
    setenv("HOME", "relative/home", 1);
    EXPECT_EQ(defaultUserRoot(), account + "/.local/share/Brimble");
    setenv("HOME", "/elsewhere/someone", 1);  // an absolute HOME still wins
    EXPECT_EQ(defaultUserRoot(), "/elsewhere/someone/.local/share/Brimble");
}

// With no home at all (no HOME, no XDG_DATA_HOME, and a uid the password
// database does not know, as a container may run a game under) nothing is
// written and no path falls back to the root of the file system. The child
// of the death test takes on such a uid; only root may do that.
void noHomeAnywhere(uid_t stranger) {
    auto need = [](bool ok, const char* what) {
        if (!ok) {
            std::fprintf(stderr, "FAILED: %s\n", what);
            std::fflush(stderr);
            _exit(1);
        }
    };
    unsetenv("HOME");
    unsetenv("XDG_DATA_HOME");
    need(::setgid(stranger) == 0 && ::setuid(stranger) == 0, "taking on a uid without a password entry");
    appOptions.userDirOverride.clear();
    // Only meaningful where the root does not hold these already.
    const bool rootClean = !fs::exists("/Profiles") && !fs::exists("/Data");

    makeUserFolders();  // says "... will not be kept" (the death test's pattern checks it)
    Paths::getPaths();
    need(userRoot.empty(), "no per-user folder");
    need(profilesDir.empty() && profilesFile.empty() && Paths::settingsFile().empty(), "no file paths");

    TOptions o;
    need(o.settingsPath().empty(), "no settings path");
    o.musicVolume = 0.1f;
    need(!o.saveOptions(), "saving the settings fails");
    o.loadOptions();  // the defaults
    need(o.musicVolume == TOptions().musicVolume, "the default settings are used");

    TProfileManager m;
    m.profilesDir = profilesDir;
    m.loadProfiles();
    auto p = m.createProfile("Ann");
    const bool saved = m.save();
    need(p != nullptr, "a player is made for the session");
    need(!saved, "saving the players fails");
    if (rootClean) need(!fs::exists("/Profiles") && !fs::exists("/Data"), "nothing at the root");
    std::fprintf(stderr, "nothing kept, nothing written\n");
    std::fflush(stderr);
    _exit(0);
}

TEST(PathsTest, WithoutAnyHomeNothingIsWritten) {
    if (::getuid() != 0) GTEST_SKIP() << "needs root to take on a uid without a password entry";
    uid_t stranger = 54321;
    while (::getpwuid(stranger)) ++stranger;
    EXPECT_EXIT(noHomeAnywhere(stranger), ::testing::ExitedWithCode(0),
                "will not be kept.*nothing kept, nothing written");
}

}  // namespace
