#include "gui/TSuwak.h"

#include <algorithm>

#include "gui/TMouse.h"

int TSuwak::setValue(float v) {
    _value = std::clamp(v, 0.0f, 1.0f);
    return 0;
}

int TSuwak::updateMe(float dx, float) {
    _changed = 0;
    const TMouse* m = TMouse::current;
    if (!dim || !m) return 0;
    if (_clicked && _over) _dragging = 1;
    if (!_a || !_v || (!m->leftHolded && !m->leftPressed && !_clicked)) _dragging = 0;
    if (_dragging) {
        const float track = dim->w - _knobW;
        const float left = dim->x + dx + _knobW / 2;
        const float v = track > 0 ? (static_cast<float>(m->x) - left) / track : 0.0f;
        const float old = _value;
        setValue(v);
        _changed = _value != old ? 1 : 0;
    }
    _clicked = (_clicked || _changed) ? 1 : 0;
    return 0;
}

int TSuwak::draw(float dx, float dy) {
    if (!dim) return 0;
    const float x = dim->x + dx, y = dim->y + dy;
    static const TTheme plain;
    const TTheme& th = _theme ? *_theme : plain;
    SetBlend(ALPHABLEND);
    SetScale(1, 1);
    SetAlpha(_alpha);
    SetColor(255, 255, 255);
    const float trackH = std::max(4.0f, dim->h / 4);
    const float ty = y + (dim->h - trackH) / 2;
    th.drawFrame(x, ty, dim->w, trackH);
    const float kx = x + _knobW / 2 + (dim->w - _knobW) * _value;
    SetColor(rgb.r, rgb.g, rgb.b);
    th.drawBox(x + 1, ty + 1, std::max(0.0f, kx - x - 1), trackH - 2, th.highlight);
    SetColor(255, 255, 255);
    if (_knob) {
        DrawImage(_knob, kx, y + dim->h / 2, 0);
    } else {
        const float kh = dim->h;
        th.drawBox(kx - _knobW / 2, y, _knobW, kh, th.edge);
        th.drawBox(kx - _knobW / 2 + 2, y + 2, _knobW - 4, kh - 4, _over || _dragging ? th.highlight : th.bar);
    }
    SetAlpha(1);
    return 0;
}

TSuwakPtr createSuwak(const std::string& name, float x, float y, float w, float h, float value) {
    auto s = std::make_shared<TSuwak>();
    s->_id = name;
    s->dim = std::make_shared<TDim>();
    s->dim->x = x;
    s->dim->y = y;
    s->dim->w = w;
    s->dim->h = h;
    s->dim->update();
    s->_knobW = std::min(16.0f, w);
    s->setValue(value);
    return s;
}
