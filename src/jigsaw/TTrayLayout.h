// Places for loose jigsaw pieces when more are to be laid out than the walk
// round the screen edges holds in one round (the bigger stages, 30 pieces
// and more): a grid over everything off the board and the sash, outer places
// first, its step as wide as the pieces allow (a whole piece each way down
// to seven tenths of one, about a piece without its tabs), so every piece's
// middle shows and can be taken; at most the pieces' tabs overlap.
#pragma once

#include <utility>
#include <vector>

class TTrayLayout {
public:
    // The screen, the board (its top-left corner and side) and the sash
    // with the buttons in the top right corner.
    static constexpr float kScreenW = 1024, kScreenH = 768;
    static constexpr float kSashW = 262, kSashH = 76;
    static constexpr float kMargin = 10;

    // Places for `count` pieces no bigger than pieceW x pieceH.
    TTrayLayout(float pieceW, float pieceH, float boardX, float boardY, float boardSide, int count);
    // The step as a share of the piece's size (1 down to 0.7). A box of one
    // step each way round each place's middle is its own.
    float stepShare() const { return _share; }

    // The places (top-left corners), outer ones first, then along the edges
    // (left, bottom, right) as the walk goes.
    const std::vector<std::pair<float, float>>& places() const { return _places; }
    // The place of the n-th piece; past the last place the places are used
    // again, each round shifted by a third of a step so no two pieces lie
    // exactly on one another.
    std::pair<float, float> place(int n) const;

private:
    float _w, _h, _sx = 0, _sy = 0, _share = 1;
    std::vector<std::pair<float, float>> _places;
    void _build(float boardX, float boardY, float boardSide);
};
