// Particles: lifetimes and delays, the path, list removal, full pools and
// lists, the picture-table message and the particle makers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/DataGlobals.h"
#include "effects/Particles.h"
#include "effects/TNumberAndTextParticle.h"
#include "effects/TNumberParticle.h"
#include "effects/TParticle.h"
#include "effects/TPlateParticle.h"
#include "effects/TScoreParticle.h"
#include "effects/TTextParticle.h"
#include "platform/Backend.h"
#include "platform/Services.h"

namespace {

class ParticleTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallBackend(nullptr);
        advance(1000);  // a clock of 0 would read as "not born yet"
    }
    void TearDown() override { clearParticles(); }
    static void advance(double ms) { Backend().advanceClock(ms); }
};

TParticle* plain(TParticleList& l, int life, int delay) {
    TParticle* p = newParticle(&l);
    if (!p) return nullptr;
    p->lifeTime = life;
    p->startTime = Millisecs() + delay;
    p->startA = 1;
    p->da = 0;
    p->startS = 2;
    p->ds = 1;
    p->startR = 0;
    p->dr = 90;
    p->setCurve(0, 0, 50, 100, 100, 0);
    return p;
}

TEST_F(ParticleTest, DelayedParticleIsFrozenUntilItsStartThenLivesItsWholeLifetime) {
    TParticleList l(16);
    TParticle* p = plain(l, 500, 300);
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 5; ++i) {
        advance(50);
        l.update();
        EXPECT_EQ(p->bornTime, 0);
        EXPECT_EQ(p->lifePer, 0.0f);
        EXPECT_EQ(p->x, 0.0f);
    }
    advance(60);  // past the start
    l.update();
    ASSERT_EQ(l.size(), 1);
    EXPECT_GT(p->bornTime, 0);
    const int born = p->bornTime;
    advance(250);
    l.update();
    EXPECT_NEAR(p->lifePer, 0.5f, 0.01f);
    EXPECT_NEAR(p->a, 0.5f, 0.01f);
    EXPECT_NEAR(p->s, 1.5f, 0.01f);
    EXPECT_NEAR(p->r, 45.0f, 0.5f);
    // The quadratic path at t = 0.5: x = 50, y = 2 * 0.5 * 100 - 0.25 * 200 = 50.
    EXPECT_NEAR(p->x, 50.0f, 0.5f);
    EXPECT_NEAR(p->y, 50.0f, 0.5f);
    advance(250);  // exactly the lifetime: still alive, showing its end values
    l.update();
    ASSERT_EQ(l.size(), 1);
    EXPECT_EQ(p->lifePer, 1.0f);
    EXPECT_EQ(p->a, 0.0f);
    EXPECT_EQ(p->s, 1.0f);
    EXPECT_NEAR(p->x, 100.0f, 0.01f);
    EXPECT_EQ(Millisecs() - born, 500);
    advance(20);  // beyond: removed, progress never above 1
    l.update();
    EXPECT_EQ(l.size(), 0);
    EXPECT_TRUE(l.items().empty());
}

TEST_F(ParticleTest, DestroyRemovesFromItsListAndReturnsThePoolSlot) {
    TParticleList l(16);
    const int usedBefore = particlePool().used();
    TParticle* a = plain(l, 1000, 0);
    TParticle* b = plain(l, 1000, 0);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->list, &l);
    EXPECT_EQ(particlePool().used(), usedBefore + 2);
    a->destroy();
    l.update();
    EXPECT_EQ(l.size(), 1);
    EXPECT_EQ(l.items().front(), b);
    EXPECT_EQ(particlePool().used(), usedBefore + 1);
    l.clear();
    EXPECT_EQ(l.size(), 0);
    EXPECT_EQ(particlePool().used(), usedBefore);
}

TEST_F(ParticleTest, FullListAndFullPoolMakeSmallerBurstsWithoutFailing) {
    TParticleList small(3);
    for (int i = 0; i < 3; ++i) EXPECT_NE(newParticle(&small), nullptr);
    const int used = particlePool().used();
    EXPECT_EQ(newParticle(&small), nullptr);  // the list is full
    EXPECT_EQ(particlePool().used(), used);   // and the particle went back
    firework(100, 100, 0, &small);            // a whole burst into a full list
    EXPECT_EQ(small.size(), 3);
    EXPECT_EQ(particlePool().used(), used);

    // Drain the pool completely through a big list.
    TParticleList big(particlePool().capacity() + 10);
    int made = 0;
    while (newParticle(&big)) ++made;
    EXPECT_EQ(particlePool().used(), particlePool().capacity());
    EXPECT_EQ(newParticle(&big), nullptr);
    sparkle(10, 10, TRGB{255, 0, 0}, 0, &big);  // nothing to make it from: no crash
    EXPECT_EQ(big.size(), made);
    big.clear();
    small.clear();
    EXPECT_NE(newParticle(&big), nullptr);  // slots come back
    big.clear();
}

