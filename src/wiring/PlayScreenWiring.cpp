// The play screen in the screen table and the quest steps
// that hand it its levels.
#include <memory>

#include "app/Control.h"
#include "app/TMainGame.h"
#include "app/TPlaceholderScreen.h"
#include "wiring/Wiring.h"

void wirePlayScreen() {
    // No tutorial and no play log are built into the game yet: the play
    // screen then shows no tips and records nothing.
    mainGame->tutorialUpdate = nullptr;
    mainGame->tutorialTipShown = nullptr;
    mainGame->playLogLevel = nullptr;

    // A quest level the profile could not load (no level tables yet) leaves
    // the play screen without a level: a stand-in keeps the quest walkable.
    Control::registerScreen("MAIN-GAME", [] {
        if (mainGame->level) return mainGame->mainLoop();
        static auto stand = std::make_shared<TPlaceholderScreen>(
            "MAIN-GAME", std::vector<std::string>{"GET-NEXT-QUEST-LEVEL", "RESTART-LEVEL", "MAIN-MENU"});
        return stand->mainLoop();
    });
    Control::registerQuestSteps();
}
