// The play screen's baked backdrop and board pictures are baked again on the
// frame after the display says it lost them (the notice of a render-target or
// device reset, or the graphics opened again for a full-screen switch), and
// only then.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PlayFixture.h"
#include "StubBackend.h"
#include "app/PlaySprites.h"
#include "app/TMainGame.h"
#include "data/DataGlobals.h"
#include "gui/TMouse.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "platform/Backend.h"
#include "platform/Services.h"
#include "profiles/TProfile.h"

namespace {

// Makes (empty) textures and reads back pixels, so pictures can be created
// and grabbed into; counts the grabs.
class TTextureBackend final : public TStubBackend {
public:
    int reads = 0;
    const char* name() const override { return "texture"; }
    std::shared_ptr<TTexture> createTexture(const TPixmap& pix, int flags) override {
        auto t = std::make_shared<TTexture>();
        t->texW = t->frameW = pix.width;
        t->texH = t->frameH = pix.height;
        t->flags = flags;
        return t;
    }
    TPixmap readPixels(int, int, int w, int h) override {
        ++reads;
        TPixmap p;
        p.width = w;
        p.height = h;
        p.pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0);
        return p;
    }
    double millisecs() override { return clock; }
    double clock = 1000;
};

class BackdropResetTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto owned = std::make_unique<TTextureBackend>();
        backend = owned.get();
        InstallBackend(std::move(owned));
        savedRoot_ = dataRoot;
        dataRoot = std::string(BRIMBLE_GAME_DIR) + "/";
        frameDelta = 1.0f;
        SeedRnd(7);
        profile = std::make_shared<TProfile>();
        profile->gameMode = "RELAXED";
        game = std::make_shared<TMainGame>();
        game->profile = profile;
        game->setup();
        ASSERT_TRUE(PlayFixtureLevel(*game, "swap_basic.lvl"));
        game->level->setGlobalAlpha(1);
        game->hper = 1;  // the HUD has slid in: the backdrop is baked
    }
    void TearDown() override {
        PlaySprites::clearAll();
        game.reset();
        dataRoot = savedRoot_;
        mouse.clear();
        ResetInput();
        InstallBackend(nullptr);
    }
    TTextureBackend* backend = nullptr;
    std::string savedRoot_;
    std::shared_ptr<TProfile> profile;
    std::shared_ptr<TMainGame> game;
};

TEST_F(BackdropResetTest, BakedOnceThenAgainOnlyAfterEachNotice) {
    game->draw();
    ASSERT_EQ(game->backBakes(), 1);
    const int grabsPerBake = backend->reads;
    ASSERT_GT(grabsPerBake, 0) << "the bake grabbed nothing";
    for (int i = 0; i < 5; ++i) game->draw();
    EXPECT_EQ(game->backBakes(), 1) << "baked again with nothing lost";

    // The renderer's notice (what the SDL backend passes on for
    // SDL_RENDER_TARGETS_RESET and SDL_RENDER_DEVICE_RESET).
    InjectDisplayReset();
    game->draw();
    EXPECT_EQ(game->backBakes(), 2);
    EXPECT_EQ(backend->reads, 2 * grabsPerBake);
    game->draw();
    EXPECT_EQ(game->backBakes(), 2);

    // Two notices before a frame: one bake.
    InjectDisplayReset();
    InjectDisplayReset();
    game->draw();
    game->draw();
    EXPECT_EQ(game->backBakes(), 3);
}

TEST_F(BackdropResetTest, OpeningTheGraphicsAgainCountsAsANotice) {
    // The full-screen switch opens the graphics again.
    ASSERT_TRUE(OpenGraphics(1024, 768, 0, 60));
    game->draw();
    const int bakes = game->backBakes();
    const int before = DisplayResets();
    ASSERT_TRUE(OpenGraphics(1024, 768, 1, 60));
    EXPECT_EQ(DisplayResets(), before + 1);
    game->draw();
    EXPECT_EQ(game->backBakes(), bakes + 1);
}

TEST_F(BackdropResetTest, ANoticeBeforeTheFirstBakeMakesNoSecond) {
    InjectDisplayReset();
    game->draw();
    game->draw();
    EXPECT_EQ(game->backBakes(), 1);
}

}  // namespace
