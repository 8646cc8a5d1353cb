#include "app/Paths.h"

#include <algorithm>
#include <filesystem>

#include "app/AppGlobals.h"
#include "platform/Files.h"

int Paths::getPaths() {
    if (userRoot.empty()) {
        profilesDir.clear();
        profilesFile.clear();
        return 0;
    }
    profilesDir = userRoot + "/Profiles/";
    profilesFile = profilesDir + "profiles.dat";
    return 0;
}

std::string Paths::settingsFile() {
    return userRoot.empty() ? std::string() : userRoot + "/Data/settings.dat";
}

std::string Paths::userLevelsDir() {
    return userRoot.empty() ? std::string() : userRoot + "/Levels/";
}

std::vector<std::string> Paths::levelFiles(const std::string& folder) {
    std::vector<std::string> out;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string n = it->path().filename().u8string();
        if (n.size() > 4 && n[0] != '.' && Utf8Lower(n.substr(n.size() - 4)) == ".lvl") out.push_back(n);
    }
    std::sort(out.begin(), out.end());
    return out;
}
