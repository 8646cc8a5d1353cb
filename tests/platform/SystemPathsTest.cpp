// Where per-user data goes and where the program lies.
#include <gtest/gtest.h>

#include <string>

#include "platform/SystemPaths.h"

namespace {

TEST(SystemPaths, PerUserFolderRule) {
    struct Case {
        const char* xdg;
        const char* home;
        std::string account;
        std::string want;
    };
    const Case cases[] = {
        {"/x/data", "/home/ann", "/home/acc", "/x/data"},                // XDG_DATA_HOME first
        {"x/data", "/home/ann", "/home/acc", "/home/ann/.local/share"},  // a relative XDG counts as unset
        {"", "/home/ann", "/home/acc", "/home/ann/.local/share"},
        {nullptr, "/home/ann/", "", "/home/ann/.local/share"},           // no doubled slash
        {nullptr, nullptr, "/home/acc", "/home/acc/.local/share"},      // no HOME: the account's home
        {nullptr, "", "/home/acc", "/home/acc/.local/share"},
        {nullptr, "rel/home", "/home/acc", "/home/acc/.local/share"},   // a relative HOME too
        {nullptr, "/", "", "/.local/share"},                            // a home at the root
        {nullptr, nullptr, "acc", ""},                                  // nothing absolute anywhere
        {nullptr, nullptr, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UserDataFolderFrom(c.xdg, c.home, c.account), c.want)
            << "XDG_DATA_HOME=" << (c.xdg ? c.xdg : "(unset)") << " HOME=" << (c.home ? c.home : "(unset)")
            << " account home=" << c.account;
}

TEST(SystemPaths, TheProgramKnowsItsOwnFile) {
    const std::string exe = ExecutablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.front(), '/');
    EXPECT_EQ(exe.substr(exe.rfind('/') + 1), "test_platform");
    EXPECT_EQ(ProgramFileName("levelrun"), "levelrun");
    char a0[] = "prog", a1[] = "\xC3\xA4rg";
    char* argv[] = {a0, a1};
    EXPECT_EQ(CommandLineArgs(2, argv), (std::vector<std::string>{"prog", "\xC3\xA4rg"}));
}

}  // namespace
