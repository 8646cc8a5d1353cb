#include "gui/TBelka.h"

#include <algorithm>

#include "gui/TMouse.h"

static constexpr float kPadX = 10;  // space around a title
static constexpr float kPadY = 4;

static int lineH(const FontPtr& f) {
    SetImageFont(f);
    return TextHeight("A");
}
static int textW(const FontPtr& f, const std::string& s) {
    SetImageFont(f);
    return TextWidth(s);
}

int TBelka::addMenu(const TBelkaMenuPtr& menu) {
    if (menu) _menus.push_back(menu);
    return 0;
}

int TBelka::closeMenus() {
    _open = -1;
    _boxes.clear();
    _subPath.clear();
    return 0;
}

int TBelka::barHeight() const {
    int h = lineH(_font);
    for (const auto& m : _menus) h = std::max(h, lineH(m->font ? m->font : _font));
    return h + static_cast<int>(2 * kPadY);
}

float TBelka::_titleW(size_t i) const {
    const auto& m = *_menus[i];
    return static_cast<float>(textW(m.font ? m.font : _font, m.title)) + 2 * kPadX;
}

float TBelka::_titleX(size_t i) const {
    float x = dim ? dim->x : 0;
    for (size_t k = 0; k < i; ++k) x += _titleW(k);
    return x;
}

TBelka::Box TBelka::_boxFor(const TBelkaMenu& m, float x, float y) const {
    Box b;
    b.menu = &m;
    b.x = x;
    b.y = y;
    float w = 0, h = 0;
    for (const auto& it : m.items) {
        const FontPtr f = it.font ? it.font : _font;
        const float arrow = it.sub ? static_cast<float>(textW(f, ">")) + kPadX : 0.0f;
        w = std::max(w, static_cast<float>(textW(f, it.caption)) + arrow);
        h = std::max(h, static_cast<float>(lineH(f)));
    }
    b.w = w + 2 * kPadX;
    b.rowH = h + 2 * kPadY;
    return b;
}

// Rebuilds the chain of open boxes: the open menu, then each sub-menu on the
// remembered path. Hovering a row of a box opens its sub-menu (or closes the
// deeper ones); leaving a box for a deeper one keeps the path.
void TBelka::_layout(float dx, float dy) {
    _boxes.clear();
    if (_open < 0 || _open >= static_cast<int>(_menus.size()) || !dim) {
        _subPath.clear();
        return;
    }
    const TMouse* m = TMouse::current;
    const float bh = static_cast<float>(barHeight());
    Box b = _boxFor(*_menus[static_cast<size_t>(_open)], _titleX(static_cast<size_t>(_open)) + dx, dim->y + dy + bh);
    for (size_t depth = 0; depth < 16; ++depth) {
        const float h = b.rowH * static_cast<float>(b.menu->items.size());
        if (m && static_cast<float>(m->x) >= b.x && static_cast<float>(m->x) <= b.x + b.w &&
            static_cast<float>(m->y) >= b.y && static_cast<float>(m->y) < b.y + h) {
            const int row = static_cast<int>((static_cast<float>(m->y) - b.y) / b.rowH);
            if (row >= 0 && row < static_cast<int>(b.menu->items.size())) {
                b.hovered = row;
                _subPath.resize(depth);
                if (b.menu->items[static_cast<size_t>(row)].sub) _subPath.push_back(row);
            }
        }
        _boxes.push_back(b);
        const int row = depth < _subPath.size() ? _subPath[depth] : -1;
        if (row < 0 || row >= static_cast<int>(b.menu->items.size())) break;
        const auto& item = b.menu->items[static_cast<size_t>(row)];
        if (!item.sub) break;
        b = _boxFor(*item.sub, b.x + b.w, b.y + b.rowH * static_cast<float>(row));
    }
    if (_subPath.size() > _boxes.size()) _subPath.resize(_boxes.size());
}

