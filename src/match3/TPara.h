// A swap in progress: the two chips that changed places.
#pragma once

#include <memory>

class TChip;

class TPara {
public:
    std::shared_ptr<TChip> c1, c2;
};
