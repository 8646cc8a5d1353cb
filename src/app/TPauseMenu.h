// The small menu the play screen opens from its MENU button: resume, restart
// the level or go to the main menu. Drawn over the frozen play screen; answers
// "RESUME", "RESTART" or "MAIN-MENU" as the options overlay will.
#pragma once

#include <string>

#include "app/TEkran.h"

class TPauseMenu : public TEkran {
public:
    TPauseMenu();
    int setup() override;
    // Runs over `under` (drawn each frame beneath the menu) until a choice.
    // lose = true: the stand-in lose screen (restart or main menu, no resume).
    std::string mainLoop(TEkran* under, bool lose = false);
    bool running() const { return _under != nullptr; }
    bool loseMode() const { return _lose; }
    int update() override;
    int draw() override;

    ImagePtr panel;
    FontPtr titleFont, textFont;
    std::string txtTitle, txtLose, txtLoseTitle;

private:
    TEkran* _under = nullptr;
    std::string _answer;
    bool _setUp = false;
    bool _lose = false;
};
