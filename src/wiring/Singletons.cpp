// The one instance of every screen and manager, created in a fixed order:
// the frame timer first (by the start-up), then the play screen, the story
// screen, the end-of-campaign screen, the main menu, the lose and win screens,
// the dialogs, the profile manager and the options
// (both made on first use and never destroyed, so the exit hook can save
// them), and last the sound manager with its sound table.
#include "app/TMainGame.h"
#include "audio/TGlobalSnd.h"
#include "campaign/TStory.h"
#include "effects/TEffectsPlayParticles.h"
#include "effects/TPlayParticles.h"
#include "jigsaw/TPuzzleGame.h"
#include "profiles/TProfileManager.h"
#include "branding/TBranding.h"
#include "tutorial/TTutorial.h"
#include "screens/TCredits.h"
#include "screens/TFreePlay.h"
#include "screens/TFreePlayContinue.h"
#include "screens/TLoadingScreen.h"
#include "screens/TEndOfGame.h"
#include "screens/TEnterText.h"
#include "screens/TMainMenu.h"
#include "screens/TModeSelection.h"
#include "screens/TPopUp.h"
#include "screens/TQuestContinue.h"
#include "screens/TLoseScreen.h"
#include "screens/TOptions.h"
#include "screens/TWinScreen.h"
#include "wiring/Wiring.h"

void createSingletons() {
    if (!mainGame) mainGame = std::make_shared<TMainGame>();
    if (!puzzleGame) puzzleGame = std::make_shared<TPuzzleGame>();
    if (!story) story = std::make_shared<TStory>();
    if (!endOfGame) endOfGame = std::make_shared<TEndOfGame>();
    if (!mainMenu) mainMenu = std::make_shared<TMainMenu>();
    if (!loseScreen) loseScreen = std::make_shared<TLoseScreen>();
    if (!winScreen) winScreen = std::make_shared<TWinScreen>();
    if (!popUp) popUp = std::make_shared<TPopUp>();
    if (!freePlay) freePlay = std::make_shared<TFreePlay>();
    if (!freePlayContinue) freePlayContinue = std::make_shared<TFreePlayContinue>();
    if (!questContinue) questContinue = std::make_shared<TQuestContinue>();
    if (!enterText) enterText = std::make_shared<TEnterText>();
    if (!modeSelection) modeSelection = std::make_shared<TModeSelection>();
    if (!credits) credits = std::make_shared<TCredits>();
    if (!loadingScreen) loadingScreen = std::make_shared<TLoadingScreen>();
    if (!branding) branding = std::make_shared<TBranding>();
    if (!tutorial) tutorial = std::make_shared<TTutorial>();
    profileManager();
    options();
    // The particle system behind the board's and the play screen's particles.
    static TEffectsPlayParticles particles;
    setPlayParticles(&particles);
    static bool sound = false;
    if (!sound) {
        sound = true;
        globalSnd.setup();
    }
}
