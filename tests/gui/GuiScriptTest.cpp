// The GUI script format: tokens, declarations, values and the loader's notices.
#include "gui/GuiValues.h"
#include "gui/TButton.h"
#include "gui/TText.h"
#include "gui/TTextEntry.h"
#include "gui/TWindow.h"
#include "GuiTestSupport.h"

namespace {

std::vector<std::vector<std::string>> declarations(const std::string& text) {
    TGui g;
    std::vector<std::vector<std::string>> out;
    for (const auto& d : g.stworzListyTokenow(text)) out.emplace_back(d.begin(), d.end());
    return out;
}

using Decls = std::vector<std::vector<std::string>>;

struct TokenCase {
    const char* name;
    const char* text;
    Decls expected;
};

class Tokenizer : public GuiTest, public ::testing::WithParamInterface<TokenCase> {};

TEST_P(Tokenizer, SplitsIntoDeclarations) { EXPECT_EQ(declarations(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, Tokenizer,
    ::testing::Values(
        TokenCase{"plain", "TEXT a { TXT = hi }", {{"TEXT", "a", "{", "TXT", "=", "hi"}}},
        TokenCase{"tabs_and_crlf", "TEXT\ta\r\n{\r\nTXT = hi\r\n}\r\n", {{"TEXT", "a", "{", "TXT", "=", "hi"}}},
        TokenCase{"quoted_spaces_and_lines",
                  "TEXT a { TXT = \"  two words\nnext line \" }",
                  {{"TEXT", "a", "{", "TXT", "=", "two words\nnext line"}}},
        TokenCase{"quote_in_mid_word", "TEXT a { TXT = ab\"c d\"e }", {{"TEXT", "a", "{", "TXT", "=", "abc de"}}},
        TokenCase{"empty_quoted_value_vanishes", "TEXT a { TXT = \"\" RGB = 1 }",
                  {{"TEXT", "a", "{", "TXT", "=", "RGB", "=", "1"}}},
        TokenCase{"no_comments", "# note\nTEXT a { }", {{"#", "note", "TEXT", "a", "{"}}},
        TokenCase{"two_declarations", "FONT f { SIZE = 3 } TEXT t { }",
                  {{"FONT", "f", "{", "SIZE", "=", "3"}, {"TEXT", "t", "{"}}},
        TokenCase{"nested_braces_kept", "BAR b { M m { TITLE = x } }",
                  {{"BAR", "b", "{", "M", "m", "{", "TITLE", "=", "x", "}"}}},
        TokenCase{"missing_brace_swallows_rest", "TEXT a { TXT = x TEXT b { TXT = y }",
                  {{"TEXT", "a", "{", "TXT", "=", "x", "TEXT", "b", "{", "TXT", "=", "y", "}"}}},
        TokenCase{"leftover_tokens_form_a_declaration", "TEXT a { } stray words",
                  {{"TEXT", "a", "{"}, {"stray", "words"}}},
        TokenCase{"empty_text", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct NumberCase {
    const char* text;
    int value;
};

TEST(GuiValues, ReadsIntegersLikeTheScripts) {
    const NumberCase cases[] = {{"12", 12},     {"-7", -7},     {"+3", 3},          {"$ff", 255},  {"$FF", 255},
                                {"%101", 5},    {"", 0},        {"12ab", 12},       {"abc", 0},    {"-$10", -16},
                                {"4294967297", 1}, {"%102", 2}, {" 5", 5}};
    for (const auto& c : cases) EXPECT_EQ(guiReadInt(c.text), c.value) << c.text;
}

TEST(GuiValues, NumberListsKeepEmptyItemsAsZero) {
    EXPECT_EQ(guiNumberList("10 20"), (std::vector<int>{10, 20}));
    EXPECT_EQ(guiNumberList("10  20"), (std::vector<int>{10, 0, 20}));
    EXPECT_EQ(guiNumberList(""), (std::vector<int>{0}));
    EXPECT_FALSE(guiReadColour("-1 0 0"));
    ASSERT_TRUE(guiReadColour("1 2 3"));
    EXPECT_EQ(guiReadColour("1 2 3")->b, 3);
    EXPECT_TRUE(guiReadFlag("true"));
    EXPECT_FALSE(guiReadFlag("yes"));
}

TEST_F(GuiTest, EmptyQuotedValueShiftsTheTriples) {
    auto g = load("TEXT t { TXT = \"\" POSITION = \"1 2\" }");
    auto t = g->get<TText>("t");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->_txt, "POSITION");
    EXPECT_EQ(t->dim->x, 0);
    EXPECT_TRUE(noticed("Nieprawidlowy wpis :1 2"));
}

TEST_F(GuiTest, DoubleSpaceInPositionReadsZero) {
    auto g = load("BUTTON b { TYP = TEXT_BUTTON POSITION = \"10  20\" TXT = Go }");
    auto b = g->get<TButton>("b");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->dim->x, 10);
    EXPECT_EQ(b->dim->y, 0);
}

TEST_F(GuiTest, KeywordsAreCaseBlindButButtonKindsAreNot) {
    auto g = load("button b { typ = SIMPLE_BUTTON position = \"5 6\" }\n"
                  "Button c { TYP = simple_button }");
    auto b = g->get<TButton>("b");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->dim->x, 5);
    EXPECT_EQ(b->dim->y, 6);
    EXPECT_FALSE(g->getItem("c"));
    EXPECT_TRUE(noticed("Unknown button type : 'simple_button' !"));
    EXPECT_EQ(g->_listaObiektow.size(), 1u);
}

TEST_F(GuiTest, MissingClosingBraceSwallowsFollowingDeclarations) {
    auto g = load("TEXT a { TXT = x\nTEXT b { TXT = y }\nTEXT c { TXT = z }");
    // Every later "}" only closes a nested level, so "a" takes the rest of the
    // file, and the triples go out of step after b's block.
    ASSERT_EQ(g->_listaObiektow.size(), 1u);
    EXPECT_EQ(g->get<TText>("a")->_txt, "y");
    EXPECT_FALSE(g->getItem("b"));
    EXPECT_FALSE(g->getItem("c"));
    EXPECT_TRUE(noticed("Nieprawidlowy wpis :b"));
    EXPECT_TRUE(noticed("Nieprawidlowy wpis :TEXT"));
    EXPECT_TRUE(noticed("Nieprawidlowy wpis :}"));
}

TEST_F(GuiTest, FontMustBeDeclaredBeforeUse) {
    write("f.ttf", "x");
    auto g = load("BUTTON b { TYP = TEXT_BUTTON TXT = Hi FONT = Serif }\n"
                  "FONT serif { URL = f.ttf SIZE = 20 }\n"
                  "TEXT t { TXT = Yo FONT = SERIF }");
    EXPECT_TRUE(noticed("Nie znaleziono czcionki : Serif"));
    EXPECT_FALSE(g->get<TButton>("b")->_font);
    ASSERT_TRUE(g->get<TText>("t")->_font);
    EXPECT_EQ(g->get<TText>("t")->_font->size, 20);
    EXPECT_EQ(g->get<TText>("t")->_font->style, 4);
    EXPECT_EQ(notices.size(), 1u);
}

TEST_F(GuiTest, DuplicateNamesFirstIsFoundEitherClicks) {
    auto g = load("BUTTON same { TYP = TEXT_BUTTON TXT = A POSITION = \"100 100\" }\n"
                  "BUTTON SAME { TYP = TEXT_BUTTON TXT = B POSITION = \"300 300\" }");
    auto first = g->get<TButton>("same");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->_txt, "A");
    int clicks = 0;
    guiClickSound = [&] { ++clicks; };
    point(300, 300, 1);
    g->update();
    EXPECT_EQ(g->clickedItem("same"), 1);
    EXPECT_EQ(g->clickedItem("Same"), 1);  // every answer of 1 clicks again
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(g->clickedItem("other"), 0);
}

TEST_F(GuiTest, ValuesAndDefaultsOfEachDeclaration) {
    write("f.ttf", "x");
    write("w.theme", "fill = 1 2 3\n");
    auto g = load("FONT f { URL = f.ttf }\nTHEME blue { URL = w.theme }\n"
                  "TEXT t { POSITION = \"3 4 250\" TXT = \"a b\" RGB = \"9 8 7\" SHADOW = \"1 1 1\" ALIGN = \" center \" }\n"
                  "TEXT u { }\n"
                  "TEXTENTRY e { POSITION = \"1 2\" FONT = f VISIBLE = FALSE ACTIVE = TRUE }\n"
                  "TEXTENTRY e2 { POSITION = \"1 2 50\" WIDTH = 5 }\n"
                  "WINDOW w { POSITION = \"1 2 3 4\" THEME = Blue }\n"
                  "BUTTON o { TYP = TEXT_BUTTON TXT = x OUTLINE = none OVERAD = \"4 5\" VISIBLE = false }");
    EXPECT_TRUE(notices.empty()) << notices.front();
    auto t = g->get<TText>("t");
    EXPECT_EQ(t->dim->w, 250);
    EXPECT_EQ(t->_txt, "a b");
    EXPECT_EQ(t->rgb.r, 9);
    EXPECT_EQ(t->_shadow, 1);
    EXPECT_EQ(t->_align, ALIGN_CENTER);
    auto u = g->get<TText>("u");
    EXPECT_EQ(u->dim->w, 10000000);
    EXPECT_EQ(u->_align, ALIGN_LEFT);
    EXPECT_EQ(u->_shadow, 0);
    auto e = g->get<TTextEntry>("e");
    EXPECT_EQ(e->dim->w, 300);
    EXPECT_EQ(e->_maxZnakow, 25);
    EXPECT_EQ(e->_a, 0);  // VISIBLE sets the active flag here
    EXPECT_EQ(e->_v, 1);
    EXPECT_EQ(g->get<TTextEntry>("e2")->dim->w, 50);
    EXPECT_EQ(g->get<TTextEntry>("e2")->_maxZnakow, 5);
    auto w = g->get<TWindow>("w");
    ASSERT_TRUE(w->_theme);
    EXPECT_EQ(w->_theme->_id, "BLUE");
    EXPECT_EQ(w->_theme->fill.g, 2);
    EXPECT_EQ(w->dim->h, 4);
    auto o = g->get<TButton>("o");
    EXPECT_FALSE(o->outLine);
    EXPECT_EQ(o->_overAdX, 4);
    EXPECT_EQ(o->_v, 0);
    EXPECT_EQ(o->_a, 1);
    EXPECT_EQ(g->_themes.size(), 1u);
    EXPECT_EQ(themeList.size(), 1u);
    EXPECT_EQ(lastTheme, w->_theme);
}

struct NoticeCase {
    const char* name;
    const char* script;
    const char* notice;
};

class LoaderNotices : public GuiTest, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(LoaderNotices, ReportsWordForWord) {
    load(GetParam().script);
    std::string expected = GetParam().notice;
    const std::string marker = "$DIR";
    for (auto p = expected.find(marker); p != std::string::npos; p = expected.find(marker))
        expected.replace(p, marker.size(), dir.string());
    EXPECT_TRUE(noticed(expected)) << (notices.empty() ? "no notice" : notices.front());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoaderNotices,
    ::testing::Values(
        NoticeCase{"triple_without_equals", "TEXT t { TXT : x }", "Nieprawidlowy wpis ::"},
        NoticeCase{"unknown_font", "TEXT t { FONT = nope }", "Nie znaleziono czcionki : nope"},
        NoticeCase{"font_file_missing", "FONT f { URL = gone.ttf }",
                   "Nie moge znalezc czcionki : $DIR/gone.ttf  fileType = 0  filePath : $DIR/gone.ttf"},
        NoticeCase{"font_url_is_folder", "FONT f { URL = . }",
                   "Nie moge znalezc czcionki : $DIR/.  fileType = 2  filePath : $DIR"},
        NoticeCase{"font_without_url", "FONT f { SIZE = 3 }", "Nie podano scierzki do czcionki."},
        NoticeCase{"theme_without_url", "THEME t { }", "No path for theme file!"},
        NoticeCase{"window_without_theme", "WINDOW w { POSITION = \"1 2 3 4\" }", "No theme for window object!"},
        NoticeCase{"bar_without_theme", "BAR b { }", "No theme asigned for bar object!"},
        NoticeCase{"unknown_button_type", "BUTTON b { TYP = ROUND }", "Unknown button type : 'ROUND' !"},
        NoticeCase{"empty_schema", "BUTTON b { TYP = ANIM_BUTTON }", "Nieprawidlowy schemat :"},
        NoticeCase{"schema_without_normal", "BUTTON b { TYP = ANIM_BUTTON SCHEMAT = \"OVER 1 2\" }",
                   "Blad! Nie okreslono znacznika animacji [NORMAL] w schemacie:OVER 1 2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GuiTest, MissingScriptIsReportedAndEmpty) {
    auto g = loadGui((dir / "none.gui").string());
    ASSERT_TRUE(g);
    EXPECT_TRUE(g->_listaObiektow.empty());
    EXPECT_TRUE(noticed("Plik : " + (dir / "none.gui").string() + " nie istenieje!"));
}

TEST_F(GuiTest, UnknownTypesAndKeysAreIgnoredSilently) {
    auto g = load("SPRITE s { X = 1 }\nTEXT t { COLOUR = 1 TXT = a TXT = b }");
    EXPECT_TRUE(notices.empty());
    ASSERT_EQ(g->_listaObiektow.size(), 1u);
    EXPECT_EQ(g->get<TText>("t")->_txt, "b");  // the last value of a key wins
}

TEST_F(GuiTest, RelativePathsStartAtTheScriptFolderWithoutChangingFolder) {
    const auto before = std::filesystem::current_path();
    write("sub/fonts/a.ttf", "x");
    const std::string script = write("sub/s.gui", "FONT a { URL = fonts/a.ttf }");
    auto g = loadGui(script);
    EXPECT_TRUE(notices.empty());
    ASSERT_EQ(g->_fonts.size(), 1u);
    EXPECT_EQ(g->_fonts.front()->path, (dir / "sub/fonts/a.ttf").string());
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_EQ(g->_myPath, script);
}

TEST_F(GuiTest, TextReferencesReadLocalisedLines) {
    write("txt/eng/menu.txt", "Play\r\nQuit\n");
    write("gui/txt/eng/local.txt", "Near\n");
    const std::string script = write("gui/s.gui",
                                     "TEXT a { TXT = [txt/local.txt|1] }\n"
                                     "TEXT b { TXT = \"[" + (dir / "txt/menu.txt").string() + "|2]\" }\n"
                                     "TEXT c { TXT = [txt/local.txt|7] }\n"
                                     "TEXT d { TXT = [ }\n");
    auto g = loadGui(script);
    EXPECT_EQ(g->get<TText>("a")->_txt, "Near");
    EXPECT_EQ(g->get<TText>("b")->_txt, "Quit");
    EXPECT_EQ(g->get<TText>("c")->_txt, "(BEYOND TEXT ARRAY LENGTH!)");
    EXPECT_EQ(g->get<TText>("d")->_txt, "[");
}

TEST_F(GuiTest, ReadsUtf16ScriptsByTheirMark) {
    const std::string text = "TEXT t { TXT = \"Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87\" }";  // UTF-8 source
    // Re-encode as UTF-16LE with its mark.
    std::string bytes = "\xFF\xFE";
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = NextCodepoint(text, i);
        bytes += static_cast<char>(cp & 0xFF);
        bytes += static_cast<char>(cp >> 8);
    }
    auto g = loadGui(write("u16.gui", bytes));
    ASSERT_TRUE(g->get<TText>("t"));
    EXPECT_EQ(g->get<TText>("t")->_txt, "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87");
}

TEST_F(GuiTest, RandomBytesNeverCrash) {
    SeedRnd(7);
    for (int round = 0; round < 200; ++round) {
        std::string s;
        const int n = Rand(0, 300);
        static const char* words[] = {"{", "}", "=", "\"", " ", "BUTTON", "BAR", "TEXT", "TYP", "ANIM_BUTTON",
                                      "SCHEMAT", "x", "1", "\n", "THEME", "URL", "WINDOW", "CONTROL", "CHILDREN"};
        for (int i = 0; i < n; ++i) {
            if (Rand(0, 3) == 0) {
                s += static_cast<char>(Rand(0, 255));
            } else {
                s += words[Rand(0, 18)];
                s += ' ';
            }
        }
        auto g = load(s);
        g->update();
        g->draw();
    }
    SUCCEED();
}

TEST_F(GuiTest, ReloadOnLeftControlAndL) {
    const std::string script = write("r.gui", "TEXT a { TXT = one }");
    auto g = loadGui(script);
    ASSERT_TRUE(g->getItem("a"));
    write("r.gui", "TEXT b { TXT = two }");
    InjectKey(76, true);
    g->update();  // L without Control: nothing
    EXPECT_TRUE(g->getItem("a"));
    InjectKey(76, false);
    InjectKey(162, true);
    InjectKey(76, true);
    g->update();
    EXPECT_FALSE(g->getItem("a"));
    EXPECT_TRUE(g->getItem("b"));
}

TEST_F(GuiTest, ReloadAppendsFontsAndLooksUpTheOlderOne) {
    write("f.ttf", "x");
    const std::string script = write("r.gui", "FONT f { URL = f.ttf SIZE = 10 }");
    auto g = loadGui(script);
    write("r.gui", "FONT f { URL = f.ttf SIZE = 30 }\nTEXT t { FONT = f }");
    g->reload();
    EXPECT_EQ(g->_fonts.size(), 2u);
    EXPECT_EQ(g->get<TText>("t")->_font->size, 10);
}

}  // namespace
