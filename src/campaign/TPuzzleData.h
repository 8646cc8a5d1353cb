// One jigsaw quota: how many pieces belong to a quest level number.
#pragma once

#include <memory>

class TPuzzleData {
public:
    int levelNr = 0;
    int puzzles = 0;
};
using TPuzzleDataPtr = std::shared_ptr<TPuzzleData>;
