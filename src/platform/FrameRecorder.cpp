#include "platform/FrameRecorder.h"

#include <algorithm>
#include <cstring>
#include <utility>

TDrawCall& TFrameRecorder::record(uint8_t kind, uint8_t r, uint8_t g, uint8_t b, uint8_t a, int blend) {
    calls_.emplace_back();
    TDrawCall& c = calls_.back();
    std::memset(static_cast<void*>(&c), 0, sizeof c);
    c.kind = kind;
    c.r = r;
    c.g = g;
    c.b = b;
    c.a = a;
    c.blend = blend;
    return c;
}

void TFrameRecorder::recordClip(int x, int y, int w, int h) {
    TDrawCall& c = record(TDrawCall::CLIP);
    c.q.x[0] = static_cast<float>(x);
    c.q.y[0] = static_cast<float>(y);
    c.q.x[1] = static_cast<float>(w);
    c.q.y[1] = static_cast<float>(h);
    clipKnown_ = true;
    clipX_ = x;
    clipY_ = y;
    clipW_ = w;
    clipH_ = h;
}

void TFrameRecorder::setTarget(int w, int h) {
    targetW_ = w;
    targetH_ = h;
}

bool TFrameRecorder::dropHidden(bool opaqueTexture) {
    if (calls_.size() < 2 || !clipKnown_ || targetW_ <= 0 || targetH_ <= 0) return false;
    if (clipX_ > 0 || clipY_ > 0 || clipX_ + clipW_ < targetW_ || clipY_ + clipH_ < targetH_) return false;
    const TDrawCall& last = calls_.back();
    if (last.kind == TDrawCall::QUAD) {
        // Without blending the quad replaces every pixel it covers; with the
        // alpha blend only a fully opaque picture at full alpha does.
        // (The mask blend's alpha test lets an opaque picture through whole
        // from an alpha of one half.)
        const bool opaque = last.blend == SOLIDBLEND ||
                            (last.tex && opaqueTexture &&
                             ((last.blend == ALPHABLEND && last.a == 255) || (last.blend == MASKBLEND && last.a >= 128)));
        if (!opaque) return false;
        // Axis-aligned and spanning the target.
        const TQuad& q = last.q;
        if (!(q.y[0] == q.y[1] && q.y[2] == q.y[3] && q.x[0] == q.x[3] && q.x[1] == q.x[2])) return false;
        const float x0 = std::min(q.x[0], q.x[1]), x1 = std::max(q.x[0], q.x[1]);
        const float y0 = std::min(q.y[0], q.y[2]), y1 = std::max(q.y[0], q.y[2]);
        if (x0 > 0 || y0 > 0 || x1 < targetW_ || y1 < targetH_) return false;
    } else if (last.kind != TDrawCall::FILL) {
        return false;
    }
    // Keep the clip in force: the last one recorded before the covering call.
    const TDrawCall cover = last;
    size_t clip = calls_.size();
    for (size_t i = calls_.size() - 1; i-- > 0;)
        if (calls_[i].kind == TDrawCall::CLIP) {
            clip = i;
            break;
        }
    const size_t before = calls_.size();
    if (clip < calls_.size()) {
        const TDrawCall c = calls_[clip];
        calls_.clear();
        calls_.push_back(c);
    } else {
        calls_.clear();
    }
    calls_.push_back(cover);
    dropped_ += before - calls_.size();
    return true;
}

void TFrameRecorder::flush(const Run& run) {
    if (calls_.empty()) return;
    dirty_ = true;
    for (const TDrawCall& c : calls_) run(c);
    calls_.clear();
}

bool TFrameRecorder::finishFrame(const Run& run) {
    const bool same = !dirty_ && calls_.size() == shown_.size() &&
                      (calls_.empty() ||
                       std::memcmp(calls_.data(), shown_.data(), calls_.size() * sizeof(TDrawCall)) == 0);
    if (!same) {
        for (const TDrawCall& c : calls_) run(c);
        ++drawn_;
    } else {
        ++skipped_;
    }
    std::swap(calls_, shown_);
    calls_.clear();
    dirty_ = false;
    return !same;
}

void TFrameRecorder::reset() {
    clipKnown_ = false;
    calls_.clear();
    shown_.clear();
    dirty_ = true;
}
