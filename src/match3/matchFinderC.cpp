#include "match3/matchFinderC.h"

#include <cstdio>

#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TTile.h"
#include "match3/astarFinder.h"

TLevel* matchFinderC::_level = nullptr;
TM3NodeGrid matchFinderC::_grid;
std::vector<TM3Node*> matchFinderC::_open;
size_t matchFinderC::_head = 0;
matchFinderC::Result matchFinderC::_result;
int matchFinderC::_kind = 0;
TM3Node* matchFinderC::_far = nullptr;
TM3Node* matchFinderC::_start = nullptr;
TLevel* matchFinderC::_batch = nullptr;

void matchFinderC::beginBatch(TLevel& level) {
    _level = &level;
    copyTilesArray();
    _open.clear();
    _batch = &level;
}

void matchFinderC::endBatch() { _batch = nullptr; }

void matchFinderC::copyTilesArray() { _grid.copyTilesArray(*_level); }

TM3Node* matchFinderC::getFirstNode() { return _head < _open.size() ? _open[_head++] : nullptr; }

void matchFinderC::addM3Node(int r, int c, int n) {
    TM3Node* nd = _grid.at(r, c);
    if (!nd || !nd->a || nd->n != 0 || nd->chip != _kind) return;
    TChip* ch = TM3NodeGrid::chipOf(*nd);
    if (!ch->state.empty()) return;  // only chips lying still join a chain
    nd->n = n + 1;
    if (nd->n > _far->n) _far = nd;
    _open.push_back(nd);
    if (!nd->inResult) {
        nd->inResult = 1;
        _result->push_back(nd->tile->chip);
        ch->oznaczony = 1;
    }
}

void matchFinderC::_expand(TM3Node* nd) {
    const int n = nd->n;
    addM3Node(nd->r - 1, nd->c - 1, n);
    addM3Node(nd->r - 1, nd->c, n);
    addM3Node(nd->r - 1, nd->c + 1, n);
    addM3Node(nd->r, nd->c - 1, n);
    addM3Node(nd->r, nd->c + 1, n);
    addM3Node(nd->r + 1, nd->c - 1, n);
    addM3Node(nd->r + 1, nd->c, n);
    addM3Node(nd->r + 1, nd->c + 1, n);
}

void matchFinderC::createMatchList() {
    while (TM3Node* nd = getFirstNode()) _expand(nd);
}

void matchFinderC::createMatchListSmall() {
    while (TM3Node* nd = getFirstNode()) {
        _expand(nd);
        if (_result->size() > 2) return;
    }
}

void matchFinderC::countNewMatchList() {
    const auto& route = astarFinder::findRoute(_grid, _far, _start, _grid.rows, _grid.cols, _level);
    *_result = astarFinder::recountRoute(route);
}

void matchFinderC::printMatchList() {
    for (auto& ch : *_result) std::printf("(%d,%d) ", ch->r, ch->c);
    std::printf("\n");
}

bool matchFinderC::_begin(TLevel& level, TTile& tile, Result& res) {
    if (noTile(&tile)) return false;
    res = std::make_shared<std::vector<std::shared_ptr<TChip>>>();
    if (!tile.chip->cd || tile.chip->cd->puzzleChip) return false;
    _level = &level;
    _kind = tile.chip->cd->id;
    tile.chip->oznaczony = 1;
    if (_batch == &level) {
        // Every node a search changes went through the open list.
        for (TM3Node* nd : _open) {
            nd->n = 0;
            nd->inResult = 0;
        }
    } else {
        copyTilesArray();
    }
    _start = _grid.at(tile.r, tile.c);
    if (!_start) return false;
    _start->n = 1;
    _start->inResult = 1;
    _far = _start;
    _result = res;
    res->push_back(tile.chip);
    _open.clear();
    _head = 0;
    _open.push_back(_start);
    return true;
}

matchFinderC::Result matchFinderC::findMatch(TLevel& level, TTile& tile) {
    Result res;
    if (!_begin(level, tile, res)) return res;
    createMatchList();
    countNewMatchList();
    _result.reset();
    return res;
}

matchFinderC::Result matchFinderC::findMatchSmall(TLevel& level, TTile& tile) {
    Result res;
    if (!_begin(level, tile, res)) return res;
    createMatchListSmall();
    _result.reset();
    return res;
}
