// The profile's links to the play screen, and the exit saves.
#include "app/FrameServices.h"
#include "app/TMainGame.h"
#include "match3/TLevel.h"
#include "platform/Files.h"
#include "profiles/ProfileHooks.h"
#include "profiles/TProfileManager.h"
#include "screens/TOptions.h"
#include "wiring/Wiring.h"

void wireProfiles() {
    ProfileHooks& h = profileHooks();
    h.mainGameSetLevel = [](const std::shared_ptr<TLevel>& level) {
        if (mainGame) mainGame->setLevel(level);
    };
    h.mainGameResetPowerUps = [] {
        if (mainGame) mainGame->resetPowerUps();
    };
    h.levelTime = [] { return mainGame ? mainGame->levelTime : 0; };
    h.setLevelTime = [](int t) {
        if (mainGame) mainGame->levelTime = t;
    };
    // A saved quest level is read with the play screen's tile and chip tables.
    h.loadLevel = [](const std::string& path) -> std::shared_ptr<TLevel> {
        if (FileType(path) != 1) return nullptr;
        return loadLevelFile(path, mainGame ? mainGame->m3Game.get() : nullptr);
    };
    h.mainGameLevelScore = [] { return mainGame && mainGame->level ? mainGame->level->score : 0; };

    // The exit hook saves the players, then the settings.
    addExitSave("profiles", [] { profileManager().save(); });
    addExitSave("options", [] { options().saveOptions(); });
}
