#include "screens/TOptions.h"

#include <cmath>
#include <cstdio>

#include "app/AppGlobals.h"
#include "app/FrameServices.h"
#include "app/Paths.h"
#include "audio/TGlobalSnd.h"
#include "data/TRCMFile.h"
#include "gui/TMouse.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "profiles/ProfileHooks.h"

TOptions& options() {
    // Never destroyed, like the profile manager: the save on exit needs it.
    static TOptions* o = new TOptions();
    return *o;
}

void TOptions::setDefaults() {
    TOptions fresh;
    fullScreen = fresh.fullScreen;
    wideScreen = fresh.wideScreen;
    musicVolume = fresh.musicVolume;
    soundVolume = fresh.soundVolume;
    customCursor = fresh.customCursor;
}

std::string TOptions::settingsPath() const {
    if (!_path.empty()) return _path;
    return Paths::settingsFile();
}

namespace {

float readVolume(TRCMFile& f, const char* key, float fallback) {
    if (!f.hasEntry(key)) return fallback;
    const float v = f.getFloat(key);
    if (!std::isfinite(v) || v < 0.0f || v > 1.0f) return fallback;
    return v;
}

int readFlag(TRCMFile& f, const char* key, int fallback) {
    if (!f.hasEntry(key)) return fallback;
    return f.getInt(key) != 0 ? 1 : 0;
}

}  // namespace

void TOptions::loadOptions() {
    setDefaults();
    _keepUnreadableFile = false;
    const std::string path = settingsPath();
    if (path.empty() || FileType(path) != 1) return;  // first run or no per-user folder: the defaults
    auto f = loadRCMFile(path);
    if (!f->_loaded) {
        std::fprintf(stderr, "Settings file %s unreadable, using the defaults\n", path.c_str());
        _keepUnreadableFile = true;
        return;
    }
    fullScreen = readFlag(*f, "settings::fullScreen", fullScreen);
    wideScreen = readFlag(*f, "settings::wideScreen", wideScreen);
    musicVolume = readVolume(*f, "settings::musicVolume", musicVolume);
    soundVolume = readVolume(*f, "settings::soundVolume", soundVolume);
    customCursor = readFlag(*f, "settings::customCursor", customCursor);
}

void TOptions::settingsChanged() {
    _keepUnreadableFile = false;
    saveOptions();
}

bool TOptions::saveOptions() {
    if (_keepUnreadableFile) return true;
    const std::string path = settingsPath();
    if (path.empty()) return false;  // no per-user folder: nothing is written
    CreateDir(ExtractDir(path), true);
    auto f = newRCMFile();
    f->setFloat("settings::fullScreen", fullScreen);
    f->setFloat("settings::wideScreen", wideScreen);
    f->setFloat("settings::musicVolume", musicVolume);
    f->setFloat("settings::soundVolume", soundVolume);
    f->setFloat("settings::customCursor", customCursor);
    if (f->save(path)) {
        _saveFailureShown = false;
        return true;
    }
    if (!_saveFailureShown) {
        _saveFailureShown = true;
        const std::string text = "The settings could not be saved in " + path + "; they last until the game ends.";
        if (profileHooks().showMessage)
            profileHooks().showMessage(text);
        else
            Notify(text);
    }
    return false;
}

bool TOptions::openScreen() {
    return openGraphics(1024, 768, fullScreen, wideScreen);
}

void TOptions::setupMouse() {
    const bool on = customCursor != 0;
    mouse._v = on ? 1 : 0;
    if (on)
        HideMouse();
    else
        ShowMouse();
}

void TOptions::applyVolumes() {
    globalSnd.setMusicVolume(musicVolume);
    globalSnd.setSoundVolume(soundVolume);
}

// --- the options screen ----------------------------------------------------------

#include "data/DataGlobals.h"
#include "gui/GuiGlobals.h"
#include "gui/TButton.h"
#include "gui/TGui.h"
#include "gui/TSuwak.h"
#include "profiles/TProfileManager.h"
#include "screens/ScreenKit.h"
#include "screens/TCredits.h"
#include "screens/TPopUp.h"

