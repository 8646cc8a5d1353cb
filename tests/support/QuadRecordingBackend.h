// A backend that records every quad drawn with its blend and alpha, and the
// clip rectangle, so the transform and state code can be checked without
// pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Backend.h"

struct TQuadRecordingBackend final : TBackend {
    int gw = 1024, gh = 768;
    std::vector<TQuad> quads;
    std::vector<int> blends;
    std::vector<uint8_t> alphas;
    int clipX = 0, clipY = 0, clipW = 0, clipH = 0;
    const char* name() const override { return "recording"; }
    bool openGraphics(int w, int h, int, int, int) override {
        gw = w;
        gh = h;
        return true;
    }
    int graphicsWidth() const override { return gw; }
    int graphicsHeight() const override { return gh; }
    int desktopWidth() const override { return 1920; }
    int desktopHeight() const override { return 1080; }
    void setClip(int x, int y, int w, int h) override {
        clipX = x;
        clipY = y;
        clipW = w;
        clipH = h;
    }
    void fill(int, int, int) override {}
    void drawQuad(const TTexture*, const TQuad& q, uint8_t, uint8_t, uint8_t, uint8_t a, int blend) override {
        quads.push_back(q);
        blends.push_back(blend);
        alphas.push_back(a);
    }
    void drawLine(float, float, float, float, uint8_t, uint8_t, uint8_t, uint8_t, int) override {}
    void present(int) override {}
    TPixmap decodeImage(const std::string&) override { return {}; }
    std::shared_ptr<TTexture> createTexture(const TPixmap& pix, int) override {
        auto t = std::make_shared<TTexture>();
        t->texW = pix.width;
        t->texH = pix.height;
        return t;
    }
    void updateTexture(TTexture&, int, int, const TPixmap&) override {}
    TPixmap readPixels(int, int, int, int) override { return {}; }
    std::shared_ptr<TImageFontData> loadFont(const std::string&, int, int) override { return nullptr; }
    bool glyph(const TImageFontData*, uint32_t, TGlyph& out) override {
        out = TGlyph{};
        out.advance = 10;
        return true;
    }
    int fontHeight(const TImageFontData*) override { return 20; }
    std::shared_ptr<TSoundData> loadSound(const std::string&, int) override { return nullptr; }
    Channel playSound(const TSound&, bool) override { return 0; }
    double millisecs() override { return 0; }
};
