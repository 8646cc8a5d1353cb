// The tip file's grammar: every keyword with its arguments, words given as
// separate items or as one item, malformed entries refused with a message
// naming the tip and the entry while the other tips still load.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestDir.h"
#include "data/DataGlobals.h"
#include "data/TRCMFile.h"
#include "data/TTxtFile.h"
#include "tutorial/TTutorial.h"
#include "tutorial/TTutorialTip.h"

namespace {

using Words = std::vector<std::string>;
using Parse = bool (*)(const Words&, TTutorialTip::Entry&, std::string&);

struct Case {
    Words words;
    bool ok;
};

void expectCases(const char* what, Parse parse, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        TTutorialTip::Entry e;
        std::string why;
        std::string text;
        for (auto& w : c.words) text += w + " ";
        EXPECT_EQ(parse(c.words, e, why), c.ok) << what << " \"" << text << "\": " << why;
        if (!c.ok) {
            EXPECT_FALSE(why.empty()) << what << " \"" << text << "\" refused without a reason";
        }
    }
}

TEST(TipGrammar, ShowConditions) {
    expectCases("condition", &TTutorialTip::parseCondition,
                {{{"FADE"}, true},
                 {{"FADE", "1"}, false},
                 {{"TIP-EXECUTED", "SWAP-GOAL"}, true},
                 {{"TIP-EXECUTED"}, false},
                 {{"TIP-EXECUTED", "A", "B"}, false},
                 {{"MATCHED"}, true},
                 {{"ANY-BONUS"}, true},
                 {{"BONUS"}, true},
                 {{"BONUS", "104"}, true},
                 {{"BONUS", "99"}, false},
                 {{"BONUS", "X"}, false},
                 {{"BONUS-TYPE", "BOMB"}, true},
                 {{"BONUS-TYPE", "SHUFFLE"}, true},
                 {{"BONUS-TYPE", "LASER"}, false},
                 {{"BONUS-TYPE"}, false},
                 {{"CHAIN"}, true},
                 {{"CHAIN", "2"}, false},
                 {{"MATCH"}, true},
                 {{"CHAIN-BROKE"}, true},
                 {{"LEVEL", "7"}, true},
                 {{"LEVEL", "7", "191"}, true},
                 {{"LEVEL", "7", "7"}, true},
                 {{"LEVEL"}, false},
                 {{"LEVEL", "0"}, false},
                 {{"LEVEL", "9", "3"}, false},
                 {{"LEVEL", "three"}, false},
                 {{"LEVEL", "1", "2", "3"}, false},
                 {{"GAME-TYPE", "SWAP"}, true},
                 {{"GAME-TYPE", "GROUP"}, true},
                 {{"GAME-TYPE", "SNAKE"}, false},
                 {{"IS-CHIP", "PUZZLE"}, true},
                 {{"IS-CHIP", "4"}, true},
                 {{"IS-CHIP", "0"}, false},
                 {{"IS-CHIP"}, false},
                 {{"PUZZLE-COLLECTED"}, true},
                 {{"ALL-PUZZLES"}, true},
                 {{"ALL-PUZZLE-COLLECTED"}, true},
                 {{"TIMED"}, true},
                 {{"TIMED", "YES"}, false},
                 {{"ACTIVEPOWER-UP"}, true},
                 {{"ACTIVEPOWER-UP", "6"}, true},
                 {{"ACTIVEPOWER-UP", "7"}, false},
                 {{"ACTIVEPOWER-UP", "0"}, false},
                 {{"NOT", "TIMED"}, true},
                 {{"NOT"}, false},
                 {{"NOT", "WOBBLE"}, false},
                 {{"WOBBLE"}, false},
                 {{}, false}});
    TTutorialTip::Entry e;
    std::string why;
    ASSERT_TRUE(TTutorialTip::parseCondition({"NOT", "LEVEL", "3", "5"}, e, why));
    EXPECT_TRUE(e.negated);
    EXPECT_EQ(e.key, "LEVEL");
    EXPECT_EQ(e.args, (Words{"3", "5"}));
}

