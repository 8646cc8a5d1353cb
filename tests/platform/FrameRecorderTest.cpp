// A window frame is drawn again only when its calls differ from the frame
// on the window, or something they cannot show (a texture's pixels, the
// window itself) has changed; calls run before a mid-frame read are not lost.
#include <gtest/gtest.h>

#include <vector>

#include "platform/FrameRecorder.h"

namespace {

struct TFakeTexture : TTexture {};

// Records a frame of two sprites and a line, the second sprite at x.
void recordFrame(TFrameRecorder& rec, const TTexture* tex, float x, uint8_t alpha = 255) {
    rec.record(TDrawCall::FILL, 0, 0, 0);
    TDrawCall& a = rec.record(TDrawCall::QUAD, 255, 255, 255, 255, 1);
    a.tex = tex;
    a.q.x[0] = 10;
    TDrawCall& b = rec.record(TDrawCall::QUAD, 255, 255, 255, alpha, 1);
    b.tex = tex;
    b.q.x[0] = x;
    TDrawCall& l = rec.record(TDrawCall::LINE, 1, 2, 3, 4, 1);
    l.q.y[1] = 7;
}

struct Runs {
    std::vector<TDrawCall> calls;
    TFrameRecorder::Run run() {
        return [this](const TDrawCall& c) { calls.push_back(c); };
    }
};

TEST(FrameRecorder, AStillScreenIsDrawnOnceAndAnyChangeDrawsAgain) {
    TFakeTexture t1, t2;
    struct Step {
        const char* what;
        const TTexture* tex;
        float x;
        uint8_t alpha;
        bool invalidate;
        bool drawn;
    } steps[] = {
        {"first frame", &t1, 50, 255, false, true},
        {"the same again", &t1, 50, 255, false, false},
        {"and again", &t1, 50, 255, false, false},
        {"a sprite moved", &t1, 51, 255, false, true},
        {"still", &t1, 51, 255, false, false},
        {"a sprite faded", &t1, 51, 254, false, true},
        {"another texture", &t2, 51, 254, false, true},
        {"a texture's pixels changed", &t2, 51, 254, true, true},
        {"still after that", &t2, 51, 254, false, false},
    };
    TFrameRecorder rec;
    for (const Step& s : steps) {
        if (s.invalidate) rec.invalidate();
        recordFrame(rec, s.tex, s.x, s.alpha);
        Runs runs;
        EXPECT_EQ(rec.finishFrame(runs.run()), s.drawn) << s.what;
        EXPECT_EQ(runs.calls.size(), s.drawn ? 4u : 0u) << s.what;
        EXPECT_TRUE(rec.pending().empty()) << s.what;
    }
    EXPECT_EQ(rec.framesDrawn(), 5u);
    EXPECT_EQ(rec.framesSkipped(), 4u);
}

TEST(FrameRecorder, CallsArriveInOrderWithTheirValues) {
    TFakeTexture t;
    TFrameRecorder rec;
    recordFrame(rec, &t, 99, 17);
    Runs runs;
    ASSERT_TRUE(rec.finishFrame(runs.run()));
    ASSERT_EQ(runs.calls.size(), 4u);
    EXPECT_EQ(runs.calls[0].kind, TDrawCall::FILL);
    EXPECT_EQ(runs.calls[1].tex, &t);
    EXPECT_EQ(runs.calls[2].q.x[0], 99);
    EXPECT_EQ(runs.calls[2].a, 17);
    EXPECT_EQ(runs.calls[3].kind, TDrawCall::LINE);
    EXPECT_EQ(runs.calls[3].b, 3);
    EXPECT_EQ(runs.calls[3].q.y[1], 7);
}

TEST(FrameRecorder, FlushRunsWhatCameBeforeAndTheFrameIsDrawn) {
    TFakeTexture t;
    TFrameRecorder rec;
    recordFrame(rec, &t, 50);
    ASSERT_TRUE(rec.finishFrame(Runs().run()));

    // The same frame, but read back half way: the first half runs at the
    // read, the rest at the end, and the frame counts as changed.
    Runs runs;
    rec.record(TDrawCall::FILL, 0, 0, 0);
    rec.record(TDrawCall::QUAD, 255, 255, 255, 255, 1).tex = &t;
    rec.flush(runs.run());
    EXPECT_EQ(runs.calls.size(), 2u);
    EXPECT_TRUE(rec.pending().empty());
    TDrawCall& b = rec.record(TDrawCall::QUAD, 255, 255, 255, 255, 1);
    b.tex = &t;
    b.q.x[0] = 50;
    rec.record(TDrawCall::LINE, 1, 2, 3, 4, 1).q.y[1] = 7;
    EXPECT_TRUE(rec.finishFrame(runs.run()));
    EXPECT_EQ(runs.calls.size(), 4u);

    // Flushing nothing changes nothing.
    recordFrame(rec, &t, 50);
    ASSERT_TRUE(rec.finishFrame(Runs().run()));  // the previous frame held only its second half
    rec.flush(Runs().run());
    recordFrame(rec, &t, 50);
    EXPECT_FALSE(rec.finishFrame(Runs().run()));
}

TEST(FrameRecorder, ResetDrawsTheNextFrameAndAnEmptyFrameIsStillAFrame) {
    TFakeTexture t;
    TFrameRecorder rec;
    recordFrame(rec, &t, 50);
    rec.finishFrame(Runs().run());
    rec.reset();
    recordFrame(rec, &t, 50);
    EXPECT_TRUE(rec.finishFrame(Runs().run()));
    EXPECT_TRUE(rec.finishFrame(Runs().run())) << "nothing drawn differs from the sprites on the window";
    EXPECT_FALSE(rec.finishFrame(Runs().run()));
}

}  // namespace
