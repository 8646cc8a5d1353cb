// The dogs: the owner scene ("UBIERANIE"), the gallery ("GALERIA") and the
// show-dog overlay; the profile's links to the dog table; and the development
// start in the middle of the quest (--quest-at).
#include <cstdio>

#include "app/AppGlobals.h"
#include "app/Control.h"
#include "app/TMainGame.h"
#include "dogs/TGaleria.h"
#include "dogs/TShowDog.h"
#include "dogs/TUbieranie.h"
#include "jigsaw/TPuzzleGame.h"
#include "profiles/ProfileHooks.h"
#include "profiles/TProfileManager.h"
#include "wiring/TOwnerSceneForJigsaw.h"
#include "wiring/Wiring.h"

void createDogScreens() {
    if (!galeria) galeria = std::make_shared<TGaleria>();
    if (!ubieranie) ubieranie = std::make_shared<TUbieranie>();
    if (!showDog) showDog = std::make_shared<TShowDog>();
}

void wireDogs() {
    createDogScreens();
    Control::registerScreen("UBIERANIE", [] { return ubieranie->mainLoop(); });
    Control::registerScreen("GALERIA", [] {
        // The cards show the dogs' pictures, which the owner scene loads: a
        // quest resumed straight into the last gallery has not visited it.
        ubieranie->setup();
        return galeria->mainLoop(0);
    });
    // The jigsaw's win sequence flies the pieces onto this stage's dog.
    if (puzzleGame) puzzleGame->ownerScene = std::make_shared<TOwnerSceneForJigsaw>();

    ProfileHooks& h = profileHooks();
    h.getDog = [](int stage) -> TPiesPtr {
        ubieranie->readDogs();
        return ubieranie->getDog(stage);
    };
    h.dogCount = [] {
        ubieranie->readDogs();
        return static_cast<int>(ubieranie->dogsList.size());
    };
    h.dogId = [](const TPiesPtr& d) { return d ? d->id : 0; };
    h.dogById = [](int id) -> TPiesPtr {
        ubieranie->readDogs();
        return ubieranie->getDog(id);
    };
    h.dogStartLevel = [](const TPiesPtr& d) { return d ? d->startLevel : 0; };
    h.dogPuzzleLevel = [](const TPiesPtr& d) { return d ? d->puzzleLevel : std::string(); };
    h.prepareCharacter = [] { ubieranie->_prepareCharacterBegin(); };
    h.galleryNewDog = [](const TPiesPtr& d) { galeria->newDog = d; };
}

std::string startQuestAt(int level, bool jigsawSolved) {
    createDogScreens();
    ubieranie->readDogs();
    TProfileManager& pm = profileManager();
    if (!pm.profile) {
        TProfilePtr p = pm.findByID(profileIDOf("Player"));
        if (!p) p = pm.createProfile("Player");
        if (p) pm.chooseProfile(p);
    }
    const TProfilePtr p = pm.profile;
    if (!p) {
        std::fprintf(stderr, "--quest-at: no player could be made; starting at the menu.\n");
        return "MAIN-MENU";
    }
    // The play screen plays (and saves) for this player, not a throw-away one.
    if (mainGame) mainGame->profile = p;
    p->QUEST_startNew();
    // The stage holding the level (the last dog starting at or before it);
    // with the jigsaw solved, the stage of the level just won (level - 1), as
    // the visit after the stage's last level is still that stage's.
    const int held = jigsawSolved ? level - 1 : level;
    int stage = 1;
    for (const auto& d : ubieranie->dogsList)
        if (d->startLevel <= held && d->id > 0) stage = d->id;
    for (int s = 1; s < stage; ++s) {
        // Earlier stages count as done, as if played.
        p->ulozone = 1;
        p->getNextStage();
    }
    p->nrLevelu = level;
    p->ulozone = jigsawSolved ? 1 : 0;
    p->QUEST_loadActLevel();
    p->gameType = "UBIERANIE";
    p->save();
    return "UBIERANIE";
}
