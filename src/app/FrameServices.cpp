#include "app/FrameServices.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/AppGlobals.h"
#include "app/Harness.h"
#include "audio/TGlobalSnd.h"
#include "gui/TMouse.h"
#include "platform/SystemPaths.h"

const char* const kGraphicsFailedMessage =
    "We're very sorry but the game could not initialize required graphics mode. Please update your drivers.";

namespace {
TLetterbox g_box{1, 1024, 768, 0, 0};
int g_vgMode = 0;
int g_vgW = 1024, g_vgH = 768;
bool g_saved = false;
std::vector<std::pair<std::string, std::function<void()>>>& exitSaves() {
    // Never destroyed: the exit hook may run during static destruction.
    static auto* s = new std::vector<std::pair<std::string, std::function<void()>>>();
    return *s;
}
}  // namespace

void addExitSave(const std::string& name, std::function<void()> save) {
    for (auto& e : exitSaves())
        if (e.first == name) {
            e.second = std::move(save);
            return;
        }
    exitSaves().emplace_back(name, std::move(save));
}

void clearExitSaves() {
    exitSaves().clear();
}

void resetExitSaved() {
    g_saved = false;
}

void timingUpdate() {
    if (deltaTime) {
        deltaTime->Update();
        frameDelta = deltaTime->CurrDelta();
    }
    PollSystem();
}

std::function<void()> fullScreenToggle;

void frameUpdate(int special) {
    timingUpdate();
    special ? mouse.updateSpec() : mouse.update();
    globalSnd.update();
    if (cheatsEnabled && KeyHit(27)) appExit(harnessExitStatus());
    if (AppTerminate() || (KeyDown(164) && KeyHit(115))) appExit(harnessExitStatus());
    if (fullScreenToggle && (KeyDown(164) || KeyDown(165)) && KeyHit(13) > 0) fullScreenToggle();
}

void frameFlip(int skipPause) {
    mouse.draw();
    if (skipPause == 0 && AppSuspended()) pauseWhileSuspended();
    Flip(1);
    harnessAfterFrame();
    clearLetterbox();
}

void pauseWhileSuspended() {
    globalSnd.stopAllSounds();
    const TLetterbox& box = currentLetterbox();
    TPixmap whole = GrabPixmap(0, 0, static_cast<int>(std::lround(box.logicalW)),
                               static_cast<int>(std::lround(box.logicalH)));
    TPixmap still;
    still.width = 1024;
    still.height = 768;
    still.pixels.resize(static_cast<size_t>(1024) * 768 * 4);
    if (whole.width > 0 && whole.height > 0) {
        for (int y = 0; y < 768; ++y)
            for (int x = 0; x < 1024; ++x) {
                const int sx = std::min(whole.width - 1, x * whole.width / 1024);
                const int sy = std::min(whole.height - 1, y * whole.height / 768);
                std::copy_n(&whole.pixels[(static_cast<size_t>(sy) * whole.width + sx) * 4], 4,
                            &still.pixels[(static_cast<size_t>(y) * 1024 + x) * 4]);
            }
    }
    ImagePtr picture = CreateImageFromPixmap(still, 0);

    // Kept so the screen underneath finds its render state as it left it.
    int r, g, b;
    GetColor(r, g, b);
    const float a = GetAlpha(), rot = GetRotation();
    float sx, sy;
    GetScale(sx, sy);
    const int blend = GetBlend();
    const FontPtr font = GetImageFont();

    while (AppSuspended() && !AppTerminate()) {
        Cls();
        SetColor(255, 255, 255);
        SetScale(1, 1);
        SetBlend(ALPHABLEND);
        SetAlpha(1);
        SetRotation(0);
        SetImageFont(bigFont);
        DrawImage(picture, 0, 0);
        SetColor(0, 0, 0);
        SetAlpha(0.5f);
        DrawRect(0, 0, 1024, 768);
        const int w = TextWidth(pauseText);
        DrawText(pauseText, static_cast<float>(516 - w / 2), 324);
        SetColor(255, 255, 255);
        SetAlpha(1);
        DrawText(pauseText, static_cast<float>(512 - w / 2), 320);
        Flip(1);
        Cls();
        timingUpdate();
    }
    SetColor(r, g, b);
    SetAlpha(a);
    SetRotation(rot);
    SetScale(sx, sy);
    SetBlend(blend);
    SetImageFont(font);
    globalSnd.resumeAllSounds();
}

std::vector<TGraphicsMode> graphicsModesToTry(int width, int height, int fullScreen, int wideScreen,
                                              int desktopW, int desktopH) {
    std::vector<TGraphicsMode> modes;
    if (fullScreen) {
        if (wideScreen) {
            modes.push_back({desktopW, desktopH, 32});
            modes.push_back({desktopW, desktopH, 32});
        } else {
            modes.push_back({width, height, 32});
            modes.push_back({800, 600, 32});
        }
        return modes;
    }
    if (desktopH > height) modes.push_back({width, height, 0});
    if (desktopH <= 600)
        modes.push_back({640, 480, 0});
    else if (desktopH <= 768)
        modes.push_back({819, 614, 0});
    return modes;
}

