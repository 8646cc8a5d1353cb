#include "app/Control.h"

#include <cstdio>

#include "app/AppGlobals.h"
#include "app/AppHooks.h"
#include "app/services/Services.h"

std::string Control::currentName;

std::string screenNameUpper(const std::string& name) {
    std::string s = name;
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

int Control::start() {
    nextScreen = "MAIN-MENU";
    appHooks().setupMouse();
    return 0;
}

std::string Control::dispatch(const std::string& name) {
    const std::string n = screenNameUpper(name);
    currentName = n;
    AppHooks& h = appHooks();
    if (n == "MAIN-MENU") return h.mainMenuLoop();
    if (n == "MAIN-GAME") return h.mainGameLoop();
    if (n == "STORY") {
        const int level = h.profileLevelNumber();
        if (level < 10) return h.storyLoop(1);
        if (level == 13) return h.storyLoop(3);
        h.galeriaLoop(0);
        return h.storyLoop(2);
    }
    if (n == "UBIERANIE") return h.ubieranieLoop();
    if (n == "PUZZLE") return h.puzzleLoop();
    if (n == "GALERIA") return h.galeriaLoop(0);
    if (n == "NEW-QUEST") return NEW_Quest();
    if (n == "RESUME-QUEST") return RESUME_Quest();
    if (n == "GET-NEXT-QUEST-LEVEL") return QUEST_getNextLevel();
    if (n == "GET-NEXT-STAGE") return QUEST_getNextStage();
    if (n == "RESTART-LEVEL") return RESTART_Level();
    if (n == "END") return "END";
    std::fprintf(stderr, "Unknown screen name '%s'; going to MAIN-MENU.\n", name.c_str());
    return "MAIN-MENU";
}

int Control::mainLoop() {
    while (screenNameUpper(nextScreen) != "END") {
        nextScreen = dispatch(nextScreen);
        PollSystem();
    }
    currentName = "END";
    return 0;
}

std::string Control::NEW_Quest() {
    appHooks().mainGameSetContinueLevel(0);
    appHooks().questStartNew();
    return "STORY";
}

std::string Control::RESUME_Quest() {
    appHooks().mainGameSetQuestLevel();
    const std::string type = appHooks().profileGameType();
    return type.empty() ? "MAIN-GAME" : type;
}

int Control::prepareQuestLevel() {
    const int r = appHooks().questLoadActLevel();
    appHooks().mainGameSetQuestLevel();
    appHooks().mainGameSetStartData();
    return r;
}

std::string Control::RESTART_Level() {
    prepareQuestLevel();
    return "MAIN-GAME";
}

std::string Control::QUEST_PrepareNextLevel() {
    AppHooks& h = appHooks();
    h.profileSave();
    const int level = h.profileLevelNumber() + 1;
    h.setProfileLevelNumber(level);
    if (level >= 192) {  // past the last level as well: never load a level that does not exist
        h.endOfGameLoop();
        return "MAIN-MENU";
    }
    prepareQuestLevel();
    return "MAIN-GAME";
}

std::string Control::QUEST_getNextLevel() {
    const bool hadPuzzle = appHooks().finishedLevelHasPuzzle();
    const std::string next = QUEST_PrepareNextLevel();
    return hadPuzzle ? "PUZZLE" : next;
}

std::string Control::QUEST_getNextStage() { return appHooks().profileNextStage(); }
