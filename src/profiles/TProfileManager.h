// The list of profiles ("profiles.dat") and the current profile: the model
// behind the profile manager's screen.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "profiles/TProfile.h"

class TProfileManager {
public:
    std::vector<TProfilePtr> lista;
    TProfilePtr profile;      // the current profile, or null
    std::string profilesDir;  // userRoot + "/Profiles/", set at start-up
    std::string lastError;    // why the last create/rename was refused
    // loadProfiles has run. Until then save() writes nothing, so an early
    // exit can never replace the players' list with an empty one.
    bool listLoaded = false;

    std::string profilesFile() const { return profilesDir + "profiles.dat"; }

    // Reads the list (writing an empty one first when it is missing) and
    // every listed profile. A missing or unreadable list while profile
    // folders exist is rebuilt from the folders.
    void loadProfiles();
    // Writes the list and every profile; false when a write failed.
    bool save();
    bool saveList();

    // Refused (null, lastError set) for an empty name, one whose ID is
    // already taken (names differing only in letter case share an ID), one
    // whose ID is too long for a folder name, one whose folder already exists
    // on disk, or when the new profile could not be saved.
    TProfilePtr createProfile(const std::string& name);
    // Asks for a name through the name-entry hook, then createProfile; the
    // new profile becomes the current one.
    TProfilePtr createNewProfile();
    bool renameProfile(const TProfilePtr& p, const std::string& newName);
    bool deleteProfile(const TProfilePtr& p);
    void chooseProfile(const TProfilePtr& p);
    TProfilePtr findByID(const std::string& id) const;
    bool nameAvailable(const std::string& name, const TProfile* except = nullptr) const;

private:
    void _refuse(const std::string& message);
    void _rebuildFromFolders();
    void _addUnlistedFolders();
    void _keepDamaged(const TProfilePtr& p, const std::string& id, const std::string& listedName);
    // Reads a profile from folder id; it keeps that folder. An empty name is
    // replaced (by the listed name or the one the ID was made from) and a
    // name that does not give the folder's ID is reported.
    bool _loadInto(const TProfilePtr& p, const std::string& id, const std::string& listedName);
    // The ID of a new name fits the file system and no folder holds it yet;
    // else refused with a message.
    bool _folderFreeFor(const std::string& name, const std::string& id);
};
using TProfileManagerPtr = std::shared_ptr<TProfileManager>;

// The one profile manager of the game; profileManager().profile is the
// current profile everywhere.
TProfileManager& profileManager();

std::string profileIDOf(const std::string& name);
