#include "match3/TM3AutoPlayer.h"

#include <algorithm>

#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "match3/TMatchInfo.h"
#include "match3/TTile.h"

TM3AutoPlayer::TM3AutoPlayer(TM3Game& game) : input(std::make_shared<TM3ScriptedInput>()), _game(game) {
    _plan.reserve(64);
}

void TM3AutoPlayer::cancel() {
    _plan.clear();
    _pos = 0;
    input->hit = 0;
    input->down = false;
}

void TM3AutoPlayer::_plan1(float x, float y, bool press, bool down) {
    Frame f;
    f.x = static_cast<int>(x);
    f.y = static_cast<int>(y);
    f.press = press;
    f.down = down;
    _plan.push_back(f);
}

bool TM3AutoPlayer::_planBonus() {
    // No match left but a bonus chip on the board: set it off (a click in
    // chain and group mode, two on the same chip in swap mode).
    if (!_game.level) return false;
    for (auto& row : _game.level->tile)
        for (auto& t : row) {
            if (!t || !t->chip || !t->chip->isBonus() || !t->chip->state.empty()) continue;
            const int clicks = _game.matchType == 0 ? 2 : 1;
            for (int k = 0; k < clicks; ++k) {
                _plan1(t->dim.x, t->dim.y, true, true);
                _plan1(t->dim.x, t->dim.y, false, false);
            }
            return true;
        }
    return false;
}

bool TM3AutoPlayer::_planMove() {
    _plan.clear();
    _pos = 0;
    auto info = _game._noMatchLeft();
    const bool noMatch = !info || !info->tile1 ||
                         (_game.matchType == 0 && (info->maxMatch <= 0 || !info->tile2)) ||
                         (_game.matchType == 2 && info->maxMatch <= 2);
    if (noMatch) return setsOffBonuses && _planBonus();
    switch (_game.matchType) {
        case 0: {
            const TTile& a = *info->tile1;
            const TTile& b = *info->tile2;
            if (clicksInSwap) {
                _plan1(a.dim.x, a.dim.y, true, true);
                _plan1(a.dim.x, a.dim.y, false, false);
                _plan1(b.dim.x, b.dim.y, true, true);
                _plan1(b.dim.x, b.dim.y, false, false);
            } else {
                _plan1(a.dim.x, a.dim.y, true, true);
                _plan1(b.dim.x, b.dim.y, false, true);
                _plan1(b.dim.x, b.dim.y, false, false);
            }
            return true;
        }
        case 1: {
            // The hint path stops one short of its far chip (it runs from the far
            // chip's neighbour to the start): draw it from the far chip itself.
            std::vector<std::shared_ptr<TChip>> path = info->zaznaczone;
            if (path.size() >= 2 && path.front()->tile && path.front()->cd) {
                const TTile& head = *path.front()->tile;
                for (int dr = -1; dr <= 1 && path.size() == info->zaznaczone.size(); ++dr)
                    for (int dc = -1; dc <= 1; ++dc) {
                        auto ch = _game.getChipByPos(head.r + dr, head.c + dc);
                        if (!ch || !ch->cd || ch->cd->id != path.front()->cd->id || !ch->state.empty() ||
                            std::find(path.begin(), path.end(), ch) != path.end())
                            continue;
                        path.insert(path.begin(), ch);
                        break;
                    }
            }
            if (path.size() < 3) return setsOffBonuses && _planBonus();
            bool first = true;
            float lx = 0, ly = 0;
            for (auto& ch : path) {
                if (!ch->tile) return false;
                lx = ch->tile->dim.x;
                ly = ch->tile->dim.y;
                _plan1(lx, ly, first, true);
                first = false;
            }
            _plan1(lx, ly, false, false);
            return true;
        }
        default: {
            if (info->maxMatch <= 2) return false;
            const TTile& a = *info->tile1;
            _plan1(a.dim.x, a.dim.y, true, true);
            _plan1(a.dim.x, a.dim.y, false, false);
            return true;
        }
    }
}

bool TM3AutoPlayer::step() {
    if (_pos >= _plan.size()) {
        _plan.clear();
        _pos = 0;
        input->hit = 0;
        input->down = false;
        if (!_game._nothingIsHappening()) {
            noMoveLeft = false;  // whatever was seen on the last quiet board is stale now
            return false;
        }
        if (!_planMove()) {
            noMoveLeft = true;
            return false;
        }
        noMoveLeft = false;
        ++moves;
    }
    const Frame& f = _plan[_pos++];
    input->x = f.x;
    input->y = f.y;
    input->hit = f.press ? 1 : 0;
    input->down = f.down;
    return true;
}
