// Fuzzes player profiles as a damaged or hostile file would reach them. The
// input is split at zero bytes: the first part becomes the "profile.dat" of
// the player Ann (folder 65-78-78-), a second part, when present, replaces the
// list "profiles.dat", and a third is a name given to createProfile.
//
// The profile manager loads, saves and loads again. The property:
//  - the second load reads every field exactly as the first did;
//  - saving what a save wrote and was read again writes the same bytes;
//  - every profile lives in a plain folder of the profiles folder, nothing
//    outside that folder is written, and a profile.dat that was refused is
//    left as it was;
//  - a profile that createProfile accepted is there after the reload.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "data/TRCMFile.h"
#include "profiles/TProfileManager.h"

// Stand-ins for the dogs, the jigsaw and the tutorial: ids that exist and
// ids that do not, as in the game's tables.
class TPies {
public:
    int id = 0;
};
class TPuzzle {
public:
    int id = 0;
};
class TPuzzleLevel {
public:
    std::string source;
    std::vector<TPuzzlePtr> pieces;
    int placed = 0;
};
class TTutorialTip {
public:
    std::string id;
};

namespace fs = std::filesystem;

namespace {

const char* kAnn = "65-78-78-";
const char* kDefaultList =
    "Profiles {\n\ti = 1\n\tActProfile = \"65-78-78-\"\n\tProfile1 = \"Ann\", \"65-78-78-\"\n}\n";
const char* kOutside = "profile {\n\tname = \"Mallory\"\n\tscore = 666\n}\n";

struct World {
    fs::path root;
    std::vector<TPiesPtr> dogs;
    std::map<std::string, TTutorialTipPtr> tips;

    World() {
        // Every save syncs its files; in memory that costs nothing, so the
        // fuzzer runs at its pace instead of the disk's.
        std::error_code ec;
        const fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        root = base / ("brimble_fuzz_profile_" + std::to_string(::getpid()));
        for (int i = 1; i <= 12; ++i) {
            auto d = std::make_shared<TPies>();
            d->id = i;
            dogs.push_back(d);
        }
        for (const char* t : {"swap", "bonus", "hammer", "chain"}) {
            auto tip = std::make_shared<TTutorialTip>();
            tip->id = t;
            tips[t] = tip;
        }
        auto& h = profileHooks();
        h.getDog = [this](int stage) -> TPiesPtr {
            return stage >= 1 && stage <= 12 ? dogs[static_cast<size_t>(stage - 1)] : nullptr;
        };
        h.dogCount = [] { return 12; };
        h.dogId = [](const TPiesPtr& d) { return d->id; };
        h.dogById = [this](int id) -> TPiesPtr {
            return id >= 1 && id <= 12 ? dogs[static_cast<size_t>(id - 1)] : nullptr;
        };
        h.tipId = [](const TTutorialTipPtr& t) { return t->id; };
        h.tipById = [this](const std::string& id) -> TTutorialTipPtr {
            auto it = tips.find(id);
            return it == tips.end() ? nullptr : it->second;
        };
        h.loadPuzzleLevel = [](const std::string& path, int) -> TPuzzleLevelPtr {
            auto j = std::make_shared<TPuzzleLevel>();
            if (path.find("PuzzleLevels/") == std::string::npos) {
                auto f = loadRCMFile(path);
                if (!f->_loaded || !f->hasEntry("jigsaw::source")) return nullptr;
                j->source = f->getString("jigsaw::source");
                j->placed = f->getInt("jigsaw::placed");
            } else {
                j->source = path;
            }
            for (int i = 1; i <= 6; ++i) {
                auto p = std::make_shared<TPuzzle>();
                p->id = i;
                j->pieces.push_back(p);
            }
            return j;
        };
        h.savePuzzleLevel = [](const TPuzzleLevelPtr& j, const std::string& path) {
            auto f = newRCMFile();
            f->setString("jigsaw::source", j->source);
            f->setFloat("jigsaw::placed", j->placed);
            return f->save(path);
        };
        h.puzzleId = [](const TPuzzlePtr& p) { return p->id; };
        h.puzzleById = [](const TPuzzleLevelPtr& j, int id) -> TPuzzlePtr {
            for (auto& p : j->pieces)
                if (p->id == id) return p;
            return nullptr;
        };
        h.allPieces = [](const TPuzzleLevelPtr& j) { return j->pieces; };
        h.levelTime = [] { return 77; };
        h.setLevelTime = [](int) {};
        h.showMessage = [](const std::string&) {};
    }
};

World& world() {
    static World* w = [] {
        auto* made = new World();
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(world().root, ec);
        });
        return made;
    }();
    return *w;
}

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "profile fuzz property broken: %s\n", why.c_str());
    std::abort();
}

std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

