// Per-frame services every screen uses, the display set-up with its
// letterbox, the per-user folders and the exit path.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Frame timing only: deltaTime.Update(), frameDelta, event polling.
void timingUpdate();
// Start of every screen's update: timing, mouse, sound, the exit keys.
void frameUpdate(int special);
// Alt+Enter (either Alt) in frameUpdate: switches between full screen and a
// window. Connected to the options by the wiring; unset does nothing.
extern std::function<void()> fullScreenToggle;
// End of every frame: cursor, suspension pause (when arg is 0), present, letterbox.
void frameFlip(int skipPause);
// While the window has no focus: a dimmed still of the game with the pause text.
void pauseWhileSuspended();

// One attempt of openGraphics: a window (depth 0) or full screen (depth 32).
struct TGraphicsMode {
    int width, height, depth;
    bool operator==(const TGraphicsMode& o) const {
        return width == o.width && height == o.height && depth == o.depth;
    }
};
// The attempts openGraphics makes, in order, for a desktop of the given size.
std::vector<TGraphicsMode> graphicsModesToTry(int width, int height, int fullScreen, int wideScreen,
                                              int desktopW, int desktopH);
// Opens the display with every fall-back; on failure shows the message and
// ends the process. Returns true when open.
bool openGraphics(int width, int height, int fullScreen, int wideScreen);
extern const char* const kGraphicsFailedMessage;

// Logical screen of the game area w x h scaled into the display gw x gh.
enum : int { VG_KEEP = 1, VG_LETTERBOX = 2, VG_WHOLE = 4 };
struct TLetterbox {
    float scale = 1;
    float logicalW = 0, logicalH = 0;  // whole display in logical pixels
    float offsetX = 0, offsetY = 0;    // of the game area inside it
};
TLetterbox computeLetterbox(int gw, int gh, int w, int h, int mode);
// Applies the logical resolution, viewport, origin and mouse offset.
void setVirtualGraphics(int w, int h, int mode);
const TLetterbox& currentLetterbox();
int virtualGraphicsMode();
// Whether the game area leaves bars of the display uncovered.
bool hasLetterboxBars(const TLetterbox& box);
// After each presented frame: paints the bars black, when there are any (the
// next frame clears the game area itself).
void clearLetterbox();

// userRoot from XDG (or --user-dir), folders created with their parents.
void makeUserFolders();
// The per-user root that makeUserFolders would choose: the system's per-user
// data folder (UserDataFolder: $XDG_DATA_HOME, else ~/.local/share, the home
// taken from the account when HOME is unset or relative; %APPDATA% on
// Windows) + "/Brimble"; "" when the system gives none.
std::string defaultUserRoot();

// The exit hook: runs the saves registered with addExitSave, in the order
// they were added (profiles, options, play log). Runs once.
void saveOnExit();
// Registers (or, for a name already there, replaces) one save of the exit hook.
void addExitSave(const std::string& name, std::function<void()> save);
// For tests: forget the registered saves / let the exit hook run again.
void clearExitSaves();
void resetExitSaved();
// Ends the process from anywhere (exit keys, close button, fatal error).
[[noreturn]] void appExit(int status);
