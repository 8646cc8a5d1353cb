// The win and lose screens over the play screen, and the end-of-campaign
// screen in the screen table.
#include <cstdio>

#include "app/Control.h"
#include "app/Harness.h"
#include "app/TMainGame.h"
#include "screens/TEndOfGame.h"
#include "screens/TLoseScreen.h"
#include "screens/TPopUp.h"
#include "screens/TWinScreen.h"
#include "wiring/Wiring.h"

void wireResultScreens() {
    mainGame->winScreenLoop = [] {
        if (harnessActive()) {
            std::printf("win screen: opened after %d autoplay moves\n", mainGame->autoplayMoves());
            std::fflush(stdout);
        }
        return winScreen->mainLoop(mainGame.get());
    };
    mainGame->loseScreenLoop = [] {
        loseScreen->noMoves = mainGame->lostNoMoves;
        return loseScreen->mainLoop(mainGame.get());
    };
    mainGame->showNotice = [](const std::string& text) { notice(text, mainGame.get()); };
    Control::registerScreen("END-OF-GAME", [] { return endOfGame->mainLoop(); });
}
