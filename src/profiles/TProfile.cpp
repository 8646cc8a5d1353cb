#include "profiles/TProfile.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "data/TRCMFile.h"
#include "match3/TM3Effects.h"
#include "platform/Files.h"
#include "platform/Services.h"

const char* const kDefaultPuzzleLevel = "data/PuzzleLevels/puzzleLevel-1.dat";

namespace {

ProfileHooks& H() {
    return profileHooks();
}

TLevelPtr loadLevelHooked(const std::string& path) {
    if (H().loadLevel) return H().loadLevel(path);
    if (FileType(path) != 1) return nullptr;
    return loadLevelFile(path, nullptr);
}

bool saveLevelHooked(TLevel& level, const std::string& path) {
    if (H().saveLevel) return H().saveLevel(level, path);
    return saveLevelFile(level, path);
}

// One save writes three files; "profile.dat" is the one that commits it. The
// quest level and the jigsaw are first written beside their places as
// NAME.next, "profile.dat" records a checksum of each, and only then do the
// ".next" files take their places. A game killed before "profile.dat" was
// written leaves the previous save whole (its ".next" files are dropped at the
// next load); one killed after it has the rename finished at the next load.
// So the profile, its level and its jigsaw always come from one save.
const char* const kNext = ".next";

std::string fileSum(const std::string& path) {
    std::string bytes;
    if (!ReadBytesFile(path, bytes)) return std::string();
    uint64_t h = 1469598103934665603ull;  // FNV-1a, 64 bits
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char buf[24];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
    return buf;
}

// Settles NAME against the checksum "profile.dat" holds for it ("" for none):
// a ".next" file that is the committed one takes NAME's place, any other is
// a save that never committed and goes.
void settleCompanion(const std::string& dir, const std::string& name, const std::string& sum) {
    const std::string next = dir + name + kNext;
    if (FileType(next) != 1) return;
    if (!sum.empty() && fileSum(next) == sum) {
        if (!RenameFile(next, dir + name))
            std::fprintf(stderr, "%s%s could not be put in place; the older file is read\n", dir.c_str(),
                         name.c_str());
    } else {
        DeleteFile(next);
    }
}

int levelTimeNow() {
    return H().levelTime ? H().levelTime() : m3Effects().levelTime();
}

void setLevelTimeNow(int t) {
    if (H().setLevelTime)
        H().setLevelTime(t);
    else
        m3Effects().setLevelTime(t);
}

}  // namespace

TProfile::TProfile() {
    QUEST_newPowerUps();
}

TStageDataPtr TProfile::getStageData(int n) {
    for (auto& s : stagesData)
        if (s->nrStageu == n) return s;
    auto s = std::make_shared<TStageData>();
    s->nrStageu = n;
    stagesData.push_back(s);
    return s;
}

void TProfile::giveActStageData() {
    giveActStageData(H().mainGameLevelScore ? H().mainGameLevelScore() : 0);
}

void TProfile::giveActStageData(int levelScore) {
    auto stage = getStageData(nrStageu);
    stage->score += levelScore;
    stage->getLevelData(nrLevelu)->score += levelScore;
}

std::string TProfile::getMyID() const {
    std::string up = Utf8Upper(name);
    std::string id;
    for (size_t i = 0; i < up.size();) {
        id += std::to_string(NextCodePoint(up, i));
        id += '-';
    }
    return id;
}

std::string TProfile::folderName() const { return folderId.empty() ? getMyID() : folderId; }

std::string TProfile::folder() const { return profilesDir + folderName() + "/"; }

bool TProfile::isFolderId(const std::string& id) {
    if (id.empty() || id.size() > kMaxFolderName) return false;
    for (char c : id)
        if (!((c >= '0' && c <= '9') || c == '-')) return false;
    return true;
}

