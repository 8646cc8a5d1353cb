// A chip's picture with its shadow baked under it, drawn over any background,
// must look like the shadow drawn and then the chip over it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include <algorithm>
#include <string>
#include <vector>

#include "data/DataGlobals.h"
#include "match3/ChipShadow.h"
#include "match3/TChipData.h"
#include "match3/TM3Game.h"
#include "match3/TTileData.h"
#include "platform/Files.h"
#include "platform/sdl/SdlBackend.h"

namespace {

// A 20 x 16 chip: an ellipse of changing colours with a soft edge, so that
// the partly covered texels, where the two ways could differ, are many.
TPixmap chipFixture() {
    TPixmap p;
    p.width = 20;
    p.height = 16;
    p.pixels.resize(20 * 16 * 4);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const float dx = (x + 0.5f - 10) / 9, dy = (y + 0.5f - 8) / 7;
            const float d = std::sqrt(dx * dx + dy * dy);
            const float cover = std::fmin(1.0f, std::fmax(0.0f, (1 - d) * 4));
            uint8_t* o = &p.pixels[static_cast<size_t>(y * 20 + x) * 4];
            o[0] = static_cast<uint8_t>(40 + x * 10);
            o[1] = static_cast<uint8_t>(200 - y * 8);
            o[2] = static_cast<uint8_t>((x * y * 7) % 256);
            o[3] = static_cast<uint8_t>(std::lround(cover * 255));
        }
    return p;
}

// Straight-alpha "over" of colour c at alpha a onto an opaque background.
float over(float bg, float c, float a) {
    return c * a + bg * (1 - a);
}

TEST(ChipShadow, TheBakedPictureLooksLikeTheShadowAndTheChipDrawnInTurn) {
    const TPixmap chip = chipFixture();
    int margin = 0;
    const TPixmap baked = BakeChipShadow(chip, false, margin);
    // Room for the grown shadow (half of a tenth of 20, rounded up) and its offset.
    ASSERT_GE(margin, 1 + 2);
    ASSERT_EQ(baked.width, chip.width + 2 * margin);
    ASSERT_EQ(baked.height, chip.height + 2 * margin);
    const float cx = chip.width / 2.0f, cy = chip.height / 2.0f;
    const float backgrounds[][3] = {{0, 0, 0}, {255, 255, 255}, {90, 160, 30}};
    int shadowOnly = 0, both = 0;
    for (const auto& bg : backgrounds)
        for (int y = 0; y < baked.height; ++y)
            for (int x = 0; x < baked.width; ++x) {
                // The shadow as the renderer draws it: the picture scaled by
                // 1.1 about its middle, moved 2 px right and down, nearest
                // texel, black at 0.4.
                const float sx = (x + 0.5f - margin - 2 - cx) / 1.1f + cx;
                const float sy = (y + 0.5f - margin - 2 - cy) / 1.1f + cy;
                float sa = 0;
                if (sx >= 0 && sy >= 0 && sx < chip.width && sy < chip.height)
                    sa = 0.4f * chip.pixels[static_cast<size_t>(static_cast<int>(sy) * chip.width +
                                                                static_cast<int>(sx)) * 4 + 3] / 255.0f;
                const int tx = x - margin, ty = y - margin;
                const uint8_t* c = nullptr;
                if (tx >= 0 && ty >= 0 && tx < chip.width && ty < chip.height)
                    c = &chip.pixels[static_cast<size_t>(ty * chip.width + tx) * 4];
                const float ca = c ? c[3] / 255.0f : 0;
                if (sa > 0 && ca == 0) ++shadowOnly;
                if (sa > 0 && ca > 0 && ca < 1) ++both;
                const uint8_t* b = &baked.pixels[static_cast<size_t>(y * baked.width + x) * 4];
                for (int k = 0; k < 3; ++k) {
                    const float twice = over(over(bg[k], 0, sa), c ? c[k] : 0, ca);
                    const float once = over(bg[k], b[k], b[3] / 255.0f);
                    ASSERT_NEAR(once, twice, 1.5f) << "pixel " << x << "," << y << " channel " << k;
                }
            }
    // The fixture exercises the shadow alone and the chip's soft edge over it.
    EXPECT_GT(shadowOnly, 3 * 20);
    EXPECT_GT(both, 3 * 20);
}

