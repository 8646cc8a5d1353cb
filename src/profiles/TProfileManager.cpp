#include "profiles/TProfileManager.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/Files.h"
#include "platform/Services.h"
#include "data/TRCMFile.h"

std::string profileIDOf(const std::string& name) {
    TProfile p;
    p.name = name;
    return p.getMyID();
}

TProfileManager& profileManager() {
    // Never destroyed: the save on exit may run after static destruction began
    // (an exit() from a library, such as Xlib's when the display goes away).
    static TProfileManager* m = new TProfileManager();
    return *m;
}

void TProfileManager::_refuse(const std::string& message) {
    lastError = message;
    std::fprintf(stderr, "%s\n", message.c_str());
    if (profileHooks().showMessage) profileHooks().showMessage(message);
}

TProfilePtr TProfileManager::findByID(const std::string& id) const {
    for (auto& p : lista)
        if (p->getMyID() == id) return p;
    return nullptr;
}

bool TProfileManager::nameAvailable(const std::string& name, const TProfile* except) const {
    const std::string id = profileIDOf(name);
    for (auto& p : lista)
        if (p.get() != except && p->getMyID() == id) return false;
    return true;
}

void TProfileManager::loadProfiles() {
    lista.clear();
    profile = nullptr;
    listLoaded = true;
    CreateDir(profilesDir, true);
    const std::string listPath = profilesFile();
    if (FileType(listPath) == 0) {
        // A missing list with profile folders beside it is a lost list, not
        // a new installation: keep those players.
        _rebuildFromFolders();
        if (lista.empty()) saveList();
        return;
    }
    auto f = loadRCMFile(listPath);
    if (!f->_loaded || !f->hasEntry("Profiles::i")) {
        std::fprintf(stderr, "Profile list %s unreadable, rebuilding it from the folders\n", listPath.c_str());
        _rebuildFromFolders();
        return;
    }
    const int n = std::max(0, f->getInt("Profiles::i"));
    for (int k = 1; k <= n && k <= 100000; ++k) {
        const std::string key = "Profiles::profile" + std::to_string(k);
        std::string id = f->getString(key, 1);
        const std::string listedName = f->getString(key, 0);
        if (id.empty()) id = profileIDOf(listedName);
        if (id.empty() || findByID(id)) continue;
        auto p = std::make_shared<TProfile>();
        p->profilesDir = profilesDir;
        if (!p->load(profilesDir + id + "/")) continue;
        lista.push_back(p);
    }
    const std::string act = Utf8Upper(f->getString("Profiles::ActProfile"));
    for (auto& p : lista)
        if (Utf8Upper(p->getMyID()) == act) profile = p;
}

void TProfileManager::_rebuildFromFolders() {
    std::error_code ec;
    std::vector<std::string> dirs;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::u8path(profilesDir), ec)) {
        if (e.is_directory(ec)) dirs.push_back(e.path().filename().u8string());
    }
    std::sort(dirs.begin(), dirs.end());
    for (const auto& d : dirs) {
        if (FileType(profilesDir + d + "/profile.dat") != 1) continue;
        auto p = std::make_shared<TProfile>();
        p->profilesDir = profilesDir;
        if (!p->load(profilesDir + d + "/")) continue;
        // A folder whose name is not the profile's ID would not be found
        // again by the next save; only matching ones are taken.
        if (p->getMyID() != d || findByID(d)) continue;
        lista.push_back(p);
    }
    if (!lista.empty()) {
        profile = lista.front();
        std::fprintf(stderr, "Profile list rebuilt with %zu profile(s)\n", lista.size());
        saveList();
    }
}

bool TProfileManager::saveList() {
    CreateDir(profilesDir, true);
    auto f = newRCMFile();
    f->setFloat("Profiles::i", static_cast<double>(lista.size()));
    f->setString("Profiles::ActProfile", profile ? profile->getMyID() : "NULL");
    for (size_t k = 0; k < lista.size(); ++k) {
        const std::string key = "Profiles::Profile" + std::to_string(k + 1);
        f->setString(key, lista[k]->name, 0);
        f->setString(key, lista[k]->getMyID(), 1);
    }
    return f->save(profilesFile());
}

bool TProfileManager::save() {
    if (!listLoaded) return false;
    bool ok = true;
    for (auto& p : lista) {
        p->profilesDir = profilesDir;
        ok = p->save() && ok;
    }
    return saveList() && ok;
}

TProfilePtr TProfileManager::createProfile(const std::string& rawName) {
    const std::string name = TrimText(rawName);
    if (name.empty()) {
        _refuse("A profile needs a name.");
        return nullptr;
    }
    if (!nameAvailable(name)) {
        _refuse("A profile named \"" + name + "\" already exists (names differing only in letter case count as the same).");
        return nullptr;
    }
    auto p = std::make_shared<TProfile>();
    p->name = name;
    p->profilesDir = profilesDir;
    lista.push_back(p);
    lastError.clear();
    p->save();
    saveList();
    return p;
}

TProfilePtr TProfileManager::createNewProfile() {
    if (!profileHooks().askName) return nullptr;
    const std::string name = profileHooks().askName();
    if (TrimText(name).empty()) return nullptr;  // cancelled
    auto p = createProfile(name);
    if (p) chooseProfile(p);
    return p;
}

bool TProfileManager::renameProfile(const TProfilePtr& ref, const std::string& rawName) {
    const TProfilePtr p = ref;
    if (!p) return false;
    const std::string name = TrimText(rawName);
    if (name.empty()) {
        _refuse("A profile needs a name.");
        return false;
    }
    if (!nameAvailable(name, p.get())) {
        _refuse("A profile named \"" + name + "\" already exists (names differing only in letter case count as the same).");
        return false;
    }
    const std::string oldDir = p->folder();
    const std::string oldName = p->name;
    p->name = name;
    const std::string newDir = p->folder();
    if (newDir != oldDir && FileType(oldDir) == 2) {
        // The folder is named after the ID; move it before saving into it.
        if (FileType(newDir) != 0 || !RenameFile(oldDir.substr(0, oldDir.size() - 1), newDir.substr(0, newDir.size() - 1))) {
            p->name = oldName;
            _refuse("The profile could not be renamed.");
            return false;
        }
    }
    lastError.clear();
    p->save();
    saveList();
    return true;
}

bool TProfileManager::deleteProfile(const TProfilePtr& ref) {
    const TProfilePtr p = ref;  // ref may be our own `profile`, reset below
    auto it = std::find(lista.begin(), lista.end(), p);
    if (it == lista.end()) return false;
    lista.erase(it);
    if (profile == p) profile = lista.empty() ? nullptr : lista.front();
    // The list goes first: a crash after it leaves a stray folder, never a
    // listed profile without its files.
    saveList();
    const std::string dir = p->folder();
    DeleteDir(dir.substr(0, dir.size() - 1), true);
    return true;
}

void TProfileManager::chooseProfile(const TProfilePtr& ref) {
    const TProfilePtr p = ref;
    if (p && std::find(lista.begin(), lista.end(), p) == lista.end()) return;
    profile = p;
    saveList();
}
