// The owner scene ("UBIERANIE"), shown before every quest level: the current
// stage's dog in the garden, its owner at the window and the owner's lines for
// this level in speech bubbles, one after the other. "play" starts the level,
// "mainMenu" leaves. Once the stage's jigsaw is solved the dog stands dressed
// up, the characters leave and the next stage is asked for.
//
// States: "BEGIN" (the window opens, a figure appears) -> "BEGIN-NEW-CHARACTER"
// (the owner and the dog come in) -> "NORMAL" (lines one by one) -> leaves for
// the level, or "HIDE" (the characters go, then the next stage). A visit in
// the middle of a stage starts in "CONTINUE" with everyone already there.
#pragma once

#include <array>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "app/TEkran.h"
#include "app/TRMCounter.h"
#include "dogs/TPies.h"
#include "gui/TTheme.h"

class TProfile;

class TUbieranie : public TEkran {
public:
    TUbieranie();

    ImagePtr back;
    std::vector<TPiesPtr> dogsList;
    std::array<ImagePtr, 2> boki;  // 0 panel-left, 1 panel-right
    ImagePtr panel, panelPodklad, panelLinia, podzialka;
    FontPtr font, scoreFont, captionsFont;
    std::array<ImagePtr, 2> imgPostac;  // 0 the boy figure, 1 the girl
    ImagePtr empty;
    TPiesPtr dog;
    float pustoAlpha = 0, dPustoAlpha = 0;    // the open, empty window
    float cienAlpha = 0, dCienAlpha = 0;      // the figure behind the glass
    float postacAlpha = 0, dPostacAlpha = 0;  // the owner
    float piesAlpha = 0, dPiesAlpha = 0;      // the dog
    int waitTime = 0;
    TOwnerTxtPtr aktOwnerTxt;
    std::list<TOwnerTxtPtr> tekstyOczekujace;
    TRMCounterPtr txtCount;
    int hide = 0;
    // The dog's two pictures: element 0 fades picture 0 out, element 1 fades
    // the dressed picture in (the jigsaw's win sequence raises it).
    std::array<float, 3> ca{{0, 0, 0}};
    std::array<float, 3> dCA{{0, 0, 0}};
    std::array<std::string, 3> txtLimPassed;
    std::string txtLevel;
    std::string txtClick;
    std::list<TOwnerTxtPtr> _listaPomocnicza;

    int setup() override;
    virtual void _setupGui();
    // Loads the dogs' pictures and measures their bubbles with the scene's font.
    virtual void _setupDogs();
    // Reads the dog table (once; no pictures, so it works before the display
    // opens: the profiles ask for their dogs when they are loaded).
    void readDogs();
    virtual void _setupTxt();
    virtual int getDogState() { return 0; }
    // The first dog whose id is n, or null.
    virtual TPiesPtr getDog(int id) const;
    virtual void getNextOwnerTxt();
    virtual void giveScoreInfo(int) {}

    int update() override;
    int draw() override;
    int _drawGui() override;
    virtual void _drawBack();
    virtual void _drawDog();
    virtual void _drawPostacTxt();
    virtual void _drawContinue();
    virtual void _drawPostac();

    virtual void _updateAlphas();
    virtual void _update_STATE_Begin();
    virtual void _update_STATE_Begin_New_Character();
    virtual void _update_STATE_Normal();
    virtual void _update_STATE_Hide();
    virtual void _update_STATE_Continue();
    virtual void _updateState();
    virtual void _updateRot();
    virtual void _updateGUIMove();

    virtual void _prepareSelf();
    // A new quest or stage: the next visit opens with the owner's entrance.
    virtual void _prepareCharacterBegin();
    virtual void _prepareCharacters();
    virtual void _prepareDog();
    virtual void _prepareCards();
    virtual void prepare();
    // Runs one visit; returns "MAIN-GAME", "MAIN-MENU" or "GET-NEXT-STAGE".
    virtual std::string mainLoop();
    void _control() override;
    virtual void _control_KEYBOARD();
    virtual void _control_GUI();
    virtual void printData();

    // The lines of `d` shown on the visit before quest level `level`: those
    // of that level and of the levels on either side, in table order.
    static std::list<TOwnerTxtPtr> linesForVisit(const TPies& d, int level);
    // The jigsaw of the profile's stage is solved (the dog is dressed up).
    static bool puzzleComplete(const TProfile* p);
    // Problems met while reading the dog table at set-up.
    std::vector<std::string> problems;
    // The tutorial's tips over the scene (each frame; the tip goes when the
    // visit begins and ends); empty: none.
    std::function<void()> tutorialUpdate, tutorialDraw, tutorialClearTip;

private:
    bool _setUp = false;
    bool _dogsRead = false;
    TTxtFilePtr _lines;
    float _playLoadX = 0, _menuLoadX = 0;
    bool _haveButtons = false;
    TThemePtr _theme1, _theme2;
};
using TUbieraniePtr = std::shared_ptr<TUbieranie>;

extern TUbieraniePtr ubieranie;