TOptions::TOptions() {
    id = "OPTIONS";
}

void TOptions::setFullScreen(int on) {
    on = on ? 1 : 0;
    if (appOptions.windowed) on = 0;
    if (on) {
        bool opened = false;
        for (const TGraphicsMode& m :
             graphicsModesToTry(1024, 768, 1, wideScreen, DesktopWidth(), DesktopHeight()))
            if (OpenGraphics(m.width, m.height, m.depth, 60)) {
                opened = true;
                break;
            }
        if (opened) {
            setVirtualGraphics(1024, 768, 3);
            fullScreen = 1;
            return;
        }
        fullScreen = 0;
        openGraphics(1024, 768, 0, wideScreen);
        notice(txt[14].empty() ? "The display refused full screen; the game stays in a window." : txt[14]);
        return;
    }
    fullScreen = 0;
    openGraphics(1024, 768, 0, wideScreen);
}

int TOptions::setup() {
    if (_setUp) return 0;
    _setUp = true;
    const auto lines =
        loadTextLines(dataRoot + "txt/options.txt",
                      {"Options", "Full screen", "Wide screen", "Music volume", "Sound volume", "Game cursor",
                       "Tutorial", "Credits", "Back", "Resume", "Restart level", "Main menu", "On", "Off",
                       "The display refused full screen; the game stays in a window.", "Paused"});
    for (size_t i = 0; i < 16; ++i) txt[i] = lines[i];
    panel = loadMidImage(dataRoot + "gfx/gui/options/panel.png");
    ribbon = loadMidImage(dataRoot + "gfx/gui/mainGame/wstazka.png");
    font = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 22, 0);
    titleFont = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 36, 0);
    Gui = loadGui(dataRoot + "gfx/gui/options/options.gui");
    const ImagePtr knob = loadMidImage(dataRoot + "gfx/gui/options/knob.png");
    for (const char* name : {"music", "sound"}) {
        auto s = createSuwak(name, 560, name[0] == 'm' ? 278 : 322, 220, 28, 0);
        s->_knob = knob;
        s->_knobW = 28;
        s->setRGB(240, 168, 26);
        Gui->addItem(s);
    }
    return 0;
}

void TOptions::_refreshCaptions() {
    if (!Gui) return;
    const TProfilePtr pr = profileManager().profile;
    const struct {
        const char* name;
        int on;
    } flags[] = {{"fullscreen", fullScreen},
                 {"widescreen", wideScreen},
                 {"cursor", customCursor},
                 {"tutorial", pr ? pr->tutorialOn : 0}};
    for (const auto& f : flags)
        if (auto b = Gui->get<TButton>(f.name)) {
            const std::string& c = f.on ? txt[12] : txt[13];
            if (b->_txt != c) {
                b->_txt = c;
                b->countDims();
            }
        }
    if (auto t = Gui->getItem("tutorial")) t->setState(pr != nullptr, pr != nullptr);
}

std::string TOptions::mainLoop(TEkran* behind, bool fromLevel, bool canRestart) {
    setup();
    _fromLevel = fromLevel;
    _canRestart = fromLevel && canRestart;
    _closing = false;
    _changed = false;
    wynik.clear();
    if (Gui) {
        if (auto s = Gui->get<TSuwak>("music")) s->setValue(musicVolume);
        if (auto s = Gui->get<TSuwak>("sound")) s->setValue(soundVolume);
        for (const char* n : {"resume", "mainmenu"})
            if (auto b = Gui->getItem(n)) b->setState(fromLevel, fromLevel);
        // Without restart, resume stands alone above main menu, centred.
        if (auto b = Gui->getItem("restart")) b->setState(_canRestart, _canRestart);
        auto r = Gui->getItem("resume");
        auto m = Gui->getItem("mainmenu");
        if (r && r->dim && m && m->dim) {
            if (_resumeX < 0) _resumeX = static_cast<int>(r->dim->x);
            const float centred = m->dim->x + (m->dim->w - r->dim->w) / 2;
            const int x = fromLevel && !_canRestart ? static_cast<int>(centred) : _resumeX;
            r->setPosition(x, static_cast<int>(r->dim->y));
        }
        if (auto b = Gui->getItem("back")) b->setState(!fromLevel, !fromLevel);
    }
    _refreshCaptions();
    alpha = 0;
    dAlpha = 1;
    aSpeed = 0.1f;
    fade = 0;
    dFade = 0;
    runDialog(behind, fromLevel ? "PAUSED" : "OPTIONS");
    if (_changed) settingsChanged();
    return wynik;
}

