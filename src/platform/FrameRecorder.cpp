#include "platform/FrameRecorder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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
    for (const TDrawCall& c : calls_) order_.push_back(&c);
    runOrdered(run);
    calls_.clear();
    noteStartClip();
}

namespace {

bool sameCall(const TDrawCall& a, const TDrawCall& b) {
    return std::memcmp(&a, &b, sizeof(TDrawCall)) == 0;
}

// The pixels a sprite or a line may touch: its corners' bounds, widened by a
// pixel or two for the rasteriser's rounding and a line's width. False for a
// call without such bounds (a fill or a clip).
bool callBounds(const TDrawCall& c, float& x0, float& y0, float& x1, float& y1) {
    int corners = 0;
    float margin = 1;
    if (c.kind == TDrawCall::QUAD) {
        corners = 4;
    } else if (c.kind == TDrawCall::LINE) {
        corners = 2;
        margin = 2;
    } else {
        return false;
    }
    x0 = x1 = c.q.x[0];
    y0 = y1 = c.q.y[0];
    for (int i = 1; i < corners; ++i) {
        x0 = std::min(x0, c.q.x[i]);
        x1 = std::max(x1, c.q.x[i]);
        y0 = std::min(y0, c.q.y[i]);
        y1 = std::max(y1, c.q.y[i]);
    }
    x0 = std::floor(x0) - margin;
    y0 = std::floor(y0) - margin;
    x1 = std::ceil(x1) + margin;
    y1 = std::ceil(y1) + margin;
    return true;
}

}  // namespace

namespace {

// Whether two areas overlap or lie within `gap` pixels of each other.
bool near(const TFrameRecorder::TArea& a, const TFrameRecorder::TArea& b, int gap) {
    return a.x - gap < b.x + b.w && b.x - gap < a.x + a.w && a.y - gap < b.y + b.h && b.y - gap < a.y + a.h;
}

TFrameRecorder::TArea unite(const TFrameRecorder::TArea& a, const TFrameRecorder::TArea& b) {
    const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    const int x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
    return TFrameRecorder::TArea{x0, y0, x1 - x0, y1 - y0};
}

int64_t areaSize(const TFrameRecorder::TArea& a) {
    return static_cast<int64_t>(a.w) * a.h;
}

constexpr size_t kMaxAreas = 8;  // each costs a pass over the frame's calls
constexpr int kAreaGap = 8;      // areas closer than this are painted as one

}  // namespace

namespace {

constexpr size_t kLookBack = 32;  // batches a call may move past, at most

bool finiteBounds(const TDrawCall& c, float& x0, float& y0, float& x1, float& y1) {
    return callBounds(c, x0, y0, x1, y1) && std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) &&
           std::isfinite(y1);
}

}  // namespace

void TFrameRecorder::count(const TDrawCall& c) {
    if (c.kind == TDrawCall::CLIP) return;
    if (c.tex != lastTex_ || c.blend != lastBlend_ || c.kind != lastKind_) ++changes_;
    lastTex_ = c.tex;
    lastBlend_ = c.blend;
    lastKind_ = c.kind;
}

void TFrameRecorder::runGroupedSpan(size_t from, size_t to, const Run& run) {
    // Each call joins the latest batch of its picture and blend unless a
    // batch after that one touches its bounds; else it starts a new batch.
    batches_.clear();
    for (size_t i = from; i < to; ++i) {
        const TDrawCall& c = *order_[i];
        float x0, y0, x1, y1;
        finiteBounds(c, x0, y0, x1, y1);
        bounds_[i] = TBounds{x0, y0, x1, y1};
        auto touches = [&](const TBounds& r) { return x0 < r.x1 && r.x0 < x1 && y0 < r.y1 && r.y0 < y1; };
        size_t join = batches_.size();
        for (size_t k = batches_.size(); k-- > 0 && batches_.size() - k <= kLookBack;) {
            const TBatch& b = batches_[k];
            if (b.tex == c.tex && b.blend == c.blend && b.kind == c.kind) {
                join = k;
                break;
            }
            // The batch's bounds together first, then its calls one by one.
            if (!touches(b.all)) continue;
            bool blocked = false;
            for (size_t j = b.first;; j = next_[j]) {
                if (touches(bounds_[j])) {
                    blocked = true;
                    break;
                }
                if (j == b.last) break;
            }
            if (blocked) break;
        }
        if (join == batches_.size()) {
            batches_.push_back(TBatch{c.tex, c.blend, c.kind, bounds_[i], i, i});
        } else {
            TBatch& b = batches_[join];
            next_[b.last] = i;
            b.last = i;
            b.all.x0 = std::min(b.all.x0, x0);
            b.all.y0 = std::min(b.all.y0, y0);
            b.all.x1 = std::max(b.all.x1, x1);
            b.all.y1 = std::max(b.all.y1, y1);
        }
    }
    for (const TBatch& b : batches_)
        for (size_t i = b.first;; i = next_[i]) {
            count(*order_[i]);
            run(*order_[i]);
            if (i == b.last) break;
        }
}

