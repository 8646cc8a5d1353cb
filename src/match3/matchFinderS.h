// Swap-mode match search: the straight vertical and horizontal lines of at
// least three chips of one kind through a tile, joined into one match. A chip
// that is still moving interrupts a line.
#pragma once

#include <memory>
#include <vector>

#include "match3/TM3NodeGrid.h"

class TLevel;
class TTile;
class TChip;

class matchFinderS {
public:
    using Result = std::shared_ptr<std::vector<std::shared_ptr<TChip>>>;
    static Result findMatch(TLevel& level, TTile& tile);
    // The line through the tile; fewer than 3 chips give an empty list.
    static Result findMatchV(TTile& tile);
    static Result findMatchH(TTile& tile);

    static int noTile(const TTile* tile) { return TM3NodeGrid::noTile(tile); }
    static void copyTilesArray();
    static TM3Node* getFirstNode();
    static void createMatchListH();
    static void createMatchListV();
    static void addM3Node(int r, int c);

private:
    static Result _line(TTile& tile, bool vertical);
    static TLevel* _level;
    static TM3NodeGrid _grid;
    static std::vector<TM3Node*> _open;
    static size_t _head;
    static Result _result;
    static int _kind;
};
