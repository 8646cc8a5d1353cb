// The jigsaw screen ("PUZZLE"): tops the player's pieces up to the quota of
// the level just won, lets the new ones fly in, and lets the player pick
// pieces and groups up (click: the piece sticks to the pointer until the
// next press; hold: it is dragged until the release) and drop them so they
// snap to their neighbours. "back" goes on to play (refused while every piece
// is owned and the picture is unsolved), "menu" asks before leaving to the
// main menu. A solved picture fades the board out over the owner scene and
// sends every piece flying onto the dog, which dresses up piece by piece.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/TEkran.h"
#include "jigsaw/TFlyingPiece.h"
#include "jigsaw/TPuzzleLevel.h"
#include "jigsaw/TPuzzleOwnerScene.h"
#include "jigsaw/TPuzzleQuota.h"
#include "profiles/TProfile.h"

class TPuzzleGame : public TEkran {
public:
    ImagePtr img;  // "gfx/gui/puzzleGame/back.jpg"
    TPuzzlePtr over;
    TPuzzlePtr click;
    TPuzzleLevelPtr level;
    int clicked = 0;
    int holded = 0;
    float pomX = 0, pomy = 0;
    ImagePtr szarfa;  // "gfx/gui/puzzleGame/szarfa.png"
    int holdTime = 0;
    std::string txtCantPlay;
    int infoMustBe = 0;

    // The player whose jigsaw is on show; null: the profile manager's current one.
    TProfilePtr profile;

    // Links to the rest of the game (empty: the default said beside each).
    // The quota of a level (pieces owned after winning it), -1 for none;
    // default: "data/puzzlelist2.dat" read by the screen itself.
    std::function<int(int levelNr)> quotaHook;
    // The menu question; the answer "MAIN-MENU" leaves. Default: leave.
    std::function<std::string(TEkran* behind)> menuQuestion;
    // Shows a message over the screen; default: a notice on the board.
    std::function<void(const std::string& text, TEkran* behind)> popUp;
    // The owner scene behind the board in the win sequence; null: the
    // screen's own backdrop.
    TPuzzleOwnerScenePtr ownerScene;
    // The tutorial's tips; empty: none.
    std::function<void()> tutorialClearTip, tutorialUpdate, tutorialDraw;

    // Where the pieces fly at the end: the dog.
    static constexpr float kDogX = 240, kDogY = 415;
    static constexpr int kModeMs = 200;

    TPuzzleGame();
    int setup() override;
    int draw() override;
    int update() override;
    bool loopDone() const override { return _exit != 0; }
    void _control() override;

    virtual void _drawBack();
    virtual void _drawTlo();
    virtual void _drawPuzzles();
    virtual void _drawPanel();
    virtual void clickPuzzle(const TPuzzlePtr& p);
    virtual void _updatePuzzles();
    virtual void _updateGuiMove();
    virtual void _updateGameEnd();
    virtual void _updateWin();
    virtual void _updateWin_2();
    virtual void _updateState();
    virtual void addDogAlpha();
    virtual void createFlyingPuzzles();
    virtual void _prepareSelf();
    virtual void _preparePuzzles();
    virtual void _prepareProfilePuzzles();
    virtual void _prepareMissingPuzzles();
    virtual void prepare();
    virtual std::string mainLoop();
    virtual void setLevel(const TPuzzleLevelPtr& l) { level = l; }
    virtual void WIN();
    virtual void goPlay();
    virtual void goMenu();

    TProfilePtr player() const;
    int quotaOf(int levelNr);
    // Pieces flying to the dog (win sequence).
    const std::vector<TFlyingPiecePtr>& flying() const { return _flying; }
    // The dressed-picture blend kept when no owner scene is connected.
    float dressCA[2] = {1, 0}, dressDCA[2] = {1, 0};
    // The notice on the board (the default pop-up) and when it goes.
    const std::string& notice() const { return _notice; }

    // Development: with the environment variable BRIMBLE_FRAME_STATS set, the
    // times of the frames in which a piece or group is held or pieces fly
    // (every frame with "=all") are printed to stderr when the visit ends:
    // update and drawing, and the whole frame with its present less the
    // sleep that holds 60 fps.
    void reportFrameStats();

private:
    bool _setUp = false;
    bool _quotaRead = false;
    TPuzzleQuota _quota;
    std::vector<TFlyingPiecePtr> _flying;
    std::string _notice;
    int _noticeUntil = 0;
    FontPtr _noticeFont;
    int _landed = 0;
    float _backX = 0, _menuX = 0;  // loaded x of the buttons that slide with the sash
    bool _recordFrames = false, _frameBusy = false;
    std::chrono::steady_clock::time_point _frameStart;
    std::vector<int> _frameUs, _fullFrameUs;
    void _frameBegin() override;
    void _frameDrawn() override;
    void _framePresented() override;
    void _showNotice(const std::string& text);
    void _drawNotice();
    void _drop();
};

extern std::shared_ptr<TPuzzleGame> puzzleGame;
