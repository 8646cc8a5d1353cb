// The platform layer: drawing, input, audio, clock, random numbers and system
// dialogs. Everything above this folder talks to the machine only through the
// functions declared here; the backend behind them is chosen at start-up
// (SDL window, headless software rendering, or the null backend that unit
// tests run on without any backend at all).
//
// The render state is global and lives in the common code (Services.cpp), so
// every backend sees the same transform and blend rules.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// Images, fonts, sounds

// Backend-specific payload of an image (a texture, a surface, ...).
struct TImageData {
    virtual ~TImageData() = default;
};

// RGBA pixels in memory, row-major, 4 bytes a pixel (R, G, B, A).
struct TPixmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

enum ImageFlags : int {
    IMG_MASKED = 1,
    IMG_FILTERED = 2,
    IMG_MIPMAPPED = 4,
    IMG_DEFAULT = -1  // masked | filtered
};

struct TImage {
    int width = 0;         // of one frame
    int height = 0;        // of one frame
    float handleX = 0, handleY = 0;
    int frameCount = 1;
    int flags = 0;
    std::shared_ptr<TImageData> data;  // owned by the backend that made it
};
using ImagePtr = std::shared_ptr<TImage>;

struct TImageFontData {
    virtual ~TImageFontData() = default;
};
struct TImageFont {
    std::string path;
    int size = 0;
    int style = 0;
    std::shared_ptr<TImageFontData> data;
};
using FontPtr = std::shared_ptr<TImageFont>;

struct TSoundData {
    virtual ~TSoundData() = default;
};
struct TSound {
    std::string path;
    int flags = 0;  // 1 = loops
    std::shared_ptr<TSoundData> data;
};
using SoundPtr = std::shared_ptr<TSound>;
using Channel = int;  // 0 = no channel

// ---------------------------------------------------------------------------
// Render state

enum BlendMode : int { MASKBLEND = 1, SOLIDBLEND = 2, ALPHABLEND = 3, LIGHTBLEND = 4, SHADEBLEND = 5 };

struct TRenderState {
    int r = 255, g = 255, b = 255;
    float alpha = 1;
    int blend = MASKBLEND;
    float rotation = 0;
    float sx = 1, sy = 1;
    float originX = 0, originY = 0;
    int vpX = 0, vpY = 0, vpW = 1024, vpH = 768;
    int clsR = 0, clsG = 0, clsB = 0;
    FontPtr font;  // null = built-in font
    // A view scaled by viewScale and then moved by (viewX, viewY), applied to
    // everything drawn after the origin (SetViewTransform).
    float viewScale = 1, viewX = 0, viewY = 0;
    // The 2x2 matrix derived from rotation and scale.
    float ix = 1, iy = 0, jx = 0, jy = 1;
};

// Graphics
bool OpenGraphics(int width, int height, int depth, int hertz, int flags = 0);
void CloseGraphics();
int GraphicsWidth();   // real display size in pixels
int GraphicsHeight();
void Cls();
void Flip(int sync = 1);
// How long the last Flip slept to hold the frame rate, in milliseconds.
double LastFlipWaitMs();

void SetColor(int r, int g, int b);
void GetColor(int& r, int& g, int& b);
void SetAlpha(float a);
float GetAlpha();
void SetBlend(int mode);
int GetBlend();
void SetRotation(float degrees);
float GetRotation();
void SetScale(float sx, float sy);
void GetScale(float& sx, float& sy);
void SetOrigin(float x, float y);
void GetOrigin(float& x, float& y);
// Scales what is drawn next by `scale` about the logical origin and then
// moves it by (dx, dy): a point (x, y) lands at (x * scale + dx, y * scale + dy).
// (1, 0, 0), the default, draws as if there were no view. Clipping, grabbing
// and the mouse are not affected.
void SetViewTransform(float scale, float dx, float dy);
void GetViewTransform(float& scale, float& dx, float& dy);
void SetViewport(int x, int y, int w, int h);
void GetViewport(int& x, int& y, int& w, int& h);
// Fractional viewport (logical coordinates), e.g. a letterboxed game area.
void SetViewportF(float x, float y, float w, float h);
void SetClsColor(int r, int g, int b);
void SetImageFont(const FontPtr& font);
FontPtr GetImageFont();
const TRenderState& RenderState();

// Logical resolution: the backend scales the logical screen to the display.
void SetVirtualResolution(float w, float h);
float VirtualResolutionWidth();
float VirtualResolutionHeight();
// Offset of the game area inside the logical screen (letterbox): MouseX/Y
// subtract it, MoveMouse adds it back.
void SetMouseOffset(float x, float y);
// Colour that IMG_MASKED turns transparent at load time (default black).
void SetMaskColor(int r, int g, int b);

