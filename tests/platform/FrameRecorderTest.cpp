// A window frame is drawn again only when its calls differ from the frame
// on the window, or something they cannot show (a texture's pixels, the
// window itself) has changed; calls run before a mid-frame read are not lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
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


// A small software target for the partial repaints: fills and axis-aligned
// quads (a pixel is covered when its centre is inside) blended by alpha, so
// the order of the calls shows; lines cover their bounds. It keeps its
// pixels between frames, as a window that keeps its last frame does.
struct TCanvas {
    int w, h;
    std::vector<int> px;
    int cx = 0, cy = 0, cw = 0, ch = 0;
    TCanvas(int w_, int h_) : w(w_), h(h_), px(static_cast<size_t>(w_) * h_, -1), cw(w_), ch(h_) {}
    void paint(float x0, float y0, float x1, float y1, int colour, int alpha) {
        for (int y = std::max(0, cy); y < std::min(h, cy + ch); ++y)
            for (int x = std::max(0, cx); x < std::min(w, cx + cw); ++x) {
                const float fx = x + 0.5f, fy = y + 0.5f;
                if (fx < x0 || fx >= x1 || fy < y0 || fy >= y1) continue;
                int& p = px[static_cast<size_t>(y) * w + x];
                p = (p * (255 - alpha) + colour * alpha) / 255;
            }
    }
    void run(const TDrawCall& c) {
        float x0 = std::min({c.q.x[0], c.q.x[1], c.q.x[2], c.q.x[3]});
        float x1 = std::max({c.q.x[0], c.q.x[1], c.q.x[2], c.q.x[3]});
        float y0 = std::min({c.q.y[0], c.q.y[1], c.q.y[2], c.q.y[3]});
        float y1 = std::max({c.q.y[0], c.q.y[1], c.q.y[2], c.q.y[3]});
        switch (c.kind) {
            case TDrawCall::CLIP:
                cx = static_cast<int>(c.q.x[0]);
                cy = static_cast<int>(c.q.y[0]);
                cw = static_cast<int>(c.q.x[1]);
                ch = static_cast<int>(c.q.y[1]);
                break;
            case TDrawCall::FILL: paint(-1e9f, -1e9f, 1e9f, 1e9f, c.r, 255); break;
            case TDrawCall::QUAD: paint(x0, y0, x1, y1, c.r, c.a); break;
            case TDrawCall::LINE:
                x0 = std::min(c.q.x[0], c.q.x[1]);
                x1 = std::max(c.q.x[0], c.q.x[1]);
                y0 = std::min(c.q.y[0], c.q.y[1]);
                y1 = std::max(c.q.y[0], c.q.y[1]);
                paint(x0 - 0.5f, y0 - 0.5f, x1 + 0.5f, y1 + 0.5f, c.r, c.a);
                break;
        }
    }
    TFrameRecorder::Run runner() {
        return [this](const TDrawCall& c) { run(c); };
    }
};

struct TSprite {
    float x, y, w, h;
    uint8_t colour, alpha;
    bool line;
};

void recordSprite(TFrameRecorder& rec, const TTexture* tex, const TSprite& s) {
    if (s.line) {
        TDrawCall& l = rec.record(TDrawCall::LINE, s.colour, 0, 0, s.alpha, ALPHABLEND);
        l.q.x[0] = s.x;
        l.q.y[0] = s.y;
        l.q.x[1] = s.x + s.w;
        l.q.y[1] = s.y + s.h;
        return;
    }
    TDrawCall& c = rec.record(TDrawCall::QUAD, s.colour, 0, 0, s.alpha, ALPHABLEND);
    c.tex = tex;
    // Corners as a rotated picture would give them: not in min/max order.
    c.q.x[0] = c.q.x[3] = s.x + s.w;
    c.q.x[1] = c.q.x[2] = s.x;
    c.q.y[0] = c.q.y[1] = s.y;
    c.q.y[2] = c.q.y[3] = s.y + s.h;
}

// A frame: a fill, the first sprites, a narrower clip (which may miss a
// changed sprite's area altogether), the rest, and the window's clip back.
void recordScene(TFrameRecorder& rec, const TTexture* tex, const std::vector<TSprite>& sprites, int clipX) {
    rec.recordClip(0, 0, 96, 64);
    rec.record(TDrawCall::FILL, 40, 0, 0);
    rec.dropHidden(true);
    for (size_t i = 0; i < sprites.size(); ++i) {
        if (i == sprites.size() / 2) rec.recordClip(clipX, 8, 30, 40);
        recordSprite(rec, tex, sprites[i]);
    }
    rec.recordClip(0, 0, 96, 64);
}

