#include "platform/FrameRecorder.h"

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
    calls_.clear();
    shown_.clear();
    dirty_ = true;
}
