// Screen base: name, result, content alpha and black fade moving towards their
// targets, an optional GUI layout and the state string of the screen's own
// state machine.
//
// Every screen runs its frames through runLoop(): each frame clears the
// screen, update() (which starts with frameUpdate(0)), draw(), presents
// (frameFlip) and then _control(), until loopDone() (by default: faded to
// black, which leaveTo() starts). A screen's mainLoop prepares its fields,
// calls runLoop and returns the next name.
//
// An overlay (pause, options, results, dialogs) runs over the screen behind
// it: runLoop(behind). Its draw() calls _drawBehind() first, and its update()
// calls _updateBehind(), which lets the screen behind go on animating
// (updateCovered) only when the overlay asks for that with keepBehindAlive.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"

class TGui;

class TEkran {
public:
    std::string id = "Screen Object";
    std::string wynik;
    int _exit = 0;
    float alpha = 1;
    float dAlpha = 1;
    float aSpeed = 0.05f;
    float fade = 0;
    float dFade = 0;
    float fSpeed = 0.05f;
    std::shared_ptr<TGui> Gui;
    int guiLocked = 0;
    std::shared_ptr<TEkran> ekran;  // the screen under a modal dialog
    std::string state;

    TEkran() = default;
    virtual ~TEkran() = default;

    virtual int setup() { return 0; }
    virtual int _drawGui();
    virtual int _drawFade();
    virtual int _drawMouse();
    virtual int draw() { return 0; }
    virtual int _updateFade();
    virtual int _updateAlpha();
    virtual int _updateGui();
    virtual int update() { return 0; }
    // Clears, draws the screen and grabs the 1024 x 768 game area.
    virtual TPixmap _getMyScreen();
    // Runs the frame timer 100 times so a long preparation does not count as one frame.
    virtual int _prepareDelta();
    virtual int STANDARD_DATA();
    virtual int lockGui();
    virtual int unlockGui();

    // The loop's end condition: faded to black and meant to stay black.
    bool faded() const { return fade == 1.0f && dFade == 1.0f; }
    // Stores the next name and starts the fade to black.
    void leaveTo(const std::string& next) {
        wynik = next;
        dFade = 1;
    }

    // --- the frame loop ---------------------------------------------------------
    // Runs frames until loopDone(); `behind` is the screen this one is drawn over.
    void runLoop(TEkran* behind = nullptr);
    virtual bool loopDone() const { return faded(); }
    // The screen's own controls, after the frame was presented.
    virtual void _control() {}
    // Per-frame bracket for measurements (the play screen's frame statistics).
    virtual void _frameBegin() {}
    virtual void _frameDrawn() {}
    virtual void _framePresented() {}
    // What the screen does while an overlay covers it and keeps it alive.
    virtual int updateCovered() { return 0; }

    // For overlays: the screen behind (null when none) and whether it keeps
    // animating under this one.
    TEkran* behind() const { return _behind; }
    bool keepBehindAlive = false;
    void _drawBehind();
    void _updateBehind();
    // Runs the screen as a dialog over `behind`: input left from the screen
    // behind is dropped before and after, and `openState` is the state while open.
    void runDialog(TEkran* behind, const std::string& openState);

    // The screens whose loops run now, innermost last (an overlay over its
    // screen); empty between screens.
    static const std::vector<TEkran*>& running();
    // The state of the innermost running screen that has one ("" when none).
    static std::string runningState();
    bool isRunning() const { return _inLoop; }
    // What runLoop does around its frames, for a screen whose frames are run
    // by other code (the GUI gallery): it is then found by running().
    void enterLoop(TEkran* behind = nullptr);
    void leaveLoop();

private:
    TEkran* _behind = nullptr;
    bool _inLoop = false;
};
using TEkranPtr = std::shared_ptr<TEkran>;
