// Frame timing and the approach step: TDeltaTime, TRMCounter, the screen
// base's fades and _prepareDelta, on the null backend's hand-driven clock.
#include <gtest/gtest.h>

#include <cmath>

#include "app/AppGlobals.h"
#include "app/FrameServices.h"
#include "app/TDeltaTime.h"
#include "app/TEkran.h"
#include "app/TRMCounter.h"
#include "platform/Backend.h"
#include "platform/Services.h"

namespace {

class FrameTimingTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallBackend(nullptr);
        frameDelta = 1.0f;
    }
    void TearDown() override {
        frameDelta = 1.0f;
        deltaTime.reset();
    }
    static void advance(double ms) { Backend().advanceClock(ms); }
};

TEST_F(FrameTimingTest, ApproachStopsExactlyAtTheTarget) {
    TEkran s;
    s.fade = 0;
    s.dFade = 1;
    int frames = 0;
    while (!s.faded() && frames < 100) {
        s._updateFade();
        ++frames;
    }
    EXPECT_EQ(frames, 20);  // 0.05 a nominal frame
    EXPECT_EQ(s.fade, 1.0f);

    // A step that would overshoot lands on the target, from both sides.
    float v = 0.97f;
    approach(v, 1.0f, 0.05f);
    EXPECT_EQ(v, 1.0f);
    v = 0.02f;
    approach(v, 0.0f, 0.05f);
    EXPECT_EQ(v, 0.0f);
    frameDelta = 6;  // a 100 ms frame
    v = 0;
    approach(v, 0.25f, 0.05f);  // 0.3 in one step, held at 0.25
    EXPECT_EQ(v, 0.25f);
}

TEST_F(FrameTimingTest, AlphaAndStandardData) {
    TEkran s;
    s.alpha = 0;
    s.dAlpha = 1;
    s.aSpeed = 0.25f;
    for (int i = 0; i < 3; ++i) s._updateAlpha();
    EXPECT_FLOAT_EQ(s.alpha, 0.75f);
    s.fade = 0.3f;
    s.dFade = 1;
    s.STANDARD_DATA();
    EXPECT_EQ(s.alpha, 1.0f);
    EXPECT_EQ(s.dAlpha, 1.0f);
    EXPECT_EQ(s.fade, 0.0f);
    EXPECT_EQ(s.dFade, 0.0f);
    EXPECT_EQ(s.id, "Screen Object");
    s.leaveTo("MAIN-MENU");
    EXPECT_EQ(s.wynik, "MAIN-MENU");
    EXPECT_EQ(s.dFade, 1.0f);
}

TEST_F(FrameTimingTest, CurrFpsCountsWholeSecondsOnly) {
    TDeltaTime t;
    t.SetFPS(60);
    std::vector<int> fps;
    for (int frame = 1; frame <= 130; ++frame) {
        advance(1000.0 / 60);
        t.Update();
        fps.push_back(t.CurrFps);
    }
    // First update opens the first second; the frame that ends it is not
    // counted, so a steady 60 Hz reads 60 from the start of the next second.
    EXPECT_EQ(fps[0], 0);
    EXPECT_EQ(fps[59], 0);
    EXPECT_EQ(fps[61], 60);
    EXPECT_EQ(t.FPS(), 60);
    EXPECT_EQ(t.ElapsedTime == 16 || t.ElapsedTime == 17, true);
    EXPECT_NEAR(t.CurrDelta(), 1.0f, 0.05f);
}

TEST_F(FrameTimingTest, TimersJoinAndLeaveTheClassList) {
    const size_t before = TDeltaTime::timers().size();
    auto a = TDeltaTime::Create(30);
    EXPECT_FLOAT_EQ(a->dDelta, 1000.0f / 30);
    {
        TDeltaTime b;
        EXPECT_EQ(TDeltaTime::timers().size(), before + 2);
    }
    EXPECT_EQ(TDeltaTime::timers().size(), before + 1);
    a->Destroy();
    a->Destroy();
    EXPECT_EQ(TDeltaTime::timers().size(), before);
}

TEST_F(FrameTimingTest, CounterSwingsEveryFortyFrames) {
    auto c = createCounter(0, 1, 1);
    std::vector<float> values;
    for (int i = 0; i < 80; ++i) {
        c->update();
        values.push_back(c->v);
    }
    EXPECT_FLOAT_EQ(values[19], 1.0f);  // up in 20 frames
    EXPECT_FLOAT_EQ(values[39], 0.0f);  // back down in 20 more
    EXPECT_FLOAT_EQ(values[59], 1.0f);
    EXPECT_FLOAT_EQ(values[79], 0.0f);
    EXPECT_NEAR(c->perCos, 1.0f, 1e-5);  // cos(90 * 0)

    auto still = createCounter(0, 1, 0);
    for (int i = 0; i < 40; ++i) still->update();
    EXPECT_EQ(still->v, 1.0f);
    EXPECT_EQ(still->dv, 1.0f);
    EXPECT_NEAR(still->perSin, 1.0f, 1e-5);  // sin(90 * 1)

    TRMCounter s;
    s.setSpeed(-0.1f);
    EXPECT_FLOAT_EQ(s.vSpeed, 0.1f);
    s.setValue(0.5f);
    s.setStartValue(0.2f);
    EXPECT_EQ(s.dv, 0.5f);
    EXPECT_EQ(s.v, 0.2f);
}

TEST_F(FrameTimingTest, PrepareDeltaSwallowsALongLoad) {
    deltaTime = TDeltaTime::Create(60);
    timingUpdate();
    advance(3000);  // a three-second preparation
    TEkran s;
    s._prepareDelta();
    advance(1000.0 / 60);
    timingUpdate();
    EXPECT_NEAR(frameDelta, 1.0f, 0.05f);

    advance(3000);  // without it the next frame counts the whole load
    timingUpdate();
    EXPECT_NEAR(frameDelta, 180.0f, 0.1f);
}

}  // namespace
