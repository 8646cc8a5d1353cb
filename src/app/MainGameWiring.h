// The play screen's place in the start-up sequence, the main loop and the
// harness (called from wireAppHooks).
#pragma once

#include <string>

void wireMainGame();
// --play-level: plays one level file on a temporary profile, prints one line
// ("won", "lost" or "left" (main menu), score and seconds) and returns 0; a refused level returns 1.
int playLevelFile(const std::string& file, bool timed);
