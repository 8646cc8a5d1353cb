// A headless backend for tests that draws, decodes and plays nothing: a
// 1024 x 768 screen, 8 px glyphs 16 px high, a clock standing at 0. Test
// backends derive from it and override only what they record or change.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Backend.h"

class TStubBackend : public TBackend {
public:
    const char* name() const override { return "stub"; }
    bool headless() const override { return true; }
    bool openGraphics(int, int, int, int, int) override { return true; }
    int graphicsWidth() const override { return 1024; }
    int graphicsHeight() const override { return 768; }
    int desktopWidth() const override { return 1024; }
    int desktopHeight() const override { return 768; }
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
    double millisecs() override { return 0; }
};
