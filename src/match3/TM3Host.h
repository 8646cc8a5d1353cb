// What the board engine needs from the screen that plays it beyond effects:
// the score, the player's level number and power-ups. Every hook does nothing
// by default, so tests and tools run the engine without a play screen.
#pragma once

class TPowerUp;

class TM3Host {
public:
    virtual ~TM3Host() = default;
    virtual void addScore(int /*n*/) {}
    // The current player's level number (1 = the very first level).
    virtual int profileLevel() { return 0; }
    // Power-up slot 0..5 of the current player, or null.
    virtual TPowerUp* powerUp(int /*slot*/) { return nullptr; }
};