// Frames repainted only where they changed look exactly like frames painted
// whole: many random scenes in which a few sprites move, fade, come or go.
TEST(FrameRecorder, APartialRepaintGivesThePixelsOfAWholeOne) {
    TFakeTexture t;
    std::mt19937 rng(7);
    auto uni = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto sprite = [&]() {
        return TSprite{uni(-8, 90), uni(-8, 60), uni(1, 12), uni(1, 12), static_cast<uint8_t>(pick(256)),
                       static_cast<uint8_t>(pick(256)), pick(5) == 0};
    };
    TFrameRecorder rec;
    rec.setTarget(96, 64);
    rec.setPartial(true);
    TCanvas window(96, 64);
    uint64_t smallRepaints = 0;
    for (int scene = 0; scene < 40; ++scene) {
        std::vector<TSprite> sprites(static_cast<size_t>(6 + pick(10)));
        for (auto& s : sprites) s = sprite();
        const int clipX = pick(70);
        for (int frame = 0; frame < 12; ++frame) {
            if (frame > 0) {
                // One or two changes, next to each other in the call order.
                TSprite& s = sprites[static_cast<size_t>(pick(static_cast<int>(sprites.size())))];
                switch (pick(5)) {
                    case 0: s.x += uni(-3, 3); break;
                    case 1: s.alpha = static_cast<uint8_t>(pick(256)); break;
                    case 2: sprites.insert(sprites.begin() + pick(static_cast<int>(sprites.size())), sprite()); break;
                    case 3:
                        if (sprites.size() > 4) sprites.erase(sprites.begin() + pick(static_cast<int>(sprites.size())));
                        break;
                    default:
                        s.y += uni(-2, 2);
                        s.colour = static_cast<uint8_t>(pick(256));
                }
            }
            recordScene(rec, &t, sprites, clipX);
            const uint64_t partialBefore = rec.framesPartial();
            rec.finishFrame(window.runner());
            if (rec.framesPartial() > partialBefore) {
                int total = 0;
                for (const auto& area : rec.repaintAreas()) total += area.w * area.h;
                EXPECT_LE(total * 4, 96 * 64 * 3) << "scene " << scene << " frame " << frame;
                EXPECT_LE(rec.repaintAreas().size(), 8u);
                ++smallRepaints;
            }
            TCanvas whole(96, 64);
            TFrameRecorder fresh;
            recordScene(fresh, &t, sprites, clipX);
            fresh.finishFrame(whole.runner());
            ASSERT_EQ(window.px, whole.px) << "scene " << scene << " frame " << frame;
            ASSERT_EQ(window.cx, 0);
            ASSERT_EQ(window.cw, 96) << "the window's clip is left as the frame set it";
        }
    }
    // Most frames changed little, so most were repainted in part.
    EXPECT_GT(smallRepaints, 40u * 11 / 2);
}

