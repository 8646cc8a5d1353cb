#pragma once

#include <string>

class Paths {
public:
    // profilesDir and profilesFile from userRoot. Without a per-user folder
    // (userRoot empty) both stay empty: nothing is read or written then, and
    // no path falls back to the root of the file system.
    static int getPaths();
    // userRoot + "/Data/settings.dat", or "" without a per-user folder.
    static std::string settingsFile();
};
