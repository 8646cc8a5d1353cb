// The GUI toolkit's links to the systems built above it: the click of its
// buttons and whether the game runs full screen.
#include "audio/TGlobalSnd.h"
#include "gui/GuiGlobals.h"
#include "screens/TOptions.h"
#include "wiring/Wiring.h"

void wireGui() {
    guiClickSound = [] { globalSnd.click(); };
    guiFullScreen = [] { return options().fullScreen != 0; };
}