void TFrameRecorder::runOrdered(const Run& run) {
    if (!grouping_) {
        for (const TDrawCall* c : order_) {
            count(*c);
            run(*c);
        }
        order_.clear();
        return;
    }
    next_.resize(order_.size());
    bounds_.resize(order_.size());
    size_t start = 0;
    for (size_t i = 0; i < order_.size(); ++i) {
        float x0, y0, x1, y1;
        if (finiteBounds(*order_[i], x0, y0, x1, y1)) continue;
        runGroupedSpan(start, i, run);
        count(*order_[i]);
        run(*order_[i]);
        start = i + 1;
    }
    runGroupedSpan(start, order_.size(), run);
    order_.clear();
}

void TFrameRecorder::addArea(TArea r) {
    // Areas stay apart (each is painted on its own, so none may overlap
    // another): one that comes near another swallows it.
    for (size_t k = 0; k < areas_.size();) {
        if (near(areas_[k], r, kAreaGap)) {
            r = unite(areas_[k], r);
            areas_.erase(areas_.begin() + static_cast<std::ptrdiff_t>(k));
            k = 0;
        } else {
            ++k;
        }
    }
    areas_.push_back(r);
    if (areas_.size() <= kMaxAreas) return;
    // Too many: the two whose union adds the least become one.
    size_t bi = 0, bj = 1;
    int64_t best = INT64_MAX;
    for (size_t i = 0; i < areas_.size(); ++i)
        for (size_t j = i + 1; j < areas_.size(); ++j) {
            const int64_t grow = areaSize(unite(areas_[i], areas_[j])) - areaSize(areas_[i]) - areaSize(areas_[j]);
            if (grow < best) {
                best = grow;
                bi = i;
                bj = j;
            }
        }
    const TArea both = unite(areas_[bi], areas_[bj]);
    areas_.erase(areas_.begin() + static_cast<std::ptrdiff_t>(bj));
    areas_.erase(areas_.begin() + static_cast<std::ptrdiff_t>(bi));
    addArea(both);
}

bool TFrameRecorder::changedAreas() {
    areas_.clear();
    if (!partial_ || dirty_ || !startClipKnown_ || targetW_ <= 0 || targetH_ <= 0) return false;
    // The frames agree on a run of calls at the start and one at the end.
    const size_t n = calls_.size(), m = shown_.size();
    size_t head = 0;
    while (head < n && head < m && sameCall(calls_[head], shown_[head])) ++head;
    size_t tail = 0;
    while (tail < n - head && tail < m - head && sameCall(calls_[n - 1 - tail], shown_[m - 1 - tail])) ++tail;
    auto add = [&](const TDrawCall& c) {
        float x0, y0, x1, y1;
        // A changed clip or fill may change anything: no partial repaint.
        if (!callBounds(c, x0, y0, x1, y1)) return false;
        if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return false;
        x0 = std::max(x0, 0.0f);
        y0 = std::max(y0, 0.0f);
        x1 = std::min(x1, static_cast<float>(targetW_));
        y1 = std::min(y1, static_cast<float>(targetH_));
        if (x1 <= x0 || y1 <= y0) return true;  // off the target
        const int ix = static_cast<int>(x0), iy = static_cast<int>(y0);
        addArea(TArea{ix, iy, static_cast<int>(x1) - ix, static_cast<int>(y1) - iy});
        return true;
    };
    if (n == m) {
        // Call for call: only the calls that differ (the old and the new
        // place); the clips all agree, so every call keeps the clip it had.
        for (size_t i = head; i < n - tail; ++i)
            if (!sameCall(calls_[i], shown_[i]) && (!add(calls_[i]) || !add(shown_[i]))) return false;
    } else {
        // Calls came or went: everything between the agreeing runs.
        for (size_t i = head; i < n - tail; ++i)
            if (!add(calls_[i])) return false;
        for (size_t i = head; i < m - tail; ++i)
            if (!add(shown_[i])) return false;
    }
    int64_t total = 0;
    for (const TArea& a : areas_) total += areaSize(a);
    // Past three quarters of the target a partial repaint saves little.
    return total * 4 <= static_cast<int64_t>(targetW_) * targetH_ * 3;
}