TEST(TipGrammar, ActionsAndTheirTargets) {
    expectCases("action", &TTutorialTip::parseAction,
                {{{"WAIT", "0"}, true},
                 {{"WAIT", "1500"}, true},
                 {{"WAIT"}, false},
                 {{"WAIT", "-5"}, false},
                 {{"WAIT", "soon"}, false},
                 {{"SHOW-ME"}, true},
                 {{"HIDE-ME"}, true},
                 {{"LOCK-GUI"}, true},
                 {{"LOCK-GUI", "NOW"}, false},
                 {{"UNLOCK-GUI"}, true},
                 {{"START-HINT"}, true},
                 {{"ARROW", "MATCH"}, true},
                 {{"ARROW", "MATCH", "2"}, false},
                 {{"ARROW", "CHAIN"}, true},
                 {{"ARROW", "PUZZLE"}, true},
                 {{"ARROW", "BONUS"}, true},
                 {{"ARROW", "BONUS", "105"}, true},
                 {{"ARROW", "BONUS-TYPE", "CROSSFIRE"}, true},
                 {{"ARROW", "BONUS-TYPE"}, false},
                 {{"ARROW", "POWER-UP-SIDE", "3"}, true},
                 {{"ARROW", "POWER-UP-SIDE", "0"}, false},
                 {{"ARROW", "POWER-UP-SIDE"}, false},
                 {{"ARROW"}, false},
                 {{"ARROW", "MOON"}, false},
                 {{"DOUBLE-ARROW", "MATCH"}, true},
                 {{"DOUBLE-ARROW", "PUZZLE"}, true},
                 {{"LIGHT-UP", "CHAIN"}, true},
                 {{"LIGHT-UP"}, false},
                 {{"JUMP"}, false},
                 {{}, false}});
}

TEST(TipGrammar, EraseConditionsAndPositions) {
    expectCases("erase condition", &TTutorialTip::parseEraseCond,
                {{{"MOUSE"}, true},
                 {{"MATCHED"}, true},
                 {{"OK"}, true},
                 {{"OK", "1"}, false},
                 {{"CLICK"}, false},
                 {{}, false}});
    struct Pos {
        Words words;
        bool ok;
    } cases[] = {{{}, true},
                 {{"POSITION", "10", "20"}, true},
                 {{"POSITION", "10"}, false},
                 {{"POSITION", "2000", "5"}, false},
                 {{"POSITION", "a", "b"}, false},
                 {{"AUTOBONUS"}, true},
                 {{"AUTOBONUS", "104"}, true},
                 {{"AUTOBONUS", "12"}, false},
                 {{"AUTOMATCH"}, true},
                 {{"AUTOCHAIN"}, true},
                 {{"AUTOBONUS-TYPE", "BOMB"}, true},
                 {{"AUTOBONUS-TYPE"}, false},
                 {{"AUTOPUZZLE"}, true},
                 {{"AUTOPUZZLE", "1"}, false},
                 {{"AUTOWHERE"}, false}};
    for (const Pos& c : cases) {
        Words out;
        std::string why;
        EXPECT_EQ(TTutorialTip::parsePosition(c.words, out, why), c.ok)
            << (c.words.empty() ? "" : c.words[0]) << why;
        if (c.ok) {
            EXPECT_EQ(out, c.words);
        }
    }
}

TEST(TipGrammar, ItemsAndWordsReadTheSame) {
    EXPECT_EQ(TTutorialTip::words({"LEVEL", "3"}), (Words{"LEVEL", "3"}));
    EXPECT_EQ(TTutorialTip::words({"level 3"}), (Words{"LEVEL", "3"}));
    EXPECT_EQ(TTutorialTip::words({" Arrow  bonus-type ", "bomb"}), (Words{"ARROW", "BONUS-TYPE", "BOMB"}));
    EXPECT_EQ(TTutorialTip::words({}), Words{});
}