// When only part may be repainted, and when the whole frame must be.
TEST(FrameRecorder, WhatChangedDecidesBetweenAPartAndTheWhole) {
    TFakeTexture t;
    const std::vector<TSprite> base = {{10, 10, 8, 8, 100, 255, false},
                                       {30, 10, 8, 8, 120, 200, false},
                                       {50, 30, 8, 8, 140, 128, false},
                                       {70, 40, 6, 2, 160, 255, true}};
    struct Case {
        const char* what;
        int sprite;  // which one changes (-1: none)
        float dx, dw;
        bool partialOn;
        bool invalidate;
        int clipX;  // the frame's narrower clip (base: 20)
        uint8_t fill;
        bool partial;
        size_t areas;    // how many areas apart
        int x, y, w, h;  // their bounds when partial
        size_t sprites;  // sprites and lines run when partial (those near the areas)
    } cases[] = {
        {"a sprite moved a pixel", 1, 1, 0, true, false, 20, 40, true, 1, 29, 9, 11, 10, 1},
        {"a line grew", 3, 0, 4, true, false, 20, 40, true, 1, 68, 38, 14, 10, 1},
        {"a sprite moved far: both places", 0, 40, 0, true, false, 20, 40, true, 2, 9, 9, 50, 10, 1},
        {"a sprite grew over half the window", 0, 0, 50, true, false, 20, 40, true, 1, 9, 9, 60, 55, 4},
        {"a sprite grew over three quarters", 0, 0, 90, true, false, 20, 40, false, 1, 0, 0, 96, 64, 0},
        {"the fill changed", -1, 0, 0, true, false, 20, 41, false, 1, 0, 0, 96, 64, 0},
        {"a clip changed", -1, 0, 0, true, false, 21, 40, false, 1, 0, 0, 96, 64, 0},
        {"a texture changed", 1, 1, 0, true, true, 20, 40, false, 1, 0, 0, 96, 64, 0},
        {"partial repaints not allowed", 1, 1, 0, false, false, 20, 40, false, 1, 0, 0, 96, 64, 0},
    };
    for (const Case& c : cases) {
        TFrameRecorder rec;
        rec.setTarget(96, 64);
        rec.setPartial(c.partialOn);
        auto frame = [&](const std::vector<TSprite>& sprites, int clipX, uint8_t fill) {
            rec.recordClip(0, 0, 96, 64);
            rec.record(TDrawCall::FILL, fill, 0, 0);
            rec.dropHidden(true);
            for (size_t i = 0; i < sprites.size(); ++i) {
                if (i == 2) rec.recordClip(clipX, 0, 50, 64);
                recordSprite(rec, &t, sprites[i]);
            }
        };
        frame(base, 20, 40);
        ASSERT_TRUE(rec.finishFrame(Runs().run())) << c.what;
        std::vector<TSprite> next = base;
        if (c.sprite >= 0) {
            next[static_cast<size_t>(c.sprite)].x += c.dx;
            next[static_cast<size_t>(c.sprite)].w += c.dw;
            next[static_cast<size_t>(c.sprite)].h += c.dw;
        }
        frame(next, c.clipX, c.fill);
        if (c.invalidate) rec.invalidate();
        Runs runs;
        ASSERT_TRUE(rec.finishFrame(runs.run())) << c.what;
        EXPECT_EQ(rec.framesPartial(), c.partial ? 1u : 0u) << c.what;
        const auto& a = rec.lastRepaint();
        EXPECT_EQ(a.x, c.x) << c.what;
        EXPECT_EQ(a.y, c.y) << c.what;
        EXPECT_EQ(a.w, c.w) << c.what;
        EXPECT_EQ(a.h, c.h) << c.what;
        ASSERT_EQ(rec.repaintAreas().size(), c.areas) << c.what;
        if (!c.partial) continue;
        // Each area apart from the others; its pass starts clipped to it
        // (within the clip the last frame left, then the window's) and
        // leaves out the sprites nowhere near it; the last call is the
        // frame's own clip.
        const auto& areas = rec.repaintAreas();
        for (size_t i = 0; i < areas.size(); ++i)
            for (size_t j = i + 1; j < areas.size(); ++j)
                EXPECT_TRUE(areas[i].x + areas[i].w <= areas[j].x || areas[j].x + areas[j].w <= areas[i].x ||
                            areas[i].y + areas[i].h <= areas[j].y || areas[j].y + areas[j].h <= areas[i].y)
                    << c.what;
        ASSERT_GE(runs.calls.size(), 3u) << c.what;
        EXPECT_EQ(runs.calls[0].kind, TDrawCall::CLIP) << c.what;
        EXPECT_EQ(runs.calls[0].q.x[0], std::max(20, areas[0].x)) << c.what;
        EXPECT_EQ(runs.calls[1].kind, TDrawCall::CLIP) << c.what;
        EXPECT_EQ(runs.calls[1].q.x[0], areas[0].x) << c.what;
        EXPECT_EQ(runs.calls[1].q.x[1], areas[0].w) << c.what;
        EXPECT_EQ(runs.calls[1].q.y[1], areas[0].h) << c.what;
        EXPECT_EQ(runs.calls.back().kind, TDrawCall::CLIP) << c.what;
        EXPECT_EQ(runs.calls.back().q.x[0], 20) << c.what;
        EXPECT_EQ(runs.calls.back().q.x[1], 50) << c.what;
        const size_t sprites = static_cast<size_t>(std::count_if(runs.calls.begin(), runs.calls.end(), [](const TDrawCall& d) {
            return d.kind == TDrawCall::QUAD || d.kind == TDrawCall::LINE;
        }));
        EXPECT_EQ(sprites, c.sprites) << c.what;
    }
}

