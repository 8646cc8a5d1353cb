// The one instance of every screen and manager, created in a fixed order:
// the frame timer first (by the start-up), then the play screen, the story
// screen, the end-of-campaign, lose and win screens, the profile manager and the options
// (both made on first use and never destroyed, so the exit hook can save
// them), and last the sound manager with its sound table.
#include "app/TMainGame.h"
#include "audio/TGlobalSnd.h"
#include "campaign/TStory.h"
#include "effects/TEffectsPlayParticles.h"
#include "effects/TPlayParticles.h"
#include "jigsaw/TPuzzleGame.h"
#include "profiles/TProfileManager.h"
#include "screens/TEndOfGame.h"
#include "screens/TLoseScreen.h"
#include "screens/TOptions.h"
#include "screens/TWinScreen.h"
#include "wiring/Wiring.h"

void createSingletons() {
    if (!mainGame) mainGame = std::make_shared<TMainGame>();
    if (!puzzleGame) puzzleGame = std::make_shared<TPuzzleGame>();
    if (!story) story = std::make_shared<TStory>();
    if (!endOfGame) endOfGame = std::make_shared<TEndOfGame>();
    if (!loseScreen) loseScreen = std::make_shared<TLoseScreen>();
    if (!winScreen) winScreen = std::make_shared<TWinScreen>();
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
