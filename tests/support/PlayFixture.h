// Puts one of the board fixtures of tests/fixtures/match3 on a play screen
// that has been set up: the level prepared and in play (state "NORMAL").
#pragma once

#include <string>

#include "app/TMainGame.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"

// False when the fixture does not load.
inline bool PlayFixtureLevel(TMainGame& game, const std::string& name) {
    auto lvl = loadLevelFile(std::string(BRIMBLE_SOURCE_DIR) + "/tests/fixtures/match3/" + name, game.m3Game.get());
    if (!lvl) return false;
    game.setLevel(lvl);
    game.prepare();
    game.setState("NORMAL");
    return true;
}
