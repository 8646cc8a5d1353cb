#include "match3/TTileData.h"

#include <cstdio>

#include "platform/Files.h"
#include "data/DataGlobals.h"
#include "data/TRCMFile.h"

std::string m3DataPath(const std::string& rel) { return dataRoot + rel; }

ImagePtr loadCatalogueImage(const std::string& url, int frames, int frameW, int frameH,
                            const char* notice) {
    const std::string path = m3DataPath(url);
    if (url.empty() || FileType(path) != 1) {
        std::printf("%s%s\n", notice, path.c_str());
        return nullptr;
    }
    ImagePtr img;
    const int flags = IMG_FILTERED | IMG_MIPMAPPED;
    if (frames > 1 && frameW > 0 && frameH > 0)
        img = LoadAnimImage(path, frameW, frameH, 0, frames, flags);
    else
        img = LoadImage(path, flags);
    if (img) MidHandleImage(img);
    return img;
}

TTileDataPtr loadTileData(TRCMFile& file, int n, TM3Game* game) {
    auto td = std::make_shared<TTileData>();
    const std::string key = "tiles::tile" + std::to_string(n);
    td->m3Game = game;
    td->id = file.getInt(key + "::id");
    td->frames = file.getInt(key + "::frames");
    td->frameW = file.getInt(key + "::framesDim", 0);
    td->frameH = file.getInt(key + "::framesDim", 1);
    td->url = file.getString(key + "::gfx");
    td->match = file.getInt(key + "::match");
    td->gfx = loadCatalogueImage(td->url, td->frames, td->frameW, td->frameH, "NO TILE FILE : ");
    return td;
}

std::vector<TTileDataPtr> loadTileCatalogue(const std::string& path, TM3Game* game) {
    std::vector<TTileDataPtr> out;
    auto file = loadRCMFile(m3DataPath(path));
    if (!file) return out;
    if (!file->hasEntry("tiles::i")) return out;
    const int n = file->getInt("tiles::i");
    // A count far beyond any real table is a broken file, not a request to
    // allocate millions of entries.
    if (n < 0 || n > 10000) return out;
    for (int i = 0; i <= n; ++i) out.push_back(loadTileData(*file, i, game));
    return out;
}
