#include "profiles/TStageData.h"

TProfLevelDataPtr TStageData::getLevelData(int n) {
    for (auto& l : levels)
        if (l->nrLevelu == n) return l;
    auto l = std::make_shared<TProfLevelData>();
    l->nrLevelu = n;
    levels.push_back(l);
    return l;
}
