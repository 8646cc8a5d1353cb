// The headless SDL backend: blend modes checked by reading pixels back, the
// virtual clock, screenshots, image loading flags, fonts and silent channels.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/Backend.h"
#include "platform/Services.h"
#include "platform/sdl/SdlBackend.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

namespace {

namespace fs = std::filesystem;

struct Rgb {
    int r, g, b;
};

class HeadlessTest : public ::testing::Test {
protected:
    fs::path tmp;
    void SetUp() override {
        InstallBackend(MakeHeadlessBackend());
        ASSERT_TRUE(OpenGraphics(64, 64, 0, 60));
        SetVirtualResolution(64, 64);
        SetOrigin(0, 0);
        SetViewport(0, 0, 64, 64);
        SetRotation(0);
        SetScale(1, 1);
        SetAlpha(1);
        SetColor(255, 255, 255);
        SetBlend(MASKBLEND);
        SetMaskColor(0, 0, 0);
        tmp = fs::temp_directory_path() / ("brimble_headless_" + std::to_string(::getpid()));
        fs::create_directories(tmp);
    }
    void TearDown() override {
        InstallBackend(nullptr);
        std::error_code ec;
        fs::remove_all(tmp, ec);
    }
    static Rgb pixel(int x, int y) {
        TPixmap p = GrabPixmap(x, y, 1, 1);
        return {p.pixels[0], p.pixels[1], p.pixels[2]};
    }
    static void background(int r, int g, int b) {
        SetClsColor(r, g, b);
        Cls();
    }
    static TPixmap solid(int w, int h, int r, int g, int b, int a) {
        TPixmap p;
        p.width = w;
        p.height = h;
        for (int i = 0; i < w * h; ++i) p.pixels.insert(p.pixels.end(), {uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a)});
        return p;
    }
};

void expectRgb(Rgb got, Rgb want, const char* what) {
    EXPECT_NEAR(got.r, want.r, 2) << what;
    EXPECT_NEAR(got.g, want.g, 2) << what;
    EXPECT_NEAR(got.b, want.b, 2) << what;
}

TEST_F(HeadlessTest, BlendModesOnRectangles) {
    struct Case {
        int blend;
        float alpha;
        Rgb want;
        const char* what;
    };
    // Destination (100, 100, 100), source colour (200, 50, 0).
    const Case cases[] = {
        {SOLIDBLEND, 0.5f, {200, 50, 0}, "solid ignores alpha"},
        {ALPHABLEND, 0.5f, {150, 75, 50}, "alpha mixes"},
        {LIGHTBLEND, 0.5f, {200, 125, 100}, "light adds source times alpha"},
        {SHADEBLEND, 0.5f, {78, 20, 0}, "shade multiplies"},
        {MASKBLEND, 0.5f, {200, 50, 0}, "mask: alpha at one half passes unblended"},
        {MASKBLEND, 0.4f, {100, 100, 100}, "mask: alpha below one half draws nothing"},
    };
    for (const Case& c : cases) {
        background(100, 100, 100);
        SetBlend(c.blend);
        SetAlpha(c.alpha);
        SetColor(200, 50, 0);
        DrawRect(10, 10, 20, 20);
        expectRgb(pixel(15, 15), c.want, c.what);
        expectRgb(pixel(40, 40), {100, 100, 100}, "outside the rectangle");
    }
}

TEST_F(HeadlessTest, MaskBlendTestsTexelAlphaOnImages) {
    // Left half texel alpha 100 (below one half), right half 200.
    TPixmap pix = solid(8, 4, 250, 10, 10, 100);
    for (int y = 0; y < 4; ++y)
        for (int x = 4; x < 8; ++x) pix.pixels[(y * 8 + x) * 4 + 3] = 200;
    ImagePtr img = CreateImageFromPixmap(pix, IMG_FILTERED);
    ASSERT_TRUE(img);
    background(0, 0, 200);
    SetBlend(MASKBLEND);
    DrawImageRect(img, 0, 0, 32, 16);
    expectRgb(pixel(4, 8), {0, 0, 200}, "clear texel not drawn");
    expectRgb(pixel(28, 8), {250, 10, 10}, "opaque enough texel drawn without blending");

    background(0, 0, 200);
    SetBlend(ALPHABLEND);
    DrawImageRect(img, 0, 0, 32, 16);
    expectRgb(pixel(28, 8), {196, 8, 51}, "the same texel alpha-blended");  // 250*200/255, 200*55/255
}

