// The main loop: turns the name of the next screen or quest step into a call,
// until "END". Names are looked up in a table that each subsystem fills from
// its wiring (registerScreen); the quest steps of this class register
// themselves with registerQuestSteps().
#pragma once

#include <functional>
#include <string>
#include <vector>

class TProfile;

class Control {
public:
    // One entry of the table: runs a screen's loop or a quest step and
    // returns the next name.
    using TStep = std::function<std::string()>;

    // The name being acted on (upper case), for the harness and the log.
    static std::string currentName;

    // Adds (or replaces) the entry for a name; names are matched in upper case.
    static void registerScreen(const std::string& name, TStep step);
    static bool isRegistered(const std::string& name);
    static std::vector<std::string> registeredNames();
    static void clearRegistry();
    // Registers the quest steps below: "NEW-QUEST", "RESUME-QUEST",
    // "GET-NEXT-QUEST-LEVEL", "GET-NEXT-STAGE", "RESTART-LEVEL".
    static void registerQuestSteps();

    static int start();
    static int mainLoop();
    // One step of the loop: acts on the name and returns the next one. An
    // unknown name goes to "MAIN-MENU" with a message ("END" when even the
    // main menu is missing, so the loop cannot spin).
    static std::string dispatch(const std::string& name);

    static std::string RESTART_Level();
    static std::string RESUME_Quest();
    static std::string NEW_Quest();
    static std::string QUEST_PrepareNextLevel();
    static std::string QUEST_getNextLevel();
    static std::string QUEST_getNextStage();
    static int prepareQuestLevel();
    // Whether the player's quest can be resumed (the menu offers it then).
    static bool questCanResume(const TProfile& p);

    // Runs the end-of-campaign screen (registered as "END-OF-GAME").
    static void runEndOfGame();

    // Whether the quest tables hold level n; connected by the campaign's
    // wiring. Unset: every level counts as held and loading it decides.
    static std::function<bool(int nrLevelu)> hasQuestLevel;
    // The campaign's last level: a quest that gets past it without its
    // ending (edited tables) ends there instead.
    static constexpr int kLastQuestLevel = 191;
    // The quest cannot go on at the current player's level or stage: past
    // the last level the campaign ends (the credits, once); otherwise a
    // notice and back to the menu, with the profile kept as it is.
    static std::string QUEST_cannotGoOn();
};

// ASCII upper case (screen names are ASCII).
std::string screenNameUpper(const std::string& name);
