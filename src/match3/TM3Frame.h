// One cell of the decorative frame grid laid around and between the plates.
#pragma once

#include <memory>
#include <vector>

#include "match3/TM3FrameData.h"
#include "match3/TTileData.h"

class TLevel;

class TM3Frame {
public:
    TLevel* lvl = nullptr;
    std::vector<TM3FrameDataPtr> lista;  // drawn in list order
    float x = 0, y = 0;
    float a = 0;
    float s = 1;
    TTileDataPtr td;  // kind of the plate under this cell (kind 0 on the border ring)

    void draw() const;
};
using TM3FramePtr = std::shared_ptr<TM3Frame>;
