// Per-frame services: the ways out of the game all run the exit hook, and the
// suspension pause stops and resumes the sounds and leaves the render state.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/AppGlobals.h"
#include "app/FrameServices.h"
#include "audio/TGlobalSnd.h"
#include "platform/Backend.h"
#include "platform/Services.h"

namespace {

class ExitPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallBackend(nullptr);
        deltaTime = TDeltaTime::Create(60);
        clearExitSaves();
        resetExitSaved();
        addExitSave("profiles", [] { std::fprintf(stderr, "profiles saved\n"); });
        addExitSave("options", [] { std::fprintf(stderr, "options saved\n"); });
    }
    void TearDown() override {
        clearExitSaves();
        cheatsEnabled = 0;
        deltaTime.reset();
        InstallBackend(nullptr);
    }
};

TEST_F(ExitPathTest, CloseButtonSavesAndEnds) {
    EXPECT_EXIT(
        {
            InjectTerminate();
            frameUpdate(0);
        },
        ::testing::ExitedWithCode(0), "profiles saved\noptions saved");
}

TEST_F(ExitPathTest, AltF4SavesAndEnds) {
    EXPECT_EXIT(
        {
            InjectKey(164, true);
            InjectKey(115, true);
            frameUpdate(0);
        },
        ::testing::ExitedWithCode(0), "profiles saved");
}

TEST_F(ExitPathTest, EscapeEndsOnlyWithCheats) {
    InjectKey(27, true);
    frameUpdate(0);  // no cheats: Escape belongs to the screen
    EXPECT_EQ(KeyHit(27), 1);
    cheatsEnabled = 1;
    EXPECT_EXIT(
        {
            InjectKey(27, false);
            InjectKey(27, true);
            frameUpdate(0);
        },
        ::testing::ExitedWithCode(0), "options saved");
}

// A backend whose window regains the focus after a few polls.
struct RefocusBackend final : TBackend {
    std::unique_ptr<TBackend> inner = MakeNullBackend();
    int pollsLeft = 5;
    int presents = 0;
    bool soundsHeld = false;  // the sound manager was paused while the window had no focus
    const char* name() const override { return "refocus"; }
    bool openGraphics(int w, int h, int d, int hz, int f) override {
        return inner->openGraphics(w, h, d, hz, f);
    }
    int graphicsWidth() const override { return inner->graphicsWidth(); }
    int graphicsHeight() const override { return inner->graphicsHeight(); }
    int desktopWidth() const override { return 1920; }
    int desktopHeight() const override { return 1080; }
    void setClip(int, int, int, int) override {}
    void fill(int, int, int) override {}
    void drawQuad(const TTexture*, const TQuad&, uint8_t, uint8_t, uint8_t, uint8_t, int) override {}
    void drawLine(float, float, float, float, uint8_t, uint8_t, uint8_t, uint8_t, int) override {}
    void present(int) override { ++presents; }
    TPixmap decodeImage(const std::string&) override { return {}; }
    std::shared_ptr<TTexture> createTexture(const TPixmap&, int) override { return nullptr; }
    void updateTexture(TTexture&, int, int, const TPixmap&) override {}
    TPixmap readPixels(int, int, int, int) override { return {}; }
    std::shared_ptr<TImageFontData> loadFont(const std::string&, int, int) override { return nullptr; }
    bool glyph(const TImageFontData* f, uint32_t cp, TGlyph& g) override { return inner->glyph(f, cp, g); }
    int fontHeight(const TImageFontData* f) override { return inner->fontHeight(f); }
    std::shared_ptr<TSoundData> loadSound(const std::string&, int) override { return nullptr; }
    Channel playSound(const TSound&, bool) override { return 0; }
    double millisecs() override { return 0; }
    void pollEvents() override {
        if (globalSnd.paused()) soundsHeld = true;
        if (pollsLeft > 0 && --pollsLeft == 0) InjectSuspended(false);
    }
};

TEST(PauseTest, SuspensionStopsSoundsAndRestoresTheRenderState) {
    auto b = std::make_unique<RefocusBackend>();
    RefocusBackend* rb = b.get();
    InstallBackend(std::move(b));
    SetColor(10, 20, 30);
    SetBlend(LIGHTBLEND);
    SetAlpha(0.25f);
    InjectSuspended(true);
    frameFlip(0);
    EXPECT_FALSE(AppSuspended());
    EXPECT_GE(rb->presents, 2);  // pause frames, then the frame itself
    EXPECT_TRUE(rb->soundsHeld);
    EXPECT_FALSE(globalSnd.paused()) << "sounds resume with the focus";
    int r, g, bl;
    GetColor(r, g, bl);
    EXPECT_EQ(r, 10);
    EXPECT_EQ(GetBlend(), LIGHTBLEND);
    EXPECT_FLOAT_EQ(GetAlpha(), 0.25f);

    rb->soundsHeld = false;
    InjectSuspended(true);
    rb->pollsLeft = 5;
    frameFlip(1);  // non-zero skips the pause
    EXPECT_FALSE(rb->soundsHeld);
    InstallBackend(nullptr);
}

}  // namespace

// Alt+Enter (either Alt) switches full screen from any screen; Enter alone
// belongs to the screen.
TEST_F(ExitPathTest, AltEnterTogglesFullScreen) {
    int toggles = 0;
    fullScreenToggle = [&toggles] { ++toggles; };
    InjectKey(13, true);
    frameUpdate(0);
    EXPECT_EQ(toggles, 0);
    EXPECT_EQ(KeyHit(13), 1);  // still there for the screen
    InjectKey(13, false);
    for (int alt : {164, 165}) {
        InjectKey(alt, true);
        InjectKey(13, true);
        frameUpdate(0);
        InjectKey(13, false);
        InjectKey(alt, false);
    }
    EXPECT_EQ(toggles, 2);
    fullScreenToggle = nullptr;
}
