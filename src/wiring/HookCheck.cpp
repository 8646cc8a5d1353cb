// Every link between subsystems is either connected by the wiring or left
// empty on purpose, with the reason written here. A development build lists
// any other at start-up, and a test fails on it, so a new link nobody
// connects cannot go quietly silent.
#include <map>
#include <string>
#include <vector>

#include "app/Control.h"
#include "app/FrameServices.h"
#include "app/TMainGame.h"
#include "dogs/TUbieranie.h"
#include "effects/TParticle.h"
#include "gui/GuiGlobals.h"
#include "jigsaw/TPuzzleGame.h"
#include "match3/TPowerUp.h"
#include "profiles/ProfileHooks.h"
#include "wiring/Wiring.h"

namespace {

// Links without a provider in the game yet; each does the safe minimum
// when empty (see where it is declared).
const std::map<std::string, const char*>& leftEmpty() {
    static const std::map<std::string, const char*> m = {
        {"profile.saveLevel", "the level file writer is the default"},
        {"gui.errorNoticeHook", "notices go to the message box or stderr by default"},
        {"effects.noticeHook", "particle notices go to stderr by default"},
        {"match3.powerUpWidgets", "set by the play screen when it sets up its buttons"},
    };
    return m;
}

}  // namespace

std::vector<std::string> unconnectedHooks() {
    const ProfileHooks& p = profileHooks();
    std::vector<std::pair<std::string, bool>> links = {
        {"profile.getDog", bool(p.getDog)},
        {"profile.dogCount", bool(p.dogCount)},
        {"profile.dogId", bool(p.dogId)},
        {"profile.dogById", bool(p.dogById)},
        {"profile.dogStartLevel", bool(p.dogStartLevel)},
        {"profile.dogPuzzleLevel", bool(p.dogPuzzleLevel)},
        {"profile.prepareCharacter", bool(p.prepareCharacter)},
        {"profile.galleryNewDog", bool(p.galleryNewDog)},
        {"profile.storySetup", bool(p.storySetup)},
        {"profile.tutorialReset", bool(p.tutorialReset)},
        {"profile.tipId", bool(p.tipId)},
        {"profile.tipById", bool(p.tipById)},
        {"profile.loadPuzzleLevel", bool(p.loadPuzzleLevel)},
        {"profile.savePuzzleLevel", bool(p.savePuzzleLevel)},
        {"profile.puzzleId", bool(p.puzzleId)},
        {"profile.puzzleById", bool(p.puzzleById)},
        {"profile.allPieces", bool(p.allPieces)},
        {"profile.markPieceNew", bool(p.markPieceNew)},
        {"profile.loadQuestLevel", bool(p.loadQuestLevel)},
        {"profile.loadLevel", bool(p.loadLevel)},
        {"profile.saveLevel", bool(p.saveLevel)},
        {"profile.mainGameSetLevel", bool(p.mainGameSetLevel)},
        {"profile.mainGameResetPowerUps", bool(p.mainGameResetPowerUps)},
        {"profile.levelTime", bool(p.levelTime)},
        {"profile.setLevelTime", bool(p.setLevelTime)},
        {"profile.mainGameLevelScore", bool(p.mainGameLevelScore)},
        {"profile.askName", bool(p.askName)},
        {"profile.showMessage", bool(p.showMessage)},
        {"control.hasQuestLevel", bool(Control::hasQuestLevel)},
    };
    links.insert(links.end(), {
                                  {"gui.guiClickSound", bool(guiClickSound)},
                                  {"gui.guiFullScreen", bool(guiFullScreen)},
                                  {"gui.errorNoticeHook", bool(errorNoticeHook)},
                                  {"gui.guiFontLoader", bool(guiFontLoader)},
                                  {"app.fullScreenToggle", bool(fullScreenToggle)},
                                  {"effects.noticeHook", bool(TParticle::noticeHook)},
                                  {"match3.powerUpWidgets",
                                   bool(TPowerUp::setWidgetState) && bool(TPowerUp::widgetCentre)},
                              });
    if (puzzleGame) {
        links.insert(links.end(), {
                                      {"puzzleGame.quotaHook", bool(puzzleGame->quotaHook)},
                                      {"puzzleGame.menuQuestion", bool(puzzleGame->menuQuestion)},
                                      {"puzzleGame.popUp", bool(puzzleGame->popUp)},
                                      {"puzzleGame.ownerScene", bool(puzzleGame->ownerScene)},
                                      {"puzzleGame.tutorialClearTip", bool(puzzleGame->tutorialClearTip)},
                                      {"puzzleGame.tutorialUpdate", bool(puzzleGame->tutorialUpdate)},
                                      {"puzzleGame.tutorialDraw", bool(puzzleGame->tutorialDraw)},
                                  });
    } else {
        links.push_back({"puzzleGame", false});
    }
    if (ubieranie) {
        links.insert(links.end(), {
                                      {"ubieranie.tutorialUpdate", bool(ubieranie->tutorialUpdate)},
                                      {"ubieranie.tutorialDraw", bool(ubieranie->tutorialDraw)},
                                      {"ubieranie.tutorialClearTip", bool(ubieranie->tutorialClearTip)},
                                  });
    }
    if (mainGame) {
        links.insert(links.end(), {
                                      {"mainGame.winScreenLoop", bool(mainGame->winScreenLoop)},
                                      {"mainGame.loseScreenLoop", bool(mainGame->loseScreenLoop)},
                                      {"mainGame.optionsLoop", bool(mainGame->optionsLoop)},
                                      {"mainGame.tutorialUpdate", bool(mainGame->tutorialUpdate)},
                                      {"mainGame.tutorialTipShown", bool(mainGame->tutorialTipShown)},
                                      {"mainGame.tutorialDraw", bool(mainGame->tutorialDraw)},
                                      {"mainGame.tutorialClearTip", bool(mainGame->tutorialClearTip)},
                                      {"mainGame.playLogLevel", bool(mainGame->playLogLevel)},
                                  });
    } else {
        links.push_back({"mainGame", false});
    }
    for (const char* name :
         {"MAIN-MENU", "MAIN-GAME", "STORY", "UBIERANIE", "PUZZLE", "GALERIA", "NEW-QUEST", "RESUME-QUEST",
          "GET-NEXT-QUEST-LEVEL", "GET-NEXT-STAGE", "RESTART-LEVEL", "END-OF-GAME"})
        links.push_back({std::string("screen.") + name, Control::isRegistered(name)});

    std::vector<std::string> out;
    for (auto& l : links)
        if (!l.second && !leftEmpty().count(l.first)) out.push_back(l.first);
    return out;
}
