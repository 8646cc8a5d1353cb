// A hint: the best move a finder found on the board.
#pragma once

#include <memory>
#include <vector>

class TTile;
class TChip;

class TMatchInfo {
public:
    std::shared_ptr<TTile> tile1, tile2;  // the pair to swap; both the start tile for group and chain
    int maxMatch = 0;
    std::vector<std::shared_ptr<TChip>> zaznaczone;  // chips to highlight (group and chain)
    float a = 0;
    float da = 1;

    // Fades the hint out once the clock passes t - 500 ms.
    void update(int t);
};