ImagePtr LoadImage(const std::string& path, int flags = IMG_DEFAULT);
ImagePtr LoadAnimImage(const std::string& path, int frameW, int frameH, int first, int count,
                       int flags = IMG_DEFAULT);
ImagePtr CreateImageFromPixmap(const TPixmap& pix, int flags = IMG_DEFAULT);
// A sheet of `count` frames of frameW x frameH, row by row from the top left.
ImagePtr CreateAnimImageFromPixmap(const TPixmap& pix, int frameW, int frameH, int count, int flags = IMG_DEFAULT);
void SetImageHandle(const ImagePtr& img, float x, float y);
void MidHandleImage(const ImagePtr& img);
int ImageWidth(const ImagePtr& img);
int ImageHeight(const ImagePtr& img);
ImagePtr CreateImage(int w, int h, int frames = 1, int flags = IMG_DEFAULT);
void GrabImage(const ImagePtr& img, int x, int y, int frame = 0);
// Grabs the w x h screen area at (x, y) into frame 0 of img at (dx, dy).
void GrabImageRect(const ImagePtr& img, int x, int y, int w, int h, int dx, int dy);
TPixmap GrabPixmap(int x, int y, int w, int h);
TPixmap LoadPixmap(const std::string& path);  // empty pixmap when missing
bool SavePixmapPNG(const TPixmap& pix, const std::string& path);
// Headless runs may skip drawing frames that no screenshot needs. Code that
// draws in order to grab the result (GrabPixmap, GrabImage) brackets that
// drawing with ForceDrawing(true) ... ForceDrawing(false). Calls nest.
void ForceDrawing(bool on);

void DrawImage(const ImagePtr& img, float x, float y, int frame = 0);
void DrawImageRect(const ImagePtr& img, float x, float y, float w, float h, int frame = 0);
void DrawSubImageRect(const ImagePtr& img, float x, float y, float w, float h, float sx, float sy,
                      float sw, float sh, float hx = 0, float hy = 0, int frame = 0);
void DrawRect(float x, float y, float w, float h);
void DrawLine(float x1, float y1, float x2, float y2);
void DrawText(const std::string& utf8, float x, float y);
int TextWidth(const std::string& utf8);
int TextHeight(const std::string& utf8 = "");
FontPtr LoadImageFont(const std::string& path, int size, int style = 0);

// Input (keys are Windows virtual-key codes; mouse in logical coordinates)
int KeyHit(int key);
bool KeyDown(int key);
int GetChar();  // next typed character (a code point) or 0
void FlushKeys();
int MouseHit(int button);
bool MouseDown(int button);
int MouseX();
int MouseY();
int MouseZ();
void FlushMouse();
void ShowMouse();
void HideMouse();
void MoveMouse(int x, int y);
void PollSystem();    // pumps the window's events (also done by every input query)
bool AppTerminate();  // the window's close button was pressed
bool AppSuspended();  // the window lost the focus
// How often the display has lost what was drawn into pictures at run time
// (grabbed or baked ones): a renderer that reset its render targets or its
// device (Direct3D does on a full-screen switch, a resize, a lost device) or
// the graphics opened again (a switch to or from full screen). Whoever keeps
// such pictures notes the count when it makes them and makes them again when
// the count has moved on. Pictures loaded from files are not counted here.
int DisplayResets();

// Audio
SoundPtr LoadSound(const std::string& path, int flags = 0);
Channel PlaySound(const SoundPtr& snd);
Channel CueSound(const SoundPtr& snd);
void ResumeChannel(Channel ch);
void PauseChannel(Channel ch);
void StopChannel(Channel ch);
void SetChannelVolume(Channel ch, float volume);
bool ChannelPlaying(Channel ch);

// System
int Millisecs();
int DesktopWidth();
int DesktopHeight();
void SetWindowTitle(const std::string& title);
void Notify(const std::string& text, bool serious = false);
bool Confirm(const std::string& text);
std::string RequestFile(const std::string& title, const std::string& filter, bool save,
                        const std::string& initial);  // "" = cancelled
std::string CurrentDate();
std::string CurrentTime();
bool IsHeadless();

// Random numbers: one seedable generator for the whole game.
int Rand(int a, int b);          // inclusive, either order
float RndF(float a, float b);    // [a, b)
void SeedRnd(uint32_t seed);

// Frame factor of the last frame: 1.0 when it lasted exactly 1000/60 ms. Set once
// a frame by the frame timer; every per-frame speed in the game is scaled by it.
extern float frameDelta;

// ---------------------------------------------------------------------------
// Backend plumbing (used by the start-up code and by tests)

class TBackend;
// Installs a backend; the previous one is destroyed. Null = the null backend.
void InstallBackend(std::unique_ptr<TBackend> backend);
TBackend& Backend();
