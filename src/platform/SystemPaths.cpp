#include "platform/SystemPaths.h"

namespace {
bool absolute(const char* p) {
    return p && p[0] == '/';
}
}  // namespace

std::string UserDataFolderFrom(const char* xdgDataHome, const char* home, const std::string& accountHome) {
    // A relative path would put the player's files wherever the game was
    // started from, so such a value counts as unset.
    if (absolute(xdgDataHome)) return xdgDataHome;
    std::string base;
    if (absolute(home))
        base = home;
    else if (absolute(accountHome.c_str()))
        base = accountHome;
    else
        return "";
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return (base == "/" ? std::string() : base) + "/.local/share";
}
