// The main menu in the screen table, the dialogs the profiles reach through
// their hooks (the name entry, messages as notices), the options overlay of
// the play screen.
#include "app/Control.h"
#include "app/FrameServices.h"
#include "app/TEkran.h"
#include "app/TMainGame.h"
#include "data/DataGlobals.h"
#include "data/TTxtFile.h"
#include "platform/Services.h"
#include "profiles/ProfileHooks.h"
#include "profiles/TProfileManager.h"
#include "screens/ScreenKit.h"
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
    Control::registerScreen("MAIN-MENU", [] { return mainMenu->mainLoop(); });

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
