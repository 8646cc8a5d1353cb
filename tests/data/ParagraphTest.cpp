#include <gtest/gtest.h>

#include "RecordingBackend.h"
#include "data/Paragraph.h"

namespace {

class Paragraph : public ::testing::Test {
protected:
    std::vector<TRecordedGlyph> glyphs;
    void SetUp() override {
        auto b = std::make_unique<TRecordingBackend>();
        b->sink = &glyphs;
        InstallBackend(std::move(b));
        SetVirtualResolution(1024, 768);
        SetColor(255, 255, 255);
        SetImageFont(nullptr);
        SetOrigin(0, 0);
        SetScale(1, 1);
        SetRotation(0);
    }
    void TearDown() override { InstallBackend(nullptr); }
    std::vector<TRecordedWord> words() const { return wordsOf(glyphs); }
};

struct W {
    float x, y;
    const char* text;
};

void expectWords(const std::vector<TRecordedWord>& got, const std::vector<W>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(got[i].x, want[i].x);
        EXPECT_FLOAT_EQ(got[i].y, want[i].y);
        EXPECT_EQ(got[i].text, want[i].text);
    }
}

}  // namespace

// Glyphs are 8 px wide: "aaa bbb" is 56 px, "aaa bbb ccc" 88 px.
TEST_F(Paragraph, AlignmentsPlaceEachLine) {
    struct Case {
        const char* align;
        std::vector<W> words;
    };
    const Case cases[] = {
        {"LEFT", {{10, 20, "aaa"}, {42, 20, "bbb"}, {10, 36, "ccc"}, {42, 36, "dd"}}},
        {"", {{10, 20, "aaa"}, {42, 20, "bbb"}, {10, 36, "ccc"}, {42, 36, "dd"}}},
        {"sideways", {{10, 20, "aaa"}, {42, 20, "bbb"}, {10, 36, "ccc"}, {42, 36, "dd"}}},
        // right: x + width - line width
        {"RIGHT", {{19, 20, "aaa"}, {51, 20, "bbb"}, {27, 36, "ccc"}, {59, 36, "dd"}}},
        // centred: x + width/2 - line width/2, truncated: 10 + 32.5 - 28 = 14.5 -> 14
        {" center ", {{14, 20, "aaa"}, {46, 20, "bbb"}, {18, 36, "ccc"}, {50, 36, "dd"}}},
        // justified: the first line spreads to the full width, the last stays left
        {"Justify", {{10, 20, "aaa"}, {51, 20, "bbb"}, {10, 36, "ccc"}, {42, 36, "dd"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.align);
        glyphs.clear();
        EXPECT_EQ(drawTextBlock("aaa bbb ccc dd", 10, 20, 65, c.align), 32);
        expectWords(words(), c.words);
    }
}

TEST_F(Paragraph, JustifiedGapsAreEqual) {
    // Width 70, words 3 x 16 px: gap = (70 - 48) / 2 = 11.
    drawTextBlock("ab cd ef gh", 0, 0, 70, "JUSTIFY");
    expectWords(words(), {{0, 0, "ab"}, {27, 0, "cd"}, {54, 0, "ef"}, {0, 16, "gh"}});
}

TEST_F(Paragraph, JustifiedOneWordLinesStayLeft) {
    drawTextBlock("abcdefgh ij", 5, 0, 70, "JUSTIFY");
    expectWords(words(), {{5, 0, "abcdefgh"}, {5, 16, "ij"}});
}

TEST_F(Paragraph, WideWordAloneOnItsLine) {
    // A word wider than the column overflows on a line of its own and leaves
    // no blank line above it.
    EXPECT_EQ(drawTextBlock("extraordinary to", 0, 0, 40, "LEFT", nullptr, 4), 40);
    expectWords(words(), {{0, 0, "extraordinary"}, {0, 20, "to"}});
    glyphs.clear();
    EXPECT_EQ(drawTextBlock("to extraordinary", 0, 0, 40, "LEFT"), 32);
    expectWords(words(), {{0, 0, "to"}, {0, 16, "extraordinary"}});
}

TEST_F(Paragraph, SpacesInsideALineAreKept) {
    drawTextBlock("a  b", 0, 0, 200, "LEFT");
    expectWords(words(), {{0, 0, "a"}, {24, 0, "b"}});
    glyphs.clear();
    // A line exactly as wide as the column takes no extra blank line.
    EXPECT_EQ(drawTextBlock("abcd efgh", 0, 0, 72, "LEFT"), 16);
}

TEST_F(Paragraph, LineGapAndEmptyText) {
    EXPECT_EQ(drawTextBlock("", 0, 0, 50, "LEFT"), 16);
    EXPECT_TRUE(glyphs.empty());
    EXPECT_EQ(drawTextBlock("aaa bbb ccc", 0, 0, 60, "LEFT", nullptr, 3), 38);
    expectWords(words(), {{0, 0, "aaa"}, {32, 0, "bbb"}, {0, 19, "ccc"}});
}

TEST_F(Paragraph, MeasureCountsOneMorePitchForATextLine) {
    struct Case {
        const char* text;
        float width;
        int gap;
        int height;
    };
    const Case cases[] = {
        {"", 50, 0, 16},
        {"aaa bbb ccc dd", 65, 0, 48},
        {"aaa", 65, 2, 36},
        {"extraordinary to", 40, 0, 48},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(measureTextBlock(c.text, c.width, "LEFT", nullptr, c.gap), c.height);
    }
    EXPECT_TRUE(glyphs.empty());
}

TEST_F(Paragraph, OutlinedText) {
    TRGB red{255, 0, 0};
    drawOutlinedText("ab", 100, 50, nullptr, &red, "RIGHT");
    auto w = words();
    ASSERT_EQ(w.size(), 5u);
    const float xs[] = {83, 85, 83, 85, 84};
    const float ys[] = {49, 49, 51, 51, 50};
    for (int i = 0; i < 5; ++i) {
        EXPECT_FLOAT_EQ(w[i].x, xs[i]);
        EXPECT_FLOAT_EQ(w[i].y, ys[i]);
        EXPECT_EQ(w[i].text, "ab");
    }
    EXPECT_EQ(w[0].r, 0);
    EXPECT_EQ(w[4].r, 255);
    EXPECT_EQ(w[4].g, 0);

    glyphs.clear();
    drawOutlinedText("abc", 100, 50, nullptr, nullptr, "center");  // 100 - 24 div 2
    EXPECT_FLOAT_EQ(words().back().x, 88);
    EXPECT_EQ(words().back().g, 255);
    glyphs.clear();
    drawOutlinedText("abc", 100, 50, nullptr, nullptr, "CENTER ");  // not trimmed: left
    EXPECT_FLOAT_EQ(words().back().x, 100);
}

TEST_F(Paragraph, NonAsciiCountsCodePoints) {
    drawTextBlock("\xC3\xA9\xC3\xA9 \xE6\x97\xA5", 0, 0, 100, "RIGHT");
    expectWords(words(), {{68, 0, "\xC3\xA9\xC3\xA9"}, {92, 0, "\xE6\x97\xA5"}});
}
