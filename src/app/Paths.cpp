#include "app/Paths.h"

#include "app/AppGlobals.h"

int Paths::getPaths() {
    profilesDir = userRoot + "/Profiles/";
    profilesFile = profilesDir + "profiles.dat";
    return 0;
}
