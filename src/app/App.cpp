#include "app/App.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "app/AppGlobals.h"
#include "app/AppHooks.h"
#include "app/Control.h"
#include "app/FrameServices.h"
#include "app/Harness.h"
#include "app/Paths.h"
#include "app/TDeltaTime.h"
#include "app/services/Backend.h"
#include "app/services/Files.h"
#include "app/services/sdl/SdlBackend.h"
#include "data/DataGlobals.h"
#include "data/TTxtFile.h"
#include "gui/TGuiGallery.h"
#include "gui/TMouse.h"

namespace fs = std::filesystem;

std::string usageText() {
    return "usage: brimble [--data DIR] [--user-dir DIR] [--windowed] [--headless]\n"
           "               [--script FILE] [--shots DIR] [--seed N] [--draw-all]\n"
           "               [--play-level FILE [--timed]] [--gui-gallery FILE] [--credits] [--help] [--version]\n";
}

bool parseCommandLine(const std::vector<std::string>& args, TCommandLine& out, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = a + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        if (a == "--data") {
            if (!value(out.dataDir)) return false;
        } else if (a == "--user-dir") {
            if (!value(out.userDir)) return false;
        } else if (a == "--script") {
            if (!value(out.script)) return false;
        } else if (a == "--shots") {
            if (!value(out.shots)) return false;
        } else if (a == "--play-level") {
            if (!value(out.playLevel)) return false;
        } else if (a == "--gui-gallery") {
            if (!value(out.guiGallery)) return false;
        } else if (a == "--seed") {
            std::string v;
            if (!value(v)) return false;
            char* end = nullptr;
            const unsigned long long n = std::strtoull(v.c_str(), &end, 10);
            if (*end != '\0' || v[0] == '-' || n > 0xFFFFFFFFull) {
                error = "--seed needs a number from 0 to 4294967295";
                return false;
            }
            out.seed = static_cast<uint32_t>(n);
            out.seedGiven = true;
        } else if (a == "--windowed") {
            out.windowed = true;
        } else if (a == "--headless") {
            out.headless = true;
        } else if (a == "--timed") {
            out.timed = true;
        } else if (a == "--credits") {
            out.credits = true;
        } else if (a == "--draw-all") {
            out.drawAll = true;
        } else if (a == "--help" || a == "-h") {
            out.help = true;
        } else if (a == "--version") {
            out.version = true;
        } else {
            error = "unknown argument '" + a + "'";
            return false;
        }
    }
    if (out.timed && out.playLevel.empty()) {
        error = "--timed goes with --play-level";
        return false;
    }
    return true;
}

namespace {

std::string absolute(const std::string& p) {
    if (p.empty()) return p;
    std::error_code ec;
    fs::path a = fs::absolute(p, ec);
    return ec ? p : a.lexically_normal().string();
}

// --data, else game/ beside the build (the folder of the executable or its
// parent), else the current folder.
std::string findDataDir(const std::string& given) {
    if (!given.empty()) return given;
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        for (const fs::path& base : {exe.parent_path(), exe.parent_path().parent_path()}) {
            const fs::path g = base / "game";
            if (fs::is_directory(g / "data", ec)) return g.string();
        }
    }
    return ".";
}

bool exists(const char* path) { return FileType(path) != 0; }

std::string firstLineTrimmed(const TTxtFilePtr& f) {
    if (!f || f->lines() < 1) return "";
    return TrimText(f->txt[0]);
}

}  // namespace

int AppMain(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
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
    appOptions.userDirOverride = absolute(cl.userDir);
    appOptions.scriptPath = absolute(cl.script);
    appOptions.shotsDir = absolute(cl.shots.empty() && !cl.script.empty() ? "shots" : cl.shots);
    appOptions.playLevelFile = absolute(cl.playLevel);
    appOptions.timed = cl.timed;
    appOptions.windowed = cl.windowed;
    appOptions.headless = cl.headless;
    appOptions.seedGiven = cl.seedGiven;
    appOptions.seed = cl.seed;
    const std::string galleryFile = absolute(cl.guiGallery);

    const std::string data = findDataDir(cl.dataDir);
    if (chdir(data.c_str()) != 0) {
        std::fprintf(stderr, "brimble: cannot enter the data folder %s\n", data.c_str());
        return 2;
    }

    InstallBackend(cl.headless ? MakeHeadlessBackend() : MakeSdlBackend());
    SeedRnd(cl.seedGiven ? cl.seed : static_cast<uint32_t>(std::time(nullptr)));
    if (!appOptions.scriptPath.empty()) harnessStart(appOptions.scriptPath, appOptions.shotsDir, cl.drawAll);

    // 1.
    tutorialDisabled = exists("noTutorial.txt") ? 1 : 0;
    dataRoot = "";
    // 2.
    deltaTime = TDeltaTime::Create(60);
    deltaTime->SetFPS(60);
    // 3. Singletons (through the wiring), then the desktop size.
    wireAppHooks();
    fillDefaultHooks();
    appHooks().createSingletons();
    desktopWidth = DesktopWidth();
    desktopHeight = DesktopHeight();
    if (!appOptions.playLevelFile.empty() && !appHooks().playLevel) {
        std::fprintf(stderr, "brimble: --play-level is not available yet (the play screen is not built in).\n");
        return 1;
    }
    // 4.
    playLogEnabled = exists("playLog.txt") ? 1 : 0;
    appHooks().initPlayLog();
    // 5-7. The language is read before the title so the title comes from the
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
    SetWindowTitle(title);
    // 8.
    cheatsEnabled = exists("cheats.txt") ? 1 : 0;
    // 9.
    appHooks().setCursorVisible(false);
    HideMouse();
    // 10.
    std::atexit(saveOnExit);
    // 11.
    makeUserFolders();
    Paths::getPaths();
    // 12.
    appHooks().loadOptions();
    appHooks().openScreen();
    appHooks().loadCursor("paw", dataRoot + "gfx/gui/cursor.png");
    bigFont = LoadImageFont(dataRoot + "gfx/fonts/Bookman.ttf", 72);
    if (!bigFont) std::fprintf(stderr, "gfx/fonts/Bookman.ttf cannot be loaded; using the built-in font.\n");
    pauseText = firstLineTrimmed(loadLocalisedText(dataRoot + "txt/pause.txt"));
    if (pauseText.empty()) pauseText = "Paused";
    appHooks().setupMouse();
    if (!exists("noLogo.txt")) appHooks().brandingShow();
    appHooks().loadingScreen();
    appHooks().setCursorVisible(true);

    int status = 0;
    if (!appOptions.playLevelFile.empty()) {
        status = appHooks().playLevel(appOptions.playLevelFile, appOptions.timed);
    } else if (cl.credits) {
        Control::currentName = "END-OF-GAME";
        appHooks().endOfGameLoop();
    } else if (!galleryFile.empty()) {
        Control::currentName = "GUI-GALLERY";
        appHooks().screenState = [] { return guiGalleryState(); };
        appHooks().mouseUpdate = [](int special) { special ? mouse.updateSpec() : mouse.update(); };
        appHooks().mouseDraw = [] { mouse.draw(); };
        status = runGuiGallery(galleryFile, [] { frameUpdate(0); }, [] { frameFlip(0); });
    } else {
        // 13.
        Control::start();
        Control::mainLoop();
    }
    // 14.
    appHooks().saveProfiles();
    appHooks().saveOptions();
    const int harness = harnessFinish();
    saveOnExit();
    return status != 0 ? status : harness;
}
