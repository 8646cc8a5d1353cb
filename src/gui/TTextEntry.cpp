#include "gui/TTextEntry.h"

#include "gui/GuiValues.h"

int TTextEntry::updateMe(float, float) {
    // One character a frame, taken whether the entry is shown or not.
    const int c = GetChar();
    if (c == 8) {
        guiUtf8PopBack(_txt);
    } else if (c == 13) {
        _clicked = 1;
    } else if (c >= 32 && c != 127 && static_cast<int>(guiUtf8Length(_txt)) < _maxZnakow) {
        // Control characters (escape, tab...) never become part of a name.
        guiUtf8Append(_txt, c);
    }
    const int now = Millisecs();
    if (now - _czas > 0) {
        _czas = now + _interwal;
        _trigger = _trigger ? 0 : 1;
    }
    return 0;
}

int TTextEntry::setInterwal(int ms) {
    _interwal = ms;
    return 0;
}

int TTextEntry::setTxt(const std::string& text) {
    _txt = text;
    return 0;
}

const std::string& TTextEntry::_shown() {
    const float w = dim ? dim->w : 0;
    if (_shownFor == _txt && _shownWidth == w && _shownFont == _font) return _shownText;
    _shownFor = _txt;
    _shownWidth = w;
    _shownFont = _font;
    if (static_cast<float>(TextWidth(_txt)) < w) {
        _shownText = _txt;
        return _shownText;
    }
    std::string rest = _txt;
    while (!rest.empty() && static_cast<float>(TextWidth(".." + rest)) >= w)
        rest.erase(0, guiUtf8CharLen(rest, 0));
    _shownText = ".." + rest;
    return _shownText;
}

int TTextEntry::draw(float dx, float dy) {
    if (!dim) return 0;
    SetBlend(ALPHABLEND);
    SetScale(_scale, _scale);
    SetAlpha(_alpha);
    SetColor(rgb.r, rgb.g, rgb.b);
    SetImageFont(_font);
    const std::string& s = _shown();
    const float x = dim->x + dx, y = dim->y + dy;
    DrawText(s, x, y);
    if (_trigger && _a) DrawRect(x + static_cast<float>(TextWidth(s)) + 2, y, _curWidth, _curHeight);
    SetScale(1, 1);
    SetAlpha(1);
    SetColor(255, 255, 255);
    return 0;
}

TTextEntryPtr createTextEntry(const std::string& name, const FontPtr& font, float x, float y, float width,
                              int maxChars, const TRGBPtr& colour, int flagA, int flagB) {
    auto e = std::make_shared<TTextEntry>();
    e->_id = name;
    e->_font = font;
    e->dim = std::make_shared<TDim>();
    e->dim->x = x;
    e->dim->y = y;
    SetImageFont(font);
    e->dim->h = static_cast<float>(TextHeight("A"));
    e->dim->w = width;
    e->dim->update();
    e->_maxZnakow = maxChars;
    if (colour) e->rgb = *colour;
    e->_curWidth = static_cast<float>(TextWidth("A"));
    e->_curHeight = static_cast<float>(TextHeight("A"));
    e->_trigger = 1;
    e->_czas = Millisecs() + e->_interwal;
    e->_a = flagA;
    e->_v = flagB;
    return e;
}
