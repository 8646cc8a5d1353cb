#include "gui/TTheme.h"

#include <algorithm>
#include <sstream>

#include "gui/GuiGlobals.h"
#include "gui/GuiValues.h"

std::list<TThemePtr> themeList;
TThemePtr lastTheme;

// Theme file format (UTF-8 or Latin-1 text, one setting a line):
//
//   # a line starting with '#' is a comment; blank lines are skipped
//   picture = frame.png        nine-slice picture, relative to the theme file
//   slices = 12 12 12 12       left, top, right, bottom borders of the picture
//   fill = 240 236 224         inside of a frame when there is no picture
//   edge = 90 70 50            one-pixel edge of a frame when there is no picture
//   text = 40 30 20            text of menus and lists drawn with the theme
//   highlight = 255 214 120    hovered or selected item
//   bar = 226 216 196          menu bars and open menus
//
// Keys are case-blind; unknown keys and malformed lines are skipped; what is
// not given keeps its default. The corners of the picture are drawn at their
// size, the edges stretched along one axis and the middle along both.
int TTheme::load(const std::string& file) {
    path = file;
    bool found = false;
    const std::string text = guiLoadText(file, &found);
    if (!found) return 0;
    loaded = 1;
    const std::string folder = guiFolderOf(file);
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        line = guiTrim(line);
        if (line.empty() || line[0] == '#') continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = guiUpper(guiTrim(line.substr(0, eq)));
        const std::string value = guiTrim(line.substr(eq + 1));
        auto colour = [&](TRGB& c) {
            const auto n = guiNumberList(value);
            c.r = std::clamp(guiListItem(n, 0, c.r), 0, 255);
            c.g = std::clamp(guiListItem(n, 1, c.g), 0, 255);
            c.b = std::clamp(guiListItem(n, 2, c.b), 0, 255);
        };
        if (key == "PICTURE") {
            _img = LoadImage(guiResolvePath(folder, value), IMG_DEFAULT);
        } else if (key == "SLICES") {
            const auto n = guiNumberList(value);
            left = std::max(0, guiListItem(n, 0, left));
            top = std::max(0, guiListItem(n, 1, top));
            right = std::max(0, guiListItem(n, 2, right));
            bottom = std::max(0, guiListItem(n, 3, bottom));
        } else if (key == "FILL") {
            colour(fill);
        } else if (key == "EDGE") {
            colour(edge);
        } else if (key == "TEXT") {
            colour(this->text);
        } else if (key == "HIGHLIGHT") {
            colour(highlight);
        } else if (key == "BAR") {
            colour(bar);
        }
    }
    if (_img) SetImageHandle(_img, 0, 0);
    return 1;
}

void TTheme::drawBox(float x, float y, float w, float h, const TRGB& c) const {
    int r, g, b;
    GetColor(r, g, b);
    SetColor(c.r * r / 255, c.g * g / 255, c.b * b / 255);
    DrawRect(x, y, w, h);
    SetColor(r, g, b);
}

void TTheme::drawFrame(float x, float y, float w, float h) const {
    if (w <= 0 || h <= 0) return;
    if (!_img) {
        drawBox(x, y, w, h, fill);
        int r, g, b;
        GetColor(r, g, b);
        SetColor(edge.r * r / 255, edge.g * g / 255, edge.b * b / 255);
        DrawRect(x, y, w, 1);
        DrawRect(x, y + h - 1, w, 1);
        DrawRect(x, y, 1, h);
        DrawRect(x + w - 1, y, 1, h);
        SetColor(r, g, b);
        return;
    }
    const float iw = static_cast<float>(_img->width), ih = static_cast<float>(_img->height);
    float l = static_cast<float>(left), t = static_cast<float>(top);
    float rr = static_cast<float>(right), bb = static_cast<float>(bottom);
    // Borders wider than the picture or the frame shrink to fit.
    if (l + rr > iw) l = rr = iw / 2;
    if (t + bb > ih) t = bb = ih / 2;
    float dl = l, dr = rr, dt = t, db = bb;
    if (dl + dr > w) dl = dr = w / 2;
    if (dt + db > h) dt = db = h / 2;
    const float sx[3] = {0, l, iw - rr}, sw[3] = {l, iw - l - rr, rr};
    const float sy[3] = {0, t, ih - bb}, sh[3] = {t, ih - t - bb, bb};
    const float dx[3] = {x, x + dl, x + w - dr}, dw[3] = {dl, w - dl - dr, dr};
    const float dy[3] = {y, y + dt, y + h - db}, dh[3] = {dt, h - dt - db, db};
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            if (sw[i] <= 0 || sh[j] <= 0 || dw[i] <= 0 || dh[j] <= 0) continue;
            DrawSubImageRect(_img, dx[i], dy[j], dw[i], dh[j], sx[i], sy[j], sw[i], sh[j], 0, 0, 0);
        }
    }
}

TThemePtr createTheme(const std::string& name, const std::string& file) {
    auto t = std::make_shared<TTheme>();
    t->_id = guiUpper(name);
    if (!t->load(file)) errorNotice("Nie moge wczytac pliku tematu : " + file);
    themeList.push_back(t);
    lastTheme = t;
    return t;
}

TThemePtr findTheme(const std::list<TThemePtr>& list, const std::string& name) {
    for (const auto& t : list) {
        if (t && guiSameNoCase(t->_id, name)) return t;
    }
    return nullptr;
}

TThemePtr findTheme(const std::string& name) { return findTheme(themeList, name); }
