// The owner scene's state machine and layers, without drawing: the entrance
// of a new stage, lines one after the other, the way out to the level or,
// with the stage's jigsaw solved, to the next stage; the dressed picture's
// blend; and the gallery's rules for which dogs are shown.
#include <gtest/gtest.h>

#include "dogs/TGaleria.h"
#include "dogs/TUbieranie.h"
#include "platform/Backend.h"
#include "profiles/ProfileHooks.h"
#include "profiles/TProfileManager.h"

namespace {

class OwnerSceneTest : public ::testing::Test {
protected:
    TUbieranie u;
    TProfilePtr p = std::make_shared<TProfile>();
    TPiesPtr dog = std::make_shared<TPies>();
    ProfileHooks keep;

    void SetUp() override {
        InstallBackend(nullptr);
        frameDelta = 1.0f;
        keep = profileHooks();
        profileHooks().dogStartLevel = [](const TPiesPtr& d) { return d->startLevel; };
        dog->id = 1;
        dog->startLevel = 10;
        for (const char* w : {"LEVEL:14|TEXT:1", "LEVEL:15|TEXT:2", "LEVEL:20|TEXT:1"}) {
            auto t = std::make_shared<TOwnerTxt>();
            t->wpis = w;
            t->interpretuj(nullptr);
            dog->listaTekstow.push_back(t);
        }
        u.dogsList = {dog};
        p->pies = dog;
        p->nrStageu = 1;
        profileManager().profile = p;
        galeria = std::make_shared<TGaleria>();
    }
    void TearDown() override {
        profileManager().profile = nullptr;
        profileHooks() = keep;
        galeria = nullptr;
    }
    // A visit's preparation without the screen's pictures and script.
    void visit(int level) {
        p->nrLevelu = level;
        u._prepareSelf();
        u._prepareDog();
        u._prepareCharacters();
        u._prepareCards();
    }
    // Frames of the state machine and the layers (what update() runs, less
    // the frame services and the GUI).
    void frames(int n) {
        for (int i = 0; i < n; ++i) {
            u._updateState();
            u._updateAlpha();
            u._updateFade();
            u.txtCount->update();
            u._updateAlphas();
            u._updateRot();
            u.txtCount->update();
        }
    }
};

TEST_F(OwnerSceneTest, ANewStageOpensWithTheEntranceOnItsFirstVisits) {
    for (int level : {9, 10, 11}) {
        SCOPED_TRACE(level);
        u.ca = {{0.5f, 0.7f, 0}};
        visit(level);
        EXPECT_EQ(u.state, "BEGIN");
        EXPECT_EQ(u.dPustoAlpha, 1);
        EXPECT_EQ(u.dCienAlpha + u.dPostacAlpha + u.dPiesAlpha, 0);
        EXPECT_EQ(u.ca[1], 0);  // a new dog comes undressed
        EXPECT_EQ(p->gameType, "UBIERANIE");
    }
    visit(12);
    EXPECT_EQ(u.state, "CONTINUE");
    EXPECT_EQ(u.postacAlpha, 1);
    EXPECT_EQ(u.piesAlpha, 1);
    EXPECT_EQ(galeria->newDog, dog);
}

TEST_F(OwnerSceneTest, TheEntranceRunsWindowFigureThenOwnerAndDog) {
    visit(10);
    u.fade = u.dFade = 0;
    u.alpha = u.dAlpha = 1;
    frames(49);
    EXPECT_EQ(u.state, "BEGIN");
    EXPECT_LT(u.pustoAlpha, 1);
    EXPECT_EQ(u.cienAlpha, 0);
    frames(60);
    EXPECT_GT(u.cienAlpha, 0);  // the figure comes once the window is open
    frames(100);
    EXPECT_EQ(u.state, "BEGIN-NEW-CHARACTER");
    // Half a second later the owner and the dog come in and the figure goes.
    u.waitTime = Millisecs() - 1;
    frames(1);
    EXPECT_EQ(u.dPostacAlpha, 1);
    EXPECT_EQ(u.dPiesAlpha, 1);
    EXPECT_EQ(u.dCienAlpha, 0);
    frames(60);
    EXPECT_EQ(u.state, "NORMAL");
}

TEST_F(OwnerSceneTest, MatchingLinesAreShownOneAfterTheOtherThenTheLevelStarts) {
    visit(14);  // lines of levels 14 and 15 (and 13) match; 20 does not
    ASSERT_EQ(u.tekstyOczekujace.size(), 2u);
    u.fade = u.dFade = 0;
    u.alpha = u.dAlpha = 1;
    frames(1);
    EXPECT_EQ(u.state, "NORMAL");
    ASSERT_TRUE(u.aktOwnerTxt);
    EXPECT_EQ(u.aktOwnerTxt->nrLevelu, 14);
    frames(30);
    EXPECT_EQ(u.txtCount->v, 1);
    frames(30);
    EXPECT_EQ(u.aktOwnerTxt->nrLevelu, 14);  // it waits for the player
    u.txtCount->setValue(0);                 // a click on the scene
    frames(5);
    EXPECT_EQ(u.aktOwnerTxt->nrLevelu, 14);  // fading out
    frames(10);
    ASSERT_TRUE(u.aktOwnerTxt);
    EXPECT_EQ(u.aktOwnerTxt->nrLevelu, 15);
    EXPECT_EQ(u._listaPomocnicza.size(), 2u);
    EXPECT_EQ(u.dFade, 0);
    u.txtCount->setValue(0);
    frames(15);
    EXPECT_EQ(u.aktOwnerTxt, nullptr);
    EXPECT_EQ(u.wynik, "MAIN-GAME");
    EXPECT_EQ(u.dFade, 1);
}

TEST_F(OwnerSceneTest, LeavingForTheMenuWhileALineIsShownStaysLeavingForTheMenu) {
    visit(20);  // one line: once it has faded out nothing else is waiting
    u.fade = u.dFade = 0;
    u.alpha = u.dAlpha = 1;
    frames(20);
    ASSERT_TRUE(u.aktOwnerTxt);
    u.txtCount->setValue(0);  // the press on "mainMenu" also hides the bubble
    u.leaveTo("MAIN-MENU");
    frames(60);
    EXPECT_EQ(u.wynik, "MAIN-MENU");
    EXPECT_EQ(u.fade, 1);
}

TEST_F(OwnerSceneTest, AVisitWithNothingToSayGoesOnAsSoonAsItHasFadedIn) {
    visit(17);
    EXPECT_TRUE(u.tekstyOczekujace.empty());
    frames(200);
    EXPECT_EQ(u.wynik, "MAIN-GAME");
    EXPECT_EQ(u.dFade, 1);
}

TEST_F(OwnerSceneTest, ASolvedJigsawShowsTheDogDressedThenTheCharactersLeave) {
    p->ulozone = 1;
    visit(19);  // the line of level 20 is said first
    EXPECT_EQ(u.fade, 0);
    EXPECT_EQ(u.alpha, 1);
    EXPECT_EQ(u.ca[1], 1);
    EXPECT_EQ(u.ca[0], 0);
    EXPECT_EQ(u.cienAlpha, 0);
    EXPECT_EQ(u.pustoAlpha, 1);
    frames(1);
    ASSERT_TRUE(u.aktOwnerTxt);
    u.txtCount->setValue(0);
    frames(20);
    EXPECT_EQ(u.state, "HIDE");
    EXPECT_EQ(u.dFade, 0);
    int n = 0;
    while (u.dFade == 0 && n < 1000) {
        frames(1);
        ++n;
    }
    EXPECT_EQ(u.wynik, "GET-NEXT-STAGE");
    EXPECT_EQ(u.postacAlpha, 0);
    EXPECT_EQ(u.piesAlpha, 0);
    EXPECT_EQ(u.pustoAlpha, 0);
}

TEST_F(OwnerSceneTest, TheDressedPictureFollowsItsTargetOnlyOnceFadedIn) {
    visit(12);
    u.fade = 0.5f;
    u.dCA[1] = 1;
    u._updateRot();
    EXPECT_EQ(u.ca[1], 0);
    u.fade = 0;
    for (int i = 0; i < 50; ++i) u._updateRot();
    EXPECT_NEAR(u.ca[1], 0.5f, 1e-4);
    for (int i = 0; i < 80; ++i) u._updateRot();
    EXPECT_EQ(u.ca[1], 1);
}

TEST_F(OwnerSceneTest, PrepareCharacterBeginResetsTheSceneToTheEntrance) {
    u.state = "NORMAL";
    u.piesAlpha = u.postacAlpha = 1;
    u.ca = {{1, 1, 0}};
    u.dCA = {{1, 1, 0}};
    u._prepareCharacterBegin();
    EXPECT_EQ(u.state, "BEGIN");
    EXPECT_EQ(u.piesAlpha + u.postacAlpha + u.cienAlpha + u.pustoAlpha, 0);
    EXPECT_EQ(u.ca[0] + u.ca[1] + u.dCA[0] + u.dCA[1], 0);
}

TEST_F(OwnerSceneTest, WithoutADogOrAPlayerTheSceneStillRunsToTheLevel) {
    p->nrStageu = 7;  // no dog answers
    visit(14);
    EXPECT_EQ(u.dog, nullptr);
    EXPECT_TRUE(u.tekstyOczekujace.empty());
    profileManager().profile = nullptr;
    u._prepareSelf();
    u._prepareDog();
    u._prepareCharacters();
    u._prepareCards();
    frames(200);
    EXPECT_EQ(u.wynik, "MAIN-GAME");
}

TEST_F(OwnerSceneTest, TheGalleryUncoversFinishedStagesOnly) {
    auto make = [](int id) {
        auto d = std::make_shared<TPies>();
        d->id = id;
        return d;
    };
    auto d1 = make(1), d2 = make(2), d3 = make(3), d5 = make(5);
    p->nrStageu = 3;
    p->ulozone = 0;
    p->bylyPsy = {d5};  // listed as done, whatever the stage says
    EXPECT_TRUE(TGaleria::uncovered(*d1, p.get()));
    EXPECT_TRUE(TGaleria::uncovered(*d2, p.get()));
    EXPECT_FALSE(TGaleria::uncovered(*d3, p.get()));
    EXPECT_TRUE(TGaleria::uncovered(*d5, p.get()));
    p->ulozone = 1;  // the current stage's jigsaw is solved
    EXPECT_TRUE(TGaleria::uncovered(*d3, p.get()));
    EXPECT_FALSE(TGaleria::uncovered(*d1, nullptr));
}

TEST_F(OwnerSceneTest, AGalleryCardIsHitInsideItsSlantedOutline) {
    TPies d;
    d.imgXY = std::make_shared<TDim>();
    d.imgXY->x = 400;
    d.imgXY->y = 300;  // the pin; the card is 128 x 150 with the pin at (64, 18)
    const struct {
        float x, y;
        int rot;
        bool hit;
    } cases[] = {
        {400, 300, 0, true},
        {337, 283, 0, true},
        {335, 283, 0, false},
        {463, 431, 0, true},
        {465, 300, 0, false},
        {400, 433, 0, false},
        {400, 281, 0, false},
        // turned 10 degrees clockwise: the bottom swings to the left
        {320, 410, 0, false},
        {320, 410, 10, true},
        {460, 425, 0, true},
        {460, 425, 10, false},
    };
    for (const auto& c : cases) {
        d.rot = c.rot;
        EXPECT_EQ(TGaleria::cardHit(d, c.x, c.y), c.hit) << c.x << "," << c.y << " rot " << c.rot;
    }
}

}  // namespace

