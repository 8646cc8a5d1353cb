// The composition root: creates the singletons in their order and connects
// the subsystems to each other. Only main.cpp and the tests include it.
#pragma once

#include <string>
#include <vector>

// Runs the game with its command line; returns the process status.
int runBrimble(int argc, char** argv);

// The singletons, in the order the rest of the game relies on: the play
// screen, the screens, the managers, the sound manager.
void createSingletons();
// Connects every subsystem: the screen table, the play screen's links, the
// profile's hooks, the exit saves. Idempotent.
void wireGame();

// One wiring function per subsystem (called by wireGame).
void wirePlayScreen();
void wireResultScreens();
void wireProfiles();
void wireStandIns();
void wireGui();
void wirePlayLog();
// Sets the play log's sender up (after "playLog.txt" was looked for).
void startPlayLog();
void wireJigsaw();

// Development entry point: the jigsaw screen on one puzzle file, for a
// throw-away player who owns every piece; returns the process status.
int runPuzzleFile(const std::string& file);
void wireCampaign();
void wireDogs();
// The owner scene, gallery and show-dog singletons (made by wireDogs when missing).
void createDogScreens();
// Development start (--quest-at): the current player (made "Player" when
// there is none) starts a quest and jumps to `level` in the stage that holds
// it, earlier stages counted as done; with jigsawSolved the stage of the
// level just won (level - 1) has its jigsaw solved, so the scene shows the dog
// dressed and leads on to the next stage. Returns the screen to start at.
std::string startQuestAt(int level, bool jigsawSolved);
void wireMenu();
// The level editor's screen.
void wireEditor();
// Development start (--editor [FILE]): the editor on a level file, or on a
// new level when FILE is ""; leaving it ends the program.
int runEditorFile(const std::string& file);
void wireTutorial();
// The steps of the loading screen's five parts.
void prepareLoadingSteps();

// Shown when SDL runs on a driver that shows nothing.
extern const char* const kNoDisplayMessage;

// Hooks still on no provider that were not left empty on purpose, as
// "group.name"; empty when everything is connected.
std::vector<std::string> unconnectedHooks();
