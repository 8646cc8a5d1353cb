// A backend that records every quad drawn with its blend and alpha, and the
// clip rectangle, so the transform and state code can be checked without
// pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "StubBackend.h"

struct TQuadRecordingBackend final : TStubBackend {
    int gw = 1024, gh = 768;
    std::vector<TQuad> quads;
    std::vector<int> blends;
    std::vector<uint8_t> alphas;
    int clipX = 0, clipY = 0, clipW = 0, clipH = 0;
    const char* name() const override { return "recording"; }
    bool headless() const override { return false; }
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
    void drawQuad(const TTexture*, const TQuad& q, uint8_t, uint8_t, uint8_t, uint8_t a, int blend) override {
        quads.push_back(q);
        blends.push_back(blend);
        alphas.push_back(a);
    }
    std::shared_ptr<TTexture> createTexture(const TPixmap& pix, int) override {
        auto t = std::make_shared<TTexture>();
        t->texW = pix.width;
        t->texH = pix.height;
        return t;
    }
    bool glyph(const TImageFontData*, uint32_t, TGlyph& out) override {
        out = TGlyph{};
        out.advance = 10;
        return true;
    }
    int fontHeight(const TImageFontData*) override { return 20; }
};
