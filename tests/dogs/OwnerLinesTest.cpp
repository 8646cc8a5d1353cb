// Owner lines: the "|" entry grammar with its defaults, the speaker's shift,
// the bubble measured at the width its text is drawn in and lifted above the
// bottom panel; which lines a visit shows.
#include <gtest/gtest.h>

#include "data/Paragraph.h"
#include "dogs/TOwnerTxt.h"
#include "dogs/TPies.h"
#include "dogs/TUbieranie.h"
#include "platform/Backend.h"
#include "platform/Services.h"

namespace {

class OwnerLinesTest : public ::testing::Test {
protected:
    TTxtFilePtr texts = std::make_shared<TTxtFile>();
    void SetUp() override {
        InstallBackend(nullptr);  // built-in font: 8 x 16 a letter
        texts->setFromText(
            "Hello there.\nWoof!\n\nA long line that certainly wraps into a few rows in a bubble.\n");
    }
    TOwnerTxt parse(const std::string& wpis) {
        TOwnerTxt t;
        t.wpis = wpis;
        t.interpretuj(texts);
        return t;
    }
};

TEST_F(OwnerLinesTest, ItemsDefaultsAndSpeaker) {
    const struct {
        const char* wpis;
        int level, line;
        const char* text;
        float x, y, w;
        bool black;
        int bad;
    } cases[] = {
        // nothing said: the defaults, no speaker shift
        {"", 0, 0, "", 312, 284, 400, false, 0},
        {"LEVEL:5|TEXT:1|X:360|Y:150|WIDTH:350", 5, 1, "Hello there.", 360, 150, 350, false, 0},
        // keys are trimmed and compared in upper case
        {"  level : 7 |text:2| x:10 |Y: 20|width:300 ", 7, 2, "Woof!", 10, 20, 300, false, 0},
        // WHO 1 (the owner) moves the bubble up 20 px; WHO 2 (the dog) turns it black
        {"TEXT:1|Y:150|WHO:1", 0, 1, "Hello there.", 312, 130, 400, false, 0},
        {"TEXT:2|Y:150|WHO:2", 0, 2, "Woof!", 312, 150, 400, true, 0},
        {"TEXT:1|WHO:3", 0, 1, "Hello there.", 312, 264, 400, false, 0},
        // items apply in order: a Y after WHO overwrites its shift
        {"WHO:1|Y:150", 0, 0, "", 312, 150, 400, false, 0},
        // unknown keys are ignored; malformed items are skipped and counted
        {"COLOUR:3|LEVEL:2", 2, 0, "", 312, 284, 400, false, 0},
        {"LEVEL:x|TEXT|X:1.5|Y:100|:4|LEVEL:3", 3, 0, "", 312, 100, 400, false, 3},
        // a text number outside the file shows an empty bubble
        {"TEXT:99", 0, 99, "", 312, 284, 400, false, 0},
        {"TEXT:-1", 0, -1, "", 312, 284, 400, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wpis);
        const TOwnerTxt t = parse(c.wpis);
        EXPECT_EQ(t.nrLevelu, c.level);
        EXPECT_EQ(t.numerLini, c.line);
        EXPECT_EQ(t.txt, c.text);
        ASSERT_TRUE(t.dim);
        EXPECT_EQ(t.dim->x, c.x);
        EXPECT_EQ(t.dim->y, c.y);
        EXPECT_EQ(t.dim->w, c.w);
        EXPECT_EQ(t.rgb.r == 0 && t.rgb.g == 0 && t.rgb.b == 0, c.black);
        EXPECT_EQ(t.badItems, c.bad);
    }
}

TEST_F(OwnerLinesTest, BubbleHeightIsTheTextWrappedInsideThePadding) {
    // 12 letters = 96 px: one row at 120 px, but the text is drawn 40 px
    // narrower (80 px), where it takes two rows; the bubble must hold them.
    const TOwnerTxt t = parse("TEXT:1|WIDTH:120|Y:10");
    const float inner = static_cast<float>(measureTextBlock("Hello there.", 80, "LEFT"));
    EXPECT_GT(inner, static_cast<float>(measureTextBlock("Hello there.", 120, "LEFT")));
    EXPECT_FLOAT_EQ(t.dim->h, inner + 1.15f * 16);
    EXPECT_FLOAT_EQ(t.dim->y, 10);
}

TEST_F(OwnerLinesTest, ALowBubbleIsLiftedSoItsBottomIsAt720) {
    const struct {
        const char* wpis;
        bool lifted;
    } cases[] = {
        {"TEXT:4|WIDTH:200|Y:700", true},
        {"TEXT:1|WIDTH:400|Y:600|WHO:1", false},
        {"TEXT:2|WIDTH:300|Y:729|WHO:2", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wpis);
        TOwnerTxt raw;
        raw.wpis = c.wpis;
        raw.interpretuj(texts);
        const TDim& d = *raw.dim;
        if (c.lifted) {
            EXPECT_FLOAT_EQ(d.y + d.h, 720);
        } else {
            EXPECT_LE(d.y + d.h, 730);
            EXPECT_FLOAT_EQ(d.y, 580);  // 600 less the owner's 20
        }
    }
}

TEST_F(OwnerLinesTest, AVisitShowsTheLinesOfItsLevelAndBothNeighboursInTableOrder) {
    TPies dog;
    for (const char* w : {"LEVEL:5|TEXT:1", "LEVEL:9|TEXT:2", "LEVEL:6|TEXT:2", "LEVEL:4|TEXT:1"}) {
        auto t = std::make_shared<TOwnerTxt>();
        t->wpis = w;
        t->interpretuj(texts);
        dog.listaTekstow.push_back(t);
    }
    auto levels = [&](int visit) {
        std::vector<int> out;
        for (const auto& t : TUbieranie::linesForVisit(dog, visit)) out.push_back(t->nrLevelu);
        return out;
    };
    EXPECT_EQ(levels(3), (std::vector<int>{4}));
    EXPECT_EQ(levels(4), (std::vector<int>{5, 4}));
    EXPECT_EQ(levels(5), (std::vector<int>{5, 6, 4}));
    EXPECT_EQ(levels(6), (std::vector<int>{5, 6}));
    EXPECT_EQ(levels(7), (std::vector<int>{6}));
    EXPECT_EQ(levels(8), (std::vector<int>{9}));
    EXPECT_TRUE(levels(12).empty());
}

}  // namespace
