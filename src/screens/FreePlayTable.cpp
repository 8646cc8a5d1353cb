#include "screens/FreePlayTable.h"

#include <cmath>

#include "data/TRCMFile.h"
#include "platform/Files.h"

bool safeDataPath(const std::string& p) {
    if (p.empty() || p[0] == '/' || p[0] == '\\') return false;
    if (p.size() > 1 && p[1] == ':') return false;  // a drive letter
    size_t start = 0;
    while (start <= p.size()) {
        size_t end = p.find_first_of("/\\", start);
        if (end == std::string::npos) end = p.size();
        if (p.compare(start, end - start, "..") == 0) return false;
        start = end + 1;
    }
    return true;
}

std::vector<TFreePlayEntry> readFreePlayTable(const std::string& path, std::vector<std::string>* problems) {
    std::vector<TFreePlayEntry> out;
    auto report = [&](const std::string& m) {
        if (problems) problems->push_back(path + ": " + m);
    };
    if (FileType(path) != 1) {
        report("missing");
        return out;
    }
    auto f = loadRCMFile(path);
    if (!f->_loaded || !f->hasEntry("levels::i")) {
        report("unreadable or without levels::i");
        return out;
    }
    const float n = f->getFloat("levels::i");
    if (!std::isfinite(n) || n < 0 || n > 10000) {
        report("levels::i is not a sensible count");
        return out;
    }
    const int count = static_cast<int>(n);
    for (int k = 1; k <= count; ++k) {
        const std::string key = "levels::lvl" + std::to_string(k);
        TFreePlayEntry e;
        e.url = f->hasEntry(key + "::ulr") ? f->getString(key + "::ulr")
                                          : (f->hasEntry(key + "::url") ? f->getString(key + "::url") : "");
        const float id = f->hasEntry(key + "::id") ? f->getFloat(key + "::id") : 0.0f;
        if (e.url.empty()) {
            report("entry " + std::to_string(k) + " names no level file");
            continue;
        }
        if (!safeDataPath(e.url)) {
            report("entry " + std::to_string(k) + " leaves the data folder: " + e.url);
            continue;
        }
        if (!std::isfinite(id) || id < 1 || id > 100000) {
            report("entry " + std::to_string(k) + " has no sensible id");
            continue;
        }
        e.id = static_cast<int>(id);
        out.push_back(e);
    }
    return out;
}
