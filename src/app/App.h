// The command line (development and tests only; the player needs none).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TCommandLine {
    std::string dataDir;  // --data
    std::string userDir;
    bool windowed = false;
    bool headless = false;
    std::string script;
    std::string shots;
    bool seedGiven = false;
    uint32_t seed = 0;
    std::string playLevel;
    bool timed = false;
    bool drawAll = false;    // --draw-all: headless draws every frame
    std::string guiGallery;  // --gui-gallery FILE: dev-only, shows one GUI script
    bool credits = false;    // --credits: dev-only, rolls the end-of-campaign credits
    std::string puzzle;      // --puzzle FILE: dev-only, the jigsaw screen on one puzzle file
    int questAt = 0;            // --quest-at LEVEL: dev-only, starts the quest at that level's owner scene
    bool jigsawSolved = false;  // --jigsaw-solved: with --quest-at, the stage's jigsaw is solved
    bool editor = false;     // --editor [FILE]: the level editor on a file or a new level
    std::string editorFile;
    bool help = false;
    bool version = false;
};

// Parses the arguments (without the program name). false with a message for
// an unknown flag, a missing value or a bad number.
bool parseCommandLine(const std::vector<std::string>& args, TCommandLine& out, std::string& error);
std::string usageText();

// A path given on the command line made absolute (the game changes folder).
std::string absolutePath(const std::string& p);
// --data, else game/ beside the build, else the current folder.
std::string findDataDir(const std::string& given);
