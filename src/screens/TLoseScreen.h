// The panel shown over the half-darkened board when a level is lost: a
// message and two buttons, restart and main menu.
#pragma once

#include <memory>
#include <string>

#include "app/TEkran.h"

class TLoseScreen : public TEkran {
public:
    TLoseScreen();

    ImagePtr img;
    ImagePtr ribbonImg;  // the "Time's Up!" caption laid on the panel's ribbon
    int toExit = 0;
    std::string txtInfo;
    // The round ended because no move was left (not by the clock): no
    // "Time's Up!" ribbon, and the message says so.
    bool noMoves = false;
    std::string txtNoMoves;
    FontPtr font;

    int setup() override;
    // "RESTART" or "MAIN-MENU".
    // Runs over `behind` (the play screen, kept alive beneath), or alone.
    std::string mainLoop(TEkran* behind = nullptr);
    void prepare();
    int update() override;
    int draw() override;
    void _control() override;

    bool closing() const { return !wynik.empty(); }
    bool loopDone() const override { return closing() && alpha == 0.0f; }

private:
    bool _setUp = false;
};

extern std::shared_ptr<TLoseScreen> loseScreen;
