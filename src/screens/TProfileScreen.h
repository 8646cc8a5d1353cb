// The profile manager's screen: the list of players (a click chooses one),
// new, rename, delete (after a confirmation) and back. Names go through the
// name entry; a name the list already holds, in any letter case, is refused
// with a notice. Deleting the last player asks for a new name at once.
// Past kRows players the list scrolls: the wheel over the list, the arrows
// and the track beside it, Page Up / Page Down; Up and Down choose the
// player above or below. Whenever the current player changes it is scrolled
// into view.
#pragma once

#include <string>

#include "app/TEkran.h"

class TProfileScreen : public TEkran {
public:
    TProfileScreen();

    static constexpr int kRows = 8;
    static constexpr int kFirstRowY = 176;
    static constexpr int kRowH = 42;
    static constexpr int kListX = 262;
    static constexpr int kListW = 480;
    // The scroll bar beside the rows: an arrow at each end, the track between.
    static constexpr int kBarX = 750;
    static constexpr int kBarW = 30;
    static constexpr int kArrowH = 30;

    // Index in the list of the first row shown.
    int top = 0;

    ImagePtr panel;
    FontPtr font, titleFont;
    std::string txt[8];

    int setup() override;
    void mainLoop(TEkran* behind);
    int update() override;
    int draw() override;
    void _control() override;
    bool loopDone() const override { return _closing && alpha == 0.0f; }

    // Index in the list of the player under a point of the game area, -1 for
    // none.
    int rowAt(int x, int y) const;
    // What the scroll bar has under a point: -1 the up arrow, 1 the down
    // arrow, -2 the track above the thumb, 2 the track below it, 0 nothing.
    // The bar is there only while the list is longer than the rows.
    int barAt(int x, int y) const;
    int maxTop() const;
    void scrollTo(int first);
    // Scrolls the least that shows the player at index i.
    void keepInView(int i);
    // Index of the current player in the list, -1 for none.
    int currentIndex() const;
    // Makes the player d places below (above, d < 0) the current one current.
    void chooseNeighbour(int d);

    void goNew();
    void goRename();
    void goDelete();

private:
    bool _setUp = false;
    bool _closing = false;
    const void* _seenCurrent = nullptr;  // the current player the view last followed
    int _lastWheel = 0;
    bool _wheelRead = false;
    void _followCurrent();
    void _drawBar();
};

TProfileScreen& profileScreen();
