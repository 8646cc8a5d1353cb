// The dispatcher (update rules) and our own widget kinds: menu bar, text
// list, slider, container, animated sprite, themes and windows.
#include "gui/TBelka.h"
#include "gui/TButton.h"
#include "gui/TControl.h"
#include "gui/TRGMAnimation.h"
#include "gui/TSuwak.h"
#include "gui/TTextList.h"
#include "gui/TWindow.h"
#include "GuiTestSupport.h"

namespace {

// Two overlapping text buttons: 5 letters = 40 x 16 around their anchors.
const char* kOverlap =
    "BUTTON under { TYP = TEXT_BUTTON TXT = under POSITION = \"100 100\" }\n"
    "BUTTON over { TYP = TEXT_BUTTON TXT = above POSITION = \"110 100\" }\n";

TEST_F(GuiTest, LaterWidgetWinsAndLockSilences) {
    auto g = load(kOverlap);
    point(105, 100, 1);
    g->update();
    EXPECT_EQ(g->_clicked, "over");
    EXPECT_EQ(g->_over, "over");
    point(85, 100);
    g->update();
    EXPECT_EQ(g->_clicked, "");
    EXPECT_EQ(g->_over, "under");
    g->_locked = 1;
    point(105, 100, 1);
    g->update();
    EXPECT_EQ(g->_clicked, "");
    EXPECT_EQ(g->_over, "");
    EXPECT_EQ(g->get<TButton>("over")->_clicked, 1);  // widgets still update
}

TEST_F(GuiTest, SetGuiAlphaAndClear) {
    auto g = load(kOverlap);
    g->setGuiAlpha(0.25f);
    for (const auto& w : g->_listaObiektow) {
        EXPECT_EQ(w->_alpha, 0.25f);
        EXPECT_EQ(w->_dAlpha, 0.25f);
    }
    g->clear();
    EXPECT_TRUE(g->_listaObiektow.empty());
}

const char* kBar =
    "THEME plain { URL = plain.theme }\n"
    "BAR menu { POSITION = \"0 0\" WIDTH = 1024 TEMAT = plain\n"
    "  MENU file { TITLE = File COMMAND = \"new|New game\" COMMAND = \"quit|Quit\"\n"
    "    SUB more { TITLE = More COMMAND = \"deep|Deeper\" } }\n"
    "  MENU help { TITLE = Help COMMAND = \"about|About\" }\n"
    "}\n";

TEST_F(GuiTest, BarBlocksBuildMenusAndSubMenus) {
    write("plain.theme", "text = 0 0 0\n");
    auto g = load(kBar);
    EXPECT_TRUE(notices.empty()) << notices.front();
    auto bar = g->get<TBelka>("menu");
    ASSERT_TRUE(bar);
    ASSERT_EQ(bar->_menus.size(), 2u);
    const auto& file = *bar->_menus[0];
    EXPECT_EQ(file.id, "file");
    EXPECT_EQ(file.title, "File");
    ASSERT_EQ(file.items.size(), 3u);
    EXPECT_EQ(file.items[0].command, "new");
    EXPECT_EQ(file.items[0].caption, "  New game");
    ASSERT_TRUE(file.items[2].sub);
    EXPECT_EQ(file.items[2].caption, "  More");
    EXPECT_EQ(file.items[2].sub->items[0].command, "deep");
    EXPECT_EQ(bar->_theme->_id, "PLAIN");
}

TEST_F(GuiTest, BarReportsClickedCommandOnce) {
    write("plain.theme", "");
    auto g = load(kBar);
    auto bar = g->get<TBelka>("menu");
    // Built-in font: "File" is 32 px + 2 x 10 padding; the bar is 16 + 8 high.
    point(20, 10, 1);
    g->update();
    EXPECT_EQ(bar->_open, 0);
    EXPECT_EQ(g->_over, "file");
    EXPECT_EQ(g->_clicked, "");
    // Rows of 24 px below the bar: "  New game", "  Quit", "  More".
    point(30, 24 + 24 + 5);
    g->update();
    EXPECT_EQ(g->_over, "quit");
    point(30, 24 + 48 + 5);  // hovering "More" opens the sub-menu to the right
    g->update();
    g->draw();
    ASSERT_EQ(bar->boxes().size(), 2u);
    const auto sub = bar->boxes()[1];
    point(static_cast<int>(sub.x) + 5, static_cast<int>(sub.y) + 5, 1);
    g->update();
    EXPECT_EQ(g->_clicked, "deep");
    EXPECT_EQ(bar->_open, -1);
    point(0, 500);
    g->update();
    EXPECT_EQ(g->_clicked, "");
    // A click outside closes an open menu without a command.
    point(20, 10, 1);
    g->update();
    point(900, 600, 1);
    g->update();
    EXPECT_EQ(bar->_open, -1);
    EXPECT_EQ(g->_clicked, "");
}

TEST_F(GuiTest, BarBlockWithoutClosingBraceIsLost) {
    write("plain.theme", "");
    auto g = load("THEME plain { URL = plain.theme }\nBAR b { TEMAT = plain MENU m { TITLE = x");
    auto bar = g->get<TBelka>("b");
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->_menus.empty());
}