int TBelka::updateMe(float dx, float dy) {
    _clickedOp.clear();
    _overOp.clear();
    const TMouse* m = TMouse::current;
    if (!dim || !m || !_v || !_a) {
        if (!_v || !_a) closeMenus();
        return 0;
    }
    const float mx = static_cast<float>(m->x), my = static_cast<float>(m->y);
    const float bh = static_cast<float>(barHeight());
    const bool pressed = m->leftPressed != 0;

    int title = -1;
    if (my >= dim->y + dy && my <= dim->y + dy + bh) {
        for (size_t i = 0; i < _menus.size(); ++i) {
            const float tx = _titleX(i) + dx;
            if (mx >= tx && mx <= tx + _titleW(i)) title = static_cast<int>(i);
        }
    }
    if (title >= 0) {
        _overOp = _menus[static_cast<size_t>(title)]->id;
        if (pressed) {
            _open = _open == title ? -1 : title;
        } else if (_open >= 0) {
            _open = title;  // sliding along the bar switches menus
        }
    }

    // Keep the deepest sub-menu under the mouse open: lay out from the last
    // frame's hovered rows, then find the box the mouse is in.
    _layout(dx, dy);
    int inBox = -1;
    for (size_t k = 0; k < _boxes.size(); ++k) {
        const Box& b = _boxes[k];
        const float h = b.rowH * static_cast<float>(b.menu->items.size());
        if (mx >= b.x && mx <= b.x + b.w && my >= b.y && my <= b.y + h) inBox = static_cast<int>(k);
    }
    if (inBox >= 0) {
        const Box& b = _boxes[static_cast<size_t>(inBox)];
        if (b.hovered >= 0) {
            const auto& item = b.menu->items[static_cast<size_t>(b.hovered)];
            _overOp = item.sub ? item.sub->id : item.command;
            if (pressed && !item.sub) {
                _clickedOp = item.command;
                closeMenus();
            }
        }
    } else if (pressed && title < 0) {
        closeMenus();  // a click elsewhere closes the menus
    }
    return 0;
}

// The sub-menu that is open beside box b, if any.
const TBelkaMenu* TBelka::_nextMenu(const Box& b) const {
    for (size_t k = 0; k + 1 < _boxes.size(); ++k) {
        if (_boxes[k].menu == b.menu) return _boxes[k + 1].menu;
    }
    return nullptr;
}

int TBelka::draw(float dx, float dy) {
    if (!dim) return 0;
    static const TTheme plain;
    const TTheme& th = _theme ? *_theme : plain;
    const float bh = static_cast<float>(barHeight());
    SetBlend(ALPHABLEND);
    SetScale(1, 1);
    SetAlpha(_alpha);
    SetColor(rgb.r, rgb.g, rgb.b);
    th.drawFrame(dim->x + dx, dim->y + dy, dim->w, bh);
    const TMouse* m = TMouse::current;
    for (size_t i = 0; i < _menus.size(); ++i) {
        const auto& menu = *_menus[i];
        const float tx = _titleX(i) + dx, tw = _titleW(i);
        const bool hot = static_cast<int>(i) == _open ||
                         (m && m->x >= tx && m->x <= tx + tw && m->y >= dim->y + dy && m->y <= dim->y + dy + bh);
        if (hot) {
            SetColor(255, 255, 255);
            th.drawBox(tx + 1, dim->y + dy + 2, tw - 2, bh - 4, th.highlight);
        }
        SetImageFont(menu.font ? menu.font : _font);
        SetColor(th.text.r, th.text.g, th.text.b);
        DrawText(menu.title, tx + kPadX, dim->y + dy + kPadY);
    }
    _layout(dx, dy);
    for (const Box& b : _boxes) {
        const float h = b.rowH * static_cast<float>(b.menu->items.size());
        SetColor(0, 0, 0);
        SetAlpha(_alpha * 0.3f);
        DrawRect(b.x + 3, b.y + 3, b.w, h);  // drop shadow
        SetAlpha(_alpha);
        SetColor(255, 255, 255);
        th.drawBox(b.x, b.y, b.w, h, th.bar);
        th.drawBox(b.x, b.y, b.w, 1, th.edge);
        th.drawBox(b.x, b.y + h - 1, b.w, 1, th.edge);
        th.drawBox(b.x, b.y, 1, h, th.edge);
        th.drawBox(b.x + b.w - 1, b.y, 1, h, th.edge);
        for (size_t r = 0; r < b.menu->items.size(); ++r) {
            const auto& item = b.menu->items[r];
            const float ry = b.y + b.rowH * static_cast<float>(r);
            if (static_cast<int>(r) == b.hovered || (item.sub && &*item.sub == _nextMenu(b))) {
                SetColor(255, 255, 255);
                th.drawBox(b.x + 2, ry + 1, b.w - 4, b.rowH - 2, th.highlight);
            }
            const FontPtr f = item.font ? item.font : _font;
            SetImageFont(f);
            SetColor(th.text.r, th.text.g, th.text.b);
            DrawText(item.caption, b.x + kPadX, ry + kPadY);
            if (item.sub) DrawText(">", b.x + b.w - kPadX - static_cast<float>(TextWidth(">")), ry + kPadY);
        }
    }
    SetColor(255, 255, 255);
    SetAlpha(1);
    return 0;
}

TBelkaPtr createBelka(const std::string& name, float x, float y, float width, const TThemePtr& theme,
                      const FontPtr& font) {
    auto b = std::make_shared<TBelka>();
    b->_id = name;
    b->_theme = theme;
    b->_font = font;
    b->dim = std::make_shared<TDim>();
    b->dim->x = x;
    b->dim->y = y;
    b->dim->w = width;
    b->dim->h = static_cast<float>(b->barHeight());
    b->dim->update();
    return b;
}