namespace {

// The level last handed to the play screen: only the profile owning it may
// take the play screen's level time; every other one keeps what it read.
std::weak_ptr<TLevel> g_levelInPlay;

// A group's entries and subgroups by upper-cased name, the first of equal
// names winning as in TRCMGroup::getEntry. Built in one pass, so reading a
// counted list is not a scan of the whole group per item.
class GroupIndex {
public:
    explicit GroupIndex(const TRCMGroupPtr& g) {
        if (!g) return;
        for (auto& e : g->_listaWpisow) _entries.emplace(Utf8Upper(e->_id), e);
        for (auto& s : g->_listaGrup) _groups.emplace(Utf8Upper(s->_id), s);
        _entryCount = g->_listaWpisow.size();
        _groupCount = g->_listaGrup.size();
    }
    const TRCMEntry* entry(const std::string& upperName) const {
        auto it = _entries.find(upperName);
        return it == _entries.end() ? nullptr : it->second.get();
    }
    TRCMGroupPtr group(const std::string& upperName) const {
        auto it = _groups.find(upperName);
        return it == _groups.end() ? nullptr : it->second;
    }
    int entryInt(const std::string& upperName, int index = 0) const {
        const TRCMEntry* e = entry(upperName);
        return e ? rcmEntryInt(*e, index) : 0;
    }
    // A count read from the file, bounded by what the group can hold; cut
    // is set when the file claimed more.
    size_t boundEntries(int count, bool& cut) const { return bound(count, _entryCount, cut); }
    size_t boundGroups(int count, bool& cut) const { return bound(count, _groupCount, cut); }

private:
    static size_t bound(int count, size_t present, bool& cut) {
        if (count <= 0) return 0;
        if (static_cast<size_t>(count) > present) cut = true;
        return std::min(static_cast<size_t>(count), present);
    }
    std::unordered_map<std::string, TRCMEntryPtr> _entries;
    std::unordered_map<std::string, TRCMGroupPtr> _groups;
    size_t _entryCount = 0, _groupCount = 0;
};

TRCMGroupPtr groupAt(TRCMFile& f, const char* path) { return f.getGroup(splitRCMPath(path)); }

// Appends entries to one group without looking their names up: the keys of a
// counted list are unique, and a look-up per key made saving quadratic.
void appendEntry(TRCMGroup& g, const std::string& id, int type, std::vector<std::string> items) {
    auto e = std::make_shared<TRCMEntry>();
    e->_id = id;
    e->_type = type;
    e->_value = std::move(items);
    g._listaWpisow.push_back(std::move(e));
}

// The resolved ids in order with the kept ones put back at their places.
template <class T>
std::vector<T> withKept(const std::vector<T>& resolved, const TProfile::Kept<T>& kept) {
    std::vector<T> out;
    out.reserve(resolved.size() + kept.size());
    size_t r = 0;
    for (const auto& k : kept) {
        while (out.size() < k.first && r < resolved.size()) out.push_back(resolved[r++]);
        out.push_back(k.second);
    }
    while (r < resolved.size()) out.push_back(resolved[r++]);
    return out;
}

}  // namespace

void TProfile::handLevelToPlay() {
    g_levelInPlay = questLevel;
    if (H().mainGameSetLevel) H().mainGameSetLevel(questLevel);
}

bool TProfile::save() {
    if (_saveFiles()) {
        _saveFailureShown = false;
        return true;
    }
    if (!_saveFailureShown) {
        _saveFailureShown = true;
        const std::string where = profilesDir.empty() ? std::string("there is no folder for the players' files")
                                                      : "the folder " + folder() + " cannot be written";
        const std::string text = "The progress of " + name + " could not be saved: " + where +
                                 ". The game goes on, but what is played now may be lost.";
        if (H().showMessage)
            H().showMessage(text);
        else
            Notify(text);
    }
    return false;
}

