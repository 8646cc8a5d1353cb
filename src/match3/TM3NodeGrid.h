// The working grid every finder rebuilds at the start of a search, kept between
// searches so that a search does not allocate once the grid has its size.
#pragma once

#include <vector>

#include "match3/TM3Node.h"

class TLevel;
class TChip;

class TM3NodeGrid {
public:
    std::vector<TM3Node> nodes;
    int rows = 0, cols = 0;

    // copyTilesArray: one node per cell with its tile and chip kind; holes and
    // empty tiles are not passable.
    void copyTilesArray(TLevel& level);
    TM3Node* at(int r, int c) {
        return (r < 0 || c < 0 || r >= rows || c >= cols) ? nullptr : &nodes[r * cols + c];
    }
    // noTile: a hole or a tile without a chip.
    static int noTile(const TTile* tile);
    static TChip* chipOf(const TM3Node& node);
};
