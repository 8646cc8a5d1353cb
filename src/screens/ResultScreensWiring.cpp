#include "screens/ResultScreensWiring.h"

#include <cstdio>

#include "app/AppHooks.h"
#include "app/Harness.h"
#include "app/TMainGame.h"
#include "app/TPlayParticles.h"
#include "app/TPlayProfile.h"
#include "match3/TLevel.h"
#include "screens/TEffectsPlayParticles.h"
#include "screens/TEndOfGame.h"
#include "screens/TLoseScreen.h"
#include "screens/TResultsHost.h"
#include "screens/TWinScreen.h"

void wireResultsHost() {
    TResultsHost& r = resultsHost();
    r.level = []() -> std::shared_ptr<TLevel> { return mainGame ? mainGame->level : nullptr; };
    r.gameMode = [] { return playProfile().gameMode(); };
    r.timeLeft = [] { return mainGame ? mainGame->getTimeLeft() : std::string("0:00"); };
    r.profileScore = [] { return playProfile().score(); };
    // The play screen's profile interface has no way to add score yet; the
    // stand-in profile keeps it in a field.
    r.addProfileScore = [](int n) {
        if (auto* t = dynamic_cast<TTempProfile*>(&playProfile())) t->totalScore += n;
    };
    r.addProfilePuzzles = [](int n) {
        if (n > 0) playProfile().addPuzzles(n);
    };
    r.puzzlesMissing = [] { return 0; };  // no jigsaw behind the stand-in profile
    r.drawUnder = [] {
        if (mainGame) mainGame->draw();
    };
    r.updateUnder = [] {
        if (mainGame) mainGame->_updateFromOtherScreen();
    };
}

void wireResultScreens() {
    AppHooks& h = appHooks();
    auto previous = h.createSingletons;
    h.createSingletons = [previous] {
        if (previous) previous();
        if (!winScreen) winScreen = std::make_shared<TWinScreen>();
        if (!loseScreen) loseScreen = std::make_shared<TLoseScreen>();
        if (!endOfGame) endOfGame = std::make_shared<TEndOfGame>();
        static TEffectsPlayParticles effects;
        setPlayParticles(&effects);
        if (mainGame) {
            mainGame->winScreenLoop = [] {
                if (harnessActive()) {
                    std::printf("win screen: opened after %d autoplay moves\n", mainGame->autoplayMoves());
                    std::fflush(stdout);
                }
                return winScreen->mainLoop();
            };
            mainGame->loseScreenLoop = [] { return loseScreen->mainLoop(); };
        }
    };
    h.endOfGameLoop = [] { return endOfGame->mainLoop(); };
    auto previousState = h.screenState;
    h.screenState = [previousState] {
        if (winScreen && winScreen->running()) return winScreen->state;
        if (endOfGame && endOfGame->running()) return endOfGame->state;
        return previousState ? previousState() : std::string();
    };
    wireResultsHost();
}