TEST(ChipShadow, FilteredShadowKeepsTheChipAndFallsBelowAndRight) {
    const TPixmap chip = chipFixture();
    int margin = 0;
    const TPixmap baked = BakeChipShadow(chip, true, margin);
    ASSERT_FALSE(baked.pixels.empty());
    auto at = [&](int x, int y) { return &baked.pixels[static_cast<size_t>(y * baked.width + x) * 4]; };
    // Texels the chip covers whole stay exactly the chip's.
    for (int y = 0; y < chip.height; ++y)
        for (int x = 0; x < chip.width; ++x) {
            const uint8_t* c = &chip.pixels[static_cast<size_t>(y * chip.width + x) * 4];
            if (c[3] != 255) continue;
            const uint8_t* b = at(x + margin, y + margin);
            for (int k = 0; k < 4; ++k) ASSERT_EQ(b[k], c[k]) << x << "," << y;
        }
    // Below the chip's middle, just past its edge, only the shadow of its
    // nearly solid part: black at nearly 0.4.
    const uint8_t* below = at(margin + 10, margin + chip.height - 1);
    EXPECT_GE(below[3], 85);
    EXPECT_LE(below[3], 102);
    EXPECT_EQ(below[0] + below[1] + below[2], 0);
    // Above the middle the shadow reaches less far out than below it.
    int up = 0, down = 0;
    for (int y = 0; y < margin + 8; ++y) up += at(margin + 10, y)[3] > 0;
    for (int y = margin + 8; y < baked.height; ++y) down += at(margin + 10, y)[3] > 0;
    EXPECT_LT(up + 2, down);
    // The corners stay clear.
    EXPECT_EQ(at(0, 0)[3], 0);
    EXPECT_EQ(at(baked.width - 1, baked.height - 1)[3], 0);
}

TEST(ChipShadow, NoPictureGivesNoPicture) {
    int margin = 7;
    EXPECT_TRUE(BakeChipShadow(TPixmap{}, true, margin).pixels.empty());
    EXPECT_EQ(margin, 0);
    TPixmap broken;
    broken.width = 4;
    broken.height = 4;
    broken.pixels.resize(10);
    EXPECT_TRUE(BakeChipShadow(broken, false, margin).pixels.empty());
}



// The game's kinds share sheets of baked pictures: drawn from its frame of
// the sheet, every kind looks exactly as its own baked picture drawn alone.
TEST(ChipShadowSheet, EveryKindDrawsFromItsFrameOfOneSheet) {
    const std::string root = std::string(BRIMBLE_GAME_DIR) + "/";
    if (FileType(root + "data/chips.dat") != 1) GTEST_SKIP() << "game/data tables not generated yet";
    InstallBackend(MakeHeadlessBackend());
    ASSERT_TRUE(OpenGraphics(200, 120, 0, 60));
    SetVirtualResolution(200, 120);
    const std::string saved = dataRoot;
    dataRoot = root;
    {
        TM3Game game;
        game.loadChips("data/chips.dat");
        game.loadBonusChips("data/bonusy.dat");
        std::vector<TChipData*> kinds;
        for (const auto* list : {&game.chipsList, &game.bonusList})
            for (const auto& k : *list)
                if (k->gfx && k->gfx->frameCount == 1) kinds.push_back(k.get());
        ASSERT_GE(kinds.size(), 6u);
        // Asking one kind bakes them all.
        ASSERT_TRUE(kinds.back()->shadowedGfx());
        std::vector<std::pair<const TImage*, int>> seen;
        for (TChipData* k : kinds) {
            const ImagePtr& sheet = k->shadowedGfx();
            ASSERT_TRUE(sheet) << k->url;
            const std::pair<const TImage*, int> at{sheet.get(), k->shadowedFrame()};
            EXPECT_EQ(std::count(seen.begin(), seen.end(), at), 0) << k->url << " shares a frame";
            seen.push_back(at);
            EXPECT_LT(k->shadowedFrame(), sheet->frameCount) << k->url;

            int margin = 0;
            const TPixmap baked =
                BakeChipShadow(LoadPixmap(m3DataPath(k->url)), (k->gfx->flags & IMG_FILTERED) != 0, margin);
            ImagePtr alone = CreateImageFromPixmap(baked, k->gfx->flags & ~IMG_MASKED);
            ASSERT_TRUE(alone);
            MidHandleImage(alone);
            EXPECT_EQ(sheet->width, alone->width) << k->url;
            EXPECT_EQ(sheet->height, alone->height) << k->url;
            SetBlend(ALPHABLEND);
            SetColor(255, 255, 255);
            SetAlpha(1);
            SetScale(1, 1);
            SetClsColor(90, 140, 60);
            Cls();
            DrawImage(sheet, 50, 60, k->shadowedFrame());
            DrawImage(alone, 150, 60);
            const int half = sheet->width / 2 + 1;
            const TPixmap a = GrabPixmap(50 - half, 10, 2 * half, 100), b = GrabPixmap(150 - half, 10, 2 * half, 100);
            EXPECT_EQ(a.pixels, b.pixels) << k->url << " drawn from the sheet differs from its own picture";
        }
        // The kinds of one picture size share one sheet.
        EXPECT_EQ(kinds.front()->shadowedGfx(), kinds[1]->shadowedGfx());
    }
    dataRoot = saved;
    InstallBackend(nullptr);
}

}  // namespace
