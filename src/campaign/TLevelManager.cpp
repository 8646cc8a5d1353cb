#include "campaign/TLevelManager.h"

#include <algorithm>
#include <cstdio>

#include "data/DataGlobals.h"
#include "data/TRCMFile.h"
#include "data/TTxtFile.h"
#include "platform/Files.h"

namespace {

// The count key of a table, kept within 0..kMaxEntries (with a line on
// stderr when a damaged count had to be cut).
int entryCount(TRCMFile& f, const std::string& key, const char* file) {
    const int n = f.getInt(key);
    if (n < 0) {
        std::fprintf(stderr, "%s: %s is %d; the table is read as empty.\n", file, key.c_str(), n);
        return 0;
    }
    if (n > TLevelManager::kMaxEntries) {
        std::fprintf(stderr, "%s: %s is %d; only the first %d entries are read.\n", file, key.c_str(), n,
                     TLevelManager::kMaxEntries);
        return TLevelManager::kMaxEntries;
    }
    return n;
}

TRCMFilePtr loadTable(const char* file) {
    auto f = loadRCMFile(dataRoot + file);
    if (!f->_loaded) std::fprintf(stderr, "%s cannot be read: its table is empty.\n", file);
    return f;
}

// Reads a level table; the path key of entry k is levels::lvl<k>::<pathKey>.
std::vector<TLevelDataPtr> readLevels(const char* file, const char* pathKey) {
    std::vector<TLevelDataPtr> out;
    auto f = loadTable(file);
    const int n = entryCount(*f, "levels::i", file);
    out.reserve(static_cast<size_t>(n));
    for (int k = 1; k <= n; ++k) {
        const std::string g = "levels::lvl" + std::to_string(k) + "::";
        auto d = std::make_shared<TLevelData>();
        d->url = dataRoot + f->getString(g + pathKey);
        d->id = f->getInt(g + "id");
        out.push_back(d);
    }
    return out;
}

template <class T>
std::shared_ptr<T> firstWith(const std::vector<std::shared_ptr<T>>& list, int n, int T::*field) {
    for (const auto& e : list)
        if (e && (*e).*field == n) return e;
    return nullptr;
}

// Whole number at the start of a line ("12", " 7\r"); anything else is 0.
int lineNumber(const std::string& line) {
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    bool neg = false;
    if (i < line.size() && (line[i] == '-' || line[i] == '+')) neg = line[i++] == '-';
    long long v = 0;
    bool any = false;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
        any = true;
        if (v < 1000000000LL) v = v * 10 + (line[i] - '0');
        ++i;
    }
    if (!any) return 0;
    if (v > 1000000000LL) v = 1000000000LL;
    return static_cast<int>(neg ? -v : v);
}

}  // namespace

int TLevelManager::_setupQuestLevels() {
    questLevels = readLevels(kQuestLevels, "url");
    return 0;
}

int TLevelManager::_setupFreePlayLevels() {
    // The free-play table spells its path key "ulr".
    freePlayLevels = readLevels(kFreeLevels, "ulr");
    return 0;
}

int TLevelManager::_setupPuzzleList() {
    std::vector<TPuzzleDataPtr> out;
    if (FileType(dataPath(dataRoot + kPuzzleList)) != 1)
        std::fprintf(stderr, "%s cannot be read: its table is empty.\n", kPuzzleList);
    auto t = loadText(dataRoot + kPuzzleList);
    const int n = std::min(t ? t->lines() : 0, kMaxEntries);
    for (int k = 1; k <= n; ++k) {
        auto d = std::make_shared<TPuzzleData>();
        d->levelNr = k;
        d->puzzles = lineNumber(t->txt[static_cast<size_t>(k - 1)]);
        out.push_back(d);
    }
    puzzleList = std::move(out);
    return 0;
}

int TLevelManager::_setupPuzzleList2() {
    std::vector<TPuzzleDataPtr> out;
    auto f = loadTable(kPuzzleList2);
    const int n = entryCount(*f, "puzzles::i", kPuzzleList2);
    for (int k = 1; k <= n; ++k) {
        auto d = std::make_shared<TPuzzleData>();
        d->levelNr = k;
        d->puzzles = f->getInt("puzzles::level" + std::to_string(k));
        out.push_back(d);
    }
    puzzleList2 = std::move(out);
    return 0;
}

int TLevelManager::setup() {
    _setupQuestLevels();
    _setupFreePlayLevels();
    _setupPuzzleList();
    _setupPuzzleList2();
    _setUp = true;
    return 0;
}

TPuzzleDataPtr TLevelManager::getPuzzleData(int n) const {
    return firstWith(puzzleList, n, &TPuzzleData::levelNr);
}

TPuzzleDataPtr TLevelManager::getPuzzleData2(int n) const {
    return firstWith(puzzleList2, n, &TPuzzleData::levelNr);
}

TLevelDataPtr TLevelManager::getQuestLevelData(int n) const {
    return firstWith(questLevels, n, &TLevelData::id);
}

TLevelManager& levelManager() {
    static TLevelManager m;
    return m;
}
