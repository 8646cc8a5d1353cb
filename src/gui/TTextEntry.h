// A one-line text input with a blinking cursor.
#pragma once

#include <string>

#include "platform/Services.h"
#include "gui/TGuiObject.h"

class TTextEntry : public TGuiObject {
public:
    std::string _txt;
    FontPtr _font;
    int _maxZnakow = 10;  // characters (code points)
    float _curWidth = 0, _curHeight = 0;
    int _czas = 0;  // next blink
    int _trigger = 0;
    int _interwal = 300;

    TTextEntry() { _class = GUI_TEXTENTRY; }

    int updateMe(float dx, float dy) override;
    int draw(float dx, float dy) override;
    int setInterwal(int ms);
    std::string getTxt() const { return _txt; }
    int setTxt(const std::string& text);

private:
    // What draw shows: the text, or ".." and its end when it is too wide.
    // Recomputed only when the text or the width changes.
    const std::string& _shown();
    std::string _shownFor, _shownText;
    float _shownWidth = -1;
    FontPtr _shownFont;
};
using TTextEntryPtr = std::shared_ptr<TTextEntry>;

// flagA becomes the active flag, flagB the visible flag.
TTextEntryPtr createTextEntry(const std::string& name, const FontPtr& font, float x, float y, float width,
                              int maxChars, const TRGBPtr& colour, int flagA, int flagB);