// A tip file written to a scratch folder and read by the tutorial.
class TipFileTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        savedRoot = dataRoot;
        dataRoot = dir.string() + "/";
        std::filesystem::create_directories(dir / "txt" / language);
        writeBytes("txt/" + language + "/tips.txt", "Title one\nText one\nTitle two\nText two\n");
    }
    void TearDown() override {
        dataRoot = savedRoot;
        TempDirTest::TearDown();
    }
    // The file's head and the given tips ("tut<n> { ... }" bodies).
    void writeTips(const std::vector<std::string>& bodies, int count = -1) {
        std::string s = "tutorial {\n\ti = " + std::to_string(count < 0 ? bodies.size() : count) +
                        "\n\ttxtFile = \"txt/tips.txt\"\n";
        for (size_t n = 0; n < bodies.size(); ++n)
            s += "\ttut" + std::to_string(n + 1) + " {\n" + bodies[n] + "\t}\n";
        s += "}\n";
        writeBytes("tips.dat", s);
        tut.loadTipsFrom("tips.dat");
    }
    // A tip that loads; `extra` entries come first, so they stand in for the
    // defaults of the same name (the first entry of a name is the one read).
    static std::string good(const std::string& id, const std::string& extra = "") {
        return "\t\tid = \"" + id + "\"\n" + extra +
               "\t\tscreen = \"main-game\"\n\t\ttitle = 1\n\t\ttxt = 2\n\t\tconds = 2\n"
               "\t\tcondition1 = \"FADE\"\n\t\tcondition2 = \"LEVEL\", \"3\"\n"
               "\t\tactions = 2\n\t\taction1 = \"SHOW-ME\"\n\t\taction2 = \"ARROW MATCH\"\n"
               "\t\teraseConds = 1\n\t\teraseCondition1 = \"OK\"\n";
    }
    // The body without its first line that starts with `start`.
    static std::string drop(std::string body, const std::string& start) {
        const size_t at = body.find(start);
        if (at != std::string::npos) body.erase(at, body.find('\n', at) - at + 1);
        return body;
    }
    std::string problemsText() const {
        std::string s;
        for (auto& p : tut.problems) s += p + "\n";
        return s;
    }
    std::string savedRoot;
    TTutorial tut;
};

TEST_F(TipFileTest, AWellFormedTipIsReadWholly) {
    writeTips({good("first",
                    "\t\tfont = \"BIG\"\n\t\tback = \"chain\"\n\t\theightAdd = 12\n"
                    "\t\tpos = \"POSITION\", \"40\", \"50\"\n\t\timg = \"gfx/x.png\"\n")});
    ASSERT_EQ(tut.tips.size(), 1u) << problemsText();
    const auto& t = *tut.tips[0];
    EXPECT_EQ(t.id, "FIRST");
    EXPECT_EQ(t.screen, "MAIN-GAME");
    EXPECT_EQ(t.title, "Title one");
    EXPECT_EQ(t.txt, "Text one");
    EXPECT_EQ(t.fontIndex, 2);
    EXPECT_EQ(t.backIndex, 2);
    EXPECT_FLOAT_EQ(t.heightAdd, 12);
    EXPECT_EQ(t.imgPath, "gfx/x.png");
    EXPECT_EQ(t.autoID, (Words{"POSITION", "40", "50"}));
    ASSERT_EQ(t.conditions.size(), 2u);
    EXPECT_EQ(t.conditions[1].text(), "LEVEL 3");
    ASSERT_EQ(t.actions.size(), 2u);
    EXPECT_EQ(t.actions[1].text(), "ARROW MATCH");
    ASSERT_EQ(t.eraseConds.size(), 1u);
    EXPECT_EQ(t.eraseConds[0].key, "OK");
    EXPECT_TRUE(tut.problems.empty()) << problemsText();
    // Defaults: medium font, normal panel, the middle of the screen.
    writeTips(
        {"\t\tid = \"b\"\n\t\tscreen = \"PUZZLE\"\n\t\ttxt = 4\n\t\teraseConds = 1\n\t\teraseCondition1 = "
         "\"MOUSE\"\n"});
    ASSERT_EQ(tut.tips.size(), 1u) << problemsText();
    EXPECT_EQ(tut.tips[0]->fontIndex, 1);
    EXPECT_EQ(tut.tips[0]->backIndex, 1);
    EXPECT_TRUE(tut.tips[0]->title.empty());
    EXPECT_TRUE(tut.tips[0]->autoID.empty());
}

