#include "gui/TWindow.h"

int TWindow::draw(float dx, float dy) {
    if (!dim || !_theme) return 0;
    SetBlend(ALPHABLEND);
    SetScale(1, 1);
    SetAlpha(_alpha);
    SetColor(rgb.r, rgb.g, rgb.b);
    _theme->drawFrame(dim->x + dx, dim->y + dy, dim->w, dim->h);
    SetAlpha(1);
    SetColor(255, 255, 255);
    return 0;
}

TWindowPtr createWindow(const std::string& name, const TThemePtr& theme, float x, float y, float w, float h) {
    auto win = std::make_shared<TWindow>();
    win->_id = name;
    win->_theme = theme;
    win->dim = std::make_shared<TDim>();
    win->dim->x = x;
    win->dim->y = y;
    win->dim->w = w;
    win->dim->h = h;
    win->dim->update();
    return win;
}