bool TProfile::_saveFiles() {
    const std::string id = folderName();
    if (profilesDir.empty() || !isFolderId(id)) {
        std::fprintf(stderr, "Profile \"%s\" has no usable folder; it is not saved.\n", name.c_str());
        return false;
    }
    const std::string dir = folder();
    if (!CreateDir(dir, true)) {
        std::fprintf(stderr, "Profile %s: cannot create the folder %s\n", name.c_str(), dir.c_str());
        return false;
    }
    bool ok = true;
    // The level and the jigsaw go first, "profile.dat" last: whatever a crash
    // interrupts, "profile.dat" only ever names files that are complete.
    bool haveLevel = questLevel != nullptr;
    const std::string levelFile = dir + "questlevel.lvl", puzzleFile = dir + "puzzleLevel.dat";
    if (haveLevel && !saveLevelHooked(*questLevel, levelFile + kNext)) {
        std::fprintf(stderr, "Profile %s: the quest level could not be saved\n", name.c_str());
        haveLevel = false;
        ok = false;
    }
    bool havePuzzle = puzzleLevel != nullptr && H().savePuzzleLevel;
    if (havePuzzle && !H().savePuzzleLevel(puzzleLevel, puzzleFile + kNext)) {
        std::fprintf(stderr, "Profile %s: the jigsaw could not be saved\n", name.c_str());
        havePuzzle = false;
        ok = false;
    }
    const bool levelInPlay = questLevel && g_levelInPlay.lock() == questLevel;
    const int levelTime = levelInPlay ? levelTimeNow() : savedLevelTime;

    auto f = newRCMFile();
    f->setString("profile::name", name);
    f->setFloat("Profile::nrLevelu", nrLevelu);
    f->setFloat("Profile::nrStage", nrStageu);
    f->setFloat("Profile::puzzles", puzzles);
    f->setFloat("Profile::score", score);
    f->setString("Profile::gameType", gameType);
    f->setString("Profile::gameMode", gameMode);
    f->setFloat("Profile::ulozone", ulozone);
    f->setFloat("Profile::questLevel", haveLevel ? 1 : 0);
    if (haveLevel) f->setFloat("Profile::levelTime", levelTime);
    f->setFloat("Profile::puzzleLevel", havePuzzle ? 1 : 0);
    const std::string levelSum = haveLevel ? fileSum(levelFile + kNext) : std::string();
    const std::string puzzleSum = havePuzzle ? fileSum(puzzleFile + kNext) : std::string();
    if (!levelSum.empty()) f->setString("Profile::questLevelSum", levelSum);
    if (!puzzleSum.empty()) f->setString("Profile::puzzleLevelSum", puzzleSum);

    std::vector<int> pieces;
    for (auto& p : activePuzzles)
        if (p && H().puzzleId) pieces.push_back(H().puzzleId(p));
    pieces = withKept(pieces, _unresolvedPieces);
    f->setFloat("Profile::activePuzzles::i", static_cast<double>(pieces.size()));
    {
        auto& g = *groupAt(*f, "Profile::activePuzzles");
        for (size_t k = 0; k < pieces.size(); ++k)
            appendEntry(g, "puzzle" + std::to_string(k + 1), 1, {rcmNumberText(pieces[k])});
    }

    std::vector<int> dogs;
    for (auto& d : bylyPsy)
        if (d && H().dogId) dogs.push_back(H().dogId(d));
    dogs = withKept(dogs, _unresolvedDogs);
    f->setFloat("Profile::dogies::i", static_cast<double>(dogs.size()));
    {
        auto& g = *groupAt(*f, "Profile::dogies");
        for (size_t k = 0; k < dogs.size(); ++k)
            appendEntry(g, "dog" + std::to_string(k + 1), 1, {rcmNumberText(dogs[k])});
    }

    for (int n = 1; n <= 6; ++n) {
        const auto& p = powerUp[static_cast<size_t>(n - 1)];
        const std::string base = "Profile::powerUps::powerUp" + std::to_string(n);
        f->setFloat(base + "::data", p ? p->data : 0);
        f->setFloat(base + "::aktywny", p && p->aktywny ? 1 : 0);
    }

    // An empty id cannot be written (an empty first item is written as "0")
    // and names no lesson; the reader skips it too.
    std::vector<std::string> tips;
    for (auto& t : lekcjeTutoriala)
        if (t && H().tipId) tips.push_back(H().tipId(t));
    tips = withKept(tips, _unresolvedTips);
    tips.erase(std::remove(tips.begin(), tips.end(), std::string()), tips.end());
    f->setFloat("Profile::tutorial::tips", static_cast<double>(tips.size()));
    {
        auto& g = *groupAt(*f, "Profile::tutorial");
        for (size_t k = 0; k < tips.size(); ++k) appendEntry(g, "tip" + std::to_string(k + 1), 0, {tips[k]});
    }

    // Our addition: the per-stage results, so scores survive a restart.
    f->setFloat("Profile::tutorialOn", tutorialOn);
    f->setFloat("Profile::stagesData::i", static_cast<double>(stagesData.size()));
    {
        auto& stages = *groupAt(*f, "Profile::stagesData");
        for (size_t k = 0; k < stagesData.size(); ++k) {
            const auto& s = stagesData[k];
            auto g = std::make_shared<TRCMGroup>();
            g->_id = "stage" + std::to_string(k + 1);
            appendEntry(*g, "nrStageu", 1, {rcmNumberText(s->nrStageu)});
            appendEntry(*g, "score", 1, {rcmNumberText(s->score)});
            appendEntry(*g, "levels", 1, {rcmNumberText(static_cast<double>(s->levels.size()))});
            for (size_t j = 0; j < s->levels.size(); ++j) {
                const auto& l = s->levels[j];
                appendEntry(*g, "level" + std::to_string(j + 1), 1,
                            {rcmNumberText(l->nrLevelu), rcmNumberText(l->score), rcmNumberText(l->time),
                             rcmNumberText(l->punktyZebrane)});
            }
            stages._listaGrup.push_back(std::move(g));
        }
    }

    if (!f->save(dir + "profile.dat")) {
        // Not committed: the previous save stays whole.
        DeleteFile(levelFile + kNext);
        DeleteFile(puzzleFile + kNext);
        return false;
    }
    settleCompanion(dir, "questlevel.lvl", levelSum);
    settleCompanion(dir, "puzzleLevel.dat", puzzleSum);
    if (haveLevel) savedLevelTime = levelTime;
    // Files the profile no longer names are stale.
    if (!haveLevel && questLevel == nullptr) DeleteFile(dir + "questlevel.lvl");
    return ok;
}