bool openGraphics(int width, int height, int fullScreen, int wideScreen) {
    if (appOptions.windowed) fullScreen = 0;
    const auto modes =
        graphicsModesToTry(width, height, fullScreen, wideScreen, DesktopWidth(), DesktopHeight());
    for (const TGraphicsMode& m : modes) {
        if (OpenGraphics(m.width, m.height, m.depth, 60)) {
            setVirtualGraphics(width, height, 3);
            return true;
        }
    }
    Notify(kGraphicsFailedMessage, true);
    appExit(1);
}

TLetterbox computeLetterbox(int gw, int gh, int w, int h, int mode) {
    TLetterbox box;
    if (mode == 0 || gw <= 0 || gh <= 0 || w <= 0 || h <= 0) {
        box.scale = 1;
        box.logicalW = static_cast<float>(w);
        box.logicalH = static_cast<float>(h);
        return box;
    }
    float scale = std::min(static_cast<float>(gw) / w, static_cast<float>(gh) / h);
    if (mode & VG_WHOLE) scale = std::max(std::floor(scale), 1.0f);
    box.scale = scale;
    box.logicalW = gw / scale;
    box.logicalH = gh / scale;
    box.offsetX = (box.logicalW - w) * 0.5f;
    box.offsetY = (box.logicalH - h) * 0.5f;
    if (mode & VG_WHOLE) {
        box.offsetX = std::floor(box.offsetX);
        box.offsetY = std::floor(box.offsetY);
    }
    return box;
}

void setVirtualGraphics(int w, int h, int mode) {
    if (mode != VG_KEEP) g_vgMode = mode;
    g_vgW = w;
    g_vgH = h;
    g_box = computeLetterbox(GraphicsWidth(), GraphicsHeight(), w, h, g_vgMode);
    SetVirtualResolution(g_box.logicalW, g_box.logicalH);
    if (g_vgMode == 0) {
        SetViewport(0, 0, w, h);
        SetOrigin(0, 0);
        SetMouseOffset(0, 0);
        return;
    }
    if (g_vgMode & VG_LETTERBOX) {
        SetViewportF(0, 0, g_box.logicalW + 1, g_box.logicalH + 1);
        int r, g, b;
        const TRenderState& s = RenderState();
        r = s.clsR;
        g = s.clsG;
        b = s.clsB;
        SetClsColor(0, 0, 0);
        Cls();
        SetClsColor(r, g, b);
        SetViewportF(g_box.offsetX, g_box.offsetY, static_cast<float>(w), static_cast<float>(h));
    } else {
        SetViewportF(0, 0, g_box.logicalW, g_box.logicalH);
    }
    SetOrigin(g_box.offsetX, g_box.offsetY);
    SetMouseOffset(g_box.offsetX, g_box.offsetY);
}

const TLetterbox& currentLetterbox() {
    return g_box;
}
int virtualGraphicsMode() {
    return g_vgMode;
}

bool hasLetterboxBars(const TLetterbox& box) {
    return box.offsetX != 0 || box.offsetY != 0;
}

void clearLetterbox() {
    // Only the bars: every frame clears the game area itself before drawing.
    if (g_vgMode != 0 && (g_vgMode & VG_LETTERBOX) && hasLetterboxBars(g_box)) {
        int x, y, w, h;
        GetViewport(x, y, w, h);
        const TRenderState& s = RenderState();
        const int r = s.clsR, g = s.clsG, b = s.clsB;
        SetViewportF(0, 0, g_box.logicalW + 1, g_box.logicalH + 1);
        SetClsColor(0, 0, 0);
        Cls();
        SetClsColor(r, g, b);
        SetViewportF(g_box.offsetX, g_box.offsetY, static_cast<float>(g_vgW), static_cast<float>(g_vgH));
    }
}

std::string defaultUserRoot() {
    const std::string base = UserDataFolder();
    return base.empty() ? std::string() : base + "/" + productName;
}

void makeUserFolders() {
    userRoot = appOptions.userDirOverride.empty() ? defaultUserRoot() : appOptions.userDirOverride;
    std::replace(userRoot.begin(), userRoot.end(), '\\', '/');
    while (userRoot.size() > 1 && userRoot.back() == '/') userRoot.pop_back();
    if (userRoot.empty()) {
        std::fprintf(stderr,
                     "No per-user folder could be determined; profiles and settings will not be kept.\n");
        return;
    }
    for (const std::string& dir : {userRoot, userRoot + "/Data", userRoot + "/Profiles"}) {
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        if (ec || !std::filesystem::is_directory(dir, ec))
            std::fprintf(stderr, "Cannot create the folder %s (%s); saving there will fail.\n", dir.c_str(),
                         ec ? ec.message().c_str() : "not a folder");
    }
}

void saveOnExit() {
    if (g_saved) return;
    g_saved = true;
    for (auto& e : exitSaves())
        if (e.second) e.second();
}

void appExit(int status) {
    saveOnExit();
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(status);
}
