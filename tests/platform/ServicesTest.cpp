// The common half of the platform layer on a recording backend: transform
// about the handle, logical-to-display mapping, input state, random numbers,
// the null backend's font metrics.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "QuadRecordingBackend.h"
#include "platform/Backend.h"
#include "platform/Services.h"

namespace {

class ServicesTest : public ::testing::Test {
protected:
    TQuadRecordingBackend* rec = nullptr;
    void SetUp() override {
        auto b = std::make_unique<TQuadRecordingBackend>();
        rec = b.get();
        InstallBackend(std::move(b));
        OpenGraphics(1024, 768, 0, 60);
        SetVirtualResolution(1024, 768);
        SetRotation(0);
        SetScale(1, 1);
        SetOrigin(0, 0);
        SetAlpha(1);
        SetBlend(MASKBLEND);
        SetMouseOffset(0, 0);
    }
    void TearDown() override { InstallBackend(nullptr); }

    static ImagePtr image(int w, int h) {
        TPixmap pix;
        pix.width = w;
        pix.height = h;
        pix.pixels.assign(static_cast<size_t>(w) * h * 4, 255);
        return CreateImageFromPixmap(pix, 0);
    }
};

TEST_F(ServicesTest, TransformActsAboutTheHandle) {
    ImagePtr img = image(40, 20);
    ASSERT_TRUE(img);
    MidHandleImage(img);
    SetOrigin(5, 7);
    struct Case {
        float rot, sx, sy;
        float x[4], y[4];  // expected corners TL, TR, BR, BL
    };
    // Drawn at (100, 100) + origin (5, 7) = (105, 107); handle (20, 10).
    const Case cases[] = {
        {0, 1, 1, {85, 125, 125, 85}, {97, 97, 117, 117}},
        {0, 2, 1, {65, 145, 145, 65}, {97, 97, 117, 117}},
        // 90 degrees clockwise on screen: u runs down, v runs left.
        {90, 1, 1, {115, 115, 95, 95}, {87, 127, 127, 87}},
        {90, 2, 3, {135, 135, 75, 75}, {67, 147, 147, 67}},
        {180, 1, 1, {125, 85, 85, 125}, {117, 117, 97, 97}},
    };
    for (const Case& c : cases) {
        rec->quads.clear();
        SetRotation(c.rot);
        SetScale(c.sx, c.sy);
        DrawImage(img, 100, 100);
        ASSERT_EQ(rec->quads.size(), 1u);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(rec->quads[0].x[i], c.x[i], 1e-3) << "rot " << c.rot << " corner " << i;
            EXPECT_NEAR(rec->quads[0].y[i], c.y[i], 1e-3) << "rot " << c.rot << " corner " << i;
        }
    }
}

TEST_F(ServicesTest, ViewScalesAndMovesEverythingDrawnAndPutsNearWholePixelsOnThem) {
    ImagePtr img = image(60, 60);
    ASSERT_TRUE(img);
    MidHandleImage(img);
    SetOrigin(2, 4);
    // (x, y) lands at (x * 0.65 + 10.5, y * 0.65 - 3): the image at (100, 100)
    // plus origin spans 72..132 x 74..134 before the view.
    SetViewTransform(0.65f, 10.5f, -3);
    DrawImage(img, 100, 100);
    DrawRect(98, 96, 20, 10);  // with the origin 100..120 x 100..110
    SetViewTransform(1, 0, 0);
    DrawRect(98, 96, 20, 10);
    SetOrigin(0, 0);
    // A cell 39 pixels wide from x 180: 180 * 39 / 60 - 50 is 67, which single
    // precision makes 66.99999; a renderer that truncates would open a seam.
    SetViewTransform(39.0f / 60.0f, -50, 0);
    DrawRect(180, 0, 60, 10);
    SetViewTransform(1, 0, 0);
    ASSERT_EQ(rec->quads.size(), 4u);
    const float want[3][4] = {
        {72 * 0.65f + 10.5f, 132 * 0.65f + 10.5f, 74 * 0.65f - 3, 134 * 0.65f - 3},
        {100 * 0.65f + 10.5f, 120 * 0.65f + 10.5f, 100 * 0.65f - 3, 110 * 0.65f - 3},
        {100, 120, 100, 110},  // no view: as before
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(rec->quads[i].x[0], want[i][0], 1e-3) << i;
        EXPECT_NEAR(rec->quads[i].x[2], want[i][1], 1e-3) << i;
        EXPECT_NEAR(rec->quads[i].y[0], want[i][2], 1e-3) << i;
        EXPECT_NEAR(rec->quads[i].y[2], want[i][3], 1e-3) << i;
    }
    EXPECT_EQ(rec->quads[3].x[0], 67.0f);
    EXPECT_EQ(rec->quads[3].x[2], 106.0f);
}

