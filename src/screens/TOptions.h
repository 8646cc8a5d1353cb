// The settings of the game, their file "userRoot/Data/settings.dat", and the
// options screen: an overlay over the menu, the play screen or the jigsaw
// with full screen, wide screen, the two volumes (acting while dragged), the
// game's cursor, the current player's tutorial and the credits; opened from
// a level it also offers resume, restart and main menu.
#pragma once

#include <memory>
#include <string>

#include "app/TEkran.h"

class TOptions : public TEkran {
public:
    TOptions();

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
    // Writes them atomically; false when the file could not be written. A
    // file that was there but could not be read is left alone (true) until
    // a setting is changed.
    bool saveOptions();
    bool _saveFailureShown = false;  // a failed save was shown (until one works)
    // A setting was changed by the player: written now, and from now on.
    void settingsChanged();
    // Opens the display through openGraphics with the two screen settings.
    bool openScreen();
    // The game's cursor (and no system pointer) when customCursor is on.
    void setupMouse();
    // Hands the volumes to the sound manager.
    void applyVolumes();

    // Full screen on or off at once; a refused full screen falls back to the
    // window with a notice. Saved with the other settings.
    void setFullScreen(int on);
    void toggleFullScreen() { setFullScreen(fullScreen ? 0 : 1); }

    // --- the screen -------------------------------------------------------------
    int setup() override;
    // Runs over `behind`. From a level: "RESUME", "RESTART" or "MAIN-MENU";
    // otherwise "" when closed. Without `canRestart` (a screen with nothing
    // to restart, the jigsaw) only resume and main menu are offered.
    std::string mainLoop(TEkran* behind, bool fromLevel, bool canRestart = true);
    int update() override;
    int draw() override;
    void _control() override;
    bool loopDone() const override { return _closing && alpha == 0.0f; }
    // The credits screen over `behind`.
    void showCredits(TEkran* behind);

    ImagePtr panel, ribbon;
    FontPtr font, titleFont;
    std::string txt[16];

private:
    std::string _path;
    bool _keepUnreadableFile = false;
    bool _setUp = false;
    bool _closing = false;
    bool _fromLevel = false;
    bool _canRestart = true;
    int _resumeX = -1;      // the resume button's place in the script
    bool _changed = false;  // a setting changed: the file is written on close
    void _refreshCaptions();
    void _close(const std::string& answer);
};
using TOptionsPtr = std::shared_ptr<TOptions>;

// The one options object of the game.
TOptions& options();
