#include "gui/TTextList.h"

#include <algorithm>

#include "gui/TMouse.h"

// Space between the frame and the rows.
static constexpr int kPad = 4;

int TTextList::addLine(const std::string& text) {
    _lines.push_back(text);
    return 0;
}

int TTextList::setLines(const std::vector<std::string>& lines) {
    _lines = lines;
    if (_selected >= static_cast<int>(_lines.size())) _selected = -1;
    scroll(0);
    return 0;
}

int TTextList::clearLines() {
    _lines.clear();
    _selected = -1;
    _hovered = -1;
    _top = 0;
    return 0;
}

int TTextList::rowHeight() const {
    SetImageFont(_font);
    return std::max(1, TextHeight("A") + _lineGap);
}

int TTextList::visibleRows() const {
    if (!dim) return 0;
    return std::max(1, (static_cast<int>(dim->h) - 2 * kPad) / rowHeight());
}

int TTextList::scroll(int rows) {
    const int maxTop = std::max(0, static_cast<int>(_lines.size()) - visibleRows());
    _top = std::clamp(_top + rows, 0, maxTop);
    return 0;
}

int TTextList::setSelected(int index) {
    if (index < 0 || index >= static_cast<int>(_lines.size())) {
        _selected = -1;
        return 0;
    }
    _selected = index;
    if (_selected < _top) _top = _selected;
    if (_selected >= _top + visibleRows()) _top = _selected - visibleRows() + 1;
    scroll(0);
    return 0;
}

std::string TTextList::selectedText() const {
    if (_selected < 0 || _selected >= static_cast<int>(_lines.size())) return "";
    return _lines[static_cast<size_t>(_selected)];
}

int TTextList::updateMe(float, float dy) {
    _clickedOp.clear();
    _overOp.clear();
    _hovered = -1;
    const int wheel = MouseZ();
    const int dz = _wheelRead ? wheel - _lastWheel : 0;
    _lastWheel = wheel;
    _wheelRead = true;
    if (!dim || !_over || !TMouse::current) return 0;
    _overOp = _id;
    if (dz != 0) scroll(-dz);
    const float rel = static_cast<float>(TMouse::current->y) - (dim->y + dy + kPad);
    const int row = rel < 0 ? -1 : static_cast<int>(rel / static_cast<float>(rowHeight()));
    const int index = _top + row;
    if (row >= 0 && row < visibleRows() && index < static_cast<int>(_lines.size())) {
        _hovered = index;
        if (_clicked) {
            _selected = index;
            _clickedOp = _id;
        }
    }
    return 0;
}

int TTextList::draw(float dx, float dy) {
    if (!dim) return 0;
    const float x = dim->x + dx, y = dim->y + dy;
    SetBlend(ALPHABLEND);
    SetScale(1, 1);
    SetAlpha(_alpha);
    SetColor(255, 255, 255);
    static const TTheme plain;
    const TTheme& th = _theme ? *_theme : plain;
    th.drawFrame(x, y, dim->w, dim->h);
    SetImageFont(_font);
    const int rh = rowHeight();
    const int rows = visibleRows();
    const bool scrollBar = static_cast<int>(_lines.size()) > rows;
    const float textW = dim->w - (scrollBar ? 10.0f : 0.0f);
    for (int r = 0; r < rows; ++r) {
        const int i = _top + r;
        if (i >= static_cast<int>(_lines.size())) break;
        const float ry = y + kPad + static_cast<float>(r * rh);
        if (i == _selected || i == _hovered) {
            SetColor(255, 255, 255);
            SetAlpha(_alpha * (i == _selected ? 1.0f : 0.5f));
            th.drawBox(x + 2, ry + 1, textW - 4, static_cast<float>(rh) - 1, th.highlight);
            SetAlpha(_alpha);
        }
        SetColor(rgb.r * th.text.r / 255, rgb.g * th.text.g / 255, rgb.b * th.text.b / 255);
        DrawText(_lines[static_cast<size_t>(i)], x + 6, ry + static_cast<float>(_lineGap / 2));
    }
    if (scrollBar) {
        const float total = static_cast<float>(_lines.size());
        const float inner = dim->h - 2 * kPad;
        const float barH = inner * static_cast<float>(rows) / total;
        const float barY = y + kPad + inner * static_cast<float>(_top) / total;
        SetColor(255, 255, 255);
        th.drawBox(x + dim->w - 8, barY + 1, 6, barH - 2, th.edge);
    }
    SetColor(255, 255, 255);
    SetAlpha(1);
    return 0;
}

TTextListPtr createTextList(const std::string& name, float x, float y, float w, float h, const FontPtr& font) {
    auto l = std::make_shared<TTextList>();
    l->_id = name;
    l->_font = font;
    l->dim = std::make_shared<TDim>();
    l->dim->x = x;
    l->dim->y = y;
    l->dim->w = w;
    l->dim->h = h;
    l->dim->update();
    return l;
}