bool TProfile::load(const std::string& dir) {
    auto f = newRCMFile();
    f->Load(dir + "profile.dat");
    if (!f->_loaded || !f->hasEntry("profile::name")) {
        std::fprintf(stderr, "Profile in %s is missing or unreadable, skipped\n", dir.c_str());
        return false;
    }
    name = f->getString("profile::name");
    nrLevelu = std::max(1, f->getInt("profile::nrLevelu"));
    nrStageu = std::max(1, f->getInt("profile::nrStage"));
    puzzles = f->getInt("profile::puzzles");
    score = f->getInt("profile::score");
    // The writer stores an empty first item as "0"; these two are names of
    // screens and modes, where "0" can only mean "none".
    gameType = f->getString("profile::gameType");
    gameMode = f->getString("profile::gameMode");
    if (gameType == "0") gameType.clear();
    if (gameMode == "0") gameMode.clear();
    ulozone = f->getInt("profile::ulozone");
    // A save killed half-way is finished or dropped before its files are read.
    for (const char* name : {"profile.dat", "questlevel.lvl.next", "puzzleLevel.dat.next"})
        DropInterruptedWrite(dir + name);
    settleCompanion(dir, "questlevel.lvl",
                    f->hasEntry("profile::questLevelSum") ? f->getString("profile::questLevelSum") : "");
    settleCompanion(dir, "puzzleLevel.dat",
                    f->hasEntry("profile::puzzleLevelSum") ? f->getString("profile::puzzleLevelSum") : "");
    if (f->hasEntry("profile::tutorialOn")) tutorialOn = f->getInt("profile::tutorialOn");
    pies = H().getDog ? H().getDog(nrStageu) : nullptr;

    // The jigsaw: the saved one, else the default; a saved one that does not
    // load is rebuilt from the stage's source so the profile stays usable.
    puzzleLevel = nullptr;
    if (H().loadPuzzleLevel) {
        if (f->getInt("profile::puzzleLevel") == 0) {
            puzzleLevel = H().loadPuzzleLevel(kDefaultPuzzleLevel, 1);
        } else {
            puzzleLevel = H().loadPuzzleLevel(dir + "puzzleLevel.dat", 0);
            if (!puzzleLevel) {
                std::fprintf(stderr, "Profile %s: saved jigsaw unreadable, starting it again\n",
                             name.c_str());
                std::string src = pies && H().dogPuzzleLevel ? H().dogPuzzleLevel(pies) : kDefaultPuzzleLevel;
                puzzleLevel = H().loadPuzzleLevel(src, 1);
            }
        }
    }

    questLevel = nullptr;
    if (f->getInt("profile::questLevel") != 0) {
        questLevel = loadLevelHooked(dir + "questlevel.lvl");
        if (!questLevel)
            std::fprintf(stderr, "Profile %s: saved quest level unreadable, no resume offered\n",
                         name.c_str());
    }
    // The time belongs to the saved level; without one it means nothing.
    savedLevelTime = questLevel ? f->getInt("profile::levelTime") : 0;

    bool cut = false;  // a count claimed more entries than the file holds
    bylyPsy.clear();
    _unresolvedDogs.clear();
    {
        const GroupIndex g(groupAt(*f, "profile::dogies"));
        const size_t n = g.boundEntries(g.entryInt("I"), cut);
        for (size_t k = 1; k <= n; ++k) {
            const TRCMEntry* e = g.entry("DOG" + std::to_string(k));
            if (!e) {
                cut = true;
                continue;
            }
            const int id = rcmEntryInt(*e, 0);
            TPiesPtr d = H().dogById ? H().dogById(id) : nullptr;
            if (d) bylyPsy.push_back(d);
            else _unresolvedDogs.emplace_back(bylyPsy.size() + _unresolvedDogs.size(), id);
        }
    }

    QUEST_newPowerUps();
    for (int n = 1; n <= 6; ++n) {
        auto& p = powerUp[static_cast<size_t>(n - 1)];
        const std::string base = "profile::powerUps::powerUp" + std::to_string(n);
        p->data = std::max(0, f->getInt(base + "::data"));
        p->aktywny = f->getInt(base + "::aktywny") ? 1 : 0;
    }
    checkPowerUps();

    lekcjeTutoriala.clear();
    _unresolvedTips.clear();
    {
        const GroupIndex g(groupAt(*f, "profile::tutorial"));
        const size_t n = g.boundEntries(g.entryInt("TIPS"), cut);
        for (size_t k = 1; k <= n; ++k) {
            const TRCMEntry* e = g.entry("TIP" + std::to_string(k));
            if (!e || e->_value.empty() || e->_value[0].empty()) {
                cut = true;
                continue;
            }
            const std::string& id = e->_value[0];
            TTutorialTipPtr t = H().tipById ? H().tipById(id) : nullptr;
            if (t) lekcjeTutoriala.push_back(t);
            else _unresolvedTips.emplace_back(lekcjeTutoriala.size() + _unresolvedTips.size(), id);
        }
    }

    activePuzzles.clear();
    _unresolvedPieces.clear();
    {
        const GroupIndex g(groupAt(*f, "profile::activePuzzles"));
        const size_t n = g.boundEntries(g.entryInt("I"), cut);
        for (size_t k = 1; k <= n; ++k) {
            const TRCMEntry* e = g.entry("PUZZLE" + std::to_string(k));
            if (!e) {
                cut = true;
                continue;
            }
            const int id = rcmEntryInt(*e, 0);
            TPuzzlePtr p = H().puzzleById && puzzleLevel ? H().puzzleById(puzzleLevel, id) : nullptr;
            if (p) activePuzzles.push_back(p);
            else _unresolvedPieces.emplace_back(activePuzzles.size() + _unresolvedPieces.size(), id);
        }
    }

    stagesData.clear();
    {
        const GroupIndex all(groupAt(*f, "profile::stagesData"));
        const size_t n = all.boundGroups(all.entryInt("I"), cut);
        for (size_t k = 1; k <= n; ++k) {
            const TRCMGroupPtr sg = all.group("STAGE" + std::to_string(k));
            if (!sg) {
                cut = true;
                continue;
            }
            const GroupIndex g(sg);
            auto s = std::make_shared<TStageData>();
            s->nrStageu = g.entryInt("NRSTAGEU");
            s->score = g.entryInt("SCORE");
            const size_t levels = g.boundEntries(g.entryInt("LEVELS"), cut);
            for (size_t j = 1; j <= levels; ++j) {
                const TRCMEntry* e = g.entry("LEVEL" + std::to_string(j));
                if (!e) {
                cut = true;
                continue;
            }
                auto l = std::make_shared<TProfLevelData>();
                l->nrLevelu = rcmEntryInt(*e, 0);
                l->score = rcmEntryInt(*e, 1);
                l->time = rcmEntryInt(*e, 2);
                l->punktyZebrane = rcmEntryInt(*e, 3);
                s->levels.push_back(l);
            }
            stagesData.push_back(s);
        }
    }
    if (cut)
        std::fprintf(stderr, "Profile %s: a list in %sprofile.dat counts entries it does not hold; only the entries present are kept.\n",
                     name.c_str(), dir.c_str());
    return true;
}

