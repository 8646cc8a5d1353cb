// The win screen's rows by game mode, their spacing, the bonus and totals,
// the profile credited once, the entrance skip and the state machine; the
// credits' line fonts.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/DataGlobals.h"
#include "data/TTxtFile.h"
#include "match3/TLevel.h"
#include "platform/Backend.h"
#include "platform/Services.h"
#include "screens/TEndOfGame.h"
#include "screens/TResultsHost.h"
#include "screens/TWinScreen.h"

namespace {

struct FakeProfile {
    std::string mode = "RELAXED";
    int score = 1000;
    int puzzles = 0;
    int scoreAdds = 0;
    int missing = 5;
};

// The level just played and its player, as the win screen reads them.
struct FakeHost : TResultsHost {
    FakeProfile* prof = nullptr;
    std::shared_ptr<TLevel>* lvl = nullptr;
    bool noLevel = false;
    std::shared_ptr<TLevel> level() override { return noLevel ? nullptr : *lvl; }
    std::string gameMode() override { return prof->mode; }
    std::string timeLeft() override { return "0:42"; }
    int plates = 9;
    int platesBroken() override { return plates; }
    int profileScore() override { return prof->score; }
    void addProfileScore(int n) override {
        prof->score += n;
        ++prof->scoreAdds;
    }
    void addProfilePuzzles(int n) override { prof->puzzles += n; }
    int puzzlesMissing() override { return prof->missing; }
};

class WinScreenTest : public ::testing::Test {
protected:
    FakeProfile prof;
    std::shared_ptr<TLevel> level = std::make_shared<TLevel>();
    TWinScreen win;
    FakeHost host;
    std::string keepRoot;

    void SetUp() override {
        InstallBackend(nullptr);
        Backend().advanceClock(1000);
        keepRoot = dataRoot;
        dataRoot = std::string(BRIMBLE_GAME_DIR) + "/";
        level->score = 1234;
        level->czas = 42;
        level->tilesCount = 17;
        level->highestMatch = 6;
        level->puzzles = 2;
        host.prof = &prof;
        host.lvl = &level;
        setResultsHost(&host);
        win.setupTexts();
    }
    void TearDown() override {
        setResultsHost(nullptr);
        dataRoot = keepRoot;
    }
    std::vector<std::string> labels() const {
        std::vector<std::string> out;
        for (const auto& l : win.lines) out.push_back(l.txt);
        return out;
    }
    std::vector<std::string> values() const {
        std::vector<std::string> out;
        for (const auto& l : win.lines) out.push_back(l.data);
        return out;
    }
};

TEST_F(WinScreenTest, BonusAndTotals) {
    EXPECT_EQ(win.getTimeBonus(), 5 * 42);
    EXPECT_EQ(win.getTotalScore(), 1234 + 210);
    level->czas = 0;
    EXPECT_EQ(win.getTotalScore(), 1234);
    host.noLevel = true;
    EXPECT_EQ(win.getTimeBonus(), 0);  // no level: nothing to add
    EXPECT_EQ(win.getTotalScore(), 0);
}

TEST_F(WinScreenTest, RowsByModeWithTheirValues) {
    // The texts come from the game's "txt/eng/winScreen.txt".
    EXPECT_EQ(win.txtComp, "Level Complete!");
    EXPECT_EQ(win.txtLevelScore, "Level score");

    win._prepareSummary();
    // Relaxed play: the finish bonus has its own row, so Score + bonus = Level score.
    EXPECT_EQ(labels(),
              (std::vector<std::string>{win.txtScore, win.txtTiles, win.txtFinishBonus, win.txtBiggestMatch,
                                        win.txtLevelScore, win.txtTotalScore, win.txtPuzzles}));
    // "Tiles broken" is the plates the HUD counted down (9), not the layers
    // broken on the way (the level's 17).
    EXPECT_EQ(values(), (std::vector<std::string>{"1,234", "9", "210", "6", "1,444", "2,444", "2"}));

    prof.mode = "TIMED";
    level = std::make_shared<TLevel>(*level);  // another win
    win._prepareSummary();
    EXPECT_EQ(labels(), (std::vector<std::string>{win.txtScore, win.txtTiles, win.txtTimeLeft,
                                                  win.txtTimeBonus, win.txtBiggestMatch, win.txtLevelScore,
                                                  win.txtTotalScore, win.txtPuzzles}));
    EXPECT_EQ(values(), (std::vector<std::string>{"1,234", "9", "0:42", "210", "6", "1,444", "3,888", "2"}));

    // A level without puzzle pieces has no pieces row.
    level = std::make_shared<TLevel>(*level);
    level->puzzles = 0;
    win._prepareSummary();
    EXPECT_EQ(labels(),
              (std::vector<std::string>{win.txtScore, win.txtTiles, win.txtTimeLeft, win.txtTimeBonus,
                                        win.txtBiggestMatch, win.txtLevelScore, win.txtTotalScore}));
}

TEST_F(WinScreenTest, NumbersAreGroupedInThousands) {
    const struct {
        int v;
        const char* text;
    } cases[] = {{0, "0"},
                 {999, "999"},
                 {1000, "1,000"},
                 {123456, "123,456"},
                 {1234567, "1,234,567"},
                 {-4500, "-4,500"},
                 {2147483647, "2,147,483,647"}};
    for (const auto& k : cases) EXPECT_EQ(TWinScreen::groupThousands(k.v), k.text) << k.v;
}

TEST_F(WinScreenTest, RowsSpreadEvenlyFrom200To390) {
    // Six rows (relaxed, no pieces) fill y 200 to 390 evenly; the seven and
    // eight of a win with pieces would overlap there, so they keep a row's
    // height apart and reach further down the panel.
    struct Case {
        const char* mode;
        int pieces;
        size_t rows;
        float last;
    } cases[] = {{"RELAXED", 0, 6, 390},
                 {"RELAXED", 2, 7, 200 + 6 * 34},
                 {"TIMED", 0, 7, 200 + 6 * 34},
                 {"TIMED", 2, 8, 200 + 7 * 34}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " pieces " + std::to_string(c.pieces));
        prof.mode = c.mode;
        level = std::make_shared<TLevel>(*level);
        level->puzzles = c.pieces;
        win._prepareSummary();
        const int n = static_cast<int>(win.lines.size());
        ASSERT_EQ(win.lines.size(), c.rows);
        EXPECT_FLOAT_EQ(win.getDataY(0), 200);
        EXPECT_FLOAT_EQ(win.getDataY(n - 1), c.last);
        const float step = (c.last - 200) / static_cast<float>(n - 1);
        EXPECT_GE(step, 34.0f) << "rows closer than a row's height overlap";
        for (int i = 1; i < n; ++i) EXPECT_NEAR(win.getDataY(i) - win.getDataY(i - 1), step, 1e-4);
    }
    win.lines.resize(1);  // a single row cannot divide by zero
    EXPECT_FLOAT_EQ(win.getDataY(0), 200);
}

