// Cuts a picture into interlocking jigsaw pieces: a rows x cols grid whose
// inner corners are nudged a little, inner edges with a knob on one side and
// the matching hole on the other (direction and shape drawn from a seed), and
// every piece an alpha-shaped picture of its own with a bevel along its cut.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "RgbaImage.h"

struct JigsawPoint {
    double x = 0, y = 0;
};

struct JigsawPiece {
    int id = 0;  // 1 ... rows * cols, row by row
    int row = 0, col = 0;
    int x = 0, y = 0;                  // top-left corner of img in the source picture
    RgbaImage img;                     // the piece, transparent around its shape
    std::vector<int> neighbours;       // ids of the pieces sharing an edge, ascending
    std::vector<JigsawPoint> outline;  // closed outline in picture coordinates
};

class JigsawCutter {
public:
    // The jigsaw board is this many pixels square; a picture larger than it
    // in either direction is refused.
    static constexpr int kBoardSize = 500;
    // Smallest cell side that still leaves room for a knob and its hole.
    static constexpr int kMinCell = 24;
    // Sub-samples per pixel side: each pixel's coverage is counted at
    // kSub x kSub points, each of which belongs to exactly one piece.
    static constexpr int kSub = 8;
    // Width of the bevel band inside a piece's edge; pixels farther in keep
    // the source's colours exactly.
    static constexpr int kBevelReach = 5;

    int rows = 0, cols = 0;
    uint64_t seed = 1;

    // Empty when the picture and the grid can be cut, else the reason.
    std::string check(const RgbaImage& picture) const;
    // Cuts the picture; false with the reason in err (as check gives).
    bool cut(const RgbaImage& picture, std::vector<JigsawPiece>& pieces, std::string& err) const;
};
