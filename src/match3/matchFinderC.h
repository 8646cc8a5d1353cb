// Chain-mode match search: chips of one kind lying still, connected through
// the eight surrounding cells. The hint is the longest shortest path from the
// start chip (astarFinder walks it back).
#pragma once

#include <memory>
#include <vector>

#include "match3/TM3NodeGrid.h"

class TLevel;
class TTile;
class TChip;

class matchFinderC {
public:
    using Result = std::shared_ptr<std::vector<std::shared_ptr<TChip>>>;
    static Result findMatch(TLevel& level, TTile& tile);
    // Same expansion, but stops once more than two chips are reached (no route).
    static Result findMatchSmall(TLevel& level, TTile& tile);

    static int noTile(const TTile* tile) { return TM3NodeGrid::noTile(tile); }
    static void copyTilesArray();
    static TM3Node* getFirstNode();
    static void createMatchList();
    static void countNewMatchList();
    static void printMatchList();
    static void createMatchListSmall();
    static void addM3Node(int r, int c, int n);
    // A run of searches on a board that does not change between them (the
    // hint search): the node grid is built once and only the nodes the last
    // search touched are reset.
    static void beginBatch(TLevel& level);
    static void endBatch();

private:
    static bool _begin(TLevel& level, TTile& tile, Result& res);
    static void _expand(TM3Node* nd);
    static TLevel* _level;
    static TM3NodeGrid _grid;
    static std::vector<TM3Node*> _open;
    static size_t _head;
    static Result _result;
    static int _kind;
    static TM3Node* _far;
    static TM3Node* _start;
    static TLevel* _batch;
};
