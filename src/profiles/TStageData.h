// Results of one stage: its levels and the sum of their scores.
#pragma once

#include <memory>
#include <vector>

#include "profiles/TProfLevelData.h"

class TStageData {
public:
    std::vector<TProfLevelDataPtr> levels;
    int nrStageu = 0;
    int score = 0;

    // The entry for level n, created and appended when missing.
    TProfLevelDataPtr getLevelData(int n);
};
using TStageDataPtr = std::shared_ptr<TStageData>;
