#include "match3/matchFinder.h"

#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TTile.h"

TLevel* matchFinder::_level = nullptr;
TM3NodeGrid matchFinder::_grid;
std::vector<TM3Node*> matchFinder::_open;
size_t matchFinder::_head = 0;
matchFinder::Result matchFinder::_result;
int matchFinder::_kind = 0;

void matchFinder::copyTilesArray() { _grid.copyTilesArray(*_level); }

TM3Node* matchFinder::getFirstNode() { return _head < _open.size() ? _open[_head++] : nullptr; }

void matchFinder::addM3Node(int r, int c) {
    TM3Node* nd = _grid.at(r, c);
    if (!nd || !nd->a || nd->n != 0 || nd->chip != _kind) return;
    _open.push_back(nd);
    if (!nd->inResult) {
        nd->inResult = 1;
        TChip* ch = TM3NodeGrid::chipOf(*nd);
        _result->push_back(nd->tile->chip);
        ch->oznaczony = 1;
    }
}

void matchFinder::createMatchList() {
    while (TM3Node* nd = getFirstNode()) {
        if (nd->n) continue;  // entered the open list twice before its visit
        nd->n = 1;
        addM3Node(nd->r - 1, nd->c);
        addM3Node(nd->r, nd->c - 1);
        addM3Node(nd->r, nd->c + 1);
        addM3Node(nd->r + 1, nd->c);
    }
}

matchFinder::Result matchFinder::findMatch(TLevel& level, TTile& tile) {
    if (noTile(&tile)) return nullptr;
    auto res = std::make_shared<std::vector<std::shared_ptr<TChip>>>();
    if (!tile.chip->cd || tile.chip->cd->puzzleChip) return res;
    _level = &level;
    _kind = tile.chip->cd->id;
    tile.chip->oznaczony = 1;
    copyTilesArray();
    _result = res;
    _open.clear();
    _head = 0;
    TM3Node* start = _grid.at(tile.r, tile.c);
    if (!start) {
        _result.reset();
        return res;
    }
    start->inResult = 1;
    res->push_back(tile.chip);
    _open.push_back(start);
    createMatchList();
    _result.reset();
    return res;
}
