// The play screen in the screen table and the quest steps
// that hand it its levels.
#include <memory>

#include "app/Control.h"
#include "app/TMainGame.h"
#include "wiring/Wiring.h"

void wirePlayScreen() {
    // A quest level that could not be loaded leaves the play screen without
    // a level: the quest cannot go on there (a notice, back to the menu).
    Control::registerScreen("MAIN-GAME", [] {
        if (mainGame->level) return mainGame->mainLoop();
        return Control::QUEST_cannotGoOn();
    });
    Control::registerQuestSteps();
}
