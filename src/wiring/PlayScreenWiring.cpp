// The play screen in the screen table, its menu overlay, and the quest steps
// that hand it its levels.
#include <memory>

#include "app/Control.h"
#include "app/TMainGame.h"
#include "app/TPauseMenu.h"
#include "wiring/Wiring.h"

void wirePlayScreen() {
    static auto pause = std::make_shared<TPauseMenu>();
    mainGame->optionsLoop = [] { return pause->mainLoop(mainGame.get()); };
    // No tutorial is built into the game yet: the play screen shows no tips.
    mainGame->tutorialUpdate = nullptr;
    mainGame->tutorialTipShown = nullptr;

    // A quest level that could not be loaded leaves the play screen without
    // a level: the quest cannot go on there (a notice, back to the menu).
    Control::registerScreen("MAIN-GAME", [] {
        if (mainGame->level) return mainGame->mainLoop();
        return Control::QUEST_cannotGoOn();
    });
    Control::registerQuestSteps();
}
