// Plays the board as a player would, through the mouse: on a quiet board it
// takes the best move (_noMatchLeft) and acts it out frame by frame - a drag
// or two clicks in swap mode, press / move along the path / release in chain
// mode, a click in group mode.
//
// Each frame, before the engine's own, step() sets the mouse for that frame in
// `input`. The bare engine reads `input` directly (TM3Game::input); the play
// screen can instead replay the same positions and buttons through the real
// mouse.
#pragma once

#include <memory>
#include <vector>

#include "match3/TM3ScriptedInput.h"

class TM3Game;

class TM3AutoPlayer {
public:
    explicit TM3AutoPlayer(TM3Game& game);

    bool clicksInSwap = false;  // two clicks instead of a drag in swap mode
    // With no match left, set off a bonus chip if there is one instead of
    // reporting no move: the play screen keeps a board holding a bonus (it is
    // not dead there); the level runner refills every board without a match.
    bool setsOffBonuses = false;
    int moves = 0;            // moves started
    bool noMoveLeft = false;  // the last look at a quiet board found no move
    std::shared_ptr<TM3ScriptedInput> input;

    // Sets this frame's mouse; returns true while a move is being acted out.
    bool step();
    bool busy() const { return _pos < _plan.size(); }
    void cancel();

private:
    struct Frame {
        int x = 0, y = 0;
        bool press = false;
        bool down = false;
    };
    void _plan1(float x, float y, bool press, bool down);
    bool _planBonus();
    bool _planMove();
    TM3Game& _game;
    std::vector<Frame> _plan;
    size_t _pos = 0;
};
