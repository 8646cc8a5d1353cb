// SystemPaths on POSIX systems; SystemPathsWindows.cpp stands in on Windows.
#if !defined(_WIN32)
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/SystemPaths.h"

namespace {
// The home folder the password database gives this account ("" when it has
// no entry, as for a uid given to a container without one).
std::string accountHome() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_dir)
        return "";
    return found->pw_dir;
}
}  // namespace

std::string UserDataFolder() {
    const char* home = std::getenv("HOME");
    // The password database is asked only when HOME does not do.
    return UserDataFolderFrom(std::getenv("XDG_DATA_HOME"), home,
                              home && home[0] == '/' ? std::string() : accountHome());
}

std::string ExecutablePath() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::vector<std::string> CommandLineArgs(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

std::string ProgramFileName(const std::string& name) {
    return name;
}
#endif  // !_WIN32
