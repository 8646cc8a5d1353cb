// Plays a level with the autoplayer, headless and without drawing, one frame
// at a time on the services' clock (1000/60 ms a frame). Used by the level
// runner, the tests and the benchmarks.
//
// A quiet board with no move is refilled (every chip but puzzle pieces taken
// off, the creators deal again) and counted; a board that stays without a
// move, or makes no move for a long time, ends as "stuck".
#pragma once

#include <memory>
#include <string>

#include "match3/TM3AutoPlayer.h"

class TM3Game;

class TM3Runner {
public:
    explicit TM3Runner(std::shared_ptr<TM3Game> game);

    std::shared_ptr<TM3Game> game;
    TM3AutoPlayer player;
    bool timed = false;     // the level's time budget counts: "lost" when it runs out
    bool advanceClock = true;
    int frames = 0;
    int deadBoards = 0;     // refills of a board without a move
    int framesSinceMove = 0;
    std::string outcome;    // "" while playing; "won", "lost", "stuck", "frames"

    // Frames without a move (board quiet or not) after which the run is stuck.
    int stuckFrames = 3600;
    // Refills in a row that found no move after which the run is stuck.
    int maxDeadBoardsInRow = 20;

    // One frame; returns false once the run has an outcome.
    bool frame();
    // Plays until an outcome or maxFrames frames; returns the outcome.
    const std::string& run(int maxFrames);
    int score() const;
    // Chips on the board plus empty plates (the soak tests' invariant).
    int chipsAndEmptyPlates() const;
    // One line of JSON: outcome, moves, frames, score and the refills.
    std::string json() const;

private:
    int _deadInRow = 0;
    int _lastMoves = 0;
};
