// Stand-in for a screen that is not built yet: fades in, shows its name and
// a list of choices; a click on a choice's row (or Enter for the first)
// leaves towards that name. Lets the whole dispatch be walked.
#pragma once

#include <string>
#include <vector>

#include "app/TEkran.h"

class TPlaceholderScreen : public TEkran {
public:
    TPlaceholderScreen(std::string name, std::vector<std::string> choices);

    std::string mainLoop();
    int update() override;
    int draw() override;
    void _control() override;

    // Row of the choice under a y position of the game area, -1 for none.
    int choiceAt(int y) const;
    const std::vector<std::string>& choices() const { return _choices; }

    static constexpr int kFirstRowY = 300;
    static constexpr int kRowHeight = 100;

private:
    std::vector<std::string> _choices;
    int _r, _g, _b;  // background, from the name
};
