// Walks back down the distance field the chain search left in its node grid,
// from the far node to the start: the longest shortest path of a chain hint.
#pragma once

#include <memory>
#include <vector>

#include "match3/TM3NodeGrid.h"

class TLevel;
class TChip;

class astarFinder {
public:
    static void copyData(TM3NodeGrid& nodes, TM3Node* from, TM3Node* to, int rows, int cols, TLevel* level);
    // The route from the far node's neighbour to the start node (start last).
    static const std::vector<TM3Node*>& findRoute(TM3NodeGrid& nodes, TM3Node* from, TM3Node* to, int rows,
                                                  int cols, TLevel* level);
    static std::vector<std::shared_ptr<TChip>> recountRoute(const std::vector<TM3Node*>& route);
    static TM3Node* checkNode(int dr, int dc);

private:
    static TM3NodeGrid* _nodes;
    static TM3Node* _current;
    static std::vector<TM3Node*> _route;
    static int _done;
    static int _rows, _cols;
};