void TFrameRecorder::runPartial(const TArea& area, const Run& run) {
    // Clips the area (and anything narrower recorded in the frame); an empty
    // intersection draws nothing until the next clip, as the backend's clip
    // cannot express it.
    auto clipTo = [&](int x, int y, int w, int h) {
        const int x0 = std::max(x, area.x), y0 = std::max(y, area.y);
        const int x1 = std::min(x + w, area.x + area.w), y1 = std::min(y + h, area.y + area.h);
        if (x1 <= x0 || y1 <= y0) return false;
        TDrawCall c;
        std::memset(static_cast<void*>(&c), 0, sizeof c);
        c.kind = TDrawCall::CLIP;
        c.q.x[0] = static_cast<float>(x0);
        c.q.y[0] = static_cast<float>(y0);
        c.q.x[1] = static_cast<float>(x1 - x0);
        c.q.y[1] = static_cast<float>(y1 - y0);
        run(c);
        return true;
    };
    bool open = clipTo(startClip_.x, startClip_.y, startClip_.w, startClip_.h);
    for (const TDrawCall& c : calls_) {
        if (c.kind == TDrawCall::CLIP) {
            runOrdered(run);
            open = clipTo(static_cast<int>(c.q.x[0]), static_cast<int>(c.q.y[0]), static_cast<int>(c.q.x[1]),
                          static_cast<int>(c.q.y[1]));
            continue;
        }
        if (!open) continue;
        float x0, y0, x1, y1;
        if (callBounds(c, x0, y0, x1, y1) &&
            (x1 <= area.x || y1 <= area.y || x0 >= area.x + area.w || y0 >= area.y + area.h))
            continue;  // nowhere near the area
        order_.push_back(&c);
    }
    runOrdered(run);
}

void TFrameRecorder::restoreClip(const Run& run) {
    // Leave the clip as the frame set it: the next frame relies on it.
    TDrawCall c;
    std::memset(static_cast<void*>(&c), 0, sizeof c);
    c.kind = TDrawCall::CLIP;
    c.q.x[0] = static_cast<float>(clipX_);
    c.q.y[0] = static_cast<float>(clipY_);
    c.q.x[1] = static_cast<float>(clipW_);
    c.q.y[1] = static_cast<float>(clipH_);
    run(c);
}

bool TFrameRecorder::finishFrame(const Run& run) {
    const bool same = !dirty_ && calls_.size() == shown_.size() &&
                      (calls_.empty() ||
                       std::memcmp(calls_.data(), shown_.data(), calls_.size() * sizeof(TDrawCall)) == 0);
    bool drawn = false;
    if (same) {
        ++skipped_;
    } else if (changedAreas()) {
        if (!areas_.empty()) {
            repaint_ = areas_.front();
            for (const TArea& a : areas_) {
                runPartial(a, run);
                repaint_ = unite(repaint_, a);
            }
            restoreClip(run);
            ++drawn_;
            ++partialDrawn_;
            lastPartial_ = true;
            drawn = true;
        } else {
            ++skipped_;  // what changed lies off the target
        }
    } else {
        for (const TDrawCall& c : calls_) order_.push_back(&c);
        runOrdered(run);
        repaint_ = TArea{0, 0, targetW_, targetH_};
        areas_.assign(1, repaint_);
        lastPartial_ = false;
        ++drawn_;
        drawn = true;
    }
    std::swap(calls_, shown_);
    calls_.clear();
    dirty_ = false;
    noteStartClip();
    return drawn;
}

void TFrameRecorder::noteStartClip() {
    startClipKnown_ = clipKnown_;
    startClip_ = TArea{clipX_, clipY_, clipW_, clipH_};
}

void TFrameRecorder::reset() {
    clipKnown_ = false;
    startClipKnown_ = false;
    calls_.clear();
    shown_.clear();
    dirty_ = true;
}