void TOptions::_close(const std::string& answer) {
    wynik = answer;
    _closing = true;
    dAlpha = 0;
    state = answer.empty() ? "CLOSED" : answer;
}

void TOptions::showCredits(TEkran* behind) {
    if (!credits) credits = std::make_shared<TCredits>();
    credits->mainLoop(behind);
}

void TOptions::_control() {
    if (_closing || alpha < 0.5f || !Gui) return;
    if (KeyHit(27) > 0) return _close(_fromLevel ? "RESUME" : "");
    if (auto s = Gui->get<TSuwak>("music"))
        if (s->_changed) {
            musicVolume = s->getValue();
            applyVolumes();
            _changed = true;
        }
    if (auto s = Gui->get<TSuwak>("sound"))
        if (s->_changed) {
            soundVolume = s->getValue();
            applyVolumes();
            _changed = true;
        }
    if (Gui->clickedItem("fullscreen")) {
        toggleFullScreen();
        _changed = true;
    } else if (Gui->clickedItem("widescreen")) {
        wideScreen = wideScreen ? 0 : 1;
        if (fullScreen) setFullScreen(1);
        _changed = true;
    } else if (Gui->clickedItem("cursor")) {
        customCursor = customCursor ? 0 : 1;
        setupMouse();
        _changed = true;
    } else if (Gui->clickedItem("tutorial")) {
        if (TProfilePtr pr = profileManager().profile) {
            pr->tutorialOn = pr->tutorialOn ? 0 : 1;
            // Turned back on: the tips already seen are shown again.
            if (pr->tutorialOn) pr->restartTutorial();
            pr->save();
        }
    } else if (Gui->clickedItem("credits")) {
        showCredits(this);
    } else if (!_fromLevel && Gui->clickedItem("back")) {
        _close("");
    } else if (_fromLevel && Gui->clickedItem("resume")) {
        _close("RESUME");
    } else if (_canRestart && Gui->clickedItem("restart")) {
        _close("RESTART");
    } else if (_fromLevel && Gui->clickedItem("mainmenu")) {
        _close("MAIN-MENU");
    }
    _refreshCaptions();
}

int TOptions::update() {
    frameUpdate(0);
    _updateAlpha();
    _updateGui();
    return 0;
}

int TOptions::draw() {
    _drawBehind();
    drawDarkening(0.5f * alpha);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    if (panel) DrawImage(panel, 512, 384);
    SetImageFont(titleFont);
    if (_fromLevel && ribbon) {
        // Over a level the game stands still: the panel says so on a ribbon
        // across its top edge, dark letters on the gold.
        SetScale(1.5f, 1.5f);
        DrawImage(ribbon, 512, 122);
        SetScale(1, 1);
        drawShadowedCentred(txt[15], 512, 122 - TextHeight(txt[15]) / 2.0f - 6, 59, 36, 20, alpha);
    } else {
        drawShadowedCentred(txt[0], 512, 124, 94, 58, 28, alpha);
    }
    SetImageFont(font);
    const int h = TextHeight("A");
    const struct {
        int line;
        int y;
    } rows[] = {{1, 200}, {2, 245}, {3, 292}, {4, 336}, {5, 380}, {6, 425}};
    SetColor(59, 36, 20);
    SetAlpha(alpha);
    const bool player = profileManager().profile != nullptr;
    for (const auto& r : rows)
        if (r.line != 6 || player) DrawText(txt[r.line], 262, r.y - h / 2);
    SetColor(255, 255, 255);
    _drawGui();
    SetAlpha(1);
    return 0;
}
