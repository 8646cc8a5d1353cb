// --play-level: one level file played on the real play screen, outside the
// quest, for a throw-away player kept in the per-user folder.
#pragma once

#include <string>

// Plays the file (again after each restart), prints one line ("won", "lost"
// or "left" (main menu), score and seconds) and returns 0; a refused level
// returns 1.
int playLevelFile(const std::string& file, bool timed);
// The level number a file name carries ("level_012.lvl" is level 12), else 1.
int levelNumberOfFile(const std::string& path);