TEST_F(ParticleTest, GlobalListOperationsUseTheGlobalListWhenGivenNone) {
    clearParticles();
    sparkle(5, 5, TRGB{}, 0);
    ASSERT_EQ(particles().size(), 1);
    updateParticles();
    drawParticles();  // null images on the null backend: draws nothing, no crash
    clearParticles();
    EXPECT_EQ(particles().size(), 0);
}

TEST_F(ParticleTest, SparkleLeavesItsPointOutwardAndFades) {
    TParticleList l(8);
    sparkle(300, 200, TRGB{10, 20, 30}, 100, &l);
    ASSERT_EQ(l.size(), 1);
    TParticle* p = l.items().front();
    EXPECT_EQ(p->x1, 300.0f);
    EXPECT_EQ(p->y1, 200.0f);
    EXPECT_GT(std::hypot(p->x2 - 300, p->y2 - 200), 20.0f);
    EXPECT_EQ(p->rgb.g, 20);
    EXPECT_EQ(p->startTime, Millisecs() + 100);
    EXPECT_GT(p->startA, p->da);
}

TEST_F(ParticleTest, ScoreAndNumberGlyphs) {
    struct Case {
        int value;
        std::vector<int> score, number;
    } cases[] = {
        {0, {10, 0}, {0}},
        {7, {10, 7}, {7}},
        {120, {10, 1, 2, 0}, {1, 2, 0}},
        {-5, {10, 0}, {0}},
        {1234567, {10, 1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 6, 7}},
    };
    TParticleList l(32);
    for (const Case& c : cases) {
        TScoreParticle* s = TScoreParticle::create(c.value, 0, 0, 0, &l);
        TNumberParticle* n = TNumberParticle::create(c.value, 0, 0, 0, &l);
        ASSERT_TRUE(s && n);
        EXPECT_EQ(std::vector<int>(s->tab.begin(), s->tab.begin() + s->count), c.score) << c.value;
        EXPECT_EQ(std::vector<int>(n->tab.begin(), n->tab.begin() + n->count), c.number) << c.value;
        // Without pictures a glyph counts as 34 px at the spacing factor.
        EXPECT_NEAR(s->countWidth(), 34 * s->wspX * c.score.size(), 0.01f);
    }
    TNumberAndTextParticle* t =
        TNumberAndTextParticle::create(9, "a word longer than the buffer can hold", 0, 0, 0, &l);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(std::string(t->text.data()).size(), t->text.size() - 1);
    EXPECT_EQ(t->count, 1);
    // The number is part of the one caption, in the word's style.
    TNumberAndTextParticle* chain = TNumberAndTextParticle::create(12, "chain!", 0, 0, 0, &l);
    ASSERT_NE(chain, nullptr);
    EXPECT_EQ(std::string(chain->text.data()), "12 chain!");
}

TEST_F(ParticleTest, CaptionKindsAndTheTextParticleLife) {
    EXPECT_EQ(captionOfKind(5), TTextParticle::CAPTION_LEVEL_COMPLETE);
    EXPECT_EQ(captionOfKind(6), TTextParticle::CAPTION_NO_MATCH);
    EXPECT_EQ(captionOfKind(8), TTextParticle::CAPTION_TIMES_UP);
    EXPECT_EQ(captionOfKind(-1), -1);
    EXPECT_EQ(captionOfKind(10), -1);

    TParticleList l(64);
    textParticle(99, 512, 384, 0, &l);
    EXPECT_EQ(l.size(), 0);  // an unknown kind makes nothing
    textParticle(8, 512, 384, 0, &l);
    ASSERT_GT(l.size(), 1);  // the word and its stars
    auto* word = dynamic_cast<TTextParticle*>(l.items().front());
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(word->p, TTextParticle::CAPTION_TIMES_UP);
    l.update();
    EXPECT_EQ(word->a, 0.0f);  // pops in from nothing
    advance(word->lifeTime / 2);
    l.update();
    EXPECT_EQ(word->a, 1.0f);  // rests fully visible at its place
    EXPECT_EQ(word->y, 384.0f);
    advance(word->lifeTime / 2);
    l.update();
    EXPECT_LT(word->y, 384.0f);  // drifted up as it faded
    advance(2000);
    l.update();
    EXPECT_EQ(l.size(), 0);
}

