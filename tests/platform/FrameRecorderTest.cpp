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

// A frame that ends with a picture or a fill over the whole window needs
// nothing drawn before it: those calls are dropped (the clip in force kept),
// so the window is painted once a frame however many times it was cleared.
TEST(FrameRecorder, WhatAnOpaqueCoverHidesIsDropped) {
    TFakeTexture t;
    auto rect = [](TDrawCall& c, float x0, float y0, float x1, float y1) {
        c.q.x[0] = c.q.x[3] = x0;
        c.q.x[1] = c.q.x[2] = x1;
        c.q.y[0] = c.q.y[1] = y0;
        c.q.y[2] = c.q.y[3] = y1;
    };
    struct Case {
        const char* what;
        uint8_t kind;
        int blend;
        uint8_t alpha;
        bool opaqueTexture;
        float x0, y0, x1, y1;  // the cover's rectangle (a fill covers the clip)
        int clipX, clipY, clipW, clipH;
        bool dropped;
    } cases[] = {
        {"a fill of the whole window", TDrawCall::FILL, 0, 0, true, 0, 0, 0, 0, 0, 0, 640, 480, true},
        {"a fill under a larger clip", TDrawCall::FILL, 0, 0, true, 0, 0, 0, 0, -5, -5, 700, 500, true},
        {"a fill of the game area only", TDrawCall::FILL, 0, 0, true, 0, 0, 0, 0, 10, 0, 620, 480, false},
        {"a fill one row short", TDrawCall::FILL, 0, 0, true, 0, 0, 0, 0, 0, 0, 640, 479, false},
        {"a solid picture", TDrawCall::QUAD, SOLIDBLEND, 255, false, 0, 0, 640, 480, 0, 0, 640, 480, true},
        {"a solid picture, half faded", TDrawCall::QUAD, SOLIDBLEND, 128, false, 0, 0, 640, 480, 0, 0, 640, 480,
         true},
        {"an opaque picture blended", TDrawCall::QUAD, ALPHABLEND, 255, true, -1, -1, 641, 481, 0, 0, 640, 480,
         true},
        {"an opaque picture faded", TDrawCall::QUAD, ALPHABLEND, 254, true, 0, 0, 640, 480, 0, 0, 640, 480, false},
        {"a picture with clear texels", TDrawCall::QUAD, ALPHABLEND, 255, false, 0, 0, 640, 480, 0, 0, 640, 480,
         false},
        {"an opaque picture masked", TDrawCall::QUAD, MASKBLEND, 128, true, 0, 0, 640, 480, 0, 0, 640, 480, true},
        {"an opaque picture masked below one half", TDrawCall::QUAD, MASKBLEND, 127, true, 0, 0, 640, 480, 0, 0,
         640, 480, false},
        {"an opaque picture added", TDrawCall::QUAD, LIGHTBLEND, 255, true, 0, 0, 640, 480, 0, 0, 640, 480, false},
        {"an opaque picture multiplied", TDrawCall::QUAD, SHADEBLEND, 255, true, 0, 0, 640, 480, 0, 0, 640, 480,
         false},
        {"a picture short of the right edge", TDrawCall::QUAD, SOLIDBLEND, 255, true, 0, 0, 639.5f, 480, 0, 0, 640,
         480, false},
        {"a picture below the top", TDrawCall::QUAD, SOLIDBLEND, 255, true, 0, 0.5f, 640, 480, 0, 0, 640, 480,
         false},
        {"a picture clipped to the game area", TDrawCall::QUAD, SOLIDBLEND, 255, true, 0, 0, 640, 480, 0, 20, 640,
         440, false},
    };
    for (const Case& c : cases) {
        TFrameRecorder rec;
        rec.setTarget(640, 480);
        rec.recordClip(0, 0, 640, 480);
        rec.record(TDrawCall::FILL, 1, 2, 3);
        rec.record(TDrawCall::QUAD, 255, 255, 255, 255, ALPHABLEND).tex = &t;
        rec.recordClip(c.clipX, c.clipY, c.clipW, c.clipH);
        rec.record(TDrawCall::LINE, 1, 2, 3, 4, ALPHABLEND);
        TDrawCall& cover = rec.record(c.kind, 9, 8, 7, c.alpha, c.blend);
        if (c.kind == TDrawCall::QUAD) {
            cover.tex = &t;
            rect(cover, c.x0, c.y0, c.x1, c.y1);
        }
        EXPECT_EQ(rec.dropHidden(c.opaqueTexture), c.dropped) << c.what;
        Runs runs;
        ASSERT_TRUE(rec.finishFrame(runs.run())) << c.what;
        if (!c.dropped) {
            EXPECT_EQ(runs.calls.size(), 6u) << c.what;
            EXPECT_EQ(rec.callsDropped(), 0u) << c.what;
            continue;
        }
        // The clip in force, then the cover.
        ASSERT_EQ(runs.calls.size(), 2u) << c.what;
        EXPECT_EQ(runs.calls[0].kind, TDrawCall::CLIP) << c.what;
        EXPECT_EQ(runs.calls[0].q.x[0], c.clipX) << c.what;
        EXPECT_EQ(runs.calls[0].q.y[1], c.clipH) << c.what;
        EXPECT_EQ(runs.calls[1].kind, c.kind) << c.what;
        EXPECT_EQ(runs.calls[1].r, 9) << c.what;
        EXPECT_EQ(rec.callsDropped(), 4u) << c.what;
    }
}

TEST(FrameRecorder, ACoverKeepsWhatFollowsAndTheStillScreenIsStillSkipped) {
    TFakeTexture t;
    TFrameRecorder rec;
    rec.setTarget(640, 480);
    rec.recordClip(0, 0, 640, 480);
    for (int frame = 0; frame < 3; ++frame) {
        // Cleared three times (letterbox, after the present, before drawing),
        // then a sprite that moves once: one clear and the sprite remain.
        for (int i = 0; i < 3; ++i) {
            rec.record(TDrawCall::FILL, 0, 0, 0);
            rec.dropHidden(true);
        }
        TDrawCall& sprite = rec.record(TDrawCall::QUAD, 255, 255, 255, 255, ALPHABLEND);
        sprite.tex = &t;
        sprite.q.x[1] = frame == 0 ? 64.0f : 65.0f;
        EXPECT_FALSE(rec.dropHidden(true)) << "a sprite covers nothing";
        Runs runs;
        EXPECT_EQ(rec.finishFrame(runs.run()), frame < 2) << frame;
        // The first frame recorded the clip itself; later ones keep using it.
        const std::vector<uint8_t> kinds = frame == 0   ? std::vector<uint8_t>{TDrawCall::CLIP, TDrawCall::FILL,
                                                                                TDrawCall::QUAD}
                                           : frame == 1 ? std::vector<uint8_t>{TDrawCall::FILL, TDrawCall::QUAD}
                                                        : std::vector<uint8_t>{};
        ASSERT_EQ(runs.calls.size(), kinds.size()) << frame;
        for (size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(runs.calls[i].kind, kinds[i]) << frame;
    }
    EXPECT_EQ(rec.callsDropped(), 6u);
    // Without a known target nothing is dropped.
    TFrameRecorder unknown;
    unknown.recordClip(0, 0, 640, 480);
    unknown.record(TDrawCall::FILL, 0, 0, 0);
    unknown.record(TDrawCall::FILL, 0, 0, 0);
    EXPECT_FALSE(unknown.dropHidden(true));
    EXPECT_EQ(unknown.pending().size(), 3u);
}

}  // namespace
