// The small menu the play screen opens from its MENU button: resume, restart
// the level or go to the main menu. An overlay drawn over the frozen play
// screen; answers "RESUME", "RESTART" or "MAIN-MENU" as the options overlay
// will.
#pragma once

#include <string>

#include "app/TEkran.h"

class TPauseMenu : public TEkran {
public:
    TPauseMenu();
    int setup() override;
    // Runs over `under` (drawn each frame beneath the menu) until a choice.
    std::string mainLoop(TEkran* under);
    int update() override;
    int draw() override;
    void _control() override;
    bool loopDone() const override { return _closing && alpha == 0.0f; }

    ImagePtr panel;
    FontPtr titleFont;
    std::string txtTitle;

private:
    std::string _answer;
    bool _setUp = false;
    bool _closing = false;
};
