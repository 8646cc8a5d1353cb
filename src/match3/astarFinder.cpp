#include "match3/astarFinder.h"

#include "match3/TTile.h"

TM3NodeGrid* astarFinder::_nodes = nullptr;
TM3Node* astarFinder::_current = nullptr;
std::vector<TM3Node*> astarFinder::_route;
int astarFinder::_done = 0;
int astarFinder::_rows = 0;
int astarFinder::_cols = 0;

void astarFinder::copyData(TM3NodeGrid& nodes, TM3Node* from, TM3Node* to, int rows, int cols, TLevel*) {
    _nodes = &nodes;
    _rows = rows;
    _cols = cols;
    _route.clear();
    _done = 0;
    _current = from;
    if (to) to->n = -1;
}

TM3Node* astarFinder::checkNode(int dr, int dc) {
    TM3Node* nd = _nodes->at(_current->r + dr, _current->c + dc);
    if (!nd || nd->n == 0 || nd->n >= _current->n) return nullptr;
    return nd;
}

const std::vector<TM3Node*>& astarFinder::findRoute(TM3NodeGrid& nodes, TM3Node* from, TM3Node* to, int rows,
                                                    int cols, TLevel* level) {
    static const int order[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
    copyData(nodes, from, to, rows, cols, level);
    if (!_current) return _route;
    // Each step lowers the distance, so a route is never longer than the grid.
    const size_t limit = nodes.nodes.size() + 1;
    while (!_done) {
        if (_current->n == -1) {
            _done = 1;
            break;
        }
        TM3Node* next = nullptr;
        for (const auto& d : order) {
            next = checkNode(d[0], d[1]);
            if (next) break;
        }
        if (!next || _route.size() > limit) break;  // a broken field: give what we have
        _current = next;
        _route.push_back(next);
    }
    return _route;
}

std::vector<std::shared_ptr<TChip>> astarFinder::recountRoute(const std::vector<TM3Node*>& route) {
    std::vector<std::shared_ptr<TChip>> chips;
    chips.reserve(route.size());
    for (TM3Node* nd : route) {
        if (nd->tile && nd->tile->chip) chips.push_back(nd->tile->chip);
    }
    return chips;
}
