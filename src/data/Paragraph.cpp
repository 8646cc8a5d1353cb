#include "data/Paragraph.h"

#include <cstring>

namespace {

enum class Align { Left, Right, Center, Justify };

bool isSpace(char c) { return static_cast<unsigned char>(c) <= 32; }

bool sameWordNoCase(const std::string& s, size_t a, size_t b, const char* word) {
    size_t n = std::strlen(word);
    if (b - a != n) return false;
    for (size_t i = 0; i < n; ++i) {
        char c = s[a + i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (c != word[i]) return false;
    }
    return true;
}

Align parseAlign(const std::string& align, bool trim) {
    size_t a = 0, b = align.size();
    if (trim) {
        while (a < b && isSpace(align[a])) ++a;
        while (b > a && isSpace(align[b - 1])) --b;
    }
    if (sameWordNoCase(align, a, b, "RIGHT")) return Align::Right;
    if (sameWordNoCase(align, a, b, "CENTER")) return Align::Center;
    if (sameWordNoCase(align, a, b, "JUSTIFY")) return Align::Justify;
    return Align::Left;
}

// Paragraphs are drawn every frame, so substrings are measured through one
// reused buffer instead of new strings.
std::string& scratch() {
    static thread_local std::string s;
    return s;
}

int widthOf(const std::string& text, size_t a, size_t b) {
    std::string& s = scratch();
    s.assign(text, a, b - a);
    return TextWidth(s);
}

// Breaks text into lines no wider than width, as if one space were appended
// and the text split at every space. Calls emit(start, end, k, last) for each
// line (end may include trailing spaces) and returns the index of the last line;
// lastNotEmpty tells whether the line still open at the end held anything.
//
// Two departures from a literal word-by-word rule, both to keep a paragraph
// from gaining blank lines: a word always goes onto an empty line (so a first
// word wider than the column does not leave an empty line above it), and an
// empty word (from two spaces in a row, or the final appended space) never
// starts a new line.
template <class Emit>
int breakLines(const std::string& text, float width, Emit&& emit, bool& lastNotEmpty) {
    const size_t n = text.size();
    size_t ls = 0, le = 0;
    bool lineEmpty = true;
    int k = 0;
    size_t ws = 0;
    for (;;) {
        size_t we = ws;
        while (we < n && text[we] != ' ') ++we;
        // Word [ws, we); when we == n it is the text's last word, followed by
        // the appended space and an empty final word that only ends the loop.
        if (we > ws) {
            if (lineEmpty) {
                ls = ws;
                le = we;
                lineEmpty = false;
            } else if (static_cast<float>(widthOf(text, ls, we)) > width * 1.0f) {
                emit(ls, le, k, false);
                ++k;
                ls = ws;
                le = we;
            } else {
                le = we;
            }
        } else if (!lineEmpty) {
            le = we;
        }
        if (we >= n) break;
        ws = we + 1;
    }
    lastNotEmpty = !lineEmpty;
    if (lineEmpty) ls = le = n;
    emit(ls, le, k, true);
    return k;
}

void drawLine(const std::string& text, size_t a, size_t b, float x, float y, float width, Align align,
              bool lastLine) {
    while (a < b && isSpace(text[a])) ++a;
    while (b > a && isSpace(text[b - 1])) --b;
    if (a == b) return;
    std::string& s = scratch();
    if (align == Align::Justify && !lastLine) {
        // Words of the line; W = their widths without spaces.
        int words = 0;
        int total = 0;
        for (size_t i = a; i < b;) {
            size_t j = i;
            while (j < b && text[j] != ' ') ++j;
            if (j > i) {
                ++words;
                total += widthOf(text, i, j);
            }
            i = j + 1;
        }
        const float gap = words > 1 ? (width - static_cast<float>(total)) / static_cast<float>(words - 1) : 0.0f;
        int before = 0;
        int idx = 0;
        for (size_t i = a; i < b;) {
            size_t j = i;
            while (j < b && text[j] != ' ') ++j;
            if (j > i) {
                s.assign(text, i, j - i);
                const int w = TextWidth(s);
                DrawText(s, x + static_cast<float>(before) + gap * static_cast<float>(idx), y);
                before += w;
                ++idx;
            }
            i = j + 1;
        }
        return;
    }
    s.assign(text, a, b - a);
    float px = x;
    if (align == Align::Right) {
        px = x + width - static_cast<float>(TextWidth(s));
    } else if (align == Align::Center) {
        px = static_cast<float>(static_cast<int>(x + width / 2.0f - static_cast<float>(TextWidth(s)) / 2.0f));
    }
    DrawText(s, px, y);
}

}  // namespace

int drawTextBlock(const std::string& text, int x, int y, float width, const std::string& align,
                  const FontPtr& font, int lineGap) {
    if (font) SetImageFont(font);
    const int pitch = TextHeight("") + lineGap;
    const Align al = parseAlign(align, true);
    bool lastNotEmpty = false;
    const int k = breakLines(
        text, width,
        [&](size_t a, size_t b, int line, bool last) {
            drawLine(text, a, b, static_cast<float>(x), static_cast<float>(y + pitch * line), width, al,
                     last);
        },
        lastNotEmpty);
    return pitch * (k + 1);
}

int measureTextBlock(const std::string& text, float width, const std::string& /*align*/,
                     const FontPtr& font, int lineGap) {
    if (font) SetImageFont(font);
    const int pitch = TextHeight("") + lineGap;
    bool lastNotEmpty = false;
    const int breaks = breakLines(text, width, [](size_t, size_t, int, bool) {}, lastNotEmpty);
    return pitch * (breaks + 1) + (lastNotEmpty ? pitch : 0);
}

void drawOutlinedText(const std::string& text, int x, int y, const TRGB* outline, const TRGB* color,
                      const std::string& align) {
    const Align al = parseAlign(align, false);
    const int tw = TextWidth(text);
    int px = x;
    if (al == Align::Right) px = x - tw;
    else if (al == Align::Center) px = x - tw / 2;
    if (outline) SetColor(outline->r, outline->g, outline->b);
    else SetColor(0, 0, 0);
    const float fx = static_cast<float>(px), fy = static_cast<float>(y);
    DrawText(text, fx - 1, fy - 1);
    DrawText(text, fx + 1, fy - 1);
    DrawText(text, fx - 1, fy + 1);
    DrawText(text, fx + 1, fy + 1);
    if (color) SetColor(color->r, color->g, color->b);
    else SetColor(255, 255, 255);
    DrawText(text, fx, fy);
}