void TProfile::QUEST_startNew() {
    nrLevelu = 1;
    nrStageu = 1;
    puzzles = 0;
    score = 0;
    ulozone = 0;
    bylyPsy.clear();
    _unresolvedDogs.clear();
    if (H().storySetup) H().storySetup();
    pies = H().getDog ? H().getDog(nrStageu) : nullptr;
    if (H().prepareCharacter) H().prepareCharacter();
    stagesData.clear();
    lekcjeTutoriala.clear();
    _unresolvedTips.clear();
    if (H().tutorialReset) H().tutorialReset();
    QUEST_newPowerUps();
    QUEST_setProperStagePuzzle();
    QUEST_loadActLevel();
}

void TProfile::restartTutorial() {
    lekcjeTutoriala.clear();
    _unresolvedTips.clear();
    if (H().tutorialReset) H().tutorialReset();
}

void TProfile::QUEST_newPowerUps() {
    for (int n = 1; n <= 6; ++n) {
        auto p = std::make_shared<TPowerUp>();
        p->n = n;
        powerUp[static_cast<size_t>(n - 1)] = p;
    }
    checkPowerUps();
}

void TProfile::QUEST_setProperStagePuzzle() {
    const std::string src = pies && H().dogPuzzleLevel ? H().dogPuzzleLevel(pies) : std::string();
    puzzleLevel = H().loadPuzzleLevel && !src.empty() ? H().loadPuzzleLevel(src, 1) : nullptr;
    activePuzzles.clear();
    _unresolvedPieces.clear();
}

