#include "app/AppHooks.h"

#include <cstdio>
#include <map>
#include <memory>

#include "app/FrameServices.h"
#include "app/TPlaceholderScreen.h"
#include "app/services/Services.h"

namespace {

std::string runPlaceholder(const std::string& name, const std::vector<std::string>& choices) {
    static std::map<std::string, std::shared_ptr<TPlaceholderScreen>> screens;
    auto& s = screens[name];
    if (!s) s = std::make_shared<TPlaceholderScreen>(name, choices);
    return s->mainLoop();
}

// The quest state the stand-in profile keeps until profiles exist.
struct TPlaceholderQuest {
    int level = 1;
    std::string gameType;
};
TPlaceholderQuest& quest() {
    static TPlaceholderQuest q;
    return q;
}

template <class F, class G>
void orDefault(F& hook, G&& fallback) {
    if (!hook) hook = std::forward<G>(fallback);
}

}  // namespace

AppHooks& appHooks() {
    static AppHooks* hooks = [] {
        auto* h = new AppHooks();  // never destroyed: the exit hook may run during static destruction
        return h;
    }();
    static bool filled = false;
    if (!filled) {
        filled = true;
        fillDefaultHooks();
    }
    return *hooks;
}

void fillDefaultHooks() {
    AppHooks& h = appHooks();
    orDefault(h.createSingletons, [] {});
    orDefault(h.initPlayLog, [] {});
    orDefault(h.loadOptions, [] {});
    orDefault(h.openScreen, [] { openGraphics(1024, 768, 0, 0); });
    orDefault(h.loadCursor, [](const std::string& name, const std::string& path) {
        // No cursor yet: just tell whether its picture would load.
        if (!LoadImage(path)) std::fprintf(stderr, "Cursor '%s': cannot load %s\n", name.c_str(), path.c_str());
    });
    orDefault(h.setCursorVisible, [](bool) {});
    orDefault(h.setupMouse, [] { ShowMouse(); });
    orDefault(h.brandingShow, [] {});
    orDefault(h.loadingScreen, [] {});

    orDefault(h.mouseUpdate, [](int) {});
    orDefault(h.mouseDraw, [] {});
    orDefault(h.soundUpdate, [] {});
    orDefault(h.stopAllSounds, [] {});
    orDefault(h.resumeAllSounds, [] {});

    orDefault(h.saveProfiles, [] {});
    orDefault(h.saveOptions, [] {});
    orDefault(h.savePlayLog, [] {});

    orDefault(h.mainMenuLoop, [] { return runPlaceholder("MAIN-MENU", {"NEW-QUEST", "RESUME-QUEST", "END"}); });
    orDefault(h.mainGameLoop,
              [] { return runPlaceholder("MAIN-GAME", {"GET-NEXT-QUEST-LEVEL", "RESTART-LEVEL", "MAIN-MENU"}); });
    orDefault(h.storyLoop, [](int part) {
        return part == 3 ? runPlaceholder("STORY-END", {"MAIN-MENU"}) : runPlaceholder("STORY", {"UBIERANIE"});
    });
    orDefault(h.ubieranieLoop, [] { return runPlaceholder("UBIERANIE", {"MAIN-GAME", "MAIN-MENU"}); });
    orDefault(h.puzzleLoop, [] { return runPlaceholder("PUZZLE", {"GET-NEXT-STAGE", "MAIN-MENU"}); });
    orDefault(h.galeriaLoop, [](int) { return runPlaceholder("GALERIA", {"UBIERANIE", "MAIN-MENU"}); });
    orDefault(h.endOfGameLoop, [] { return runPlaceholder("END-OF-GAME", {"MAIN-MENU"}); });

    orDefault(h.profileLevelNumber, [] { return quest().level; });
    orDefault(h.setProfileLevelNumber, [](int n) { quest().level = n; });
    orDefault(h.profileSave, [] {});
    orDefault(h.questStartNew, [] { quest() = TPlaceholderQuest{}; });
    orDefault(h.questLoadActLevel, [] { return 0; });
    orDefault(h.mainGameSetQuestLevel, [] {});
    orDefault(h.mainGameSetStartData, [] { quest().gameType = "MAIN-GAME"; });
    orDefault(h.mainGameSetContinueLevel, [](int) {});
    orDefault(h.profileGameType, [] { return quest().gameType; });
    // Every third level carries jigsaw pieces, so "PUZZLE" can be reached.
    orDefault(h.finishedLevelHasPuzzle, [] { return quest().level % 3 == 0; });
    orDefault(h.profileNextStage, [] { return std::string(quest().level >= 191 ? "STORY" : "GALERIA"); });
}
