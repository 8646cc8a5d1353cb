// Keeps a window frame's drawing calls until the frame ends, so a frame made
// of exactly the calls of the one already on the window need not be drawn
// again: a still screen then costs next to nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Backend.h"

// One drawing call. Compared byte for byte with the previous frame's calls,
// so it is always cleared whole before it is filled.
struct TDrawCall {
    enum Kind : uint8_t { QUAD, LINE, FILL, CLIP };
    uint8_t kind;
    uint8_t r, g, b, a;
    int blend;
    const TTexture* tex;
    TQuad q;  // a line uses the first two corners; a clip x[0], y[0], x[1], y[1] as x, y, w, h
};

class TFrameRecorder {
public:
    using Run = std::function<void(const TDrawCall&)>;

    // A new call at the end of the frame, zeroed but for what is given.
    TDrawCall& record(uint8_t kind, uint8_t r = 0, uint8_t g = 0, uint8_t b = 0, uint8_t a = 0, int blend = 0);
    // A clip rectangle (x, y, w, h), remembered for dropHidden().
    void recordClip(int x, int y, int w, int h);

    // The size of what is drawn on, in display pixels (0 x 0: unknown, and
    // dropHidden() never drops anything).
    void setTarget(int w, int h);
    // Whether the last call recorded paints every pixel of the target with
    // nothing of what lay below showing through: a fill or a quad without
    // blending, or an opaque quad (alpha 255 and `opaqueTexture`; a fill's
    // colour is always opaque), covering the whole target under a clip that
    // covers it too. When it does, the frame's earlier calls cannot show and
    // are dropped (but for the clip in force), and the answer is true.
    bool dropHidden(bool opaqueTexture);

    // Runs the calls recorded so far and forgets them (before reading the
    // screen or changing a texture they use); the frame then counts as changed.
    void flush(const Run& run);

    // Something the calls do not show has changed (a texture's pixels, the
    // window): the next frame is drawn whatever its calls.
    void invalidate() { dirty_ = true; }

    // Ends the frame. Unless its calls are those of the last frame drawn and
    // nothing was invalidated, runs them and answers true (present it).
    // With partial repaints allowed, a frame that differs from the one on the
    // window only in sprites and lines (call for call when the frames have
    // as many calls, else in the run between the calls they agree on) is
    // repainted where those lie, in up to eight areas apart from each other
    // covering at most three quarters of the target. For each area the calls
    // run are a clip to it (inside the clip in force), each clip of the frame
    // narrowed to it and the calls that touch it; at the end comes the
    // frame's last clip as recorded.
    bool finishFrame(const Run& run);

    // Whether the target keeps the last frame presented, so that a frame may
    // be repainted only where it changed (off until the backend knows).
    void setPartial(bool on) { partial_ = on; }
    // The bounds of what the last finishFrame() that drew repainted: the
    // whole target (or 0 x 0 when it is unknown) unless it was partial.
    struct TArea {
        int x = 0, y = 0, w = 0, h = 0;
    };
    const TArea& lastRepaint() const { return repaint_; }
    // The areas, apart from each other, that it repainted (one when whole).
    const std::vector<TArea>& repaintAreas() const { return areas_; }
    uint64_t framesPartial() const { return partialDrawn_; }
    // Whether the last finishFrame() that drew repainted only an area.
    bool lastWasPartial() const { return lastPartial_; }
    // The calls of the frame on the window (after finishFrame()).
    const std::vector<TDrawCall>& shown() const { return shown_; }

    // Whether calls run in an order that changes picture and blend less
    // often (on unless turned off, for comparing the two): a call moves up to
    // join earlier calls of the same picture and blend only past calls that
    // cannot touch its pixels, so every pixel sees its calls in their order.
    // Software renderers copy their whole drawing state at every change.
    void setGrouping(bool on) { grouping_ = on; }
    // Changes of picture or blend between the calls run, since the start.
    uint64_t stateChanges() const { return changes_; }

    // Forgets everything (the renderer is gone).
    void reset();

    const std::vector<TDrawCall>& pending() const { return calls_; }
    uint64_t framesDrawn() const { return drawn_; }
    uint64_t framesSkipped() const { return skipped_; }
    // Calls dropped by dropHidden() since the start.
    uint64_t callsDropped() const { return dropped_; }

private:
    // Fills areas_ with the apart areas to repaint when only sprites and
    // lines changed and they cover at most three quarters of the target.
    bool changedAreas();
    void addArea(TArea r);
    void runPartial(const TArea& area, const Run& run);
    void restoreClip(const Run& run);
    // Runs the calls gathered in order_ (grouped when grouping is on) and
    // empties it; a call without bounds (a fill, a clip) stays where it is.
    void runOrdered(const Run& run);
    void runGroupedSpan(size_t from, size_t to, const Run& run);
    void count(const TDrawCall& c);
    // The clip in force now is the one the next frame starts with.
    void noteStartClip();

    std::vector<TDrawCall> calls_, shown_;  // this frame's calls and those on the window
    bool dirty_ = true;
    uint64_t drawn_ = 0, skipped_ = 0, dropped_ = 0;
    int targetW_ = 0, targetH_ = 0;
    bool clipKnown_ = false;  // the clip in force is the last one recorded
    int clipX_ = 0, clipY_ = 0, clipW_ = 0, clipH_ = 0;
    // The clip in force when the frame began (the last one run before it).
    bool startClipKnown_ = false;
    TArea startClip_;
    bool partial_ = false;
    TArea repaint_;
    std::vector<TArea> areas_;
    bool lastPartial_ = false;
    uint64_t partialDrawn_ = 0;
    bool grouping_ = true;
    std::vector<const TDrawCall*> order_;
    struct TBounds {
        float x0, y0, x1, y1;
    };
    struct TBatch {
        const TTexture* tex;
        int blend;
        uint8_t kind;
        TBounds all;         // the bounds of its calls together
        size_t first, last;  // into order_, linked through next_
    };
    std::vector<TBatch> batches_;
    std::vector<size_t> next_;
    std::vector<TBounds> bounds_;  // of each call in order_
    const TTexture* lastTex_ = nullptr;
    int lastBlend_ = -1;
    uint8_t lastKind_ = 0xff;
    uint64_t changes_ = 0;
};
