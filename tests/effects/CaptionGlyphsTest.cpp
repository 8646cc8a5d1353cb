// The chain caption's glyphs are rendered when its font is set up, so a
// caption that comes up in the middle of a cascade renders none.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>

#include "StubBackend.h"
#include "effects/TNumberAndTextParticle.h"
#include "platform/Services.h"

namespace {

// Counts glyphs asked for the first time, font by font (the real backend
// renders a glyph then).
class TGlyphCountingBackend final : public TStubBackend {
public:
    std::set<std::pair<const TImageFontData*, uint32_t>> seen;
    int firstUses = 0;

    const char* name() const override { return "glyph-counting"; }
    std::shared_ptr<TImageFontData> loadFont(const std::string&, int, int) override {
        return std::make_shared<TImageFontData>();
    }
    bool glyph(const TImageFontData* font, uint32_t cp, TGlyph& out) override {
        if (seen.insert({font, cp}).second) ++firstUses;
        out = TGlyph{};
        out.advance = 8;
        return true;
    }
    double millisecs() override { return clock; }
    double clock = 1000;
};

TEST(CaptionGlyphs, ChainCaptionsRenderNoNewGlyphOnceTheFontIsSetUp) {
    auto owned = std::make_unique<TGlyphCountingBackend>();
    TGlyphCountingBackend* b = owned.get();
    InstallBackend(std::move(owned));
    TNumberAndTextParticle::fontSetUp = false;
    TNumberAndTextParticle::font.reset();
    TNumberAndTextParticle::setupFont();
    ASSERT_TRUE(TNumberAndTextParticle::font);
    const int atSetUp = b->firstUses;
    EXPECT_GE(atSetUp, 10) << "the digits at least";

    TParticleList l(16);
    for (int n : {3, 7, 12, 25, 48, 90}) {
        auto* p = TNumberAndTextParticle::create(n, n >= 7 ? "chain!!" : "chain!", 500, 300, 0, &l);
        ASSERT_TRUE(p);
        b->clock += 100;
        l.update();
        l.draw();
    }
    EXPECT_EQ(b->firstUses, atSetUp) << "a caption rendered a glyph in play";
    l.clear();
    InstallBackend(nullptr);
    TNumberAndTextParticle::fontSetUp = false;
    TNumberAndTextParticle::font.reset();
}

}  // namespace