TEST_F(HeadlessTest, MaskedFlagClearsTheMaskColourAndColourTints) {
    TPixmap pix = solid(4, 4, 255, 255, 255, 255);
    for (int i = 0; i < 2 * 4; ++i) {  // top two rows black
        pix.pixels[i * 4] = pix.pixels[i * 4 + 1] = pix.pixels[i * 4 + 2] = 0;
    }
    ImagePtr masked = CreateImageFromPixmap(pix, IMG_MASKED);
    ImagePtr plain = CreateImageFromPixmap(pix, 0);
    background(0, 120, 0);
    SetBlend(ALPHABLEND);
    SetColor(255, 128, 0);
    DrawImageRect(masked, 0, 0, 16, 16);
    DrawImageRect(plain, 32, 0, 16, 16);
    expectRgb(pixel(4, 2), {0, 120, 0}, "mask colour is transparent");
    expectRgb(pixel(4, 12), {255, 128, 0}, "white texel tinted by the colour");
    expectRgb(pixel(36, 2), {0, 0, 0}, "without the flag black stays");
}

TEST_F(HeadlessTest, RotatedQuadCoversTheRightPixels) {
    background(0, 0, 0);
    SetBlend(SOLIDBLEND);
    SetColor(255, 255, 255);
    SetRotation(90);
    DrawRect(40, 10, 20, 6);  // turns clockwise about (40, 10): covers x 34..40, y 10..30
    SetRotation(0);
    expectRgb(pixel(37, 20), {255, 255, 255}, "inside the turned rectangle");
    expectRgb(pixel(50, 12), {0, 0, 0}, "where it was before turning");
}

TEST_F(HeadlessTest, ViewportClipsDrawingAndClearing) {
    background(0, 0, 0);
    SetViewport(10, 10, 10, 10);
    SetClsColor(9, 9, 9);
    Cls();
    SetBlend(SOLIDBLEND);
    SetColor(255, 0, 0);
    DrawRect(0, 0, 64, 64);
    SetViewport(0, 0, 64, 64);
    expectRgb(pixel(15, 15), {255, 0, 0}, "inside");
    expectRgb(pixel(5, 5), {0, 0, 0}, "outside untouched by both");
}

TEST_F(HeadlessTest, VirtualClockStepsExactlyOneSixtiethPerFrame) {
    const int t0 = Millisecs();
    for (int i = 0; i < 3; ++i) Flip(1);
    EXPECT_EQ(Millisecs() - t0, 50);
    for (int i = 0; i < 57; ++i) Flip(1);
    EXPECT_EQ(Millisecs() - t0, 1000);
}

TEST_F(HeadlessTest, ScreenshotsAreOpaqueAndRepeatable) {
    auto scene = [] {
        SetClsColor(10, 20, 30);
        Cls();
        SetBlend(ALPHABLEND);
        SetAlpha(0.7f);
        SetColor(200, 100, 50);
        SetRotation(33);
        DrawRect(20, 20, 30, 12);
        SetRotation(0);
        DrawText("Hi", 2, 2);
        Flip(1);
    };
    scene();
    const fs::path a = tmp / "a.png", b = tmp / "b.png";
    ASSERT_TRUE(SavePixmapPNG(GrabPixmap(0, 0, 64, 64), a.string()));
    scene();
    ASSERT_TRUE(SavePixmapPNG(GrabPixmap(0, 0, 64, 64), b.string()));
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    const std::string da((std::istreambuf_iterator<char>(fa)), {}), db((std::istreambuf_iterator<char>(fb)), {});
    EXPECT_FALSE(da.empty());
    EXPECT_EQ(da, db);
    TPixmap back = LoadPixmap(a.string());
    ASSERT_EQ(back.width, 64);
    for (size_t i = 3; i < back.pixels.size(); i += 4) ASSERT_EQ(back.pixels[i], 255);
}

TEST_F(HeadlessTest, SkippedFramesDrawNothingUnlessForced) {
    background(0, 0, 0);
    Backend().setDrawing(false);
    SetBlend(SOLIDBLEND);
    SetColor(255, 255, 255);
    DrawRect(0, 0, 64, 64);
    expectRgb(pixel(5, 5), {0, 0, 0}, "skipped");
    ForceDrawing(true);
    DrawRect(0, 0, 64, 64);
    ForceDrawing(false);
    Backend().setDrawing(true);
    expectRgb(pixel(5, 5), {255, 255, 255}, "forced");
}

