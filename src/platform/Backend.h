// The abstract machine behind Services.h. The common code (Services.cpp) keeps
// the render state, the transform, the logical-to-display mapping, the input
// state and the random generator; a backend only draws quads in display
// pixels, decodes files, pumps events, plays sounds and answers the clock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Services.h"

// Image payload shared by all backends: the whole texture and how frames are
// laid out in it (left to right, then top to bottom).
struct TTexture : TImageData {
    int texW = 0, texH = 0;
    int frameW = 0, frameH = 0;
    int first = 0;  // index of frame 0 inside the sheet
    int cols = 1;   // frames per row of the sheet
    int flags = 0;
    std::string sourcePath;  // file it came from, "" when made in memory
    int maskR = 0, maskG = 0, maskB = 0;  // mask colour it was loaded with
};

// One textured (or, with tex == null, filled) quad in display pixels; corners in
// the order top-left, top-right, bottom-right, bottom-left of the source.
struct TQuad {
    float x[4], y[4];
    float u[4], v[4];  // normalised texture coordinates
};

// A glyph of an image font, rendered white so the colour can tint it.
struct TGlyph {
    const TTexture* tex = nullptr;  // null: nothing to draw (space, missing)
    int w = 0, h = 0;               // size of the glyph picture at scale 1
    int advance = 0;                // pen movement at scale 1
    int offsetX = 0;                // where the picture starts relative to the pen
    int x = 0, y = 0;               // where the picture lies in its texture (glyphs share pages)
};

class TBackend {
public:
    virtual ~TBackend() = default;
    virtual const char* name() const = 0;
    virtual bool headless() const { return false; }

    // Display. Sizes in display pixels.
    virtual bool openGraphics(int w, int h, int depth, int hertz, int flags) = 0;
    virtual void closeGraphics() {}
    virtual int graphicsWidth() const = 0;
    virtual int graphicsHeight() const = 0;
    virtual int desktopWidth() const = 0;
    virtual int desktopHeight() const = 0;
    virtual void setWindowTitle(const std::string& /*title*/) {}
    // RGBA pictures of the icon, one per size.
    virtual void setWindowIcon(const std::vector<TPixmap>& /*sizes*/) {}

    // Drawing, in display pixels. The clip rectangle applies to everything
    // including fill().
    virtual void setClip(int x, int y, int w, int h) = 0;
    virtual void fill(int r, int g, int b) = 0;  // the clip rectangle, no blending
    virtual void drawQuad(const TTexture* tex, const TQuad& q, uint8_t r, uint8_t g, uint8_t b,
                          uint8_t a, int blend) = 0;
    virtual void drawLine(float x1, float y1, float x2, float y2, uint8_t r, uint8_t g, uint8_t b,
                          uint8_t a, int blend) = 0;
    virtual void present(int sync) = 0;
    // Milliseconds the last present slept to pace the frame (0 where the
    // display paces it or nothing waits); frame statistics leave it out.
    virtual double lastPaceWaitMs() const { return 0; }
    // Whether the frame being drawn will ever be looked at. The headless
    // backend says no for frames no screenshot needs, and drawing is skipped.
    virtual bool wantsDrawing() const { return true; }
    // Headless only: whether the frames from now on are drawn.
    virtual void setDrawing(bool /*on*/) {}

