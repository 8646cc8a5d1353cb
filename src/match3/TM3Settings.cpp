#include "match3/TM3Settings.h"

#include "data/TRCMFile.h"
#include "match3/TTileData.h"

TM3SettingsPtr loadM3Settings(const std::string& path) {
    auto s = std::make_shared<TM3Settings>();
    auto file = loadRCMFile(m3DataPath(path));
    if (!file) return s;
    s->sizeX = file->getFloat("settings::size", 0);
    s->sizeY = file->getFloat("settings::size", 1);
    s->xSpeed = file->getFloat("settings::xSpeed");
    s->ySpeed = file->getFloat("settings::ySpeed");
    s->swap_bonusMatch = file->getInt("settings::swap_bonusMatch");
    s->chain_bonusMatch = file->getInt("settings::chain_bonusMatch");
    s->group_bonusMatch = file->getInt("settings::group_bonusMatch");
    return s;
}
