// One chip kind: a normal colour, a puzzle piece or a bonus chip
// ("data/chips.dat" holds the normal kinds, "data/bonusy.dat" the bonus kinds).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "match3/M3Shared.h"

class TM3Game;
class TRCMFile;

class TChipData {
public:
    int puzzleChip = 0;
    int id = 0;  // 1..100 normal kinds, above 100 bonus kinds
    int frames = 0, frameW = 0, frameH = 0;
    std::string url;
    ImagePtr gfx;
    int score = 50;
    int res = -1;
    float _ax = 0, _ay = 0;
    TRGB rgb;
    int bonusId = 0, moc = 0;
    std::string typ;  // "BOMB", "CROSSFIRE", "HORIZONTAL", "VERTICAL", "SHUFFLE" or ""
    int ilosc = 0;
    int ileRazy = 0;
    TM3Game* m3Game = nullptr;

private:
    ImagePtr gfxShadowed_;
    int shadowedFrame_ = 0;
    bool shadowTried_ = false;
    // Bakes the shadowed pictures of the kinds not tried yet.
    static void bakeShadows(const std::vector<TChipData*>& kinds);

public:

    int proper() const;  // a normal, non-puzzle kind
    // The picture (its first frame) with the chip's drop shadow baked under
    // it, mid-handled; made on first use from the image file, null when the
    // file cannot be read again.
    // The kinds of one game share sheets of such pictures (one a size), so
    // that a board of chips is drawn from one texture: the picture is frame
    // shadowedFrame() of the sheet.
    const ImagePtr& shadowedGfx();
    int shadowedFrame() const { return shadowedFrame_; }
    TRGB getRGB() const; // the kind's colour, each channel jittered by up to 15
};
using TChipDataPtr = std::shared_ptr<TChipData>;

// Entry "chips::chip<n>" of an open catalogue; loads its image.
TChipDataPtr loadChipData(TRCMFile& file, int n, TM3Game* game = nullptr);
// The whole catalogue: "chips::i" = n, then entries 1 .. n.
std::vector<TChipDataPtr> loadChipCatalogue(const std::string& path, TM3Game* game = nullptr);
// Distinct upper-cased types of the bonus kinds, in first-seen order.
std::vector<std::string> buildBonusyByType(const std::vector<TChipDataPtr>& bonusList);
