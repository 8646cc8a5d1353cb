#include "match3/TBackGround.h"

#include "data/TRCMFile.h"
#include "match3/TTileData.h"

std::vector<TBackGroundPtr>& backGroundsList() {
    static std::vector<TBackGroundPtr> list;
    return list;
}

std::vector<TBackGroundPtr>& loadBackgrounds(const std::string& path) {
    auto& list = backGroundsList();
    list.clear();
    auto file = loadRCMFile(m3DataPath(path));
    if (!file) return list;
    const int n = file->getInt("backGrounds::i");
    if (n < 0 || n > 10000) return list;
    for (int i = 1; i <= n; ++i) {
        const std::string key = "backGrounds::back" + std::to_string(i);
        auto b = std::make_shared<TBackGround>();
        b->url = file->getString(key + "::url");
        b->id = file->getInt(key + "::id");
        list.push_back(b);
    }
    return list;
}

TBackGroundPtr getBackground(int id) {
    for (auto& b : backGroundsList())
        if (b && b->id == id) return b;
    return nullptr;
}