TEST_F(GuiTest, BarSubMenuFontsComeFromTheGlobalList) {
    write("plain.theme", "");
    write("f.ttf", "x");
    auto global = createFont("Global", (dir / "f.ttf").string(), 9);
    ASSERT_TRUE(global);
    auto g = load("FONT local { URL = f.ttf SIZE = 20 }\nTHEME plain { URL = plain.theme }\n"
                  "BAR b { TEMAT = plain FONT = local\n"
                  "  M top { TITLE = T COMMAND = \"a|A|local\" S sub { FONT = global COMMAND = \"b|B|local\" } } }");
    auto bar = g->get<TBelka>("b");
    const auto& top = *bar->_menus[0];
    EXPECT_EQ(top.items[0].font->size, 20);
    EXPECT_EQ(top.items[1].sub->font->size, 9);
    EXPECT_TRUE(noticed("Nie znaleziono czcionki : b|B|local"));
}

TEST_F(GuiTest, TextListSelectsAndScrolls) {
    auto g = load("TEXTLIST players { POSITION = \"100 100 200 68\" ITEMS = \"Ann|Bob|Cid|Dot|Eve\" }");
    auto list = g->get<TTextList>("players");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->_lines.size(), 5u);
    EXPECT_EQ(list->rowHeight(), 20);
    EXPECT_EQ(list->visibleRows(), 3);
    point(150, 125, 1);  // second row
    g->update();
    EXPECT_EQ(g->_clicked, "players");
    EXPECT_EQ(list->_selected, 1);
    EXPECT_EQ(list->selectedText(), "Bob");
    point(150, 125);
    g->update();
    EXPECT_EQ(g->_clicked, "");
    InjectWheel(-5);  // scrolls down, stopping at the end
    g->update();
    EXPECT_EQ(list->_top, 2);
    point(150, 105, 1);
    g->update();
    EXPECT_EQ(list->selectedText(), "Cid");
    list->setSelected(0);
    EXPECT_EQ(list->_top, 0);
    list->clearLines();
    g->update();
    g->draw();
    EXPECT_EQ(list->_selected, -1);
}

TEST_F(GuiTest, SliderFollowsTheMouseWhileHeld) {
    auto g = load("SUWAK music { POSITION = \"100 200 216 20\" VALUE = 0.25 }");
    auto s = g->get<TSuwak>("music");
    ASSERT_TRUE(s);
    EXPECT_FLOAT_EQ(s->getValue(), 0.25f);
    point(208, 210, 1, 1);  // the middle of the track (knob 16 wide)
    g->update();
    EXPECT_EQ(g->_clicked, "music");
    EXPECT_FLOAT_EQ(s->getValue(), 0.5f);
    point(400, 300, 0, 1);  // dragged beyond the end, off the widget
    g->update();
    EXPECT_FLOAT_EQ(s->getValue(), 1.0f);
    EXPECT_EQ(g->_clicked, "music");
    point(100, 300, 0, 0);  // released
    g->update();
    EXPECT_FLOAT_EQ(s->getValue(), 1.0f);
    EXPECT_EQ(g->_clicked, "");
    s->setValue(-3);
    EXPECT_EQ(s->getValue(), 0);
}