void put(const fs::path& p, const std::string& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

// Every file under dir by relative path, with its bytes.
std::map<std::string, std::string> files(const fs::path& dir) {
    std::map<std::string, std::string> out;
    std::error_code ec;
    for (auto& e : fs::recursive_directory_iterator(dir, ec))
        if (e.is_regular_file()) out[fs::relative(e.path(), dir).string()] = bytesOf(e.path());
    return out;
}

template <class T, class F>
void list(std::ostringstream& o, const char* what, const std::vector<T>& v, F f) {
    o << what << '[';
    for (auto& x : v) o << f(x) << ';';
    o << "] ";
}

// Everything a load sets, as text.
std::string snapshot(const TProfileManager& m) {
    std::ostringstream o;
    o << "current=" << (m.profile ? m.profile->folderName() : "none") << '\n';
    for (auto& p : m.lista) {
        o << "name=" << p->name << " folder=" << p->folderName() << " level=" << p->nrLevelu
          << " stage=" << p->nrStageu << " puzzles=" << p->puzzles << " score=" << p->score
          << " ulozone=" << p->ulozone << " type=" << p->gameType << " mode=" << p->gameMode
          << " quest=" << (p->questLevel ? 1 : 0) << " time=" << p->savedLevelTime
          << " tutorialOn=" << p->tutorialOn << " dog=" << (p->pies ? p->pies->id : 0);
        if (p->puzzleLevel) o << " jigsaw=" << p->puzzleLevel->source << '/' << p->puzzleLevel->placed;
        list(o, " dogs", p->bylyPsy, [](const TPiesPtr& d) { return d->id; });
        list(o, "keptDogs", p->_unresolvedDogs, [](const std::pair<size_t, int>& k) {
            return std::to_string(k.first) + "@" + std::to_string(k.second);
        });
        list(o, "pieces", p->activePuzzles, [](const TPuzzlePtr& x) { return x->id; });
        list(o, "keptPieces", p->_unresolvedPieces, [](const std::pair<size_t, int>& k) {
            return std::to_string(k.first) + "@" + std::to_string(k.second);
        });
        list(o, "tips", p->lekcjeTutoriala, [](const TTutorialTipPtr& t) { return t->id; });
        list(o, "keptTips", p->_unresolvedTips, [](const std::pair<size_t, std::string>& k) {
            return std::to_string(k.first) + "@" + k.second;
        });
        for (auto& u : p->powerUp) o << u->data << '/' << u->aktywny << '/' << u->odkryty << ' ';
        for (auto& s : p->stagesData) {
            o << "stage " << s->nrStageu << ':' << s->score << '{';
            for (auto& l : s->levels)
                o << l->nrLevelu << ',' << l->score << ',' << l->time << ',' << l->punktyZebrane << ';';
            o << '}';
        }
        o << '\n';
    }
    return o.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    World& w = world();
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        const size_t z = input.find('\0', start);
        parts.push_back(input.substr(start, z == std::string::npos ? std::string::npos : z - start));
        if (z == std::string::npos || parts.size() == 3) break;
        start = z + 1;
    }

    std::error_code ec;
    fs::remove_all(w.root, ec);
    const fs::path profiles = w.root / "Profiles";
    put(profiles / kAnn / "profile.dat", parts[0]);
    put(profiles / "profiles.dat", parts.size() > 1 ? parts[1] : std::string(kDefaultList));
    // A player's file just outside the profiles folder: a list entry must
    // never reach it.
    put(w.root / "outside" / "profile.dat", kOutside);
    const std::string dir = profiles.string() + "/";

    TProfileManager m1;
    m1.profilesDir = dir;
    m1.loadProfiles();
    const std::string first = snapshot(m1);
    const bool annLoaded = m1.findByID(kAnn) != nullptr;

    std::string created;
    if (parts.size() > 2) {
        auto p = m1.createProfile(parts[2]);
        if (p) created = p->name;
    }
    m1.save();

    for (auto& p : m1.lista)
        if (!TProfile::isFolderId(p->folderName()) || !fs::is_directory(profiles / p->folderName()))
            fail("profile \"" + p->name + "\" is not in a folder of its own: " + p->folderName());
    if (!annLoaded && bytesOf(profiles / kAnn / "profile.dat") != parts[0])
        fail("a refused profile.dat was changed");
    for (auto& e : fs::directory_iterator(w.root, ec)) {
        const std::string n = e.path().filename().string();
        if (n != "Profiles" && n != "outside") fail("written outside the profiles folder: " + n);
    }
    if (files(w.root / "outside") != std::map<std::string, std::string>{{"profile.dat", kOutside}})
        fail("the file outside the profiles folder was touched");

    TProfileManager m2;
    m2.profilesDir = dir;
    m2.loadProfiles();
    TProfileManager view = m2;
    if (!created.empty()) {
        // The new profile is there; the others read as before (createProfile
        // leaves the current profile alone).
        auto it = std::find_if(view.lista.begin(), view.lista.end(),
                               [&](const TProfilePtr& q) { return q->name == created; });
        if (it == view.lista.end()) fail("created profile \"" + created + "\" was not kept");
        view.lista.erase(it);
    }
    const std::string second = snapshot(view);
    if (second != first) fail("load, save, load differs:\n" + first + "---\n" + second);
    m2.save();
    const auto saved = files(profiles);

    TProfileManager m3;
    m3.profilesDir = dir;
    m3.loadProfiles();
    m3.save();
    const auto again = files(profiles);
    for (auto& f : again) {
        auto it = saved.find(f.first);
        if (it == saved.end()) fail("a second save wrote the new file " + f.first);
        if (it->second != f.second)
            fail("a second save wrote " + f.first + " differently:\n" + it->second + "---\n" + f.second);
    }
    if (again.size() != saved.size()) fail("a second save removed a file");
    return 0;
}
