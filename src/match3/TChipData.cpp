#include "match3/TChipData.h"

#include <algorithm>
#include <cctype>

#include "data/TRCMFile.h"
#include "match3/ChipShadow.h"
#include "match3/TTileData.h"

int TChipData::proper() const { return (id < 100 && puzzleChip == 0) ? 1 : 0; }

const ImagePtr& TChipData::shadowedGfx() {
    if (shadowTried_ || !gfx) return gfxShadowed_;
    shadowTried_ = true;
    if (gfx->frameCount != 1) return gfxShadowed_;
    // The texture's pixels are not kept, so the file is read once more.
    const TPixmap pix = LoadPixmap(m3DataPath(url));
    if (pix.width != gfx->width || pix.height != gfx->height) return gfxShadowed_;
    int margin = 0;
    const TPixmap baked = BakeChipShadow(pix, (gfx->flags & IMG_FILTERED) != 0, margin);
    if (baked.pixels.empty()) return gfxShadowed_;
    gfxShadowed_ = CreateImageFromPixmap(baked, gfx->flags & ~IMG_MASKED);
    MidHandleImage(gfxShadowed_);
    return gfxShadowed_;
}

TRGB TChipData::getRGB() const {
    TRGB out;
    out.r = std::clamp(rgb.r + Rand(-15, 15), 0, 255);
    out.g = std::clamp(rgb.g + Rand(-15, 15), 0, 255);
    out.b = std::clamp(rgb.b + Rand(-15, 15), 0, 255);
    return out;
}

TChipDataPtr loadChipData(TRCMFile& file, int n, TM3Game* game) {
    auto cd = std::make_shared<TChipData>();
    const std::string key = "chips::chip" + std::to_string(n);
    cd->m3Game = game;
    cd->id = static_cast<int>(file.getFloat(key + "::id"));
    cd->frames = static_cast<int>(file.getFloat(key + "::frames"));
    cd->frameW = static_cast<int>(file.getFloat(key + "::framesDim", 0));
    cd->frameH = static_cast<int>(file.getFloat(key + "::framesDim", 1));
    cd->url = file.getString(key + "::gfx");
    cd->puzzleChip = static_cast<int>(file.getFloat(key + "::puzzleChip"));
    cd->ilosc = static_cast<int>(file.getFloat(key + "::ilosc"));
    cd->rgb.r = static_cast<int>(file.getFloat(key + "::rgb", 0));
    cd->rgb.g = static_cast<int>(file.getFloat(key + "::rgb", 1));
    cd->rgb.b = static_cast<int>(file.getFloat(key + "::rgb", 2));
    cd->bonusId = static_cast<int>(file.getFloat(key + "::BonusId"));
    cd->moc = static_cast<int>(file.getFloat(key + "::Moc"));
    cd->typ = file.getString(key + "::Typ");
    // The file's resource number counts only when it names one.
    const int res = static_cast<int>(file.getFloat(key + "::res"));
    if (res >= 0) cd->res = res;
    cd->gfx = loadCatalogueImage(cd->url, cd->frames, cd->frameW, cd->frameH, "NO CHIP FILE : ");
    return cd;
}

std::vector<TChipDataPtr> loadChipCatalogue(const std::string& path, TM3Game* game) {
    std::vector<TChipDataPtr> out;
    auto file = loadRCMFile(m3DataPath(path));
    if (!file) return out;
    const int n = static_cast<int>(file->getFloat("chips::i"));
    if (n < 0 || n > 10000) return out;
    for (int i = 1; i <= n; ++i) out.push_back(loadChipData(*file, i, game));
    return out;
}

std::vector<std::string> buildBonusyByType(const std::vector<TChipDataPtr>& bonusList) {
    std::vector<std::string> out;
    for (auto& cd : bonusList) {
        if (!cd) continue;
        std::string t = cd->typ;
        for (auto& ch : t) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (std::find(out.begin(), out.end(), t) == out.end()) out.push_back(t);
    }
    return out;
}
