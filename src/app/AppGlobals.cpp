#include "app/AppGlobals.h"

std::string nextScreen;
std::string userRoot;
std::string profilesDir;
std::string profilesFile;
int tutorialDisabled = 0;
int cheatsEnabled = 0;
int playLogEnabled = 0;
FontPtr bigFont;
std::string pauseText;
std::shared_ptr<TDeltaTime> deltaTime;
int desktopWidth = 0, desktopHeight = 0;
std::string productName = "Brimble";
AppOptions appOptions;
