// The main menu in the screen table, the dialogs the profiles reach through
// their hooks (the name entry, messages as notices), the options overlay of
// the play screen.
#include <cstdio>

#include "app/Control.h"
#include "app/FrameServices.h"
#include "app/TEkran.h"
#include "app/TMainGame.h"
#include "data/DataGlobals.h"
#include "data/TTxtFile.h"
#include "platform/Services.h"
#include "profiles/ProfileHooks.h"
#include "profiles/TProfileManager.h"
#include "branding/FontCache.h"
#include "gui/GuiGlobals.h"
#include "screens/ScreenKit.h"
#include "screens/TCredits.h"
#include "screens/TFreePlay.h"
#include "screens/TFreePlayContinue.h"
#include "screens/TEndOfGame.h"
#include "screens/TLoadingScreen.h"
#include "screens/TLoseScreen.h"
#include "screens/TModeSelection.h"
#include "screens/TProfileScreen.h"
#include "screens/TQuestContinue.h"
#include "screens/TWinScreen.h"
#include "screens/TEnterText.h"
#include "screens/TMainMenu.h"
#include "screens/TOptions.h"
#include "screens/TPopUp.h"
#include "wiring/Wiring.h"

namespace {

TEkran* innermostScreen() {
    const auto& r = TEkran::running();
    return r.empty() ? nullptr : r.back();
}

}  // namespace

void wireMenu() {
    // Every screen's fonts come from the one shared loader.
    guiFontLoader = [](const std::string& path, int size, int style) { return loadSharedFont(path, size, style); };

    Control::registerScreen("MAIN-MENU", [] { return mainMenu->mainLoop(); });
    Control::registerScreen("FREE-PLAY", [] { return freePlay->mainLoop(); });

    ProfileHooks& h = profileHooks();
    // A name is asked over whatever screen is running; with nobody to play
    // for, the question cannot be cancelled.
    h.askName = [] {
        static const std::string title =
            loadTextLines(dataRoot + "txt/enterText.txt", {"", "", "", "What is your name?"})[3];
        const bool noCancel = !profileManager().profile;
        return enterText->mainLoop(innermostScreen(), "", title, noCancel ? 1 : 0);
    };
    h.showMessage = [](const std::string& message) {
        if (innermostScreen())
            notice(message);
        else
            Notify(message);
    };

    // Alt+Enter anywhere; the choice is saved like one made in the options.
    fullScreenToggle = [] {
        options().toggleFullScreen();
        options().settingsChanged();
    };

    // The play screen's menu button opens the options overlay.
    mainGame->optionsLoop = [] { return options().mainLoop(mainGame.get(), true); };
}

void prepareLoadingSteps() {
    if (!loadingScreen) loadingScreen = std::make_shared<TLoadingScreen>();
    TLoadingScreen& l = *loadingScreen;
    for (auto& p : l.parts) p.clear();
    // 1: the play screen with its tables (tiles, chips, frames, backgrounds).
    l.parts[0] = {[] { mainGame->setup(); }};
    // 2: the main menu and its dialogs.
    l.parts[1] = {[] { mainMenu->setup(); }, [] { popUp->setup(); }, [] { questContinue->setup(); },
                  [] { enterText->setup(); }, [] { modeSelection->setup(); }};
    // 3: the options, the profile manager and the credits.
    l.parts[2] = {[] { options().setup(); }, [] { profileScreen().setup(); }, [] { credits->setup(); },
                  [] { freePlay->setup(); }, [] { freePlayContinue->setup(); }};
    // 4: the result screens and the end of the campaign.
    l.parts[3] = {[] { winScreen->setup(); }, [] { loseScreen->setup(); }, [] { endOfGame->setup(); }};
    // 5: the players, now that a saved quest level can be read.
    l.parts[4] = {[] { profileManager().loadProfiles(); }};
}
