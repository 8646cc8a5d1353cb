// A pair of chips exchanging tiles in flight (the shuffle), settled by the
// engine once both flights are over.
#pragma once

#include <memory>

class TChip;
class TTile;

class TM3Para {
public:
    std::shared_ptr<TChip> c1, c2;
    // Where each chip ends (the other's tile).
    std::shared_ptr<TTile> d1, d2;
};
