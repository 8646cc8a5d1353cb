#include "app/TBoardView.h"

#include <algorithm>
#include <cmath>

#include "platform/Services.h"

namespace {

// The board's frame in engine pixels: the plates span cols x rows cells
// whose centres start half a cell left of and above lx - pitch * cols / 2.
TRectF boardBox(int rows, int cols, float pitchX, float pitchY, float lx, float ly) {
    const float r = TBoardView::kFrameReach;
    TRectF b;
    b.w = cols * pitchX + 2 * r;
    b.h = rows * pitchY + 2 * r;
    b.x = lx - pitchX * cols / 2 - pitchX / 2 - r;
    b.y = ly - pitchY * rows / 2 - pitchY / 2 - r;
    return b;
}

bool inside(const TRectF& a, const TRectF& outer) {
    return a.x >= outer.x && a.y >= outer.y && a.x + a.w <= outer.x + outer.w &&
           a.y + a.h <= outer.y + outer.h;
}

}  // namespace

TBoardView TBoardView::fit(int rows, int cols, float pitchX, float pitchY, float lx, float ly) {
    TBoardView v;
    const TRectF box = boardBox(std::max(1, rows), std::max(1, cols), pitchX, pitchY, lx, ly);
    v.boardX = v.screenX = box.x + box.w / 2;
    v.boardY = v.screenY = box.y + box.h / 2;
    if (inside(box, kUsualArea) || box.w <= 0 || box.h <= 0) return v;
    float s = std::min({1.0f, kFreeArea.w / box.w, kFreeArea.h / box.h});
    // A whole number of pixels a cell, and cell edges on whole pixels: the
    // plates and the frame's pieces then meet without seams of background
    // between them.
    if (s < 1 && pitchX >= 1) s = std::max(1.0f, std::floor(pitchX * s)) / pitchX;
    v.scale = s;
    v.screenX = kFreeArea.x + kFreeArea.w / 2;
    v.screenY = kFreeArea.y + kFreeArea.h / 2;
    const float edgeX = v.toScreenX(box.x + kFrameReach), edgeY = v.toScreenY(box.y + kFrameReach);
    v.screenX += std::round(edgeX) - edgeX;
    v.screenY += std::round(edgeY) - edgeY;
    return v;
}

TRectF TBoardView::screenBox(int rows, int cols, float pitchX, float pitchY, float lx, float ly) const {
    const TRectF b = boardBox(std::max(1, rows), std::max(1, cols), pitchX, pitchY, lx, ly);
    return TRectF{toScreenX(b.x), toScreenY(b.y), b.w * scale, b.h * scale};
}

void TBoardView::begin() const {
    if (!identity()) SetViewTransform(scale, screenX - boardX * scale, screenY - boardY * scale);
}

void TBoardView::end() const {
    if (!identity()) SetViewTransform(1, 0, 0);
}
