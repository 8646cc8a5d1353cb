// The one place where the real subsystems replace the stand-ins of AppHooks.
// Each subsystem, once built, is connected here: its singletons created in
// the start-up table's order, then its hooks set, e.g.
//   appHooks().mainMenuLoop = [] { return mainMenu->mainLoop(); };
#include "app/AppHooks.h"
#include "app/MainGameWiring.h"
#include "app/PlayLogWiring.h"
#include "screens/ProfilesWiring.h"
#include "screens/ResultScreensWiring.h"

void wireAppHooks() {
    wireMainGame();
    wireResultScreens();
    wireProfiles();
    wirePlayLog();
}
