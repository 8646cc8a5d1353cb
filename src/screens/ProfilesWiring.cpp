#include "screens/ProfilesWiring.h"

#include "app/AppGlobals.h"
#include "app/AppHooks.h"
#include "audio/TGlobalSnd.h"
#include "profiles/TProfileManager.h"
#include "screens/TOptions.h"

void wireProfiles() {
    AppHooks& h = appHooks();
    TOptions::volumeHook = [](float music, float sound) {
        globalSnd.setMusicVolume(music);
        globalSnd.setSoundVolume(sound);
    };
    // Step 12 of start-up runs after the per-user folders exist, so the
    // profile list is read here too; the loading screen need not do it.
    h.loadOptions = [] {
        options().loadOptions();
        options().applyVolumes();
        profileManager().profilesDir = profilesDir;
        profileManager().loadProfiles();
    };
    h.openScreen = [] { options().openScreen(); };
    h.setupMouse = [] { options().setupMouse(); };
    h.saveProfiles = [] { profileManager().save(); };
    h.saveOptions = [] { options().saveOptions(); };
}
