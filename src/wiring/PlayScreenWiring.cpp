// The play screen in the screen table, its menu overlay, and the quest steps
// that hand it its levels.
#include <memory>

#include "app/Control.h"
#include "app/TMainGame.h"
#include "app/TPauseMenu.h"
#include "app/TPlaceholderScreen.h"
#include "wiring/Wiring.h"

void wirePlayScreen() {
    static auto pause = std::make_shared<TPauseMenu>();
    mainGame->optionsLoop = [] { return pause->mainLoop(mainGame.get()); };
    // No tutorial is built into the game yet: the play screen shows no tips.
    mainGame->tutorialUpdate = nullptr;
    mainGame->tutorialTipShown = nullptr;

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
