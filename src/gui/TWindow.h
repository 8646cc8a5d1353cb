// A window frame drawn with a theme at the widget's rectangle, colour and alpha.
#pragma once

#include "gui/TGuiObject.h"
#include "gui/TTheme.h"

class TWindow : public TGuiObject {
public:
    TThemePtr _theme;

    TWindow() { _class = GUI_WINDOW; }
    int draw(float dx, float dy) override;
};
using TWindowPtr = std::shared_ptr<TWindow>;

TWindowPtr createWindow(const std::string& name, const TThemePtr& theme, float x, float y, float w, float h);
