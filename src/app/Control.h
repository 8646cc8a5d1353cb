// The main loop: turns the name of the next screen or quest step into a call,
// until "END".
#pragma once

#include <string>

class Control {
public:
    // The name being acted on (upper case), for the harness and the log.
    static std::string currentName;

    static int start();
    static int mainLoop();
    // One step of the loop: acts on the name and returns the next one.
    static std::string dispatch(const std::string& name);

    static std::string RESTART_Level();
    static std::string RESUME_Quest();
    static std::string NEW_Quest();
    static std::string QUEST_PrepareNextLevel();
    static std::string QUEST_getNextLevel();
    static std::string QUEST_getNextStage();
    static int prepareQuestLevel();
};

// ASCII upper case (screen names are ASCII).
std::string screenNameUpper(const std::string& name);
