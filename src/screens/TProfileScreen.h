// The profile manager's screen: the list of players (a click chooses one),
// new, rename, delete (after a confirmation) and back. Names go through the
// name entry; a name the list already holds, in any letter case, is refused
// with a notice. Deleting the last player asks for a new name at once.
#pragma once

#include <string>

#include "app/TEkran.h"

class TProfileScreen : public TEkran {
public:
    TProfileScreen();

    static constexpr int kRows = 8;
    static constexpr int kFirstRowY = 176;
    static constexpr int kRowH = 42;

    ImagePtr panel;
    FontPtr font, titleFont;
    std::string txt[8];

    int setup() override;
    void mainLoop(TEkran* behind);
    int update() override;
    int draw() override;
    void _control() override;
    bool loopDone() const override { return _closing && alpha == 0.0f; }

    // Row under a point of the game area, -1 for none.
    int rowAt(int x, int y) const;

    void goNew();
    void goRename();
    void goDelete();

private:
    bool _setUp = false;
    bool _closing = false;
};

TProfileScreen& profileScreen();
