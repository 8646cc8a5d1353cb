// The start-up sequence: flags, frame timer, singletons and their wiring,
// language and title, per-user folders, settings and display, cursor, then
// the main loop (or one of the development entry points); the exit saves.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "app/App.h"
#include "app/AppGlobals.h"
#include "app/Control.h"
#include "app/FrameServices.h"
#include "app/GameIcon.h"
#include "app/Harness.h"
#include "app/Paths.h"
#include "app/PlayLevel.h"
#include "app/TDeltaTime.h"
#include "app/TEkran.h"
#include "data/DataGlobals.h"
#include "data/TTxtFile.h"
#include "gui/GuiGlobals.h"
#include "gui/TGuiGallery.h"
#include "branding/TBranding.h"
#include "screens/TLoadingScreen.h"
#include "gui/TMouse.h"
#include "platform/Backend.h"
#include "platform/Files.h"
#include "platform/SystemPaths.h"
#include "platform/sdl/SdlBackend.h"
#include "profiles/TProfileManager.h"
#include "screens/TEndOfGame.h"
#include "screens/TOptions.h"
#include "wiring/Wiring.h"

namespace {

bool exists(const char* path) {
    return FileType(path) != 0;
}

std::string firstLineTrimmed(const TTxtFilePtr& f) {
    if (!f || f->lines() < 1) return "";
    return TrimText(f->txt[0]);
}

// The GUI gallery runs its own frames; this stands for it in the harness.
struct TGalleryScreen : TEkran {};

}  // namespace

const char* const kNoDisplayMessage =
    "Brimble found no display to show its window on.\n"
    "Start it from a desktop session (for example a terminal in your desktop), or run it with\n"
    "--headless --script FILE for scripted runs without a window.";

void wireGame() {
    wirePlayScreen();
    wireMenu();
    wireResultScreens();
    wireProfiles();
    wireJigsaw();
    wireCampaign();
    wireDogs();
    wireEditor();
    wireTutorial();
    wireStandIns();
    wireGui();
    wirePlayLog();
}

