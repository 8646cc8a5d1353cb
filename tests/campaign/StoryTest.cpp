// The story screen's file and its click rules: boxes one click at a time,
// clicks ignored while a picture fades in, one more click after the last box
// ends the story, an empty or missing story ends on the first click, the
// skip button hidden (and deaf) for five seconds; which story the quest's
// story step plays.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestDir.h"
#include "app/AppGlobals.h"
#include "app/TDeltaTime.h"
#include "campaign/TStory.h"
#include "data/DataGlobals.h"
#include "gui/TGui.h"
#include "platform/Backend.h"

namespace {

const char* kStory =
    "story {\n"
    "\tatEnd = \"ubieranie\"\n"
    "\ti = 2\n"
    "\tstory1 {\n"
    "\t\tgfx = \"gfx/story/none.jpg\"\n"
    "\t\ttexts = 2\n"
    "\t\ttxt1 {\n\t\t\ttext = 1\n\t\t\ttypKomiksu = 1\n\t\t\tdim = 40.7, 50, 200, 60\n"
    "\t\t\tdziubek = 300, 120.5, -1.5, 1.25\n\t\t\tfont = 0\n\t\t}\n"
    "\t\ttxt2 {\n\t\t\ttext = 2\n\t\t\ttypKomiksu = 0\n\t\t\tdim = 40, 50, 200, 60\n"
    "\t\t\tdziubek = 0, 0, 0, 0\n\t\t\tfont = 1\n\t\t}\n"
    "\t}\n"
    "\tstory2 {\n"
    "\t\ttexts = 2\n"
    "\t\ttxt1 {\n\t\t\ttext = 3\n\t\t\tdim = 100, 100, 300, 40\n\t\t}\n"
    "\t\ttxt2 {\n\t\t\ttext = 99\n\t\t\tdim = 100, 200, 300, 40\n\t\t}\n"
    "\t}\n"
    "}\n";

class StoryTest : public TempDirTest {
protected:
    std::string keepRoot;
    TStory s;

    void SetUp() override {
        TempDirTest::SetUp();
        InstallBackend(nullptr);
        keepRoot = dataRoot;
        dataRoot = dir.string() + "/";
        deltaTime = TDeltaTime::Create(60);
        deltaTime->Update();
        std::filesystem::create_directories(dir / "data");
        std::filesystem::create_directories(dir / "txt" / "eng");
        writeBytes("data/story-7.dat", kStory);
        writeBytes("data/story-8.dat", "story {\n\tatEnd = \"MAIN-MENU\"\n\ti = 0\n}\n");
        writeBytes("txt/eng/story-comic.txt",
                   "Short.\r\nA much longer line that has to wrap over several lines of its box.\nThird\n");
        writeBytes("txt/eng/story.txt", "Skip\nClick to go on\n");
    }
    void TearDown() override {
        dataRoot = keepRoot;
        deltaTime.reset();
        TempDirTest::TearDown();
    }
    // A frame of 50 ms (frame factor 3): fades move 0.15 a frame.
    void frame() {
        Backend().advanceClock(50);
        s.update();
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) frame();
    }
    TStoryPartPtr shown() const { return s.storyPack->newStory; }
};

TEST_F(StoryTest, TheFileGivesPicturesAndBoxesInOrder) {
    s.setup();
    const TStoryPackPtr pack = s.loadStory("data/story-7.dat");
    EXPECT_EQ(pack->atEnd, "ubieranie");
    ASSERT_EQ(pack->storyParts.size(), 2u);
    const TStoryPartPtr& one = pack->storyParts[0];
    EXPECT_EQ(one->img, nullptr) << "a missing picture is left out";
    ASSERT_EQ(one->comicTexts.size(), 2u);
    const TComicText& a = *one->comicTexts[0];
    EXPECT_EQ(a.txt, "Short.") << "the line's CR is not part of the text";
    EXPECT_EQ(a.n, 1);
    EXPECT_FLOAT_EQ(a.dim.x, 40) << "box positions are whole numbers";
    EXPECT_FLOAT_EQ(a.dim.y, 50);
    EXPECT_FLOAT_EQ(a.dim.w, 200);
    EXPECT_FLOAT_EQ(a.dim.h, 60);
    EXPECT_FLOAT_EQ(a.dX, 300);
    EXPECT_FLOAT_EQ(a.dy, 120.5f);
    EXPECT_FLOAT_EQ(a.dsX, -1.5f);
    EXPECT_FLOAT_EQ(a.dsY, 1.25f);
    EXPECT_EQ(a.fontN, 0);
    EXPECT_FLOAT_EQ(a.tx, 40);
    EXPECT_FLOAT_EQ(a.tw, 200);
    const TComicText& b = *one->comicTexts[1];
    EXPECT_EQ(b.fontN, 1);
    // Same box, more lines: the text starts higher so it stays centred.
    EXPECT_LT(b.ty, a.ty);
    EXPECT_GT(a.ty, a.dim.y);
    EXPECT_LT(a.ty, a.dim.y + a.dim.h / 2);
    const TStoryPartPtr& two = pack->storyParts[1];
    ASSERT_EQ(two->comicTexts.size(), 2u);
    EXPECT_EQ(two->comicTexts[0]->txt, "Third");
    EXPECT_EQ(two->comicTexts[1]->txt, "") << "a text line that does not exist gives an empty box";
    EXPECT_EQ(two->comicTexts[0]->alpha, 0.0f) << "boxes start hidden";
}

