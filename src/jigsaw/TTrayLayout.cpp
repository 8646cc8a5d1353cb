#include "jigsaw/TTrayLayout.h"

#include <algorithm>
#include <cmath>

namespace {

bool overlaps(float ax, float ay, float aw, float ah, float bx, float by, float bw, float bh) {
    return ax < bx + bw && bx < ax + aw && ay < by + bh && by < ay + ah;
}

}  // namespace

TTrayLayout::TTrayLayout(float pieceW, float pieceH, float boardX, float boardY, float boardSide, int count)
    : _w(std::max(pieceW, 1.0f)), _h(std::max(pieceH, 1.0f)) {
    // The widest step that still gives every piece a place of its own.
    for (int k = 20; k >= 14; --k) {
        _share = static_cast<float>(k) / 20;
        _sx = _share * _w;
        _sy = _share * _h;
        _build(boardX, boardY, boardSide);
        if (static_cast<int>(_places.size()) >= count) break;
    }
}

void TTrayLayout::_build(float boardX, float boardY, float boardSide) {
    _places.clear();
    // A place keeps a box of one step each way round the piece's middle to
    // itself: off the board, off the sash, on the screen, and apart from
    // every other place's box.
    const float inX = (_w - _sx) / 2, inY = (_h - _sy) / 2;
    struct Place {
        float x, y;
        int ring;  // whole steps in from the nearest screen edge
        int side;  // 0 left, 1 bottom, 2 right: the walk's order
        float along;
    };
    std::vector<Place> cand;
    const float left = kMargin, right = kScreenW - kMargin - _w, bottom = kScreenH - kMargin - _h;
    // Three grids, each lined up with its own edge of the screen.
    for (int i = 0; left + i * _sx <= right; ++i)
        for (int j = 0; kMargin + j * _sy <= bottom; ++j) {
            cand.push_back({left + i * _sx, kMargin + j * _sy, i, 0, kMargin + j * _sy});
            cand.push_back({right - i * _sx, kMargin + j * _sy, i, 2, -(kMargin + j * _sy)});
        }
    for (int j = 0; bottom - j * _sy >= kMargin; ++j)
        for (int i = 0; left + i * _sx <= right; ++i)
            cand.push_back({left + i * _sx, bottom - j * _sy, j, 1, left + i * _sx});
    std::stable_sort(cand.begin(), cand.end(), [](const Place& a, const Place& b) {
        if (a.ring != b.ring) return a.ring < b.ring;
        if (a.side != b.side) return a.side < b.side;
        return a.along < b.along;
    });
    std::vector<std::pair<float, float>> taken;  // boxes' corners
    for (const Place& p : cand) {
        const float bx = p.x + inX, by = p.y + inY;
        if (overlaps(bx, by, _sx, _sy, boardX, boardY, boardSide, boardSide)) continue;
        if (overlaps(bx, by, _sx, _sy, kScreenW - kSashW, 0, kSashW, kSashH)) continue;
        bool free = true;
        for (const auto& t : taken)
            if (overlaps(bx, by, _sx, _sy, t.first, t.second, _sx, _sy)) {
                free = false;
                break;
            }
        if (!free) continue;
        taken.emplace_back(bx, by);
        _places.emplace_back(p.x, p.y);
    }
}

std::pair<float, float> TTrayLayout::place(int n) const {
    if (_places.empty()) return {kMargin, kMargin};
    const int count = static_cast<int>(_places.size());
    const int round = n / count;
    auto p = _places[static_cast<size_t>(n % count)];
    const float shift = static_cast<float>(round % 3);
    p.first += shift * _sx / 3;
    p.second += shift * _sy / 3;
    return p;
}