    // Images.
    virtual TPixmap decodeImage(const std::string& path) = 0;  // empty when missing/bad
    virtual std::shared_ptr<TTexture> createTexture(const TPixmap& pix, int flags) = 0;
    // A picture file whose pixels are read only when it is first drawn (and
    // read again should the backend have dropped them after a long time
    // unused): sizes, flags, source path and mask colour filled in. Null when
    // this backend decodes at once, or the file is not a whole PNG or JPEG
    // (the caller then decodes it the ordinary way).
    virtual std::shared_ptr<TTexture> loadTextureOnUse(const std::string& /*path*/, int /*flags*/,
                                                       int /*maskR*/, int /*maskG*/, int /*maskB*/) {
        return nullptr;
    }
    virtual void updateTexture(TTexture& tex, int x, int y, const TPixmap& pix) = 0;
    // A w x h texture of fully transparent black (made in memory).
    virtual std::shared_ptr<TTexture> createBlankTexture(int w, int h, int flags) {
        TPixmap pix;
        pix.width = w;
        pix.height = h;
        pix.pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0);
        auto tex = createTexture(pix, flags);
        if (tex) prepareMaskCopy(*tex, pix);
        return tex;
    }
    // For a texture made in memory (no file to reload): prepare what the mask
    // blend needs now, while the pixels are at hand.
    virtual void prepareMaskCopy(TTexture& /*tex*/, const TPixmap& /*pix*/) {}
    virtual TPixmap readPixels(int x, int y, int w, int h) = 0;
    virtual bool savePNG(const TPixmap& /*pix*/, const std::string& /*path*/) { return false; }

    // Image fonts. font == null is the built-in font.
    virtual std::shared_ptr<TImageFontData> loadFont(const std::string& path, int size, int style) = 0;
    virtual bool glyph(const TImageFontData* font, uint32_t codepoint, TGlyph& out) = 0;
    virtual int fontHeight(const TImageFontData* font) = 0;

    // Input: pumps events into the common input state (see InjectKey etc.).
    virtual void pollEvents() {}
    virtual void showPointer(bool /*show*/) {}
    virtual void warpPointer(int /*px*/, int /*py*/) {}

    // Audio. Channels are small positive handles; 0 = none.
    virtual std::shared_ptr<TSoundData> loadSound(const std::string& path, int flags) = 0;
    virtual Channel playSound(const TSound& snd, bool paused) = 0;
    virtual void resumeChannel(Channel) {}
    virtual void pauseChannel(Channel) {}
    virtual void stopChannel(Channel) {}
    virtual void setChannelVolume(Channel, float) {}
    virtual bool channelPlaying(Channel) { return false; }

    // Clock in milliseconds (fractional so a virtual clock can step 1000/60).
    virtual double millisecs() = 0;
    // Moves a virtual clock on; real clocks ignore it.
    virtual void advanceClock(double /*ms*/) {}

    // System dialogs.
    virtual void notify(const std::string& text, bool serious);
    virtual bool confirm(const std::string& text);
    virtual std::string requestFile(const std::string& /*title*/, const std::string& /*filter*/,
                                    bool /*save*/, const std::string& /*initial*/) {
        return "";
    }
};

// The null backend: no window, loads answer null, drawing does nothing, the
// built-in font is 8 px a code point and 16 px high, the clock moves only when
// told (advanceClock), input comes only from Inject*.
std::unique_ptr<TBackend> MakeNullBackend();

// ---------------------------------------------------------------------------
// Input state, filled by backends (from window events) and by the headless
// script. Positions in display pixels.
void InjectKey(int vk, bool down);
void InjectMouseButton(int button, bool down);  // 1 left, 2 right, 3 middle
void InjectMouseMove(float px, float py);
void InjectWheel(int dz);
void InjectChar(uint32_t codepoint);
void InjectTerminate();                // the window's close button
void InjectSuspended(bool suspended);  // focus lost / regained
// The display lost what was drawn into pictures at run time (the renderer
// reset its render targets or its device; the graphics were opened again).
void InjectDisplayReset();
void ResetInput();                     // all keys up, queues empty, no close request

// The size of a PNG or JPEG picture read from its header, without decoding
// it; false for a missing file, another format, or a file cut short (a PNG
// must end with its IEND chunk, a JPEG with its end marker).
bool ProbePictureSize(const std::string& path, int& w, int& h);

// Image preparation shared by loaders: decodes through the backend and applies
// the mask colour when flags has IMG_MASKED. Empty pixmap when missing.
TPixmap PrepareImagePixmap(const std::string& path, int flags, int maskR, int maskG, int maskB);
// Keeps the pixels whose alpha is at least 128 (made opaque), drops the rest:
// the mask blend's alpha test baked into a copy.
TPixmap ThresholdAlpha(const TPixmap& pix);

// UTF-8 decoding without allocation; returns the next code point and advances i.
// Malformed bytes decode as U+FFFD.
uint32_t NextCodepoint(const std::string& s, size_t& i);
