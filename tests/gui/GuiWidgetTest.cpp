// Widget base, mouse, cursor, buttons, texts and text entries.
#include "gui/TAnimData.h"
#include "gui/TButton.h"
#include "gui/TText.h"
#include "gui/TTextEntry.h"
#include "GuiTestSupport.h"

namespace {

TGuiObjectPtr boxWidget(float x1, float y1, float x2, float y2) {
    auto w = std::make_shared<TGuiObject>();
    w->dim = std::make_shared<TDim>();
    w->dim->x = x1;
    w->dim->y = y1;
    w->dim->w = x2 - x1;
    w->dim->h = y2 - y1;
    w->dim->update();
    return w;
}

struct HitCase {
    int x, y;
    float adX, adY;
    int over;
};

TEST_F(GuiTest, HitTestIncludesEveryEdge) {
    const HitCase cases[] = {
        {10, 20, 0, 0, 1}, {30, 40, 0, 0, 1}, {30, 20, 0, 0, 1}, {10, 40, 0, 0, 1}, {20, 30, 0, 0, 1},
        {31, 40, 0, 0, 0}, {30, 41, 0, 0, 0}, {9, 20, 0, 0, 0},  {10, 19, 0, 0, 0}, {33, 43, 3, 3, 1},
        {34, 30, 3, 0, 0}, {7, 17, 3, 3, 1},
    };
    for (const auto& c : cases) {
        auto w = boxWidget(10, 20, 30, 40);
        w->_overAdX = c.adX;
        w->_overAdY = c.adY;
        point(c.x, c.y, 1, 1);
        w->update(0, 0);
        EXPECT_EQ(w->_over, c.over) << c.x << "," << c.y;
        EXPECT_EQ(w->_clicked, c.over) << c.x << "," << c.y;
    }
}

TEST_F(GuiTest, HitTestUsesParentOffsetAndKeepsHoldWhenLeaving) {
    auto w = boxWidget(10, 20, 30, 40);
    point(110, 220, 0, 1);
    w->update(100, 200);
    EXPECT_EQ(w->_over, 1);
    EXPECT_EQ(w->_holded, 1);
    point(0, 0, 0, 0);
    w->update(100, 200);
    EXPECT_EQ(w->_over, 0);
    EXPECT_EQ(w->_holded, 1);
}

TEST_F(GuiTest, HiddenOrInactiveWidgetIsNeverHovered) {
    for (auto [v, a] : {std::pair{0, 1}, std::pair{1, 0}}) {
        auto w = boxWidget(0, 0, 50, 50);
        w->setState(v, a);
        point(10, 10, 1, 0);
        w->update(0, 0);
        EXPECT_EQ(w->_over, 0);
        EXPECT_EQ(w->_clicked, 0);
    }
}

TEST_F(GuiTest, ShortcutClicksEvenAnInvisibleWidget) {
    auto w = boxWidget(0, 0, 10, 10);
    w->setKey(65);
    w->setState(0, 1);
    point(500, 500);
    InjectKey(65, true);
    w->update(0, 0);
    EXPECT_EQ(w->_clicked, 1);
    EXPECT_EQ(w->_over, 1);
    w->update(0, 0);  // the hit was used up
    EXPECT_EQ(w->_clicked, 0);
    // An inactive widget ignores its key.
    w->setState(1, 0);
    InjectKey(65, false);
    InjectKey(65, true);
    w->update(0, 0);
    EXPECT_EQ(w->_clicked, 0);
}

TEST_F(GuiTest, WidgetWithoutDimIsNotUpdated) {
    TGuiObject w;
    point(0, 0, 1);
    EXPECT_EQ(w.update(0, 0), 0);
    EXPECT_EQ(w._over, 0);
}

TEST_F(GuiTest, EasingStopsAtTheTarget) {
    auto w = boxWidget(0, 0, 1, 1);
    w->wygasAlpha();
    int frames = 0;
    while (w->_alpha > 0 && frames < 1000) {
        w->updateParams();
        ++frames;
    }
    EXPECT_EQ(w->_alpha, 0);
    EXPECT_EQ(frames, 34);  // 1 / 0.03 rounded up
    w->_dScale = 1.5f;
    frameDelta = 100;  // a huge frame does not overshoot
    w->updateParams();
    EXPECT_EQ(w->_scale, 1.5f);
}

TEST_F(GuiTest, SetPositionMovesByWholePixels) {
    auto w = boxWidget(10.6f, 5, 20.6f, 15);
    w->setPosition(20, 5);
    EXPECT_FLOAT_EQ(w->dim->x, 19.6f);
    EXPECT_FLOAT_EQ(w->dim->x2, 29.6f);
    w->move(1, 2);
    EXPECT_FLOAT_EQ(w->dim->y1, 7);
}

TEST_F(GuiTest, DimAndPointCreators) {
    auto d = createDim(1, 2, 3, 4);
    EXPECT_EQ(d->w, 3);
    EXPECT_EQ(d->h, 4);
    EXPECT_EQ(d->x2, 0);
    d->update();
    EXPECT_EQ(d->x2, 4);
    EXPECT_EQ(d->y2, 6);
    auto p = createPoint(7, 8);
    EXPECT_EQ(p->x, 7);
    EXPECT_EQ(p->w, 0);
}

// ---------------------------------------------------------------------------
// Mouse

TEST_F(GuiTest, MouseRectanglesIncludeEdges) {
    point(10, 20);
    EXPECT_EQ(mouse.inRect(0, 0, 10, 20), 1);
    EXPECT_EQ(mouse.inRect(11, 0, 10, 20), 0);
    TDim d;
    d.x = 10;
    d.y = 0;
    d.w = 5;
    d.h = 20;
    d.x2 = -1;  // the corners are not used
    EXPECT_EQ(mouse.inDim(d), 1);
    d.h = 19;
    EXPECT_EQ(mouse.inDim(d), 0);
}

TEST_F(GuiTest, NormalModeReadsClicksAndMovement) {
    InjectMouseMove(100, 50);
    mouse.update();
    InjectMouseButton(1, true);
    InjectMouseMove(90, 60);
    mouse.update();
    EXPECT_EQ(mouse.leftPressed, 1);
    EXPECT_EQ(mouse.leftHolded, 1);
    EXPECT_EQ(mouse.x, 90);
    EXPECT_EQ(mouse.vx, 10);
    EXPECT_EQ(mouse.vy, -10);
    EXPECT_EQ(mouse._lastLHolded, 1);
    mouse.update();
    EXPECT_EQ(mouse.leftPressed, 0);
    mouse.clear();
    EXPECT_EQ(mouse.leftHolded, 0);
}

struct TapCase {
    int holdMs;
    int click;  // on the frame of release
};

TEST_F(GuiTest, PressOnReleaseTurnsShortTapsIntoClicks) {
    const TapCase cases[] = {{0, 1}, {50, 1}, {99, 1}, {100, 0}, {101, 0}, {400, 0}};
    for (const auto& c : cases) {
        InstallBackend(nullptr);
        resetMouse();
        InjectMouseButton(1, true);
        mouse.updateSpec();
        EXPECT_EQ(mouse.leftPressed, 0) << c.holdMs;
        EXPECT_EQ(mouse.leftHolded, 0) << c.holdMs;
        advance(c.holdMs);
        mouse.updateSpec();
        EXPECT_EQ(mouse.leftPressed, 0) << c.holdMs;
        EXPECT_EQ(mouse.leftHolded, c.holdMs > 100 ? 1 : 0) << c.holdMs;
        InjectMouseButton(1, false);
        mouse.updateSpec();
        EXPECT_EQ(mouse.leftPressed, c.click) << c.holdMs;
        EXPECT_EQ(mouse.leftHolded, 0) << c.holdMs;
        mouse.updateSpec();
        EXPECT_EQ(mouse.leftPressed, 0) << c.holdMs;
    }
}

TEST_F(GuiTest, FullScreenKeepsThePointerInTheGameArea) {
    InjectMouseMove(-20, 900);
    mouse.updateSpec();
    EXPECT_EQ(mouse.x, -20);  // window mode: no clamp
    guiFullScreen = [] { return true; };
    mouse.updateSpec();
    EXPECT_EQ(mouse.x, 0);
    EXPECT_EQ(mouse.y, 767);
    InjectMouseMove(2000, -5);
    mouse.updateSpec();
    EXPECT_EQ(mouse.x, 1023);
    EXPECT_EQ(mouse.y, 0);
    EXPECT_EQ(mouse.vx, 0 - 1023);
}

TEST_F(GuiTest, CursorsByNameAndAnimation) {
    auto img = std::make_shared<TImage>();
    mouse.loadCursor("paw", img, 1, 1, 1, 0);
    mouse.loadCursor("hammer", img, 5, 6, 1, 0);
    EXPECT_EQ(mouse.cur->_id, "hammer");
    mouse.setCursor("PAW");
    EXPECT_EQ(mouse.cur->_id, "paw");
    mouse.setCursor("unknown");
    EXPECT_EQ(mouse.cur->_id, "paw");
    EXPECT_EQ(img->handleX, 5);  // the last load set the handle, setCursor does not

    TCursor c;
    c._maxFrames = 2;
    c._timeDelta = 100;
    c._time = 100;
    EXPECT_EQ(c.update(), 0);
    advance(100);
    EXPECT_EQ(c.update(), 1);
    EXPECT_EQ(c._frame, 1);
    advance(100);
    c.update();
    advance(100);
    c.update();
    EXPECT_EQ(c._frame, 0);  // wraps after the last frame
    // A missing picture still gives a (still) cursor.
    mouse.loadCursor("ghost", (dir / "none.png").string(), 0, 0, 4, 50);
    EXPECT_EQ(mouse.cur->_maxFrames, 0);
    EXPECT_EQ(mouse.cur->_timeDelta, 0);
}

// ---------------------------------------------------------------------------
// Buttons

TEST_F(GuiTest, SchemaOfTheSixFrameStrip) {
    TButton b;
    b.interpretujSchemat("NORMAL 1 OVER(80) 2 3 4 ACTIVE(60) 5 6", 0);
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(b.frames, 6);
    EXPECT_EQ(b._animData.anims, 3);
    EXPECT_EQ(b._animData.animName[1], "OVER");
    EXPECT_EQ(b._animData.frameDelta[0], 500);
    EXPECT_EQ(b._animData.frameDelta[1], 80);
    EXPECT_EQ(b._animData.frameDelta[2], 60);
    EXPECT_EQ(b._animData.frames[1], 3);
    EXPECT_EQ(b._animData.frameN[2][1], 6);
    EXPECT_EQ(b._overFlag, 1);
    EXPECT_EQ(b._activeFlag, 1);
    EXPECT_EQ(b._unactiveFlag, 0);
    EXPECT_EQ(b._animActive, 2);
    EXPECT_EQ(b.aktAnim, b._animNormal);
}

struct SchemaCase {
    const char* name;
    std::string schema;
    int anims;
    int firstFrames;
    std::string notice;  // "" = none
};

TEST_F(GuiTest, SchemaLimitsAreReportedAndCut) {
    std::string many = "NORMAL";
    for (int i = 1; i <= 130; ++i) many += " " + std::to_string(i % 7 + 1);
    std::string eleven;
    for (int i = 0; i < 11; ++i) eleven += "A" + std::to_string(i) + " 1 ";
    const SchemaCase cases[] = {
        {"too_many_frames", many, 1, 100,
         "Animacja NORMAL ma wiecej niz 100 klatek, reszta pominieta:" + many},
        {"too_many_animations", "NORMAL 1 " + eleven, 10, 1, "Nie mozna dodac wiecej niz 10 animacji!"},
        {"number_first", "3 NORMAL 1", 1, 1,
         "Numer klatki przed nazwa animacji, pominiety : 3 w schemacie:3 NORMAL 1"},
        {"brackets_group", "[NORMAL (90)] 1 2", 1, 2, ""},
        {"repeated_name_reuses_slot", "NORMAL 1 OVER 2 NORMAL 3", 2, 2, ""},
    };
    for (const auto& c : cases) {
        notices.clear();
        TButton b;
        b.interpretujSchemat(c.schema, 0);
        EXPECT_EQ(b._animData.anims, c.anims) << c.name;
        EXPECT_EQ(b._animData.frames[0], c.firstFrames) << c.name;
        if (!c.notice.empty()) {
            EXPECT_TRUE(noticed(c.notice)) << c.name << ": " << (notices.empty() ? "" : notices.front());
        } else {
            EXPECT_TRUE(notices.empty()) << c.name;
        }
    }
    TButton b;
    b.interpretujSchemat("[NORMAL (90)] 1 2", 0);
    EXPECT_EQ(b._animData.frameDelta[0], 90);
}

TEST_F(GuiTest, AnimatedButtonActiveReturnsToOverOrNormal) {
    for (bool stay : {true, false}) {
        auto b = createAnimButton("a", "", 100, 100, "NORMAL 1 OVER(80) 2 3 4 ACTIVE(60) 5 6", 0, 1, 1);
        b->dim->x1 = 90;
        b->dim->y1 = 90;
        b->dim->x2 = 110;
        b->dim->y2 = 110;
        auto name = [&] { return b->_animData.animName[static_cast<size_t>(b->aktAnim)]; };
        point(100, 100);
        b->update(0, 0);
        EXPECT_EQ(name(), "OVER");
        point(100, 100, 1);
        b->update(0, 0);
        EXPECT_EQ(name(), "ACTIVE");
        point(stay ? 100 : 500, 100);
        // Two frames of 60 ms complete the cycle.
        for (int i = 0; i < 3; ++i) {
            advance(61);
            b->update(0, 0);
        }
        EXPECT_EQ(name(), stay ? "OVER" : "NORMAL") << stay;
    }
}

TEST_F(GuiTest, AnimatedButtonPlaysUnactiveWhileInactive) {
    auto b = createAnimButton("a", "", 0, 0, "NORMAL 1 UNACTIVE(10) 2", 0, 1, 1);
    b->_a = 0;
    b->update(0, 0);
    EXPECT_EQ(b->aktAnim, b->_animUnActive);
    advance(11);
    b->update(0, 0);
    advance(11);
    b->update(0, 0);
    EXPECT_EQ(b->aktAnim, b->_animUnActive);  // again while inactive
    b->_a = 1;
    advance(11);
    b->update(0, 0);
    advance(11);
    b->update(0, 0);
    EXPECT_EQ(b->aktAnim, b->_animNormal);
    b->playAnim("nothing");
    EXPECT_TRUE(noticed("Podanej nazwy animacji nie ma na liscie animacji obiektu! Nazwa :nothing"));
    EXPECT_EQ(b->aktAnim, 0);
}

TEST_F(GuiTest, HoverGrowsAndPressSpringsBack) {
    auto b = createTextButton("t", "Hello", nullptr, 200, 100, nullptr, nullptr, 1, 1);
    // Null backend font: 8 px a letter, 16 high; the anchor is the centre.
    EXPECT_EQ(b->dim->x1, 180);
    EXPECT_EQ(b->dim->x2, 220);
    EXPECT_EQ(b->dim->y1, 92);
    EXPECT_EQ(b->rgb.r, 255);
    point(200, 100);
    for (int i = 0; i < 5; ++i) b->update(0, 0);
    EXPECT_FLOAT_EQ(b->_dButtonScale, 1.1f);
    EXPECT_FLOAT_EQ(b->_buttonScale, 1.1f);
    point(200, 100, 1, 1);
    b->update(0, 0);
    EXPECT_LT(b->_buttonScale, 1.1f);
    point(0, 0);
    b->update(0, 0);
    EXPECT_FLOAT_EQ(b->_dButtonScale, 1.0f);
}

TEST_F(GuiTest, BlendAndFourStepButtons) {
    auto blend = createBlendButton("b", "", 0, 0, 0, 1, 1);
    EXPECT_EQ(blend->_buttonAlpha, 0);
    blend->dim->x1 = blend->dim->y1 = -5;
    blend->dim->x2 = blend->dim->y2 = 5;
    point(0, 0);
    for (int i = 0; i < 100; ++i) blend->update(0, 0);
    EXPECT_EQ(blend->_buttonAlpha, 1);

    auto four = createFStepBlendButton("f", "", 0, 0, 0, 1, 1);
    four->dim->x1 = four->dim->y1 = -5;
    four->dim->x2 = four->dim->y2 = 5;
    four->update(0, 0);
    EXPECT_EQ(four->_new4StepB, 1);
    EXPECT_EQ(four->_old4StepB, 0);
    EXPECT_FLOAT_EQ(four->_newAlpha, 0.05f);
    point(0, 0, 1, 1);
    four->update(0, 0);
    EXPECT_EQ(four->_new4StepB, 2);
    EXPECT_EQ(four->_old4StepB, 1);
    four->_a = 0;
    four->update(0, 0);
    EXPECT_EQ(four->_new4StepB, 3);
}

TEST_F(GuiTest, SwellingCaptionWaveAndLongCaptions) {
    auto b = createTextSpecButton1("s", "Hi there", nullptr, 100, 100, nullptr, nullptr, 1, 1);
    EXPECT_EQ(b->_textWidth, 8);
    EXPECT_EQ(b->_textHeight, 16);
    // 8 letters of 8 px + 3 each: w = 88, anchor at the bottom centre.
    EXPECT_EQ(b->dim->x1, 56);
    EXPECT_EQ(b->dim->y1, 84);
    EXPECT_EQ(b->dim->y2, 100);
    point(100, 90);
    b->update(0, 0);  // _chrN = 0.08
    EXPECT_FLOAT_EQ(b->_textScale[0], 1 + 0.08f * 2);
    EXPECT_EQ(b->_textScale[1], 1);
    for (int i = 0; i < 13; ++i) b->update(0, 0);  // _chrN = 1.12
    EXPECT_EQ(b->_textScale[0], 1);
    EXPECT_GT(b->_textScale[1], 1);
    // Past the space at index 2 the wave skips it.
    for (int i = 0; i < 12; ++i) b->update(0, 0);
    EXPECT_EQ(b->_textScale[2], 1);
    point(0, 0);
    b->update(0, 0);
    EXPECT_EQ(b->_chrN, 0);

    const std::string longCaption(260, 'x');
    auto l = createTextSpecButton1("l", longCaption, nullptr, 100, 100, nullptr, nullptr, 1, 1);
    l->_chrN = 230.2f;
    point(100, 90);
    l->update(0, 0);
    for (float s : l->_textScale) EXPECT_EQ(s, 1);
    l->draw(0, 0);  // letters beyond the table draw at scale 1, no overrun
    EXPECT_GT(l->_chrN, 230);
}

TEST_F(GuiTest, PictureButtonsWithoutPicturesStayUsable) {
    auto g = load("BUTTON a { TYP = SIMPLE_BUTTON GFX = none.png POSITION = \"10 10\" }\n"
                  "BUTTON b { TYP = ANIM_BUTTON GFX = none.png SCHEMAT = \"NORMAL 1 2\" }\n"
                  "BUTTON c { TYP = FSTEP_BUTTON GFX = none.png }\n"
                  "BUTTON d { TYP = TEXT_SPEC_BUTTON2 GFX = none.png TXT = go ADDDIM = \"3 4\" }");
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(g->_listaObiektow.size(), 4u);
    EXPECT_EQ(g->get<TButton>("d")->dimAdY, 4);
    point(10, 10, 1);
    g->update();
    g->draw();
    EXPECT_EQ(g->_clicked, "a");  // a zero-size rectangle still holds its centre point
    auto b = g->get<TButton>("b");
    b->drawAsPowerUp(0, nullptr, 1, 0.5f);
}

// ---------------------------------------------------------------------------
// Texts and entries

TEST_F(GuiTest, TextAlignNames) {
    TText t;
    const std::pair<const char*, int> cases[] = {{"left", ALIGN_LEFT},     {"RIGHT", ALIGN_RIGHT},
                                                 {"Center", ALIGN_CENTER}, {"justify", ALIGN_JUSTIFY},
                                                 {"middle", ALIGN_JUSTIFY}};
    for (const auto& [name, align] : cases) {
        t.setAlign(name);
        EXPECT_EQ(t._align, align) << name;
    }
    auto made = createText("t", "one two three", 5.7f, 6.2f, 40, nullptr, "middle", 1, 1);
    EXPECT_EQ(made->_align, ALIGN_LEFT);
    EXPECT_EQ(made->dim->x, 5);
    EXPECT_EQ(made->countH(), 3 * 16);  // one word a line at 8 px a letter
    made->draw(0, 0);
    EXPECT_EQ(made->dim->h, 3 * 16);
}

TEST_F(GuiTest, EntryTypingBackspaceAndLimit) {
    auto e = createTextEntry("e", nullptr, 0, 0, 300, 4, nullptr, 1, 1);
    InjectChar(8);
    e->update(0, 0);
    EXPECT_EQ(e->getTxt(), "");
    for (uint32_t c : std::initializer_list<uint32_t>{'a', 0x17C, 'c', 'd', 'e', 'f'}) InjectChar(c);
    for (int i = 0; i < 6; ++i) e->update(0, 0);  // one character a frame
    EXPECT_EQ(e->getTxt(), "a\xC5\xBC" "cd");
    InjectChar(8);
    e->update(0, 0);
    EXPECT_EQ(e->getTxt(), "a\xC5\xBC" "c");
    InjectChar(8);
    InjectChar(8);
    e->update(0, 0);
    EXPECT_EQ(e->getTxt(), "a\xC5\xBC");  // the second waits a frame
    e->update(0, 0);
    EXPECT_EQ(e->getTxt(), "a");
    InjectChar(27);  // escape is not text
    e->update(0, 0);
    EXPECT_EQ(e->getTxt(), "a");
    InjectChar(13);
    e->update(0, 0);
    EXPECT_EQ(e->_clicked, 1);
    // Typing reaches a hidden entry too.
    e->setState(0, 0);
    InjectChar('q');
    e->update(0, 0);
    EXPECT_EQ(e->getTxt(), "aq");
}

TEST_F(GuiTest, EntryCursorBlinks) {
    auto e = createTextEntry("e", nullptr, 0, 0, 300, 4, nullptr, 1, 1);
    EXPECT_EQ(e->_trigger, 1);
    EXPECT_EQ(e->_curWidth, 8);
    EXPECT_EQ(e->_curHeight, 16);
    e->update(0, 0);
    EXPECT_EQ(e->_trigger, 1);
    advance(301);
    e->update(0, 0);
    EXPECT_EQ(e->_trigger, 0);
    advance(301);
    e->update(0, 0);
    EXPECT_EQ(e->_trigger, 1);
}

}  // namespace