TEST_F(ServicesTest, RectAndTextUseTheirTopLeftAsPivot) {
    SetRotation(90);
    DrawRect(10, 10, 30, 20);
    ASSERT_EQ(rec->quads.size(), 1u);
    EXPECT_NEAR(rec->quads[0].x[0], 10, 1e-4);
    EXPECT_NEAR(rec->quads[0].y[0], 10, 1e-4);
    EXPECT_NEAR(rec->quads[0].x[1], 10, 1e-4);  // u goes down
    EXPECT_NEAR(rec->quads[0].y[1], 40, 1e-4);
    EXPECT_NEAR(rec->quads[0].x[3], -10, 1e-4);  // v goes left
}

TEST_F(ServicesTest, FramesOfAStripMapToTheirCells) {
    TPixmap pix;
    pix.width = 64;
    pix.height = 32;
    pix.pixels.assign(64 * 32 * 4, 255);
    ImagePtr sheet = CreateImageFromPixmap(pix, 0);
    ASSERT_TRUE(sheet);
    // Re-cut as 16 x 16 frames through the texture the image holds.
    auto* tex = static_cast<TTexture*>(sheet->data.get());
    tex->frameW = tex->frameH = 16;
    tex->cols = 4;
    sheet->width = sheet->height = 16;
    sheet->frameCount = 8;
    DrawImage(sheet, 0, 0, 5);  // second row, second column
    ASSERT_EQ(rec->quads.size(), 1u);
    EXPECT_FLOAT_EQ(rec->quads[0].u[0], 16.0f / 64);
    EXPECT_FLOAT_EQ(rec->quads[0].v[0], 16.0f / 32);
    EXPECT_FLOAT_EQ(rec->quads[0].u[2], 32.0f / 64);
    EXPECT_FLOAT_EQ(rec->quads[0].v[2], 1.0f);
    DrawImage(sheet, 0, 0, 8);  // no such frame: nothing drawn
    DrawImage(sheet, 0, 0, -1);
    EXPECT_EQ(rec->quads.size(), 1u);
}

TEST_F(ServicesTest, LogicalScreenIsScaledToTheDisplay) {
    // The wide-screen case: 1920 x 1080 showing a logical 1365.33 x 768.
    OpenGraphics(1920, 1080, 32, 60);
    const float vw = 1920 / 1.40625f;
    SetVirtualResolution(vw, 768);
    SetOrigin((vw - 1024) * 0.5f, 0);
    DrawRect(0, 0, 1024, 768);
    ASSERT_EQ(rec->quads.size(), 1u);
    EXPECT_NEAR(rec->quads[0].x[0], 240, 1e-2);
    EXPECT_NEAR(rec->quads[0].x[1], 1680, 1e-2);
    EXPECT_NEAR(rec->quads[0].y[2], 1080, 1e-2);
    SetViewportF((vw - 1024) * 0.5f, 0, 1024, 768);
    EXPECT_EQ(rec->clipX, 240);
    EXPECT_EQ(rec->clipW, 1440);
    EXPECT_EQ(rec->clipH, 1080);

    // The pointer: display pixels back to game-area coordinates and back again.
    SetMouseOffset((vw - 1024) * 0.5f, 0);
    InjectMouseMove(240 + 1.40625f * 100, 1.40625f * 50);
    EXPECT_EQ(MouseX(), 100);
    EXPECT_EQ(MouseY(), 50);
    MoveMouse(0, 0);
    EXPECT_EQ(MouseX(), 0);
    EXPECT_EQ(MouseY(), 0);
}

