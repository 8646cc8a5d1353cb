// Base of widgets that hold several clickable things (menu bars, text lists,
// containers): they report what was clicked or hovered by name through
// _clickedOp / _overOp instead of their own flags.
#pragma once

#include <string>

#include "gui/TGuiObject.h"

class TGuiSelector : public TGuiObject {
public:
    std::string _clickedOp;
    std::string _overOp;

    bool isSelector() const override { return true; }
    // Called once the GUI has reported a click, so it is reported once.
    virtual int _clean() {
        _clickedOp.clear();
        _overOp.clear();
        return 0;
    }
};
using TGuiSelectorPtr = std::shared_ptr<TGuiSelector>;
