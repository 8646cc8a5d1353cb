#include "dogs/TOwnerTxt.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "data/Paragraph.h"

namespace {

std::string trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// A whole number, optionally signed; false for anything else (empty, "12a",
// out of the int range).
bool wholeNumber(const std::string& s, int& out) {
    if (s.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < -1000000000L || v > 1000000000L) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

float TOwnerTxt::countHeight(const std::string& text, float width, const FontPtr& font) {
    SetScale(1, 1);
    if (font) SetImageFont(font);
    const float h = static_cast<float>(measureTextBlock(text, width, "LEFT", font));
    return h + 1.15f * static_cast<float>(TextHeight("A"));
}

void TOwnerTxt::interpretuj(const TTxtFilePtr& texts, const FontPtr& font) {
    nrLevelu = 0;
    numerLini = 0;
    txt.clear();
    rgb = TRGB{};
    badItems = 0;
    int x = kDefaultX, y = kDefaultY, width = kDefaultWidth;
    size_t start = 0;
    while (start <= wpis.size()) {
        size_t bar = wpis.find('|', start);
        if (bar == std::string::npos) bar = wpis.size();
        const std::string item = wpis.substr(start, bar - start);
        start = bar + 1;
        if (trim(item).empty()) continue;
        const size_t colon = item.find(':');
        int value = 0;
        if (colon == std::string::npos || !wholeNumber(trim(item.substr(colon + 1)), value)) {
            ++badItems;
            continue;
        }
        const std::string key = upper(trim(item.substr(0, colon)));
        if (key == "LEVEL") {
            nrLevelu = value;
        } else if (key == "TEXT") {
            numerLini = value;
        } else if (key == "WIDTH") {
            width = value;
        } else if (key == "X") {
            x = value;
        } else if (key == "Y") {
            y = value;
        } else if (key == "WHO") {
            if (value == 2)
                rgb = TRGB{0, 0, 0};
            else
                y -= 20;
        }
    }
    if (texts && numerLini >= 1 && numerLini <= texts->lines()) {
        txt = texts->txt[static_cast<size_t>(numerLini - 1)];
        while (!txt.empty() && (txt.back() == '\r' || txt.back() == '\n')) txt.pop_back();
    }
    // A bubble narrower than its padding would wrap at a negative width.
    if (width < static_cast<int>(kTextInset) + 20) width = static_cast<int>(kTextInset) + 20;
    // Measured at the width the text is drawn in (inside the padding), so
    // the bubble holds every line it shows.
    const float h = countHeight(txt, static_cast<float>(width) - kTextInset, font);
    float top = static_cast<float>(y);
    if (top + h > kBubbleFloor) top = kBubbleFloor - (h + 10);
    dim = std::make_shared<TDim>();
    dim->x = static_cast<float>(x);
    dim->y = top;
    dim->w = static_cast<float>(width);
    dim->h = h;
    dim->update();
}
