// The fireworks show: rockets climb on a trail and burst once; the sparks of
// a burst fly out all round, slow down, fall, fade and (some) twinkle; the
// show staggers its bursts, changes colours and keeps bursts off a shelter.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "effects/TFireworkSpark.h"
#include "effects/TFireworks.h"
#include "platform/Backend.h"
#include "platform/Services.h"

namespace {

class FireworksTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallBackend(nullptr);
        frameDelta = 1;
        advance(1000);
    }
    static void advance(double ms) { Backend().advanceClock(ms); }
    // One frame of 1000/60 ms; returns the bursts of the frame.
    static int frame(TFireworks& f) {
        advance(1000.0 / 60);
        const int b = f.update();
        f.draw();
        return b;
    }
    // The sparks of bursts (the trail and the flash have no tail).
    static std::vector<TFireworkSpark*> burstSparks(const TFireworks& f) {
        std::vector<TFireworkSpark*> out;
        for (TParticle* p : f.sparks().items())
            if (auto* s = dynamic_cast<TFireworkSpark*>(p))
                if (!s->dead() && s->tail > 0) out.push_back(s);
        return out;
    }
};

TEST_F(FireworksTest, RocketClimbsOnATrailAndBurstsOnceAtTheTop) {
    TFireworks f;
    f.launch(500, 200, 2, 0, 600);
    ASSERT_EQ(f.rockets().size(), 1u);
    float lastY = 2000;
    int frames = 0, bursts = 0, burstFrame = -1;
    bool trailSeen = false;
    while (frames < 120) {
        const int b = frame(f);
        ++frames;
        bursts += b;
        if (b > 0 && burstFrame < 0) burstFrame = frames;
        if (!f.rockets().empty()) {
            const auto& r = f.rockets().front();
            EXPECT_LT(r.y, lastY) << "a rocket only climbs";
            lastY = r.y;
            if (f.sparks().size() > 0) trailSeen = true;
        }
    }
    EXPECT_TRUE(trailSeen);
    EXPECT_EQ(bursts, 1);
    // 600 ms of climb is 36 frames.
    EXPECT_GE(burstFrame, 36);
    EXPECT_LE(burstFrame, 38);
    EXPECT_TRUE(f.rockets().empty());
    EXPECT_EQ(f.bursts(), 1);
}

TEST_F(FireworksTest, BurstSparksSpreadAllRoundThenSlowFallAndFadeOut) {
    TFireworks f;
    f.launch(500, 300, 0, 0, 100);
    while (frame(f) == 0) {
    }
    std::vector<TFireworkSpark*> s = burstSparks(f);
    ASSERT_GE(s.size(), 36u);
    for (int i = 0; i < 12; ++i) frame(f);
    // Every eighth of the circle has sparks in it, well away from the centre.
    std::set<int> octants;
    for (TFireworkSpark* p : s) {
        const float dx = p->x - 500, dy = p->y - 300;
        if (std::sqrt(dx * dx + dy * dy) < 25) continue;
        octants.insert(static_cast<int>(std::floor((std::atan2(dy, dx) + 3.14159265f) / (3.14159265f / 4))) %
                       8);
    }
    EXPECT_EQ(octants.size(), 8u);
    // The ones thrown upwards: slower after a while, and later falling.
    std::vector<TFireworkSpark*> up;
    std::vector<float> speed0;
    for (TFireworkSpark* p : s)
        if (p->vy < -2) {
            up.push_back(p);
            speed0.push_back(p->speed());
        }
    ASSERT_FALSE(up.empty());
    for (int i = 0; i < 20; ++i) frame(f);
    for (size_t i = 0; i < up.size(); ++i) EXPECT_LT(up[i]->speed(), speed0[i] * 0.6f);
    for (int i = 0; i < 30; ++i) frame(f);
    for (TFireworkSpark* p : up) EXPECT_GT(p->vy, 0) << "gravity wins in the end";
    for (int i = 0; i < 120; ++i) frame(f);
    EXPECT_EQ(f.sparks().size(), 0) << "every spark has faded out";
}

