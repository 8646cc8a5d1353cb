// A text label laid out as a wrapped, aligned paragraph.
#pragma once

#include <string>

#include "platform/Services.h"
#include "gui/TGuiObject.h"

enum TextAlign : int { ALIGN_RIGHT = 0, ALIGN_LEFT = 1, ALIGN_CENTER = 2, ALIGN_JUSTIFY = 3 };

class TText : public TGuiObject {
public:
    int _align = ALIGN_LEFT;
    std::string _txt;
    float _adh = 0;  // extra space between lines
    float _adW = 0;
    FontPtr _font;
    int _shadow = 0;
    TRGBPtr shRGB;

    TText() { _class = GUI_TEXT; }

    // "LEFT", "RIGHT", "CENTER", "JUSTIFY" in any case; other names change nothing.
    int setAlign(const std::string& name);
    int countH();
    int draw(float dx, float dy) override;
    int updateMe(float, float) override { return 0; }

    // The text of a "[path|n]" reference (relative paths from the data folder).
    static std::string odczytajTekst(const std::string& reference);
    const char* alignName() const;
};
using TTextPtr = std::shared_ptr<TText>;

TTextPtr createText(const std::string& name, const std::string& text, float x, float y, float width,
                    const FontPtr& font, const std::string& align, int visible, int active);
