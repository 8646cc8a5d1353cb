// The backend unit tests run on: no window, no files decoded, nothing drawn.
// Layout code still gets sizes from the built-in font (8 x 16 a code point),
// and the clock only moves when a test moves it. Test backends derive from it
// and override what they record or change.
#pragma once

#include "platform/Backend.h"

class TNullBackend : public TBackend {
public:
    const char* name() const override { return "null"; }
    bool headless() const override { return true; }

    bool openGraphics(int w, int h, int, int, int) override {
        if (w <= 0 || h <= 0) return false;
        w_ = w;
        h_ = h;
        return true;
    }
    int graphicsWidth() const override { return w_; }
    int graphicsHeight() const override { return h_; }
    int desktopWidth() const override { return 1920; }
    int desktopHeight() const override { return 1080; }

    void setClip(int, int, int, int) override {}
    void fill(int, int, int) override {}
    void drawQuad(const TTexture*, const TQuad&, uint8_t, uint8_t, uint8_t, uint8_t, int) override {}
    void drawLine(float, float, float, float, uint8_t, uint8_t, uint8_t, uint8_t, int) override {}
    void present(int) override {}

    TPixmap decodeImage(const std::string&) override { return {}; }
    std::shared_ptr<TTexture> createTexture(const TPixmap&, int) override { return nullptr; }
    void updateTexture(TTexture&, int, int, const TPixmap&) override {}
    TPixmap readPixels(int, int, int, int) override { return {}; }

    std::shared_ptr<TImageFontData> loadFont(const std::string&, int, int) override { return nullptr; }
    bool glyph(const TImageFontData*, uint32_t, TGlyph& out) override {
        out = TGlyph{};
        out.advance = 8;
        return true;
    }
    int fontHeight(const TImageFontData*) override { return 16; }

    std::shared_ptr<TSoundData> loadSound(const std::string&, int) override { return nullptr; }
    Channel playSound(const TSound&, bool) override { return 0; }

    double millisecs() override { return clock_; }
    void advanceClock(double ms) override { clock_ += ms; }

private:
    int w_ = 1024, h_ = 768;
    double clock_ = 0;
};