namespace {

TEST(GalleryLeaving, ContinueLeadsToTheNextStageOrAfterTheLastToTheEnding) {
    InstallBackend(nullptr);
    auto keepU = ubieranie;
    ubieranie = std::make_shared<TUbieranie>();
    for (int id = 1; id <= 2; ++id) {
        auto d = std::make_shared<TPies>();
        d->id = id;
        d->imgXY = std::make_shared<TDim>();
        ubieranie->dogsList.push_back(d);
    }
    auto p = std::make_shared<TProfile>();
    profileManager().profile = p;
    TGaleria g;
    g.newDog = ubieranie->dogsList[0];
    p->nrStageu = 2;  // the first stage is done
    g.prepare();
    EXPECT_EQ(g.wynik, "UBIERANIE");
    EXPECT_EQ(g.state, "NEW-DOG");  // it is uncovered, so it arrives
    p->nrStageu = 3;                // past the last stage
    g.newDog = ubieranie->dogsList[1];
    g.prepare();
    EXPECT_EQ(g.wynik, "STORY");
    EXPECT_EQ(g.state, "NEW-DOG");
    p->nrStageu = 1;  // a dog that is not done yet does not arrive
    g.newDog = ubieranie->dogsList[1];
    g.prepare();
    EXPECT_EQ(g.state, "NORMAL");
    EXPECT_EQ(g.arrive, 1);
    profileManager().profile = nullptr;
    ubieranie = keepU;
}

}  // namespace
