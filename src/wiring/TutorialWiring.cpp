// The tutorial: its tips over the play screen, the owner scene and the
// jigsaw screen, and the profile's links to the tips it records.
#include "app/TMainGame.h"
#include "dogs/TUbieranie.h"
#include "jigsaw/TPuzzleGame.h"
#include "profiles/ProfileHooks.h"
#include "profiles/TProfileManager.h"
#include "tutorial/TTutorial.h"
#include "wiring/Wiring.h"

void wireTutorial() {
    if (!tutorial) tutorial = std::make_shared<TTutorial>();

    if (mainGame) {
        mainGame->tutorialUpdate = [] { tutorialUpdate(mainGame.get()); };
        mainGame->tutorialDraw = [] { tutorialDraw(mainGame.get()); };
        mainGame->tutorialTipShown = [] { return tutorial->tipShown(mainGame.get()); };
        mainGame->tutorialClearTip = [] { tutorial->clearTip(); };
    }
    if (ubieranie) {
        ubieranie->tutorialUpdate = [] { tutorialUpdate(ubieranie.get()); };
        ubieranie->tutorialDraw = [] { tutorialDraw(ubieranie.get()); };
        ubieranie->tutorialClearTip = [] { tutorial->clearTip(); };
    }
    if (puzzleGame) {
        // The development jigsaw (--puzzle) is solved by a throw-away player:
        // no tips for it.
        puzzleGame->tutorialUpdate = [] {
            if (!puzzleGame->profile || puzzleGame->profile == profileManager().profile)
                tutorialUpdate(puzzleGame.get());
        };
        puzzleGame->tutorialDraw = [] { tutorialDraw(puzzleGame.get()); };
        puzzleGame->tutorialClearTip = [] { tutorial->clearTip(); };
    }

    ProfileHooks& h = profileHooks();
    // A new quest: the tip on screen goes (the shown tips were forgotten by
    // the profile itself).
    h.tutorialReset = [] { tutorial->clearTip(); };
    h.tipId = [](const TTutorialTipPtr& t) { return t ? t->id : std::string(); };
    h.tipById = [](const std::string& id) { return tutorial->tipById(id); };
}
