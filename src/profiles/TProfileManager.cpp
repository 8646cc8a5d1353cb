#include "profiles/TProfileManager.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

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
        if (p->folderName() == id) return p;
    return nullptr;
}

bool TProfileManager::nameAvailable(const std::string& name, const TProfile* except) const {
    // Taken when another profile has the same ID (names differing only in
    // letter case) or lives in the folder that name would get.
    const std::string id = profileIDOf(name);
    for (auto& p : lista)
        if (p.get() != except && (p->getMyID() == id || p->folderName() == id)) return false;
    return true;
}

namespace {

// The name an ID was made from, upper-cased ("65-78-78-" gives "ANN"); empty
// when the ID does not decode to printable characters.
std::string nameFromID(const std::string& id) {
    std::string out;
    size_t i = 0;
    while (i < id.size()) {
        const size_t dash = id.find('-', i);
        if (dash == std::string::npos || dash == i || dash - i > 7) return "";
        const unsigned long cp = std::stoul(id.substr(i, dash - i));
        if (cp < 32 || cp == 127 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return "";
        AppendUtf8(out, static_cast<uint32_t>(cp));
        i = dash + 1;
    }
    return out;
}

}  // namespace

bool TProfileManager::_loadInto(const TProfilePtr& p, const std::string& id, const std::string& listedName) {
    p->profilesDir = profilesDir;
    if (!p->load(profilesDir + id + "/")) return false;
    // The profile stays in the folder it was read from, whatever its name.
    p->folderId = id;
    if (p->name.empty()) {
        std::string given = TrimText(listedName);
        if (given.empty() || given == "0" || profileIDOf(given) != id) given = nameFromID(id);
        if (given.empty()) given = "Player";
        std::fprintf(stderr, "Profile in folder %s has no name; it is shown as \"%s\" and stays in that folder.\n",
                     id.c_str(), given.c_str());
        p->name = given;
    } else if (p->getMyID() != id) {
        std::fprintf(stderr, "Profile \"%s\" is kept in folder %s, which its name does not give.\n",
                     p->name.c_str(), id.c_str());
    }
    return true;
}

void TProfileManager::loadProfiles() {
    lista.clear();
    profile = nullptr;
    listLoaded = true;
    if (profilesDir.empty()) return;  // no per-user folder: nothing is read or written
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
    // One pass over the list group; the count never reaches past the entries
    // present.
    std::unordered_map<std::string, TRCMEntryPtr> entries;
    size_t present = 0;
    if (auto g = f->getGroup({"Profiles"})) {
        for (auto& e : g->_listaWpisow) entries.emplace(Utf8Upper(e->_id), e);
        present = g->_listaWpisow.size();
    }
    std::unordered_set<std::string> listed, folders;
    size_t withoutFolder = 0;
    {
        // The folders there are, read once: a list naming many players is not a
        // look-up on the disk for each of them.
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(std::filesystem::u8path(profilesDir), ec))
            if (e.is_directory(ec)) folders.insert(e.path().filename().u8string());
    }
    const int count = f->getInt("Profiles::i");
    const size_t n = count > 0 ? std::min(static_cast<size_t>(count), present) : 0;
    for (size_t k = 1; k <= n; ++k) {
        auto it = entries.find("PROFILE" + std::to_string(k));
        if (it == entries.end()) continue;
        const TRCMEntry& e = *it->second;
        const std::string listedName = e._value.size() > 0 ? e._value[0] : std::string();
        std::string id = e._value.size() > 1 ? e._value[1] : std::string();
        if (id.empty()) id = profileIDOf(listedName);
        // An ID names a folder inside the profiles folder, never a path.
        if (!TProfile::isFolderId(id)) {
            std::fprintf(stderr, "Profile list entry %zu (\"%s\") names \"%s\", which is not a profile folder; skipped.\n",
                         k, listedName.c_str(), id.c_str());
            continue;
        }
        if (!listed.insert(id).second) continue;
        // A listed player whose folder is gone has nothing to load; a list of
        // many such (a damaged or hostile file) is skipped quickly and said once.
        if (!folders.count(id)) {
            ++withoutFolder;
            continue;
        }
        auto p = std::make_shared<TProfile>();
        if (!_loadInto(p, id, listedName)) {
            // Its folder is not ours to drop: the player stays listed.
            if (FileType(profilesDir + id) != 2) continue;
            _keepDamaged(p, id, listedName);
        }
        lista.push_back(p);
    }
    if (withoutFolder > 0)
        std::fprintf(stderr, "Profile list %s names %zu player(s) without a folder; they are left out.\n",
                     listPath.c_str(), withoutFolder);
    // Every folder holding a profile is a player, listed or not (a list
    // damaged by hand or by a crash must not hide anybody).
    _addUnlistedFolders();
    const std::string act = Utf8Upper(f->getString("Profiles::ActProfile"));
    for (auto& p : lista)
        if (Utf8Upper(p->folderName()) == act && !p->damaged) profile = p;
}

void TProfileManager::_keepDamaged(const TProfilePtr& p, const std::string& id, const std::string& listedName) {
    p->folderId = id;
    p->profilesDir = profilesDir;
    p->damaged = true;
    std::string given = TrimText(listedName);
    if (given.empty() || given == "0") given = nameFromID(id);
    p->name = given.empty() ? id : given;
    std::fprintf(stderr, "Profile \"%s\" (folder %s) cannot be read; it stays listed as damaged and is not written.\n",
                 p->name.c_str(), id.c_str());
}