TEST_F(GuiTest, ControlOffsetsItsChildren) {
    auto g = load("BUTTON ok { TYP = TEXT_BUTTON TXT = OK POSITION = \"20 10\" }\n"
                  "TEXT label { TXT = hi }\n"
                  "CONTROL box { POSITION = \"300 200\" CHILDREN = \"ok label\" }\n"
                  "CONTROL bad { CHILDREN = missing }");
    EXPECT_TRUE(noticed("Nie ma obiektu dla kontrolki bad : missing"));
    ASSERT_EQ(g->_listaObiektow.size(), 2u);
    auto box = g->get<TControl>("box");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->_children.size(), 2u);
    EXPECT_TRUE(g->getItem("ok"));  // found inside the container
    point(320, 210, 1);
    g->update();
    EXPECT_EQ(g->_clicked, "ok");
    point(20, 10, 1);  // where it would be without the container
    g->update();
    EXPECT_EQ(g->_clicked, "");
    box->setPosition(0, 0);
    point(20, 10, 1);
    g->update();
    EXPECT_EQ(g->_clicked, "ok");
    box->setState(1, 0);
    g->update();
    EXPECT_EQ(g->_clicked, "");
}

TEST_F(GuiTest, AnimatedSpriteLoopsNormalAndPlaysOthersOnce) {
    auto g = load("ANIM dog { POSITION = \"50 60\" SCHEMAT = \"NORMAL(100) 1 2 WAG(50) 3 4\" DIR = V }");
    auto a = g->get<TRGMAnimation>("dog");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->frames, 4);
    EXPECT_EQ(a->_dir, 1);
    a->playAnim("wag");
    EXPECT_EQ(a->aktAnim, 1);
    for (int i = 0; i < 2; ++i) {
        advance(51);
        g->update();
    }
    EXPECT_EQ(a->aktAnim, a->_animNormal);
    a->playAnim("WAG", 1);
    for (int i = 0; i < 4; ++i) {
        advance(51);
        g->update();
    }
    EXPECT_EQ(a->aktAnim, 1);  // looped
}

TEST_F(GuiTest, ThemeFileFormat) {
    write("t/w.theme",
          "# comment\n\n  FILL = 1 2 3\nslices = 4 5 6 7\nhighlight=300 -4 9\nnonsense line\nedge = 8\n"
          "picture = missing.png\n");
    auto t = createTheme("win", (dir / "t/w.theme").string());
    EXPECT_EQ(t->_id, "WIN");
    EXPECT_EQ(t->loaded, 1);
    EXPECT_EQ(t->fill.b, 3);
    EXPECT_EQ(t->left, 4);
    EXPECT_EQ(t->bottom, 7);
    EXPECT_EQ(t->highlight.r, 255);
    EXPECT_EQ(t->highlight.g, 0);
    EXPECT_EQ(t->edge.r, 8);
    EXPECT_EQ(t->edge.g, 70);  // not given: default kept
    EXPECT_FALSE(t->_img);
    EXPECT_EQ(findTheme("Win"), t);
    EXPECT_EQ(lastTheme, t);
    t->drawFrame(0, 0, 10, 10);

    auto missing = createTheme("gone", (dir / "gone.theme").string());
    EXPECT_EQ(missing->loaded, 0);
    EXPECT_TRUE(noticed("Nie moge wczytac pliku tematu : " + (dir / "gone.theme").string()));
}

TEST_F(GuiTest, WindowFindsThemesByNameThenFallsBackToTheLast) {
    write("a.theme", "");
    write("b.theme", "");
    auto other = loadGui(write("other.gui", "THEME elsewhere { URL = a.theme }"));
    auto g = load("THEME mine { URL = b.theme }\n"
                  "WINDOW w1 { THEME = ELSEWHERE POSITION = \"1 2 3 4\" }\n"
                  "WINDOW w2 { THEME = nowhere }\n"
                  "WINDOW w3 { }");
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(g->get<TWindow>("w1")->_theme->_id, "ELSEWHERE");
    EXPECT_EQ(g->get<TWindow>("w2")->_theme->_id, "MINE");
    EXPECT_EQ(g->get<TWindow>("w3")->_theme->_id, "MINE");
    g->draw();
}

}  // namespace
