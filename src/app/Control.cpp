#include "app/Control.h"

#include <cstdio>
#include <map>

#include "app/AppGlobals.h"
#include "app/TMainGame.h"
#include "match3/TLevel.h"
#include "platform/Services.h"
#include "profiles/ProfileHooks.h"
#include "profiles/TProfileManager.h"

std::string Control::currentName;
std::function<bool(int)> Control::hasQuestLevel;

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

// A notice the player sees (a pop-up or a message box) and stderr.
void questNotice(const std::string& text) {
    if (profileHooks().showMessage) {
        std::fprintf(stderr, "%s\n", text.c_str());
        profileHooks().showMessage(text);
    } else {
        Notify(text);  // a message box, or stderr when headless
    }
}

// Without the tables' answer every level up to the last counts as held.
bool levelHeld(int n) {
    return Control::hasQuestLevel ? Control::hasQuestLevel(n) : n <= Control::kLastQuestLevel;
}

// Without a dog table every stage number is taken as it is.
bool stageHeld(const TProfile& p) {
    const ProfileHooks& h = profileHooks();
    const int dogs = h.dogCount ? h.dogCount() : 0;
    return dogs <= 0 || (p.nrStageu >= 1 && p.nrStageu <= dogs);
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
    // Checked before anything is reset, so a quest in progress is not lost
    // to tables that cannot be read.
    if (!levelHeld(1)) {
        questNotice(
            "The quest's levels cannot be found (data/quest_levels.dat has no level 1), so a new quest "
            "cannot start. Your progress is kept.");
        return "MAIN-MENU";
    }
    if (mainGame) {
        mainGame->continueLevel = 0;
        mainGame->profile = p;
    }
    p->QUEST_startNew();
    return "STORY";
}

bool Control::questCanResume(const TProfile& p) {
    if (p.questLevel) return true;
    // Every stage done and left before the ending began (the last owner
    // scene or gallery): resuming shows the ending.
    const ProfileHooks& h = profileHooks();
    const int dogs = h.dogCount ? h.dogCount() : 0;
    return dogs > 0 && p.nrStageu == dogs + 1 && !p.gameType.empty() && p.nrLevelu <= kLastQuestLevel;
}

std::string Control::RESUME_Quest() {
    TProfilePtr p = questProfile();
    if (!p) return "MAIN-MENU";
    if (p->nrLevelu > kLastQuestLevel && !p->questLevel) {
        // The campaign has ended: its credits are never shown twice.
        std::fprintf(stderr, "The campaign is complete; there is nothing to resume.\n");
        return "MAIN-MENU";
    }
    const ProfileHooks& h = profileHooks();
    const int dogs = h.dogCount ? h.dogCount() : 0;
    if (dogs > 0 && p->nrStageu == dogs + 1 && !p->questLevel) {
        // Every stage is done (the last stage change drops the quest level;
        // a stage number edited past the table keeps it and is refused
        // below). Left before the ending began (in the last owner scene or
        // the last gallery, which keep their screen name), the ending is
        // shown; once it has begun the name is cleared and the quest is
        // complete.
        if (!p->gameType.empty()) return "STORY";
        std::fprintf(stderr, "The campaign is complete; there is nothing to resume.\n");
        return "MAIN-MENU";
    }
    if (!stageHeld(*p)) return QUEST_cannotGoOn();
    // After the last level's jigsaw the profile keeps the won level (so the
    // jigsaw resumes) while its number has moved past the tables: that
    // level is not handed to the play screen again.
    const bool held = levelHeld(p->nrLevelu);
    if (mainGame) mainGame->profile = p;
    // Through the profile, so the level's saved play time goes on with it.
    if (held) p->handLevelToPlay();
    else if (mainGame) mainGame->setLevel(nullptr);
    const std::string at = p->gameType.empty() ? "MAIN-GAME" : p->gameType;
    // The play screen needs its level; the owner scene and the jigsaw do not.
    if (screenNameUpper(at) == "MAIN-GAME" && !held) return QUEST_cannotGoOn();
    return at;
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
    const TProfilePtr p = profileManager().profile;
    if (p && !levelHeld(p->nrLevelu)) return QUEST_cannotGoOn();
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
    // A level the tables do not hold is never loaded: the profile keeps the
    // level it had, so a quit here still resumes.
    if (!levelHeld(p->nrLevelu)) return QUEST_cannotGoOn();
    prepareQuestLevel();
    return "MAIN-GAME";
}

std::string Control::QUEST_getNextLevel() {
    const bool hadPuzzle = mainGame && mainGame->level && mainGame->level->saPuzzle != 0;
    if (!hadPuzzle) return QUEST_PrepareNextLevel();
    // The won level's jigsaw comes first, even after the last level: the
    // last stage's solved jigsaw is what leads to the ending.
    TProfilePtr p = questProfile();
    if (!p) return "MAIN-MENU";
    p->save();
    p->nrLevelu += 1;
    // From here the jigsaw is where the quest resumes: preparing the next
    // level saves the profile, and a game killed before the jigsaw opens
    // must not resume by playing that level with the jigsaw skipped.
    p->gameType = "PUZZLE";
    if (levelHeld(p->nrLevelu))
        prepareQuestLevel();
    else if (mainGame)
        mainGame->setLevel(nullptr);  // nothing to play after the jigsaw
    return "PUZZLE";
}

std::string Control::QUEST_getNextStage() {
    TProfilePtr p = questProfile();
    if (!p) return "MAIN-MENU";
    // The next stage starts at the level already reached; without it the
    // quest cannot go on (the campaign's end needs no level).
    const ProfileHooks& h = profileHooks();
    const int dogs = h.dogCount ? h.dogCount() : 0;
    if (p->nrStageu + 1 <= dogs && !levelHeld(p->nrLevelu)) return QUEST_cannotGoOn();
    return p->getNextStage();
}

std::string Control::QUEST_cannotGoOn() {
    TProfilePtr p = questProfile();
    if (!p) return "MAIN-MENU";
    if (p->nrLevelu > kLastQuestLevel && stageHeld(*p)) {
        // Past the last level with no ending on the way: the campaign ends
        // here, once. The quest is complete, so nothing is offered to resume.
        std::fprintf(stderr, "Level %d is past the campaign's last level; the campaign ends.\n", p->nrLevelu);
        p->questLevel = nullptr;
        p->gameType.clear();
        if (mainGame) mainGame->setLevel(nullptr);
        p->save();
        runEndOfGame();
        return "MAIN-MENU";
    }
    if (!stageHeld(*p))
        questNotice("The quest cannot go on: stage " + std::to_string(p->nrStageu) +
                    " is not in the dog table. Your progress is kept.");
    else
        questNotice("The quest cannot go on: level " + std::to_string(p->nrLevelu) +
                    " is missing from the quest's level table (data/quest_levels.dat) or its file cannot be "
                    "read. Your progress is kept.");
    return "MAIN-MENU";
}
