// Board backgrounds: one global list read once from "data/backgrounds.dat".
#pragma once

#include <memory>
#include <string>
#include <vector>

class TBackGround {
public:
    int id = 0;
    std::string url;
};
using TBackGroundPtr = std::shared_ptr<TBackGround>;

// The global list (filled by loadBackgrounds).
std::vector<TBackGroundPtr>& backGroundsList();
// Reads "data/backgrounds.dat" (or the given data-root-relative path) into the
// global list, replacing what was there, and returns it.
std::vector<TBackGroundPtr>& loadBackgrounds(const std::string& path = "data/backgrounds.dat");
// First background with that id, or null.
TBackGroundPtr getBackground(int id);
