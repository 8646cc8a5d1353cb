#include "match3/TM3FrameData.h"

#include "data/TRCMFile.h"
#include "match3/TTileData.h"

TM3FrameDataPtr loadFrameData(TRCMFile& file, int n, TM3Game* game) {
    auto fd = std::make_shared<TM3FrameData>();
    const std::string key = "frames::frame" + std::to_string(n);
    fd->m3Game = game;
    fd->id = file.getInt(key + "::id");
    fd->frames = file.getInt(key + "::frames");
    fd->typ = file.getString(key + "::typ");
    fd->frameW = file.getInt(key + "::framesDim", 0);
    fd->frameH = file.getInt(key + "::framesDim", 1);
    fd->dx = file.getInt(key + "::dir", 0);
    fd->dy = file.getInt(key + "::dir", 1);
    fd->url = file.getString(key + "::gfx");
    fd->gfx = loadCatalogueImage(fd->url, fd->frames, fd->frameW, fd->frameH, "NO TILE FILE : ");
    return fd;
}

std::vector<TM3FrameDataPtr> loadFrameCatalogue(const std::string& path, TM3Game* game) {
    std::vector<TM3FrameDataPtr> out;
    auto file = loadRCMFile(m3DataPath(path));
    if (!file) return out;
    if (!file->hasEntry("frames::i")) return out;
    const int n = file->getInt("frames::i");
    if (n < 0 || n > 10000) return out;
    for (int i = 0; i <= n; ++i) out.push_back(loadFrameData(*file, i, game));
    return out;
}