int runBrimble(int argc, char** argv) {
    std::vector<std::string> args = CommandLineArgs(argc, argv);  // UTF-8 on every system
    if (!args.empty()) args.erase(args.begin());
    TCommandLine cl;
    std::string error;
    if (!parseCommandLine(args, cl, error)) {
        std::fprintf(stderr, "brimble: %s\n%s", error.c_str(), usageText().c_str());
        return 2;
    }
    if (cl.help) {
        std::printf("%s", usageText().c_str());
        return 0;
    }
    if (cl.version) {
        std::printf("Brimble %s\n", BRIMBLE_VERSION);
        return 0;
    }

    // Paths given on the command line are relative to where we were started.
    appOptions.userDirOverride = absolutePath(cl.userDir);
    appOptions.scriptPath = absolutePath(cl.script);
    appOptions.shotsDir = absolutePath(cl.shots.empty() && !cl.script.empty() ? "shots" : cl.shots);
    appOptions.playLevelFile = absolutePath(cl.playLevel);
    appOptions.timed = cl.timed;
    appOptions.windowed = cl.windowed;
    appOptions.headless = cl.headless;
    appOptions.seedGiven = cl.seedGiven;
    appOptions.seed = cl.seed;
    const std::string galleryFile = absolutePath(cl.guiGallery);
    // The editor's file, relative to where we were started (or to the data
    // folder when it is found only there, e.g. data/levels/level01.lvl).
    const std::string editorFile = cl.editorFile.empty() || exists(cl.editorFile.c_str())
                                       ? absolutePath(cl.editorFile)
                                       : cl.editorFile;
    // A puzzle file given relative to the data folder is found there.
    const std::string puzzleFile = exists(cl.puzzle.c_str()) ? absolutePath(cl.puzzle) : cl.puzzle;

    const std::string data = findDataDir(cl.dataDir);
    std::error_code cdError;
    std::filesystem::current_path(std::filesystem::u8path(data), cdError);
    if (cdError) {
        std::fprintf(stderr, "brimble: cannot enter the data folder %s\n", data.c_str());
        return 2;
    }

    InstallBackend(cl.headless ? MakeHeadlessBackend() : MakeSdlBackend());
    SeedRnd(cl.seedGiven ? cl.seed : static_cast<uint32_t>(std::time(nullptr)));
    if (!appOptions.scriptPath.empty()) harnessStart(appOptions.scriptPath, appOptions.shotsDir, cl.drawAll);

    tutorialDisabled = exists("noTutorial.txt") ? 1 : 0;
    dataRoot = "";
    deltaTime = TDeltaTime::Create(60);
    deltaTime->SetFPS(60);
    createSingletons();
    wireGame();
#ifdef BRIMBLE_DEVELOPMENT
    for (const std::string& h : unconnectedHooks())
        std::fprintf(stderr, "development check: the link %s is connected to nothing\n", h.c_str());
#endif
    desktopWidth = DesktopWidth();
    desktopHeight = DesktopHeight();
    playLogEnabled = exists("playLog.txt") ? 1 : 0;
    startPlayLog();
    // The language is read before the title so the title comes from the
    // player's language folder.
    productName = "Brimble";
    bool langFound = false;
    const std::string lang = TrimText(LoadText(dataRoot + "data/lang.txt", &langFound));
    if (!langFound) std::fprintf(stderr, "data/lang.txt is missing; using \"eng\".\n");
    language = lang.empty() ? "eng" : lang;
    std::string title = firstLineTrimmed(loadLocalisedText(dataRoot + "txt/names.txt"));
    if (title.empty()) {
        std::fprintf(stderr, "txt/%s/names.txt gives no title; using \"Brimble\".\n", language.c_str());
        title = "Brimble";
    }
#ifdef BRIMBLE_DEVELOPMENT
    // Development builds say which version runs, for bug reports and screenshots.
    title += std::string(" ") + BRIMBLE_VERSION;
#endif
    SetWindowTitle(title);
    cheatsEnabled = exists("cheats.txt") ? 1 : 0;
    mouse._v = 0;
    HideMouse();
    std::atexit(saveOnExit);
    makeUserFolders();
    Paths::getPaths();
    // Saves killed before their rename leave their temporary files behind.
    if (!userRoot.empty())
        if (const int n = DropInterruptedWrites(userRoot))
            std::fprintf(stderr, "Removed %d temporary file(s) left by interrupted saves in %s\n", n,
                         userRoot.c_str());

    // Settings, then the display they ask for; the players' list is read
    // now that the per-user folders exist.
    // The normal start reads the players from the loading screen, once the
    // play screen's tables are there (a saved quest level needs them).
    const bool normalStart = appOptions.playLevelFile.empty() && puzzleFile.empty() && !cl.credits &&
                             galleryFile.empty() && !cl.editor;
    options().loadOptions();
    options().applyVolumes();
    options().openScreen();
    // After the display is open: a saved quest level is read against the
    // play screen's tile tables and a saved jigsaw loads its pieces' pictures.
    profileManager().profilesDir = profilesDir;
    options().openScreen();
    if (!cl.headless && SdlVideoDriverIsInvisible(SdlVideoDriverName())) {
        // SDL fell back to a driver that shows nothing (a plain SSH session):
        // running unseen helps nobody.
        std::fprintf(stderr, "%s\n", kNoDisplayMessage);
        appExit(1);
    }
    // Development starts read the players here, once the display is open (a
    // saved jigsaw's pieces are pictures); the normal start reads them in
    // the loading screen, after the play screen's tables.
    if (!normalStart) profileManager().loadProfiles();
    mouse.loadCursor("paw", dataRoot + "gfx/gui/cursor.png", 1, 1, 1, 0);
    mouse.setCursor("paw");
    bigFont = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 72, 0);
    if (!bigFont) std::fprintf(stderr, "gfx/fonts/Bookman.ttf cannot be loaded; using the built-in font.\n");
    pauseText = firstLineTrimmed(loadLocalisedText(dataRoot + "txt/pause.txt"));
    if (pauseText.empty()) pauseText = "Paused";
    setGameWindowIcon();
    options().setupMouse();
    if (normalStart) {
        // The development start at a quest level goes straight to work.
        if (!exists("noLogo.txt") && cl.questAt == 0) branding->mainLoop();
        prepareLoadingSteps();
        loadingScreen->quiet = cl.questAt > 0;
        loadingScreen->PART1();
        loadingScreen->PART2();
        loadingScreen->PART3();
        loadingScreen->PART4();
        loadingScreen->PART5();
    }
    mouse._v = 1;

    int status = 0;
    if (!appOptions.playLevelFile.empty()) {
        status = playLevelFile(appOptions.playLevelFile, appOptions.timed);
    } else if (!puzzleFile.empty()) {
        status = runPuzzleFile(puzzleFile);
    } else if (cl.editor) {
        status = runEditorFile(editorFile);
    } else if (cl.credits) {
        Control::currentName = "END-OF-GAME";
        endOfGame->mainLoop();
    } else if (!galleryFile.empty()) {
        Control::currentName = "GUI-GALLERY";
        TGalleryScreen stand;
        stand.enterLoop();
        status = runGuiGallery(
            galleryFile, [] { frameUpdate(0); },
            [&stand] {
                stand.state = guiGalleryState();  // what the script's expect-state reads
                frameFlip(0);
            });
        stand.leaveLoop();
    } else {
        Control::start();
        if (cl.questAt > 0) nextScreen = startQuestAt(cl.questAt, cl.jigsawSolved);
        options().setupMouse();
        Control::mainLoop();
    }
    profileManager().save();
    options().saveOptions();
    const int harness = harnessFinish();
    saveOnExit();
    return status != 0 ? status : harness;
}
