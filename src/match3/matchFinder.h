// Group-mode match search: the chips of one kind connected through the four
// orthogonal neighbours (flood fill), in discovery order.
#pragma once

#include <memory>
#include <vector>

#include "match3/TM3NodeGrid.h"

class TLevel;
class TTile;
class TChip;

class matchFinder {
public:
    using Result = std::shared_ptr<std::vector<std::shared_ptr<TChip>>>;
    // Null for a hole or an empty tile, an empty list for a puzzle piece.
    static Result findMatch(TLevel& level, TTile& tile);

    static int noTile(const TTile* tile) { return TM3NodeGrid::noTile(tile); }
    static void copyTilesArray();
    static TM3Node* getFirstNode();
    static void createMatchList();
    static void addM3Node(int r, int c);

private:
    static TLevel* _level;
    static TM3NodeGrid _grid;
    static std::vector<TM3Node*> _open;
    static size_t _head;
    static Result _result;
    static int _kind;
};
