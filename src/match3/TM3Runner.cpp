#include "match3/TM3Runner.h"

#include <sstream>

#include "platform/Backend.h"
#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "match3/TTile.h"

TM3Runner::TM3Runner(std::shared_ptr<TM3Game> g) : game(std::move(g)), player(*game) {
    game->input = player.input;
}

int TM3Runner::score() const { return game->level ? game->level->score : 0; }

int TM3Runner::chipsAndEmptyPlates() const {
    int n = 0;
    if (!game->level) return 0;
    for (auto& row : game->level->tile)
        for (auto& t : row)
            if (t && t->kind() > 0) ++n;  // a plate holds one chip or is empty
    // Chips that sit outside the plate count (there must be none).
    for (auto& row : game->level->tile)
        for (auto& t : row)
            if (t && t->kind() == 0 && t->chip) ++n;
    return n;
}

bool TM3Runner::frame() {
    if (!outcome.empty()) return false;
    if (!game->level) {
        outcome = "stuck";
        return false;
    }
    player.step();
    game->update();
    game->controlGame(0);
    ++frames;
    if (advanceClock) Backend().advanceClock(1000.0 / 60.0);

    if (player.moves != _lastMoves) {
        _lastMoves = player.moves;
        framesSinceMove = 0;
        _deadInRow = 0;
    } else {
        ++framesSinceMove;
    }
    if (!player.busy() && game->_nothingIsHappening()) {
        TLevel& lvl = *game->level;
        if (lvl.allTilesAre(1) && lvl.thereIsNoPuzzleChip()) {
            outcome = "won";
            return false;
        }
        if (player.noMoveLeft) {
            ++deadBoards;
            if (++_deadInRow > maxDeadBoardsInRow) {
                outcome = "stuck";
                return false;
            }
            game->dropAllChips();
            player.noMoveLeft = false;
        }
    }
    if (timed && game->level->czas > 0 && frames >= game->level->czas * 60) {
        outcome = "lost";
        return false;
    }
    if (framesSinceMove > stuckFrames) {
        outcome = "stuck";
        return false;
    }
    return true;
}

const std::string& TM3Runner::run(int maxFrames) {
    while (outcome.empty()) {
        if (frames >= maxFrames) {
            outcome = "frames";
            break;
        }
        frame();
    }
    return outcome;
}

std::string TM3Runner::json() const {
    std::ostringstream o;
    o << "{\"outcome\":\"" << (outcome.empty() ? "playing" : outcome) << "\",\"moves\":" << player.moves
      << ",\"frames\":" << frames << ",\"score\":" << score() << ",\"refills\":" << deadBoards << "}";
    return o.str();
}
