// Board settings: cell pitch, chip speeds and the bonus match sizes.
#pragma once

#include <memory>
#include <string>

class TM3Settings {
public:
    float sizeX = 0, sizeY = 0;  // cell pitch in pixels
    float xSpeed = 0, ySpeed = 0;
    int swap_bonusMatch = 0;
    int chain_bonusMatch = 0;
    int group_bonusMatch = 0;
};
using TM3SettingsPtr = std::shared_ptr<TM3Settings>;

// Reads "data/settings.dat"-style files; path relative to the data root.
// A missing file gives settings of zeros (the file layer reports it).
TM3SettingsPtr loadM3Settings(const std::string& path);