TEST_F(WinScreenTest, ProfileGetsScoreAndPiecesOncePerWin) {
    win._prepareSelf();
    win._prepareSummary();
    win._prepareSelf();
    win._prepareSummary();  // shown again for the same level
    EXPECT_EQ(prof.scoreAdds, 1);
    EXPECT_EQ(prof.score, 1000 + 1444);
    EXPECT_EQ(prof.puzzles, 2);
    EXPECT_EQ(win.puzzlesToGo, 3);
    level = std::make_shared<TLevel>(*level);  // the next win
    win._prepareSummary();
    EXPECT_EQ(prof.scoreAdds, 2);
    EXPECT_EQ(prof.puzzles, 4);
    prof.missing = 1;  // more pieces won than missing never shows a negative count
    win._prepareSelf();
    EXPECT_EQ(win.puzzlesToGo, 0);
}

TEST_F(WinScreenTest, StatesFromShowThroughWaitToHide) {
    win._prepareSelf();
    win._prepareSummary();
    EXPECT_EQ(win.state, "SHOW");
    win._updateState();
    EXPECT_EQ(win.dFade, 1.0f);   // the board darkens first
    EXPECT_EQ(win.dAlpha, 0.0f);  // the panel waits for it
    win.fade = 1;
    win._updateState();
    EXPECT_EQ(win.dAlpha, 1.0f);
    EXPECT_EQ(win.dGuiAlpha, 0.0f);
    win.alpha = 1;
    win._updateState();
    EXPECT_EQ(win.dGuiAlpha, 1.0f);
    win.guiAlpha = 1;
    win._updateState();
    EXPECT_EQ(win.state, "WAIT");
    EXPECT_EQ(win.showCount, 0);
    // A row every 400 ms after a first half-second pause.
    const int n = static_cast<int>(win.lines.size());
    Backend().advanceClock(450);
    win._updateState();
    EXPECT_EQ(win.showCount, 0);
    Backend().advanceClock(100);
    win._updateState();
    EXPECT_EQ(win.showCount, 1);
    EXPECT_GT(win.effects.size(), 0);  // the row's burst
    for (int i = 2; i <= n; ++i) {
        Backend().advanceClock(390);
        win._updateState();
        EXPECT_EQ(win.showCount, i - 1);
        Backend().advanceClock(20);
        win._updateState();
        EXPECT_EQ(win.showCount, i);
    }
    Backend().advanceClock(5000);
    win._updateState();
    EXPECT_EQ(win.showCount, n);
    EXPECT_EQ(win.state, "WAIT");  // waits for the player's OK
    win.state = "HIDE";
    EXPECT_FALSE(win.loopDone());
    win._updateState();
    EXPECT_EQ(win.dGuiAlpha, 0.0f);
    EXPECT_EQ(win.dAlpha, 1.0f);  // the rows go first
    win.guiAlpha = 0;
    win._updateState();
    EXPECT_EQ(win.dAlpha, 0.0f);
    win.alpha = 0;
    win._updateState();
    EXPECT_EQ(win.dFade, 0.0f);
    win.fade = 0;
    EXPECT_TRUE(win.loopDone());
    win.effects.clear();
}

