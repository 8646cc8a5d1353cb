// A horizontal slider with a value from 0 to 1 (the options' volumes). A press
// on it grabs the knob; while the button is held the knob follows the mouse.
// The widget reports itself clicked on every frame its value changes.
#pragma once

#include "platform/Services.h"
#include "gui/TGuiObject.h"
#include "gui/TTheme.h"

class TSuwak : public TGuiObject {
public:
    float _value = 0;
    int _dragging = 0;
    int _changed = 0;  // the value changed this frame
    ImagePtr _knob;    // optional knob picture, mid-handled
    TThemePtr _theme;  // track colours; null draws plain boxes
    float _knobW = 16;

    TSuwak() { _class = GUI_SLIDER; }

    int setValue(float v);
    float getValue() const { return _value; }
    int updateMe(float dx, float dy) override;
    int draw(float dx, float dy) override;
};
using TSuwakPtr = std::shared_ptr<TSuwak>;

TSuwakPtr createSuwak(const std::string& name, float x, float y, float w, float h, float value);
