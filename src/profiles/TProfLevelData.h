// One quest level's result inside a stage.
#pragma once

#include <memory>

class TProfLevelData {
public:
    int nrLevelu = 0;
    int score = 0;
    int time = 0;
    int punktyZebrane = 0;
};
using TProfLevelDataPtr = std::shared_ptr<TProfLevelData>;