int TProfile::QUEST_loadActLevel() {
    questLevel = H().loadQuestLevel ? H().loadQuestLevel(nrLevelu) : nullptr;
    handLevelToPlay();
    if (H().mainGameResetPowerUps) H().mainGameResetPowerUps();
    setLevelTimeNow(0);
    return 0;
}

std::string TProfile::getNextStage() {
    ulozone = 0;
    nrStageu += 1;
    // The dog just dressed joins the gallery, the last one too: the
    // campaign's ending shows the gallery with it before the last story.
    if (pies && std::find(bylyPsy.begin(), bylyPsy.end(), pies) == bylyPsy.end()) bylyPsy.push_back(pies);
    if (H().galleryNewDog) H().galleryNewDog(pies);
    const int dogs = H().dogCount ? H().dogCount() : 0;
    if (nrStageu > dogs) {
        questLevel = nullptr;
        return "STORY";
    }
    pies = H().getDog ? H().getDog(nrStageu) : nullptr;
    puzzles = 0;
    activePuzzles.clear();
    QUEST_setProperStagePuzzle();
    if (H().prepareCharacter) H().prepareCharacter();
    QUEST_loadActLevel();
    return "GALERIA";
}

int TProfile::canResumeQuest() const {
    return questLevel ? 1 : 0;
}

int TProfile::newStage() const {
    if (!pies || !H().dogStartLevel) return 0;
    const int start = H().dogStartLevel(pies);
    return (nrLevelu == start || nrLevelu - 1 == start || nrLevelu + 1 == start) ? 1 : 0;
}

void TProfile::checkPowerUps() {
    for (int n = 1; n <= 6; ++n) {
        auto& p = powerUp[static_cast<size_t>(n - 1)];
        if (!p) continue;
        p->odkryty = allPowerUps || nrLevelu >= TPowerUp::unlockLevel(n) ? 1 : 0;
    }
}

void TProfile::resetPowerUpsEffects() {
    for (auto& p : powerUp) {
        if (!p) continue;
        p->state = 0;
        p->alpha = 0;
        p->dAlpha = 0;
        p->rot = 0;
    }
}

void TProfile::updatePowerUps() {
    for (int i = 0; i < 6; ++i) {
        auto& p = powerUp[static_cast<size_t>(i)];
        if (p && p->odkryty) p->update(i + 1);
    }
}

void TProfile::addPuzzles(int n) {
    if (n <= 0 || !puzzleLevel || !H().allPieces) return;
    std::vector<TPuzzlePtr> free;
    for (auto& p : H().allPieces(puzzleLevel))
        if (p && std::find(activePuzzles.begin(), activePuzzles.end(), p) == activePuzzles.end())
            free.push_back(p);
    for (int k = 0; k < n && !free.empty(); ++k) {
        const int pick = Rand(0, static_cast<int>(free.size()) - 1);
        auto p = free[static_cast<size_t>(pick)];
        free.erase(free.begin() + pick);
        activePuzzles.push_back(p);
        if (H().markPieceNew) H().markPieceNew(p);
    }
    puzzles = static_cast<int>(activePuzzles.size() + _unresolvedPieces.size());
}

bool TProfile::allPuzzles() const {
    if (!puzzleLevel || !H().allPieces) return false;
    const auto all = H().allPieces(puzzleLevel);
    if (all.empty()) return false;
    for (auto& p : all)
        if (std::find(activePuzzles.begin(), activePuzzles.end(), p) == activePuzzles.end()) return false;
    return true;
}
