// One quest or free-play level: the quest level number it answers to and the
// path of its level file.
#pragma once

#include <memory>
#include <string>

class TLevelData {
public:
    int id = 0;
    std::string url;  // the data folder prefix + the path read from the table
};
using TLevelDataPtr = std::shared_ptr<TLevelData>;
