#pragma once

#include <string>
#include <vector>

class Paths {
public:
    // profilesDir and profilesFile from userRoot. Without a per-user folder
    // (userRoot empty) both stay empty: nothing is read or written then, and
    // no path falls back to the root of the file system.
    static int getPaths();
    // userRoot + "/Data/settings.dat", or "" without a per-user folder.
    static std::string settingsFile();
    // The player's own level folder, userRoot + "/Levels/" (with the trailing
    // "/"), or "" without a per-user folder.
    static std::string userLevelsDir();
    // The ".lvl" files (any case) directly in a folder, sorted by name; names
    // only, hidden files left out. Empty when the folder cannot be read.
    static std::vector<std::string> levelFiles(const std::string& folder);
};