void TProfileManager::_addUnlistedFolders() {
    std::error_code ec;
    std::vector<std::string> dirs;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::u8path(profilesDir), ec))
        if (e.is_directory(ec)) dirs.push_back(e.path().filename().u8string());
    std::sort(dirs.begin(), dirs.end());
    for (const auto& d : dirs) {
        if (!TProfile::isFolderId(d) || FileType(profilesDir + d + "/profile.dat") != 1 || findByID(d)) continue;
        auto p = std::make_shared<TProfile>();
        if (!_loadInto(p, d, std::string())) _keepDamaged(p, d, std::string());
        std::fprintf(stderr, "Profile folder %s was missing from the list; \"%s\" is listed again.\n", d.c_str(),
                     p->name.c_str());
        lista.push_back(p);
    }
}

void TProfileManager::_rebuildFromFolders() {
    std::error_code ec;
    std::vector<std::string> dirs;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::u8path(profilesDir), ec)) {
        if (e.is_directory(ec)) dirs.push_back(e.path().filename().u8string());
    }
    std::sort(dirs.begin(), dirs.end());
    for (const auto& d : dirs) {
        if (!TProfile::isFolderId(d) || FileType(profilesDir + d + "/profile.dat") != 1) continue;
        auto p = std::make_shared<TProfile>();
        if (!_loadInto(p, d, std::string()) || findByID(d)) continue;
        lista.push_back(p);
    }
    if (!lista.empty()) {
        profile = lista.front();
        std::fprintf(stderr, "Profile list rebuilt with %zu profile(s)\n", lista.size());
        saveList();
    }
}

bool TProfileManager::saveList() {
    if (profilesDir.empty()) return false;
    CreateDir(profilesDir, true);
    auto f = newRCMFile();
    f->setFloat("Profiles::i", static_cast<double>(lista.size()));
    f->setString("Profiles::ActProfile", profile ? profile->folderName() : "NULL");
    // Entries go straight into the group: a look-up per key made this
    // quadratic in the number of profiles.
    auto g = f->getGroup({"Profiles"});
    for (size_t k = 0; k < lista.size(); ++k) {
        auto e = std::make_shared<TRCMEntry>();
        e->_id = "Profile" + std::to_string(k + 1);
        e->_value = {lista[k]->name, lista[k]->folderName()};
        g->_listaWpisow.push_back(e);
    }
    return f->save(profilesFile());
}

bool TProfileManager::save() {
    if (!listLoaded || profilesDir.empty()) return false;
    bool ok = true;
    for (auto& p : lista) {
        if (p->damaged) continue;  // never written over: its files are all the player has
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
    const std::string id = profileIDOf(name);
    if (!_folderFreeFor(name, id)) return nullptr;
    auto p = std::make_shared<TProfile>();
    p->name = name;
    p->profilesDir = profilesDir;
    p->folderId = id;
    // Without a per-user folder the profile lives for this session only.
    if (!profilesDir.empty() && !p->save()) {
        _refuse("The profile \"" + name + "\" could not be saved, so it was not created.");
        const std::string dir = p->folder();
        if (FileType(dir + "profile.dat") == 0) DeleteDir(dir.substr(0, dir.size() - 1), true);
        return nullptr;
    }
    lista.push_back(p);
    lastError.clear();
    saveList();
    return p;
}

bool TProfileManager::_folderFreeFor(const std::string& name, const std::string& id) {
    if (!TProfile::isFolderId(id)) {
        _refuse("The name \"" + name + "\" is too long for a profile; please choose a shorter one.");
        return false;
    }
    // A folder nobody in the list owns may hold a profile that could not be
    // read; it is never overwritten.
    if (!profilesDir.empty() && FileType(profilesDir + id) != 0) {
        _refuse("A folder for the name \"" + name + "\" already exists among the profiles; please choose another name.");
        return false;
    }
    return true;
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
    if (p->damaged) {
        _refuse("This player's file is damaged; it cannot be renamed.");
        return false;
    }
    const std::string name = TrimText(rawName);
    if (name.empty()) {
        _refuse("A profile needs a name.");
        return false;
    }
    if (!nameAvailable(name, p.get())) {
        _refuse("A profile named \"" + name + "\" already exists (names differing only in letter case count as the same).");
        return false;
    }
    const std::string oldId = p->folderName();
    const std::string newId = profileIDOf(name);
    if (newId != oldId) {
        if (!_folderFreeFor(name, newId)) return false;
        // The folder is named after the ID: it moves in one rename (atomic
        // on one file system) before anything is saved into it.
        const std::string oldDir = profilesDir + oldId, newDir = profilesDir + newId;
        if (!profilesDir.empty() && FileType(oldDir) == 2 && !RenameFile(oldDir, newDir)) {
            _refuse("The profile could not be renamed: its folder could not be moved.");
            return false;
        }
        p->folderId = newId;
    }
    p->name = name;
    lastError.clear();
    if (!profilesDir.empty()) {
        p->save();
        saveList();
    }
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
    if (!profilesDir.empty() && TProfile::isFolderId(p->folderName()))
        DeleteDir(profilesDir + p->folderName(), true);
    return true;
}

void TProfileManager::chooseProfile(const TProfilePtr& ref) {
    const TProfilePtr p = ref;
    if (p && std::find(lista.begin(), lista.end(), p) == lista.end()) return;
    if (p && p->damaged) {
        _refuse("This player's file is damaged and cannot be played.");
        return;
    }
    profile = p;
    saveList();
}
