#include "match3/TChipData.h"

#include <algorithm>
#include <cctype>

#include "data/TRCMFile.h"
#include "match3/ChipShadow.h"
#include "match3/TM3Game.h"
#include "match3/TTileData.h"

int TChipData::proper() const { return (id < 100 && puzzleChip == 0) ? 1 : 0; }

const ImagePtr& TChipData::shadowedGfx() {
    if (shadowTried_ || !gfx) return gfxShadowed_;
    // Every kind of the game at once: software renderers copy their whole
    // state at each change of texture, and a board mixes all the kinds.
    std::vector<TChipData*> kinds;
    if (m3Game)
        for (const auto* list : {&m3Game->chipsList, &m3Game->bonusList})
            for (const auto& k : *list) kinds.push_back(k.get());
    if (std::find(kinds.begin(), kinds.end(), this) == kinds.end()) kinds.push_back(this);
    bakeShadows(kinds);
    return gfxShadowed_;
}

void TChipData::bakeShadows(const std::vector<TChipData*>& kinds) {
    struct TBaked {
        TChipData* kind;
        TPixmap pix;
        int flags;
    };
    std::vector<TBaked> baked;
    for (TChipData* k : kinds) {
        if (!k || k->shadowTried_ || !k->gfx) continue;
        k->shadowTried_ = true;
        if (k->gfx->frameCount != 1) continue;
        // The texture's pixels are not kept, so the file is read once more.
        const TPixmap pix = LoadPixmap(m3DataPath(k->url));
        if (pix.width != k->gfx->width || pix.height != k->gfx->height) continue;
        int margin = 0;
        TPixmap b = BakeChipShadow(pix, (k->gfx->flags & IMG_FILTERED) != 0, margin);
        if (b.pixels.empty()) continue;
        baked.push_back(TBaked{k, std::move(b), k->gfx->flags & ~IMG_MASKED});
    }
    // One sheet for each size and set of flags. The baked pictures' outer
    // ring is clear, so a filtered frame never picks up its neighbour's
    // pixels.
    constexpr int kColumns = 8;
    std::vector<bool> placed(baked.size(), false);
    for (size_t i = 0; i < baked.size(); ++i) {
        if (placed[i]) continue;
        std::vector<size_t> group;
        for (size_t j = i; j < baked.size(); ++j)
            if (!placed[j] && baked[j].pix.width == baked[i].pix.width &&
                baked[j].pix.height == baked[i].pix.height && baked[j].flags == baked[i].flags) {
                group.push_back(j);
                placed[j] = true;
            }
        const int w = baked[i].pix.width, h = baked[i].pix.height;
        const int n = static_cast<int>(group.size());
        const int cols = std::min(n, kColumns), rows = (n + cols - 1) / cols;
        TPixmap sheet;
        sheet.width = cols * w;
        sheet.height = rows * h;
        sheet.pixels.assign(static_cast<size_t>(sheet.width) * sheet.height * 4, 0);
        for (int f = 0; f < n; ++f) {
            const TPixmap& src = baked[group[static_cast<size_t>(f)]].pix;
            const int ox = (f % cols) * w, oy = (f / cols) * h;
            for (int y = 0; y < h; ++y)
                std::copy_n(&src.pixels[static_cast<size_t>(y) * w * 4], static_cast<size_t>(w) * 4,
                            &sheet.pixels[(static_cast<size_t>(oy + y) * sheet.width + ox) * 4]);
        }
        ImagePtr img = CreateAnimImageFromPixmap(sheet, w, h, n, baked[i].flags);
        if (!img) continue;
        MidHandleImage(img);
        for (int f = 0; f < n; ++f) {
            TChipData* k = baked[group[static_cast<size_t>(f)]].kind;
            k->gfxShadowed_ = img;
            k->shadowedFrame_ = f;
        }
    }
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
    cd->id = file.getInt(key + "::id");
    cd->frames = file.getInt(key + "::frames");
    cd->frameW = file.getInt(key + "::framesDim", 0);
    cd->frameH = file.getInt(key + "::framesDim", 1);
    cd->url = file.getString(key + "::gfx");
    cd->puzzleChip = file.getInt(key + "::puzzleChip");
    cd->ilosc = file.getInt(key + "::ilosc");
    cd->rgb.r = file.getInt(key + "::rgb", 0);
    cd->rgb.g = file.getInt(key + "::rgb", 1);
    cd->rgb.b = file.getInt(key + "::rgb", 2);
    cd->bonusId = file.getInt(key + "::BonusId");
    cd->moc = file.getInt(key + "::Moc");
    cd->typ = file.getString(key + "::Typ");
    // The file's resource number counts only when it names one.
    const int res = file.getInt(key + "::res");
    if (res >= 0) cd->res = res;
    cd->gfx = loadCatalogueImage(cd->url, cd->frames, cd->frameW, cd->frameH, "NO CHIP FILE : ");
    return cd;
}

std::vector<TChipDataPtr> loadChipCatalogue(const std::string& path, TM3Game* game) {
    std::vector<TChipDataPtr> out;
    auto file = loadRCMFile(m3DataPath(path));
    if (!file) return out;
    const int n = file->getInt("chips::i");
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