TEST_F(HeadlessTest, AnimationStripsAndMissingFiles) {
    // An 8 x 4 strip of two 4 x 4 frames: red, then green.
    TPixmap strip = solid(8, 4, 255, 0, 0, 255);
    for (int y = 0; y < 4; ++y)
        for (int x = 4; x < 8; ++x) {
            uint8_t* p = &strip.pixels[(y * 8 + x) * 4];
            p[0] = 0;
            p[1] = 255;
        }
    const std::string path = (tmp / "strip.png").string();
    ASSERT_TRUE(SavePixmapPNG(strip, path));
    ImagePtr anim = LoadAnimImage(path, 4, 4, 0, 2, 0);
    ASSERT_TRUE(anim);
    EXPECT_EQ(ImageWidth(anim), 4);
    EXPECT_EQ(anim->frameCount, 2);
    background(0, 0, 0);
    SetBlend(SOLIDBLEND);
    DrawImage(anim, 0, 0, 1);
    expectRgb(pixel(1, 1), {0, 255, 0}, "frame 1 is the second cell");
    ImagePtr skip = LoadAnimImage(path, 4, 4, 1, 5, 0);  // first frame 1: only one left
    ASSERT_TRUE(skip);
    EXPECT_EQ(skip->frameCount, 1);
    EXPECT_FALSE(LoadAnimImage(path, 16, 16, 0, 1, 0));  // frame larger than the strip
    EXPECT_FALSE(LoadImage((tmp / "missing.png").string()));
    std::ofstream((tmp / "bad.png").string()) << "not a picture";
    EXPECT_FALSE(LoadImage((tmp / "bad.png").string()));
}

TEST_F(HeadlessTest, GrabImageCopiesTheScreen) {
    background(0, 0, 0);
    SetBlend(SOLIDBLEND);
    SetColor(30, 60, 90);
    DrawRect(8, 8, 8, 8);
    ImagePtr img = CreateImage(8, 8, 1, 0);
    ASSERT_TRUE(img);
    GrabImage(img, 8, 8);
    background(0, 0, 0);
    SetColor(255, 255, 255);
    DrawImage(img, 40, 40);
    expectRgb(pixel(44, 44), {30, 60, 90}, "grabbed picture drawn elsewhere");
}

TEST_F(HeadlessTest, GrabImageRectPatchesOnlyItsPartOfThePicture) {
    // A 16 x 16 picture, all red, then patched with a grabbed blue 4 x 4 at
    // (6, 2), and with a green 8 x 8 that hangs over its right edge at (12, 10).
    ImagePtr img = CreateImageFromPixmap(solid(16, 16, 200, 0, 0, 255), 0);
    ASSERT_TRUE(img);
    background(0, 0, 0);
    SetBlend(SOLIDBLEND);
    SetColor(0, 0, 210);
    DrawRect(30, 30, 4, 4);
    SetColor(0, 220, 0);
    DrawRect(40, 40, 8, 8);
    GrabImageRect(img, 30, 30, 4, 4, 6, 2);
    GrabImageRect(img, 40, 40, 8, 8, 12, 10);
    GrabImageRect(img, 40, 40, 8, 8, 20, 20);  // wholly outside: nothing
    GrabImageRect(nullptr, 40, 40, 8, 8, 0, 0);
    background(0, 0, 0);
    SetColor(255, 255, 255);
    DrawImage(img, 0, 0);
    struct Probe {
        int x, y;
        Rgb want;
        const char* what;
    } probes[] = {
        {6, 2, {0, 0, 210}, "patch's first texel"},     {9, 5, {0, 0, 210}, "patch's last texel"},
        {5, 2, {200, 0, 0}, "left of the patch"},       {10, 5, {200, 0, 0}, "right of the patch"},
        {6, 6, {200, 0, 0}, "below the patch"},         {12, 10, {0, 220, 0}, "clipped patch's corner"},
        {15, 15, {0, 220, 0}, "picture's last texel"},  {11, 10, {200, 0, 0}, "left of the clipped patch"},
        {16, 16, {0, 0, 0}, "beyond the picture"},      {0, 0, {200, 0, 0}, "untouched corner"},
    };
    for (const Probe& p : probes) expectRgb(pixel(p.x, p.y), p.want, p.what);
}