TEST_F(ServicesTest, AlphaAndBlendReachTheBackend) {
    SetBlend(LIGHTBLEND);
    SetAlpha(0.5f);
    DrawRect(0, 0, 1, 1);
    SetBlend(99);  // ignored
    SetAlpha(7);   // clamped when drawn
    DrawRect(0, 0, 1, 1);
    ASSERT_EQ(rec->blends.size(), 2u);
    EXPECT_EQ(rec->blends[0], LIGHTBLEND);
    EXPECT_EQ(rec->alphas[0], 128);
    EXPECT_EQ(rec->blends[1], LIGHTBLEND);
    EXPECT_EQ(rec->alphas[1], 255);
}

TEST_F(ServicesTest, KeyHitCountsPressesAndResets) {
    InjectKey(65, true);
    InjectKey(65, true);  // auto-repeat while held is not a new press
    InjectKey(65, false);
    InjectKey(65, true);
    EXPECT_TRUE(KeyDown(65));
    EXPECT_EQ(KeyHit(65), 2);
    EXPECT_EQ(KeyHit(65), 0);
    EXPECT_EQ(KeyHit(0), 0);
    EXPECT_EQ(KeyHit(999), 0);
    InjectMouseButton(1, true);
    InjectMouseButton(1, false);
    EXPECT_EQ(MouseHit(1), 1);
    EXPECT_FALSE(MouseDown(1));
    FlushKeys();
    EXPECT_FALSE(KeyDown(65));
}

TEST_F(ServicesTest, TypedCharactersQueueInOrder) {
    const std::string text = "aé€";
    for (size_t i = 0; i < text.size();) InjectChar(NextCodepoint(text, i));
    EXPECT_EQ(GetChar(), 'a');
    EXPECT_EQ(GetChar(), 0xE9);
    EXPECT_EQ(GetChar(), 0x20AC);
    EXPECT_EQ(GetChar(), 0);
    for (int i = 0; i < 100; ++i) InjectChar(static_cast<uint32_t>('0' + i % 10));
    int n = 0;
    while (GetChar() != 0) ++n;
    EXPECT_EQ(n, 64);  // a full queue drops the oldest
}

TEST_F(ServicesTest, RandIsInclusiveInEitherOrderAndSeeded) {
    SeedRnd(7);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int v = Rand(5, 2);
        ASSERT_GE(v, 2);
        ASSERT_LE(v, 5);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_EQ(Rand(3, 3), 3);
    for (int i = 0; i < 2000; ++i) {
        const float f = RndF(-1, 1);
        ASSERT_GE(f, -1.0f);
        ASSERT_LT(f, 1.0f);
    }
    SeedRnd(42);
    const int a = Rand(0, 1000000), b = Rand(0, 1000000);
    SeedRnd(42);
    EXPECT_EQ(Rand(0, 1000000), a);
    EXPECT_EQ(Rand(0, 1000000), b);
    const int lo = Rand(-2147483647 - 1, 2147483647);  // the full range does not overflow
    (void)lo;
}

TEST(NullBackendTest, FontMetricsCountCodePointsAndLoadsAreNull) {
    InstallBackend(nullptr);
    SetImageFont(nullptr);
    EXPECT_EQ(TextWidth("abc"), 24);
    EXPECT_EQ(TextWidth("żółw"), 32);  // four code points, seven bytes
    EXPECT_EQ(TextWidth(""), 0);
    EXPECT_EQ(TextHeight(), 16);
    EXPECT_FALSE(LoadImage("gfx/anything.png"));
    EXPECT_FALSE(LoadImageFont("gfx/fonts/any.ttf", 12));
    EXPECT_FALSE(LoadSound("snd/any.ogg"));
    EXPECT_EQ(PlaySound(nullptr), 0);
    EXPECT_FALSE(ChannelPlaying(0));
    ImagePtr blank = CreateImage(30, 20, 2);
    ASSERT_TRUE(blank);  // the shape is kept so layout code can measure it
    EXPECT_EQ(ImageWidth(blank), 30);
    DrawImage(blank, 0, 0);  // no texture: nothing happens
    const int t0 = Millisecs();
    Backend().advanceClock(16.5);
    Backend().advanceClock(16.5);
    EXPECT_EQ(Millisecs() - t0, 33);
}

}  // namespace