// A caption with a fade floor (the win's, over the dusk) fades only to its
// floor, on its halo at full strength, and is gone when its life ends; one
// without fades out completely.
TEST_F(ParticleTest, CaptionFadesOnlyToItsFloorThenGoes) {
    struct Case {
        float floor;
        float faintestAtLeast, faintestBelow;  // the faintest alpha it is shown at
    };
    const Case cases[] = {{0.0f, 0.0f, 0.1f}, {0.75f, 0.75f, 0.8f}, {0.5f, 0.5f, 0.55f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.floor);
        TParticleList l(64);
        textParticle(5, 512, 384, 0, &l);
        auto* word = dynamic_cast<TTextParticle*>(l.items().front());
        ASSERT_NE(word, nullptr);
        word->fadeFloor = c.floor;
        word->shade = 0.8f;
        float faintest = 2, weakestHalo = 2;
        int frames = 0;
        l.update();
        while (!word->dead() && frames < 1000) {
            if (word->lifePer >= 0.75f) {
                faintest = std::min(faintest, word->a);
                weakestHalo = std::min(weakestHalo, word->shadeA);
            }
            advance(1000.0 / 60);
            l.update();
            ++frames;
        }
        EXPECT_TRUE(word->dead());
        EXPECT_GE(faintest, c.faintestAtLeast);
        EXPECT_LT(faintest, c.faintestBelow);
        // The halo keeps its strength under a word that stops at a floor and
        // fades with one that fades out.
        if (c.floor > 0)
            EXPECT_EQ(weakestHalo, 1.0f);
        else
            EXPECT_LT(weakestHalo, 0.1f);
        // Its whole life, not cut short: 2200 ms at 60 frames a second.
        EXPECT_NEAR(frames, 132, 2);
    }
}

TEST_F(ParticleTest, EveryMakerAddsParticlesThatAllDieInTime) {
    TParticleList l(2000);
    for (int type = 0; type <= 4; ++type) destroyParticles(100, 100, TRGB{200, 50, 50}, type, 45, 0, &l);
    plateBreakParticles(200, 200, 60, 60, 1, &l);
    plateBreakParticles(200, 200, 60, 60, 2, &l);
    chainParticles(300, 300, &l);
    scoreParticle(10, 10, 50, 500, &l);
    chainLengthParticle(20, 20, 7, &l);
    dotParticle(1, 1, TRGB{}, &l);
    powerUpSparkle(56, 97, TRGB{255, 0, 0}, 19, &l);
    explosionParticles(400, 400, &l);
    firework(500, 200, 0, &l);
    rowBurst(300, 700, 250, 0, &l);
    const int made = l.size();
    EXPECT_GT(made, 100);
    int plates = 0;
    for (TParticle* p : l.items())
        if (auto* pp = dynamic_cast<TPlateParticle*>(p)) {
            ++plates;
            EXPECT_TRUE(pp->frame == 0 || pp->frame == 1);
        }
    EXPECT_EQ(plates, 8);
    for (int i = 0; i < 200; ++i) {  // about 3.3 s at 60 frames a second
        advance(1000.0 / 60);
        l.update();
        l.draw();
    }
    EXPECT_EQ(l.size(), 0);
}

// The picture table: N + 1 pictures, each missing one reported by path.
TEST_F(ParticleTest, PictureTableReportsEachMissingPicture) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(BRIMBLE_BINARY_DIR) / "test_effects_data";
    fs::create_directories(dir / "data");
    {
        std::ofstream f(dir / "data" / "particles.dat");
        f << "particles {\n\ti = 2\n\tp0 = \"gfx/a.png\"\n\tp1 = \"gfx/missing.png\"\n\tp2 = "
             "\"gfx/c.png\"\n}\n";
    }
    const std::string keepRoot = dataRoot;
    dataRoot = dir.string() + "/";
    std::vector<std::string> notices;
    TParticle::noticeHook = [&](const std::string& t) { notices.push_back(t); };
    TParticle::setUp = false;
    TParticle::setup();
    // The null backend loads nothing, so all three are reported, in order.
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0], "NO PARTICLE IMG: gfx/a.png");
    EXPECT_EQ(notices[1], "NO PARTICLE IMG: gfx/missing.png");
    EXPECT_EQ(notices[2], "NO PARTICLE IMG: gfx/c.png");
    EXPECT_EQ(TParticle::images.size(), 3u);
    TParticle::setup();  // once only
    EXPECT_EQ(notices.size(), 3u);

    // No table at all: no pictures, no crash, particles still live and die.
    fs::remove(dir / "data" / "particles.dat");
    TParticle::setUp = false;
    notices.clear();
    TParticle::setup();
    EXPECT_TRUE(TParticle::images.empty());
    TParticleList l(4);
    sparkle(0, 0, TRGB{}, 0, &l);
    l.update();
    l.draw();
    EXPECT_EQ(l.size(), 1);

    TParticle::noticeHook = nullptr;
    TParticle::setUp = false;
    dataRoot = keepRoot;
}

}  // namespace
