// Screen base: name, result, content alpha and black fade moving towards their
// targets, an optional GUI layout and the state string of the screen's own
// state machine.
//
// A screen's loop (see TPlaceholderScreen for a small complete one):
//   prepare: fade = 1, dFade = 0, alpha = 0, dAlpha = 1 (fade in from black)
//   each frame: Cls(); update() (starts with frameUpdate(0)); draw() (ends
//   with _drawFade()); frameFlip(0); the screen's control handlers
//   to leave: wynik = next name; dFade = 1; the loop ends once faded()
#pragma once

#include <memory>
#include <string>

#include "app/services/Services.h"

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
};
using TEkranPtr = std::shared_ptr<TEkran>;