// Calls of one picture are run together where that changes no pixel: many
// random frames of sprites of four pictures (some overlapping, some apart,
// lines among them, a narrower clip half way) give, grouped, exactly the
// pixels of their calls run in order; partly repainted frames too.
TEST(FrameRecorder, GroupedCallsGiveThePixelsOfTheCallsInOrder) {
    TFakeTexture tex[4];
    std::mt19937 rng(11);
    auto uni = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    uint64_t groupedFewer = 0;
    for (int scene = 0; scene < 60; ++scene) {
        struct TItem {
            TSprite s;
            int tex;
        };
        std::vector<TItem> items(static_cast<size_t>(10 + pick(30)));
        for (auto& it : items)
            it = TItem{TSprite{uni(-4, 90), uni(-4, 60), uni(1, 14), uni(1, 14), static_cast<uint8_t>(pick(256)),
                               static_cast<uint8_t>(pick(256)), pick(6) == 0},
                       pick(4)};
        const int clipX = pick(60);
        auto record = [&](TFrameRecorder& rec) {
            rec.recordClip(0, 0, 96, 64);
            rec.record(TDrawCall::FILL, 40, 0, 0);
            for (size_t i = 0; i < items.size(); ++i) {
                if (i == items.size() / 2) rec.recordClip(clipX, 4, 30, 50);
                recordSprite(rec, &tex[items[i].tex], items[i].s);
            }
            rec.recordClip(0, 0, 96, 64);
        };
        TCanvas grouped(96, 64), inOrder(96, 64);
        TFrameRecorder a, b;
        a.setTarget(96, 64);
        b.setTarget(96, 64);
        b.setGrouping(false);
        record(a);
        record(b);
        a.finishFrame(grouped.runner());
        b.finishFrame(inOrder.runner());
        ASSERT_EQ(grouped.px, inOrder.px) << "scene " << scene;
        EXPECT_LE(a.stateChanges(), b.stateChanges()) << "scene " << scene;
        groupedFewer += a.stateChanges() < b.stateChanges();

        // The next frame moves one sprite a little: repainted in part, and
        // still the pixels of the whole frame run in order.
        a.setPartial(true);
        TItem& moved = items[static_cast<size_t>(pick(static_cast<int>(items.size())))];
        moved.s.x += uni(-3, 3);
        record(a);
        a.finishFrame(grouped.runner());
        TCanvas whole(96, 64);
        TFrameRecorder c;
        c.setGrouping(false);
        record(c);
        c.finishFrame(whole.runner());
        ASSERT_EQ(grouped.px, whole.px) << "scene " << scene << ", the frame after";
    }
    EXPECT_GT(groupedFewer, 50u) << "grouping seldom saved a change";
}

// How far calls move: past calls apart from them, never past one that
// touches them, a clip or a fill; each case's pictures in the order run.
TEST(FrameRecorder, ACallJoinsItsPictureOnlyPastCallsApartFromIt) {
    TFakeTexture t[3];
    struct TCall {
        int tex;  // -1: a fill, -2: a clip
        float x, y;
    };
    struct Case {
        const char* what;
        std::vector<TCall> calls;
        std::vector<int> run;  // the pictures in the order run (-1 fill, -2 clip)
        uint64_t changes;
    } cases[] = {
        {"a board of chips apart from each other: one run a picture",
         {{0, 0, 0}, {1, 20, 0}, {2, 40, 0}, {0, 60, 0}, {1, 0, 20}, {2, 20, 20}, {0, 40, 20}},
         {0, 0, 0, 1, 1, 2, 2},
         3},
        {"a sprite over its neighbour keeps its place",
         {{0, 0, 0}, {1, 5, 5}, {0, 10, 10}},
         {0, 1, 0},
         3},
        {"a sprite moves past those apart but not past one it touches",
         {{0, 0, 0}, {1, 40, 0}, {2, 8, 0}, {0, 16, 0}},
         {0, 1, 2, 0},
         4},
        {"nothing moves past a fill",
         {{0, 0, 0}, {1, 40, 0}, {-1, 0, 0}, {0, 60, 0}},
         {0, 1, -1, 0},
         4},
        {"nothing moves past a clip",
         {{0, 0, 0}, {1, 40, 0}, {-2, 0, 0}, {0, 60, 0}},
         {0, 1, -2, 0},
         3},
    };
    for (const Case& c : cases) {
        TFrameRecorder rec;
        rec.setTarget(96, 64);
        for (const TCall& k : c.calls) {
            if (k.tex == -2) {
                rec.recordClip(0, 0, 96, 64);
                continue;
            }
            if (k.tex == -1) {
                rec.record(TDrawCall::FILL, 1, 2, 3);
                continue;
            }
            recordSprite(rec, &t[k.tex], TSprite{k.x, k.y, 10, 10, 9, 255, false});
        }
        Runs runs;
        ASSERT_TRUE(rec.finishFrame(runs.run())) << c.what;
        std::vector<int> order;
        for (const TDrawCall& d : runs.calls)
            order.push_back(d.kind == TDrawCall::FILL ? -1
                            : d.kind == TDrawCall::CLIP ? -2
                                                        : static_cast<int>(static_cast<const TFakeTexture*>(d.tex) - t));
        EXPECT_EQ(order, c.run) << c.what;
        EXPECT_EQ(rec.stateChanges(), c.changes) << c.what;
    }
}

}  // namespace
