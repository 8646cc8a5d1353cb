// Globals of the application core, created at start-up and kept for the life
// of the process. dataRoot and language live with the data layer
// (data/DataGlobals.h).
#pragma once

#include <memory>
#include <string>

#include "app/TDeltaTime.h"
#include "platform/Services.h"

extern std::string nextScreen;
extern std::string userRoot;      // per-user folder, forward slashes
extern std::string profilesDir;   // userRoot + "/Profiles/"
extern std::string profilesFile;  // profilesDir + "profiles.dat"
extern int tutorialDisabled;      // "noTutorial.txt" exists
extern int cheatsEnabled;         // "cheats.txt" exists
extern int playLogEnabled;        // "playLog.txt" exists
extern FontPtr bigFont;           // "gfx/fonts/Bookman.ttf" at 72 px
extern std::string pauseText;     // line 1 of the localised "txt/pause.txt"
extern std::shared_ptr<TDeltaTime> deltaTime;
extern int desktopWidth, desktopHeight;  // recorded at start-up
extern std::string productName;          // names the per-user folder

// What the command line asked for (development and tests only).
struct AppOptions {
    std::string userDirOverride;  // --user-dir
    bool windowed = false;        // --windowed: never full screen
    bool headless = false;
    std::string scriptPath;
    std::string shotsDir;
    bool seedGiven = false;
    uint32_t seed = 0;
    std::string playLevelFile;  // --play-level
    bool timed = false;         // --timed
};
extern AppOptions appOptions;
