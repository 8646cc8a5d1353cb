#include "app/Control.h"

#include <cstdio>
#include <map>

#include "app/AppGlobals.h"
#include "app/TMainGame.h"
#include "match3/TLevel.h"
#include "platform/Services.h"
#include "profiles/TProfileManager.h"

std::string Control::currentName;

namespace {

std::map<std::string, Control::TStep>& registry() {
    static std::map<std::string, Control::TStep> r;
    return r;
}

// The current player; the quest steps act on nothing without one.
TProfilePtr questProfile() {
    TProfilePtr p = profileManager().profile;
    if (!p) std::fprintf(stderr, "No player is chosen; the quest cannot go on.\n");
    return p;
}

}  // namespace

std::string screenNameUpper(const std::string& name) {
    std::string s = name;
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

void Control::registerScreen(const std::string& name, TStep step) {
    registry()[screenNameUpper(name)] = std::move(step);
}

bool Control::isRegistered(const std::string& name) {
    auto it = registry().find(screenNameUpper(name));
    return it != registry().end() && it->second;
}

std::vector<std::string> Control::registeredNames() {
    std::vector<std::string> names;
    for (auto& e : registry()) names.push_back(e.first);
    return names;
}

void Control::clearRegistry() {
    registry().clear();
}

void Control::registerQuestSteps() {
    registerScreen("NEW-QUEST", NEW_Quest);
    registerScreen("RESUME-QUEST", RESUME_Quest);
    registerScreen("GET-NEXT-QUEST-LEVEL", QUEST_getNextLevel);
    registerScreen("GET-NEXT-STAGE", QUEST_getNextStage);
    registerScreen("RESTART-LEVEL", RESTART_Level);
}

int Control::start() {
    nextScreen = "MAIN-MENU";
    return 0;
}

std::string Control::dispatch(const std::string& name) {
    const std::string n = screenNameUpper(name);
    currentName = n;
    if (n == "END") return "END";
    auto it = registry().find(n);
    if (it != registry().end() && it->second) return it->second();
    if (n == "MAIN-MENU") {
        std::fprintf(stderr, "No main menu is registered; ending.\n");
        return "END";
    }
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
    TProfilePtr p = questProfile();
    if (!p) return "MAIN-MENU";
    if (mainGame) mainGame->continueLevel = 0;
    p->QUEST_startNew();
    return "STORY";
}

std::string Control::RESUME_Quest() {
    TProfilePtr p = questProfile();
    if (!p) return "MAIN-MENU";
    if (mainGame) mainGame->profile = p;
    // Through the profile, so the level's saved play time goes on with it.
    p->handLevelToPlay();
    return p->gameType.empty() ? "MAIN-GAME" : p->gameType;
}

int Control::prepareQuestLevel() {
    TProfilePtr p = questProfile();
    if (!p) return 0;
    const int r = p->QUEST_loadActLevel();
    if (mainGame) {
        mainGame->profile = p;
        mainGame->setLevel(p->questLevel);
        mainGame->setStartData();
    }
    return r;
}

std::string Control::RESTART_Level() {
    prepareQuestLevel();
    return "MAIN-GAME";
}

void Control::runEndOfGame() {
    auto it = registry().find("END-OF-GAME");
    if (it != registry().end() && it->second) it->second();
}

std::string Control::QUEST_PrepareNextLevel() {
    TProfilePtr p = questProfile();
    if (!p) return "MAIN-MENU";
    p->save();
    p->nrLevelu += 1;
    if (p->nrLevelu >= 192) {  // past the last level as well: never load a level that does not exist
        runEndOfGame();
        return "MAIN-MENU";
    }
    prepareQuestLevel();
    return "MAIN-GAME";
}

std::string Control::QUEST_getNextLevel() {
    const bool hadPuzzle = mainGame && mainGame->level && mainGame->level->saPuzzle != 0;
    const std::string next = QUEST_PrepareNextLevel();
    return hadPuzzle && next == "MAIN-GAME" ? "PUZZLE" : next;
}

std::string Control::QUEST_getNextStage() {
    TProfilePtr p = questProfile();
    if (!p) return "MAIN-MENU";
    return p->getNextStage();
}