TEST_F(HeadlessTest, ImageFontsMeasureByAdvancesAndLineHeight) {
    const char* ttf = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!fs::exists(ttf)) GTEST_SKIP() << "no DejaVu font";
    FontPtr f = LoadImageFont(ttf, 20);
    ASSERT_TRUE(f);
    SetImageFont(f);
    const int wA = TextWidth("A"), wB = TextWidth("B");
    EXPECT_GT(wA, 0);
    EXPECT_EQ(TextWidth("AB"), wA + wB);
    EXPECT_EQ(TextWidth("ABAB"), 2 * (wA + wB));
    EXPECT_GE(TextHeight(), 20);
    background(0, 0, 0);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    DrawText("#", 0, 0);
    TPixmap p = GrabPixmap(0, 0, 20, 24);
    int lit = 0;
    for (size_t i = 0; i < p.pixels.size(); i += 4) lit += p.pixels[i] > 128;
    EXPECT_GT(lit, 10);
    SetImageFont(nullptr);
    EXPECT_FALSE(LoadImageFont("/no/such/font.ttf", 20));
}

// Glyphs share page textures: the glyphs of a text lie apart in one page,
// and each draws exactly as the picture of that glyph drawn on its own.
TEST_F(HeadlessTest, GlyphsShareAPageAndDrawAsTheirOwnPictures) {
    const char* ttf = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!fs::exists(ttf)) GTEST_SKIP() << "no DejaVu font";
    FontPtr f = LoadImageFont(ttf, 20);
    ASSERT_TRUE(f);
    SetImageFont(f);
    const std::string letters = "gAW#j@";
    std::vector<TGlyph> glyphs;
    for (char ch : letters) {
        TGlyph g;
        ASSERT_TRUE(Backend().glyph(f->data.get(), static_cast<uint8_t>(ch), g));
        ASSERT_TRUE(g.tex) << ch;
        glyphs.push_back(g);
    }
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const TGlyph& a = glyphs[i];
        EXPECT_EQ(a.tex, glyphs[0].tex) << letters[i] << " is not on the first page";
        EXPECT_GE(a.x, 1);
        EXPECT_GE(a.y, 1);
        EXPECT_LE(a.x + a.w + 1, a.tex->texW);
        EXPECT_LE(a.y + a.h + 1, a.tex->texH);
        for (size_t j = i + 1; j < glyphs.size(); ++j) {
            const TGlyph& b = glyphs[j];
            // Apart, with the ring of each between them.
            EXPECT_TRUE(a.x + a.w + 1 <= b.x - 1 || b.x + b.w + 1 <= a.x - 1 || a.y + a.h + 1 <= b.y - 1 ||
                        b.y + b.h + 1 <= a.y - 1)
                << letters[i] << " and " << letters[j] << " overlap";
        }
    }
    // Each letter drawn as text against the glyph's own picture, rendered
    // here by SDL_ttf, drawn at the same place.
    TTF_Font* face = TTF_OpenFont(ttf, 20);
    ASSERT_TRUE(face);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    for (size_t i = 0; i < letters.size(); ++i) {
        SDL_Surface* s = TTF_RenderGlyph32_Blended(face, static_cast<uint8_t>(letters[i]), SDL_Color{255, 255, 255, 255});
        ASSERT_TRUE(s);
        SDL_Surface* rgba = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGBA32, 0);
        SDL_FreeSurface(s);
        ASSERT_TRUE(rgba);
        TPixmap pix;
        pix.width = rgba->w;
        pix.height = rgba->h;
        for (int y = 0; y < rgba->h; ++y) {
            const auto* row = static_cast<const uint8_t*>(rgba->pixels) + y * rgba->pitch;
            pix.pixels.insert(pix.pixels.end(), row, row + rgba->w * 4);
        }
        SDL_FreeSurface(rgba);
        ImagePtr own = CreateImageFromPixmap(pix, IMG_FILTERED);
        ASSERT_TRUE(own);
        background(20, 30, 90);
        DrawText(std::string(1, letters[i]), 8, 8);
        const TPixmap text = GrabPixmap(0, 0, 64, 40);
        background(20, 30, 90);
        DrawImage(own, 8.0f + static_cast<float>(glyphs[i].offsetX), 8);
        const TPixmap alone = GrabPixmap(0, 0, 64, 40);
        EXPECT_EQ(text.pixels, alone.pixels) << letters[i];
    }
    TTF_CloseFont(face);
    SetImageFont(nullptr);
}

