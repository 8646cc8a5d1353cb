// One board cell during a match search.
#pragma once

class TTile;

class TM3Node {
public:
    int a = 1;  // passable (0 for a hole or a tile without a chip)
    int n = 0;  // visit mark; in the chain search the distance from the start (start = 1)
    TTile* tile = nullptr;
    int chip = 0;  // kind id of the chip on the cell, 0 when none
    int r = 0, c = 0;
    int inResult = 0;  // the cell's chip is already in the result list
};
