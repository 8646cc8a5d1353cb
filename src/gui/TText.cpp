#include "gui/TText.h"

#include "data/Paragraph.h"
#include "gui/GuiValues.h"

int TText::setAlign(const std::string& name) {
    const std::string u = guiUpper(guiTrim(name));
    if (u == "LEFT") {
        _align = ALIGN_LEFT;
    } else if (u == "RIGHT") {
        _align = ALIGN_RIGHT;
    } else if (u == "CENTER") {
        _align = ALIGN_CENTER;
    } else if (u == "JUSTIFY") {
        _align = ALIGN_JUSTIFY;
    }
    return 0;
}

const char* TText::alignName() const {
    switch (_align) {
        case ALIGN_RIGHT:
            return "RIGHT";
        case ALIGN_CENTER:
            return "CENTER";
        case ALIGN_JUSTIFY:
            return "JUSTIFY";
        default:
            return "LEFT";
    }
}

// The height draw() will report: the paragraph broken the same way (a word
// that does not fit starts a new line), one line pitch a line.
int TText::countH() {
    const float w = dim ? dim->w : 0;
    SetImageFont(_font);
    const int pitch = TextHeight("A") + static_cast<int>(_adh);
    int breaks = 0;
    std::string line, word;
    const std::string text = _txt + " ";
    for (char c : text) {
        if (c != ' ') {
            word += c;
            continue;
        }
        const std::string candidate = line + " " + word;
        if (static_cast<float>(TextWidth(candidate)) > w) {
            ++breaks;
            line = word;
        } else {
            line = line.empty() ? word : candidate;
        }
        word.clear();
    }
    return pitch * (breaks + 1);
}

int TText::draw(float dx, float dy) {
    if (!dim || _alpha == 0) return 0;
    SetBlend(ALPHABLEND);
    SetAlpha(_alpha);
    SetScale(_scale, _scale);
    const int x = static_cast<int>(dim->x + dx);
    // Centred text sits one pixel lower.
    const int y = static_cast<int>(dim->y + dy) + (_align == ALIGN_CENTER ? 1 : 0);
    const char* align = alignName();
    if (_shadow && shRGB) {
        SetColor(shRGB->r, shRGB->g, shRGB->b);
        drawTextBlock(_txt, x + 1, y + 1, dim->w, align, _font, static_cast<int>(_adh));
    }
    SetColor(rgb.r, rgb.g, rgb.b);
    dim->h = static_cast<float>(drawTextBlock(_txt, x, y, dim->w, align, _font, static_cast<int>(_adh)));
    SetScale(1, 1);
    SetAlpha(1);
    SetColor(255, 255, 255);
    return 0;
}

std::string TText::odczytajTekst(const std::string& reference) { return guiReadText(reference, ""); }

TTextPtr createText(const std::string& name, const std::string& text, float x, float y, float width,
                    const FontPtr& font, const std::string& align, int visible, int active) {
    auto t = std::make_shared<TText>();
    t->_id = name;
    t->_txt = text;
    t->dim = std::make_shared<TDim>();
    t->dim->x = static_cast<float>(static_cast<int>(x));
    t->dim->y = static_cast<float>(static_cast<int>(y));
    t->dim->w = width;
    t->_font = font;
    t->_align = ALIGN_LEFT;
    t->setAlign(align);
    t->rgb = TRGB();
    t->_v = visible;
    t->_a = active;
    // Labels are not meant to be clicked: their hit corners stay unset.
    t->dim->h = static_cast<float>(t->countH());
    return t;
}
