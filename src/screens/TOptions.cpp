#include "screens/TOptions.h"

#include <cmath>
#include <cstdio>

#include "app/AppGlobals.h"
#include "app/FrameServices.h"
#include "app/Paths.h"
#include "audio/TGlobalSnd.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "data/TRCMFile.h"
#include "gui/TMouse.h"
#include "platform/Files.h"
#include "platform/Services.h"

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
    const std::string path = settingsPath();
    if (path.empty() || FileType(path) != 1) return;  // first run or no per-user folder: the defaults
    auto f = loadRCMFile(path);
    if (!f->_loaded) {
        std::fprintf(stderr, "Settings file %s unreadable, using the defaults\n", path.c_str());
        return;
    }
    fullScreen = readFlag(*f, "settings::fullScreen", fullScreen);
    wideScreen = readFlag(*f, "settings::wideScreen", wideScreen);
    musicVolume = readVolume(*f, "settings::musicVolume", musicVolume);
    soundVolume = readVolume(*f, "settings::soundVolume", soundVolume);
    customCursor = readFlag(*f, "settings::customCursor", customCursor);
}

bool TOptions::saveOptions() {
    const std::string path = settingsPath();
    if (path.empty()) return false;  // no per-user folder: nothing is written
    CreateDir(ExtractDir(path), true);
    auto f = newRCMFile();
    f->setFloat("settings::fullScreen", fullScreen);
    f->setFloat("settings::wideScreen", wideScreen);
    f->setFloat("settings::musicVolume", musicVolume);
    f->setFloat("settings::soundVolume", soundVolume);
    f->setFloat("settings::customCursor", customCursor);
    return f->save(path);
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
