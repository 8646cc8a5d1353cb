#include "jigsaw/TPuzzleQuota.h"

#include <algorithm>

#include "data/TRCMFile.h"

void TPuzzleQuota::load(const std::string& path) {
    entries.clear();
    auto f = loadRCMFile(path);
    if (!f || !f->_loaded) return;
    const int n = std::min(f->getInt("puzzles::i"), 100000);
    for (int k = 1; k <= n; ++k) entries.push_back({k, f->getInt("puzzles::level" + std::to_string(k))});
}

int TPuzzleQuota::of(int levelNr) const {
    for (const Entry& e : entries)
        if (e.levelNr == levelNr) return e.puzzles;
    return -1;
}
