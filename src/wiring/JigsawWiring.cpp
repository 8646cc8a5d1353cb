// The jigsaw: its screen under "PUZZLE", the profile's jigsaw links, and the
// development entry point that opens the screen on one puzzle file.
#include <cstdio>

#include "app/AppGlobals.h"
#include "app/Control.h"
#include "app/FrameServices.h"
#include "campaign/TLevelManager.h"
#include "jigsaw/JigsawProfileLinks.h"
#include "jigsaw/TPuzzleGame.h"
#include "jigsaw/TPuzzleLevel.h"
#include "profiles/ProfileHooks.h"
#include "profiles/TProfile.h"
#include "screens/TOptions.h"
#include "screens/TPopUp.h"
#include "wiring/Wiring.h"

namespace {
int questQuota(int levelNr) {
    auto d = levelManager().getPuzzleData2(levelNr);
    return d ? d->puzzles : -1;
}
}  // namespace

void wireJigsaw() {
    if (!puzzleGame) puzzleGame = std::make_shared<TPuzzleGame>();
    Control::registerScreen("PUZZLE", [] { return puzzleGame->mainLoop(); });

    connectJigsawToProfiles(profileHooks());
    // The pieces to own after a won level come from the level manager's quota table.
    puzzleGame->quotaHook = questQuota;
    // "menu" asks through the options overlay, as the play screen's menu
    // does, with nothing to restart; the refusal of "back" is a pop-up.
    puzzleGame->menuQuestion = [](TEkran* behind) { return options().mainLoop(behind, true, false); };
    puzzleGame->popUp = [](const std::string& text, TEkran* behind) { notice(text, behind); };
}

int runPuzzleFile(const std::string& file) {
    // A player of its own, in a folder beside the players' (never listed),
    // who has just won level 1 and earns every piece at once.
    auto profile = std::make_shared<TProfile>();
    profile->name = "Jigsaw Test";
    profile->nrLevelu = 2;
    profile->profilesDir = userRoot.empty() ? std::string() : userRoot + "/PuzzleTest/";
    profile->puzzleLevel = loadPuzzleLevel(file, 1);
    if (!profile->puzzleLevel) {
        std::printf("refused %s\n", file.c_str());
        return 1;
    }
    if (!puzzleGame) puzzleGame = std::make_shared<TPuzzleGame>();
    const int pieces = static_cast<int>(profile->puzzleLevel->allPuzzles.size());
    puzzleGame->profile = profile;
    puzzleGame->quotaHook = [pieces](int) { return pieces; };
    // A quit saves this player too, as it saves the listed ones.
    addExitSave("jigsaw-test", [profile] { profile->save(); });
    Control::currentName = "PUZZLE";
    const std::string next = puzzleGame->mainLoop();
    std::printf("puzzle: left with %s\n", next.c_str());
    std::fflush(stdout);
    puzzleGame->profile = nullptr;
    puzzleGame->quotaHook = questQuota;
    return 0;
}
