// Base of every widget: the per-frame hit test against the mouse, hover and
// click flags, keyboard shortcut, and easing of alpha and scale.
#pragma once

#include <memory>
#include <string>

#include "data/TDim.h"
#include "data/TRGB.h"

// Widget kind codes (_class).
enum GuiClass : int {
    GUI_BUTTON = 0,
    GUI_TEXTLIST = 1,
    GUI_WINDOW = 2,
    GUI_TEXT = 3,
    GUI_ANIMATION = 7,
    GUI_SLIDER = 8,
    GUI_TEXTENTRY = 9,
    GUI_BAR = 10,
    GUI_CONTROL = 11
};

class TGuiObject {
public:
    std::string _id;
    int _v = 1;  // visible
    int _a = 1;  // active
    int _class = 0;
    TDimPtr dim;  // null until the widget's creator sets it
    float _alpha = 1, _dAlpha = 1;
    float _scale = 1, _dScale = 1;
    TRGB rgb;
    float _overAdX = 0, _overAdY = 0;
    int _over = 0;
    int _clicked = 0;
    int _holded = 0;
    float wzr = 0.03f;
    int _key = 0;
    float _loadDimX = 0, _loadDimY = 0;

    TGuiObject() { clear(); }
    virtual ~TGuiObject() = default;

    virtual int move(float dx, float dy);
    virtual int setPosition(int x, int y);
    virtual int clear();
    virtual int update(float dx, float dy);
    virtual int updateClass(int dx, int dy);
    virtual int updateParams();
    virtual int wygasAlpha();
    virtual int wygasScale();
    virtual int _drawFrame();
    virtual int draw(float dx, float dy);
    virtual int setKey(int key);
    virtual int setRGB(int r, int g, int b);
    virtual int setState(int visible, int active);
    virtual int countDims() { return 0; }
    virtual int countDims2() { return 0; }

    // The subclass's per-frame behaviour, run by updateClass.
    virtual int updateMe(float /*dx*/, float /*dy*/) { return 0; }
    // Selectors (menu bars, text lists, containers) report through their own fields.
    virtual bool isSelector() const { return false; }
};
using TGuiObjectPtr = std::shared_ptr<TGuiObject>;
