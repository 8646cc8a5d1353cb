#include "match3/matchFinderS.h"

#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TTile.h"

TLevel* matchFinderS::_level = nullptr;
TM3NodeGrid matchFinderS::_grid;
std::vector<TM3Node*> matchFinderS::_open;
size_t matchFinderS::_head = 0;
matchFinderS::Result matchFinderS::_result;
int matchFinderS::_kind = 0;

void matchFinderS::copyTilesArray() { _grid.copyTilesArray(*_level); }

TM3Node* matchFinderS::getFirstNode() { return _head < _open.size() ? _open[_head++] : nullptr; }

void matchFinderS::addM3Node(int r, int c) {
    TM3Node* nd = _grid.at(r, c);
    if (!nd || !nd->a || nd->n != 0 || nd->chip != _kind) return;
    TChip* ch = TM3NodeGrid::chipOf(*nd);
    if (ch->isMovingCheckSwap()) return;  // a falling or landing chip breaks the line
    _open.push_back(nd);
    if (!nd->inResult) {
        nd->inResult = 1;
        _result->push_back(nd->tile->chip);
    }
}

void matchFinderS::createMatchListV() {
    while (TM3Node* nd = getFirstNode()) {
        if (nd->n) continue;
        nd->n = 1;
        addM3Node(nd->r - 1, nd->c);
        addM3Node(nd->r + 1, nd->c);
    }
}

void matchFinderS::createMatchListH() {
    while (TM3Node* nd = getFirstNode()) {
        if (nd->n) continue;
        nd->n = 1;
        addM3Node(nd->r, nd->c - 1);
        addM3Node(nd->r, nd->c + 1);
    }
}

matchFinderS::Result matchFinderS::_line(TTile& tile, bool vertical) {
    // The flood fill restricted to one axis is a walk both ways from the
    // start; the chips are listed in the order the fill would find them
    // (alternating sides, nearest first), without building the node grid.
    auto res = std::make_shared<std::vector<std::shared_ptr<TChip>>>();
    TLevel& lvl = *_level;
    const int dr = vertical ? 1 : 0, dc = vertical ? 0 : 1;
    auto joins = [&](int r, int c) -> TTile* {
        if (r < 0 || c < 0 || r >= lvl.rows || c >= lvl.cols) return nullptr;
        TTile* t = lvl.tile[r][c].get();
        if (noTile(t) || !t->chip->cd || t->chip->cd->id != _kind) return nullptr;
        if (t->chip->isMovingCheckSwap()) return nullptr;  // a falling or landing chip breaks the line
        return t;
    };
    res->push_back(tile.chip);
    int back = 1, fwd = 1;
    bool backOpen = true, fwdOpen = true;
    while (backOpen || fwdOpen) {
        if (backOpen) {
            TTile* t = joins(tile.r - dr * back, tile.c - dc * back);
            if (t) {
                res->push_back(t->chip);
                ++back;
            } else {
                backOpen = false;
            }
        }
        if (fwdOpen) {
            TTile* t = joins(tile.r + dr * fwd, tile.c + dc * fwd);
            if (t) {
                res->push_back(t->chip);
                ++fwd;
            } else {
                fwdOpen = false;
            }
        }
    }
    if (res->size() < 3) res->clear();
    return res;
}

matchFinderS::Result matchFinderS::findMatchV(TTile& tile) { return _line(tile, true); }
matchFinderS::Result matchFinderS::findMatchH(TTile& tile) { return _line(tile, false); }

matchFinderS::Result matchFinderS::findMatch(TLevel& level, TTile& tile) {
    if (noTile(&tile)) return nullptr;
    auto res = std::make_shared<std::vector<std::shared_ptr<TChip>>>();
    if (!tile.chip->cd || tile.chip->cd->puzzleChip) return res;
    _level = &level;
    _kind = tile.chip->cd->id;
    tile.chip->oznaczony = 1;
    Result v = findMatchV(tile);
    Result h = findMatchH(tile);
    res->reserve(v->size() + h->size());
    for (auto& ch : *v) res->push_back(ch);
    for (auto& ch : *h) {
        bool dup = false;
        for (auto& e : *res) {
            if (e == ch) {
                dup = true;
                break;
            }
        }
        if (!dup) res->push_back(ch);
    }
    return res;
}
