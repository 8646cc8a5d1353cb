#include "app/Paths.h"

#include "app/AppGlobals.h"

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