TEST_F(TipFileTest, MalformedTipsAreRefusedByNameAndEntryTheOthersLoad) {
    struct Bad {
        std::string body;
        std::string says;  // what the message must name
    } bad[] = {
        {"\t\tscreen = \"MAIN-GAME\"\n\t\ttxt = 2\n\t\teraseConds = 1\n\t\teraseCondition1 = \"OK\"\n",
         "id: no id"},
        {drop(good("NOSCREEN"), "\t\tscreen"), "screen: no screen"},
        {good("FARTEXT", "\t\ttxt = 9\n"), "txt: line 9 is not in the text file"},
        {good("BADTITLE", "\t\ttitle = \"first\"\n"), "title: not a line number"},
        {drop(good("NOTEXT"), "\t\ttxt"), "txt: no line number"},
        {good("BADCOND", "\t\tconds = 2\n\t\tcondition2 = \"LEVEL\"\n"), "(BADCOND), condition2"},
        {good("SHORT", "\t\tconds = 3\n"), "(SHORT), condition3: missing"},
        {good("LONG", "\t\tactions = 1\n"), "(LONG), action2: beyond the count"},
        {good("BADACTION", "\t\taction2 = \"ARROW\", \"MOON\"\n"),
         "(BADACTION), action2: ARROW: unknown target"},
        {good("BADERASE", "\t\teraseCondition1 = \"CLICK\"\n"), "(BADERASE), eraseCondition1"},
        {good("BADPOS", "\t\tpos = \"POSITION\", \"5\"\n"), "(BADPOS), pos"},
        {good("BADFONT", "\t\tfont = \"HUGE\"\n"), "(BADFONT), font"},
        {good("BADBACK", "\t\tback = \"ROUND\"\n"), "(BADBACK), back"},
        {good("BADCOUNT", "\t\tconds = \"many\"\n"), "(BADCOUNT), conds"},
        {drop(drop(good("NEVERENDS"), "\t\teraseConds"), "\t\teraseCondition1"),
         "(NEVERENDS), eraseConds: the tip never ends"},
        {good("LOCKED", "\t\taction1 = \"LOCK-GUI\"\n\t\teraseCondition1 = \"MATCHED\"\n"),
         "(LOCKED), eraseConds: the tip locks the board"},
    };
    // Every bad tip between two good ones: each is refused on its own.
    for (const Bad& b : bad) {
        writeTips({good("BEFORE"), b.body, good("AFTER")});
        ASSERT_EQ(tut.tips.size(), 2u) << b.says << "\n" << problemsText();
        EXPECT_EQ(tut.tips[0]->id, "BEFORE");
        EXPECT_EQ(tut.tips[1]->id, "AFTER");
        ASSERT_EQ(tut.problems.size(), 1u) << problemsText();
        EXPECT_NE(tut.problems[0].find("tip 2"), std::string::npos) << tut.problems[0];
        EXPECT_NE(tut.problems[0].find(b.says), std::string::npos)
            << tut.problems[0] << "\nwanted: " << b.says;
    }
}

TEST_F(TipFileTest, FileLevelProblems) {
    // A second tip with a taken id is left out.
    writeTips({good("SAME"), good("same")});
    ASSERT_EQ(tut.tips.size(), 1u);
    ASSERT_EQ(tut.problems.size(), 1u);
    EXPECT_NE(tut.problems[0].find("the id is taken"), std::string::npos) << tut.problems[0];
    // A count beyond the tips written names the missing tip.
    writeTips({good("ONE")}, 2);
    EXPECT_EQ(tut.tips.size(), 1u);
    ASSERT_EQ(tut.problems.size(), 1u);
    EXPECT_NE(tut.problems[0].find("tip 2"), std::string::npos) << tut.problems[0];
    // A tip waiting for a tip that does not exist is told.
    writeTips({drop(good("WAITS", "\t\tconds = 1\n\t\tcondition1 = \"TIP-EXECUTED\", \"GHOST\"\n"),
                    "\t\tcondition2")});
    EXPECT_EQ(tut.tips.size(), 1u);
    ASSERT_EQ(tut.problems.size(), 1u);
    EXPECT_NE(tut.problems[0].find("GHOST"), std::string::npos) << tut.problems[0];
    // No file at all: no tips, one message, nothing else breaks.
    tut.loadTipsFrom("missing.dat");
    EXPECT_TRUE(tut.tips.empty());
    EXPECT_EQ(tut.problems.size(), 1u);
    EXPECT_EQ(tut.bylTutorial("ANY"), 1);
    EXPECT_EQ(tut.getTipById("ANY"), nullptr);
}

TEST(TipGameFile, TheGamesTipsAllLoad) {
    const std::string saved = dataRoot;
    dataRoot = std::string(BRIMBLE_GAME_DIR) + "/";
    TTutorial t;
    t.readTips();
    dataRoot = saved;
    std::string problems;
    for (auto& p : t.problems) problems += p + "\n";
    EXPECT_TRUE(t.problems.empty()) << problems;
    EXPECT_GE(t.tips.size(), 17u);
    for (const char* id :
         {"SWAP-GOAL", "CHAIN-GOAL", "GROUP-GOAL", "TWO-LAYERS", "CHAIN-LOCK", "PUZZLE-PIECE", "BOMB",
          "CROSSFIRE", "BONUS", "POWER-UP-1", "POWER-UP-6", "TIMED", "OWNER-FIRST", "JIGSAW-FIRST"}) {
        auto tip = t.tipById(id);
        ASSERT_NE(tip, nullptr) << id;
        EXPECT_FALSE(tip->txt.empty()) << id;
    }
}

}  // namespace
