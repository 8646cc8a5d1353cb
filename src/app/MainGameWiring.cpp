// Connects the play screen to the start-up sequence, the main loop, the
// headless harness and --play-level.
#include "app/MainGameWiring.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

#include "app/AppGlobals.h"
#include "app/AppHooks.h"
#include "app/Control.h"
#include "app/TMainGame.h"
#include "app/TPauseMenu.h"
#include "app/TPlaceholderScreen.h"
#include "app/TPlayProfile.h"
#include "audio/TGlobalSnd.h"
#include "gui/TMouse.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"

namespace {

std::shared_ptr<TPauseMenu> g_pause;

// The level number a file name carries ("level_012.lvl" is level 12), else 1.
int levelNumberOf(const std::string& path) {
    const std::string stem = std::filesystem::path(path).stem().string();
    size_t end = stem.size();
    while (end > 0 && !std::isdigit(static_cast<unsigned char>(stem[end - 1]))) --end;
    size_t begin = end;
    while (begin > 0 && std::isdigit(static_cast<unsigned char>(stem[begin - 1]))) --begin;
    if (begin == end || end - begin > 6) return 1;
    const int n = std::stoi(stem.substr(begin, end - begin));
    return n > 0 ? n : 1;
}

}  // namespace

int playLevelFile(const std::string& file, bool timed) {
    if (!mainGame) appHooks().createSingletons();
    mainGame->setup();
    auto profile = std::make_shared<TTempProfile>();
    profile->mode = timed ? "TIMED" : "RELAXED";
    profile->level = levelNumberOf(file);
    profile->savePath = profilesDir.empty() ? "" : profilesDir + "play-level.dat";
    setPlayProfile(profile);
    Control::currentName = "MAIN-GAME";

    std::string result;
    int score = 0, seconds = 0;
    for (;;) {
        auto level = loadLevelFile(file, mainGame->m3Game.get());
        if (!level || level->rows <= 0 || level->cols <= 0) {
            std::fprintf(stderr, "brimble: the level %s is refused (see above).\n", file.c_str());
            std::printf("refused %s\n", file.c_str());
            return 1;
        }
        mainGame->levelTime = 0;
        mainGame->setLevel(level);
        mainGame->setStartData();
        const std::string next = mainGame->mainLoop();
        score = mainGame->level ? mainGame->level->score : 0;
        seconds = mainGame->levelTime;
        if (next == "RESTART-LEVEL") continue;
        result = next == "GET-NEXT-QUEST-LEVEL" || next == "PUZZLE" ? "won" : mainGame->lostLevel ? "lost" : "left";
        break;
    }
    std::printf("%s score %d seconds %d\n", result.c_str(), score, seconds);
    std::fflush(stdout);
    return 0;
}

void wireMainGame() {
    AppHooks& h = appHooks();
    auto previousSingletons = h.createSingletons;
    h.createSingletons = [previousSingletons] {
        if (previousSingletons) previousSingletons();
        if (!mainGame) mainGame = std::make_shared<TMainGame>();
        if (!g_pause) g_pause = std::make_shared<TPauseMenu>();
        mainGame->optionsLoop = [] { return g_pause->mainLoop(mainGame.get()); };
        // Until the lose screen exists the pause menu stands in for it.
        if (!mainGame->loseScreenLoop) mainGame->loseScreenLoop = [] { return g_pause->mainLoop(mainGame.get(), true); };
    };
    // The real screen takes over once a level has been given to it (the quest
    // does that through the profile); before that the stand-in keeps the
    // quest's dispatch walkable.
    h.mainGameLoop = [] {
        if (mainGame && mainGame->level) return mainGame->mainLoop();
        static auto stand = std::make_shared<TPlaceholderScreen>(
            "MAIN-GAME", std::vector<std::string>{"GET-NEXT-QUEST-LEVEL", "RESTART-LEVEL", "MAIN-MENU"});
        return stand->mainLoop();
    };
    h.playLevel = [](const std::string& file, bool timed) { return playLevelFile(file, timed); };
    h.autoplayAvailable = [] {
        return mainGame && mainGame->level && Control::currentName == "MAIN-GAME" && mainGame->isSetUp();
    };
    h.screenState = [] {
        if (g_pause && g_pause->running() && !g_pause->loseMode()) return std::string("PAUSED");
        return mainGame ? mainGame->state : std::string();
    };
    // The game's mouse is what the play screen and its widgets read, and the
    // sound manager plays its sounds. (appHooks() comes with the stand-ins
    // already filled, so these replace them; the GUI and sound wiring may take
    // them over.)
    h.mouseUpdate = [](int special) { special ? mouse.updateSpec() : mouse.update(); };
    h.mouseDraw = [] { mouse.draw(); };
    h.setupMouse = [] { HideMouse(); };  // the game draws its own cursor
    h.setCursorVisible = [](bool on) { mouse._v = on ? 1 : 0; };
    h.loadCursor = [](const std::string& name, const std::string& path) {
        mouse.loadCursor(name, path, 1, 1, 1, 0);
        mouse.setCursor(name);
    };
    h.soundUpdate = [] { globalSnd.update(); };
    h.stopAllSounds = [] { globalSnd.stopAllSounds(); };
    h.resumeAllSounds = [] { globalSnd.resumeAllSounds(); };
    auto prev = h.createSingletons;
    h.createSingletons = [prev] {
        prev();
        globalSnd.setup();
    };
}
