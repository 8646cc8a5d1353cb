// The settings of the game and their file "userRoot/Data/settings.dat". The
// options screen with its widgets builds on this model.
#pragma once

#include <memory>
#include <string>

class TOptions {
public:
    // Defaults: a window, music and sound at comfortable levels, the game's
    // own cursor.
    int fullScreen = 0;
    int wideScreen = 0;
    float musicVolume = 0.6f;
    float soundVolume = 0.8f;
    int customCursor = 1;

    void setDefaults();
    // userRoot + "/Data/settings.dat" ("" without a per-user folder), or the
    // path given by setSettingsPath.
    std::string settingsPath() const;
    void setSettingsPath(const std::string& path) { _path = path; }

    // Reads the settings; a missing or broken file leaves the defaults
    // (a broken value falls back on its own default).
    void loadOptions();
    // Writes them atomically; false when the file could not be written.
    bool saveOptions();
    // Opens the display through openGraphics with the two screen settings.
    bool openScreen();
    // The game's cursor (and no system pointer) when customCursor is on.
    void setupMouse();
    // Hands the volumes to the sound manager.
    void applyVolumes();

private:
    std::string _path;
};
using TOptionsPtr = std::shared_ptr<TOptions>;

// The one options object of the game.
TOptions& options();