TEST_F(StoryTest, BoxesComeOneClickAtATimeAndFadingPicturesTakeNoClicks) {
    s.prepare(7);
    EXPECT_EQ(s.wynik, "UBIERANIE") << "the next screen's name is used in upper case";
    ASSERT_NE(shown(), nullptr);
    const TStoryPartPtr first = shown();
    EXPECT_EQ(s.state, "PICTURE-1-BOX-1");
    EXPECT_EQ(first->comicTexts[0]->dAlpha, 1.0f);
    EXPECT_EQ(first->comicTexts[1]->dAlpha, 0.0f);

    s.nextStory();  // the picture is still fading in
    EXPECT_EQ(s.state, "PICTURE-1-BOX-1");
    frames(6);
    EXPECT_LT(first->alpha, 1.0f);
    s.nextStory();
    EXPECT_EQ(s.state, "PICTURE-1-BOX-1") << "ignored until the picture is fully in";
    frame();
    EXPECT_EQ(first->alpha, 1.0f);

    s.nextStory();
    EXPECT_EQ(s.state, "PICTURE-1-BOX-2");
    EXPECT_EQ(first->comicTexts[0]->dAlpha, 0.0f) << "the box before goes";
    EXPECT_EQ(first->comicTexts[1]->dAlpha, 1.0f);

    s.nextStory();  // no box left: the next picture
    EXPECT_EQ(s.state, "PICTURE-2-BOX-1");
    EXPECT_EQ(s.storyPack->oldStory, first) << "the previous picture stays underneath";
    EXPECT_EQ(first->comicTexts[1]->dAlpha, 0.0f);
    EXPECT_EQ(shown()->alpha, 0.0f);
    s.nextStory();
    EXPECT_EQ(s.state, "PICTURE-2-BOX-1");
    frames(7);
    s.nextStory();
    EXPECT_EQ(s.state, "PICTURE-2-BOX-2");
    EXPECT_EQ(s.toExit, 0);

    s.nextStory();  // after the last box of the last picture
    EXPECT_EQ(s.toExit, 1);
    EXPECT_EQ(s.dFade, 1.0f) << "the story fades out";
    EXPECT_EQ(s.state, "END");
    frames(7);
    EXPECT_TRUE(s.loopDone());
}

TEST_F(StoryTest, AStoryWithNothingToShowEndsOnTheFirstClick) {
    for (int n : {8, 9}) {  // no pictures; no file at all
        TStory t;
        t.prepare(n);
        EXPECT_EQ(t.toExit, 0) << n;
        EXPECT_FALSE(t.loopDone()) << n;
        t.nextStory();
        EXPECT_EQ(t.toExit, 1) << n;
        EXPECT_EQ(t.dFade, 1.0f) << n;
    }
}

TEST_F(StoryTest, TheSkipButtonStaysHiddenAndDeafForFiveSeconds) {
    s.prepare(7);
    ASSERT_NE(s.Gui, nullptr);
    EXPECT_EQ(s.alpha, 0.0f);
    EXPECT_EQ(s.Gui->_locked, 1) << "a hidden skip button must not answer a click or Escape";
    frames(99);  // 4950 ms
    EXPECT_FALSE(s.skipShown());
    EXPECT_EQ(s.alpha, 0.0f);
    EXPECT_EQ(s.Gui->_locked, 1);
    frames(2);  // 5050 ms
    EXPECT_TRUE(s.skipShown());
    EXPECT_EQ(s.Gui->_locked, 0);
    frames(7);
    EXPECT_EQ(s.alpha, 1.0f) << "the button has faded in";
    s.prepare(7);
    EXPECT_FALSE(s.skipShown()) << "hidden again each time a story starts";
}

TEST(StoryChoice, TheStoryStepPlaysTheEndingOnlyWhenEveryStageIsDone) {
    struct Case {
        int level;
        bool complete;
        int story;
    } cases[] = {
        {1, false, 1},   {9, false, 1},  {10, false, 0}, {13, false, 3}, {14, false, 0},
        {192, false, 0}, {192, true, 2}, {40, true, 2},  {3, true, 2},  // a short campaign that ends early
                                                                        // still ends
        {13, true, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TStory::storyFor(c.level, c.complete), c.story) << c.level << " " << c.complete;
}

}  // namespace
