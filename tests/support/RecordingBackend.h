// A backend that records every glyph drawn, so layout can be checked by
// position instead of by pixels. Glyphs are 8 x 16 like the null backend's.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "StubBackend.h"
#include "platform/Files.h"

struct TRecordedGlyph {
    float x, y;
    uint32_t cp;
    int r, g, b;
};

struct TRecordedWord {
    float x, y;
    std::string text;
    int r, g, b;
};

class TRecordingBackend final : public TStubBackend {
public:
    std::vector<TRecordedGlyph>* sink = nullptr;

    const char* name() const override { return "recording"; }
    void drawQuad(const TTexture* tex, const TQuad& q, uint8_t r, uint8_t g, uint8_t b, uint8_t,
                  int) override {
        if (!sink || !tex) return;
        sink->push_back({q.x[0], q.y[0], static_cast<uint32_t>(tex->frameW), r, g, b});
    }
    bool glyph(const TImageFontData*, uint32_t cp, TGlyph& out) override {
        out = TGlyph{};
        out.advance = 8;
        if (cp == ' ') return true;  // advances, draws nothing
        auto& t = textures_[cp];
        if (!t) {
            t = std::make_unique<TTexture>();
            t->texW = 8;
            t->texH = 16;
            t->frameW = static_cast<int>(cp);  // the code point rides along
        }
        out.tex = t.get();
        out.w = 8;
        out.h = 16;
        return true;
    }

private:
    std::map<uint32_t, std::unique_ptr<TTexture>> textures_;
};

// Glyphs drawn side by side (8 px apart on one row, same colour) form a word.
inline std::vector<TRecordedWord> wordsOf(const std::vector<TRecordedGlyph>& glyphs) {
    std::vector<TRecordedWord> words;
    for (const auto& g : glyphs) {
        if (!words.empty()) {
            auto& w = words.back();
            float nextX = w.x + 8.0f * static_cast<float>(CodePointCount(w.text));
            if (w.y == g.y && nextX == g.x && w.r == g.r && w.g == g.g && w.b == g.b) {
                AppendUtf8(w.text, g.cp);
                continue;
            }
        }
        TRecordedWord w{g.x, g.y, "", g.r, g.g, g.b};
        AppendUtf8(w.text, g.cp);
        words.push_back(w);
    }
    return words;
}