// A 16-bit mono WAV of the given length.
void writeWav(const std::string& path, int ms) {
    const int rate = 22050, samples = rate * ms / 1000, bytes = samples * 2;
    std::ofstream f(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
    f << "RIFF";
    u32(36 + bytes);
    f << "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    f << "data";
    u32(bytes);
    for (int i = 0; i < samples; ++i) u16(static_cast<uint16_t>((i % 50) * 400));
}

TEST_F(HeadlessTest, SilentChannelsRunOnTheVirtualClock) {
    const std::string wav = (tmp / "beep.wav").string();
    writeWav(wav, 200);
    SoundPtr snd = LoadSound(wav);
    ASSERT_TRUE(snd);
    EXPECT_FALSE(LoadSound((tmp / "none.wav").string()));
    const Channel ch = PlaySound(snd);
    ASSERT_NE(ch, 0);
    EXPECT_TRUE(ChannelPlaying(ch));
    for (int i = 0; i < 6; ++i) Flip(1);  // 100 ms
    EXPECT_TRUE(ChannelPlaying(ch));
    PauseChannel(ch);
    for (int i = 0; i < 30; ++i) Flip(1);  // paused time does not count
    EXPECT_TRUE(ChannelPlaying(ch));
    ResumeChannel(ch);
    for (int i = 0; i < 7; ++i) Flip(1);
    EXPECT_FALSE(ChannelPlaying(ch));

    const Channel cued = CueSound(snd);
    for (int i = 0; i < 30; ++i) Flip(1);
    EXPECT_TRUE(ChannelPlaying(cued));  // waits paused until resumed
    StopChannel(cued);
    EXPECT_FALSE(ChannelPlaying(cued));

    SoundPtr loop = LoadSound(wav, 1);
    const Channel lc = PlaySound(loop);
    SetChannelVolume(lc, 0.3f);
    for (int i = 0; i < 60; ++i) Flip(1);
    EXPECT_TRUE(ChannelPlaying(lc));
    StopChannel(lc);
    EXPECT_FALSE(ChannelPlaying(lc));
    EXPECT_NE(PlaySound(snd), ch);  // handles are not reused
}

TEST_F(HeadlessTest, OggSoundsGetTheirLengthWithoutADevice) {
    std::string ogg;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(std::string(BRIMBLE_GAME_DIR) + "/snd", ec))
        if (e.path().extension() == ".ogg") {
            ogg = e.path().string();
            break;
        }
    if (ogg.empty()) GTEST_SKIP() << "no generated sounds yet";
    SoundPtr snd = LoadSound(ogg);
    ASSERT_TRUE(snd);
    const Channel ch = PlaySound(snd);
    EXPECT_TRUE(ChannelPlaying(ch));
    for (int i = 0; i < 60 * 30 && ChannelPlaying(ch); ++i) Flip(1);
    EXPECT_FALSE(ChannelPlaying(ch));  // every game sound ends within half a minute
    std::ofstream((tmp / "fake.ogg").string()) << "OggS but nothing else";
    EXPECT_FALSE(LoadSound((tmp / "fake.ogg").string()));
}

TEST(SdlKeyMapTest, KeysMapToVirtualKeyCodes) {
    // SDL key codes of the letters and digits are their ASCII codes.
    const struct {
        int sdl, vk;
    } cases[] = {{'a', 65}, {'z', 90}, {'0', 48}, {'9', 57}, {'\r', 13}, {27, 27}, {8, 8}, {' ', 32}};
    for (const auto& c : cases) EXPECT_EQ(VirtualKeyOfSdlKey(c.sdl), c.vk) << c.sdl;
    EXPECT_EQ(VirtualKeyOfSdlKey(0x4000004F), 39);  // SDLK_RIGHT
    EXPECT_EQ(VirtualKeyOfSdlKey(0x4000003A), 112);  // SDLK_F1
    EXPECT_EQ(VirtualKeyOfSdlKey(0x4000003D), 115);  // SDLK_F4
    EXPECT_EQ(VirtualKeyOfSdlKey(0x400000E0), 162);  // SDLK_LCTRL
    EXPECT_EQ(VirtualKeyOfSdlKey(0x400000E2), 164);  // SDLK_LALT
    EXPECT_EQ(VirtualKeyOfSdlKey(0x12345), 0);
}

}  // namespace