TEST_F(WinScreenTest, ClickDuringTheEntranceShowsEverythingAtOnce) {
    win._prepareSelf();
    win._prepareSummary();
    win._prepareReady();
    EXPECT_EQ(win.state, "WAIT");
    EXPECT_EQ(win.showCount, static_cast<int>(win.lines.size()));
    EXPECT_EQ(win.alpha, 1.0f);
    EXPECT_EQ(win.fade, 1.0f);
    EXPECT_EQ(win.guiAlpha, 1.0f);
    EXPECT_EQ(win.dGuiAlpha, 1.0f);
    EXPECT_FALSE(win.loopDone());  // only the hide ends the screen
}

TEST(EndOfGame, LinesPickTheirFontsAndDropEmptyOnes) {
    InstallBackend(nullptr);
    TEndOfGame e;
    e.font1 = std::make_shared<TImageFont>();
    e.font2 = std::make_shared<TImageFont>();
    e.font3 = std::make_shared<TImageFont>();
    e.setLines({"$Brimble", "", "#Made by", "The Brimble team\r", "", "#", "plain # inside"});
    ASSERT_EQ(e.lista.size(), 5u);
    EXPECT_EQ(e.lista[0].txt, "Brimble");
    EXPECT_EQ(e.lista[0].font, e.font3);
    EXPECT_EQ(e.lista[1].txt, "Made by");
    EXPECT_EQ(e.lista[1].font, e.font2);
    EXPECT_EQ(e.lista[2].txt, "The Brimble team");
    EXPECT_EQ(e.lista[2].font, e.font1);
    EXPECT_EQ(e.lista[3].txt, "");  // a lone "#" is a heading with no words: kept as a gap
    EXPECT_EQ(e.lista[4].font, e.font1);
    // The null backend's built-in font is 16 px high: 5 lines of 16 + 2.
    EXPECT_FLOAT_EQ(e.listHeight(), 5 * 18.0f);
}

TEST(EndOfGame, VersionPlaceholderBecomesTheBuildsVersion) {
    InstallBackend(nullptr);
    TEndOfGame e;
    e.setLines({"Version {version}", "{version}/{version}", "{versio}"});
    ASSERT_EQ(e.lista.size(), 3u);
    EXPECT_EQ(e.lista[0].txt, std::string("Version ") + BRIMBLE_VERSION);
    EXPECT_EQ(e.lista[1].txt, std::string(BRIMBLE_VERSION) + "/" + BRIMBLE_VERSION);
    EXPECT_EQ(e.lista[2].txt, "{versio}");
    // The shipped credits name it.
    bool named = false;
    const auto credits = loadText(std::string(BRIMBLE_GAME_DIR) + "/txt/eng/credits.txt");
    ASSERT_TRUE(credits);
    for (const auto& line : credits->txt)
        named = named || line.find("{version}") != std::string::npos;
    EXPECT_TRUE(named);
}

}  // namespace