TEST_F(FireworksTest, SteadyBurstsFadeEvenlyGlitteringOnesTwinkleAsTheyFade) {
    TFireworks f;
    bool glitter = false, steady = false;
    for (int i = 0; i < 24 && !(glitter && steady); ++i) {
        f.clear();
        f.launch(400, 250, i, 0, 50);
        while (frame(f) == 0) {
        }
        const auto s = burstSparks(f);
        ASSERT_FALSE(s.empty());
        const bool twinkles = s.front()->twinkle;
        for (TFireworkSpark* p : s) ASSERT_EQ(p->twinkle, twinkles) << "one kind a burst";
        std::vector<float> last;
        for (TFireworkSpark* p : s) last.push_back(p->a);
        int risesSeen = 0;
        for (int k = 0; k < 100; ++k) {
            frame(f);
            for (size_t j = 0; j < s.size(); ++j) {
                if (s[j]->dead()) continue;
                if (s[j]->a > last[j] + 0.1f) ++risesSeen;
                if (!twinkles) {
                    EXPECT_LE(s[j]->a, last[j] + 1e-5f);
                }
                last[j] = s[j]->a;
            }
        }
        if (twinkles) {
            EXPECT_GT(risesSeen, static_cast<int>(s.size())) << "each spark flickers back up now and then";
            glitter = true;
        } else {
            EXPECT_EQ(risesSeen, 0);
            steady = true;
        }
    }
    EXPECT_TRUE(glitter);
    EXPECT_TRUE(steady);
}

TEST_F(FireworksTest, ShowStaggersBurstsInChangingColoursUntilStopped) {
    TFireworks f;
    f.start();
    std::vector<int> burstFrames;
    std::set<int> colours;
    std::set<const void*> seen;
    int perFrameMax = 0;
    for (int i = 1; i <= 6 * 60; ++i) {
        for (const auto& r : f.rockets()) colours.insert(r.colour);
        const int b = frame(f);
        perFrameMax = std::max(perFrameMax, b);
        if (b > 0) burstFrames.push_back(i);
    }
    // Six seconds hold well over six bursts, never more than two at once,
    // spread out: no second without one.
    EXPECT_GE(f.bursts(), 7);
    EXPECT_LE(perFrameMax, 2);
    ASSERT_FALSE(burstFrames.empty());
    EXPECT_LE(burstFrames.front(), 60);
    for (size_t k = 1; k < burstFrames.size(); ++k) EXPECT_LE(burstFrames[k] - burstFrames[k - 1], 60);
    EXPECT_GE(colours.size(), 4u);
    // Stopped: what is in the air still bursts, nothing new goes up.
    f.stop();
    const int before = f.bursts();
    const size_t inAir = f.rockets().size();
    for (int i = 0; i < 3 * 60; ++i) frame(f);
    EXPECT_EQ(f.bursts(), before + static_cast<int>(inAir));
    EXPECT_TRUE(f.rockets().empty());
    f.clear();
    EXPECT_EQ(f.sparks().size(), 0);
    EXPECT_EQ(f.bursts(), 0);
}

TEST_F(FireworksTest, BurstsKeepOffTheShelter) {
    struct Case {
        float x, y;
        bool ok;
    } cases[] = {
        {512, 300, false},  // on the panel
        {150, 300, true},   // left of it
        {880, 200, true},   // right of it
        {512, 100, true},   // above it
        {512, 140, false},  // too close above
        {100, 100, false},  // outside the sky
        {512, 400, false},  // too low for a burst
    };
    for (const Case& c : cases)
        EXPECT_EQ(TFireworks::goodSpot(c.x, c.y, 195, 165, 635, 455), c.ok) << c.x << "," << c.y;
    EXPECT_TRUE(TFireworks::goodSpot(512, 300, 0, 0, 0, 0));  // no shelter

    TFireworks f;
    f.setShelter(195, 165, 635, 455);
    f.start();
    int checked = 0;
    for (int i = 0; i < 8 * 60; ++i) {
        for (const auto& r : f.rockets()) {
            EXPECT_TRUE(TFireworks::goodSpot(r.x1, r.y1, 195, 165, 635, 455)) << r.x1 << "," << r.y1;
            ++checked;
        }
        frame(f);
    }
    EXPECT_GT(checked, 0);
}

}  // namespace
