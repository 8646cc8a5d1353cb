#include "gui/TGuiObject.h"

#include "platform/Services.h"
#include "gui/TMouse.h"

int TGuiObject::move(float dx, float dy) {
    if (!dim) return 0;
    dim->x += dx;
    dim->x1 += dx;
    dim->x2 += dx;
    dim->y += dy;
    dim->y1 += dy;
    dim->y2 += dy;
    return 0;
}

int TGuiObject::setPosition(int x, int y) {
    if (!dim) return 0;
    // Whole pixels only: the fraction of the old position is kept.
    move(static_cast<float>(static_cast<int>(static_cast<float>(x) - dim->x)),
         static_cast<float>(static_cast<int>(static_cast<float>(y) - dim->y)));
    return 0;
}

int TGuiObject::clear() {
    _v = 1;
    _a = 1;
    _over = 0;
    _clicked = 0;
    return 0;
}

int TGuiObject::update(float dx, float dy) {
    if (!dim) return 0;
    const TMouse* m = TMouse::current;
    if (_v && _a && m) {
        const float mx = static_cast<float>(m->x), my = static_cast<float>(m->y);
        if (dim->x1 + dx - _overAdX <= mx && mx <= dim->x2 + dx + _overAdX && dim->y1 + dy - _overAdY <= my &&
            my <= dim->y2 + dy + _overAdY) {
            _over = 1;
            _clicked = m->leftPressed != 0 ? 1 : 0;
            _holded = m->leftHolded != 0 ? 1 : 0;
        } else {
            _over = 0;
            _clicked = 0;
        }
    } else {
        _over = 0;
        _clicked = 0;
    }
    // The shortcut works even for an invisible widget, as long as it is active.
    if (_a && _key != 0 && KeyHit(_key) > 0) {
        _clicked = 1;
        _over = 1;
    }
    updateClass(static_cast<int>(dx), static_cast<int>(dy));
    updateParams();
    return 0;
}

int TGuiObject::updateClass(int dx, int dy) {
    updateMe(static_cast<float>(dx), static_cast<float>(dy));
    return 0;
}

static void approach(float& v, float target, float step) {
    if (v > target) {
        v -= step;
        if (v < target) v = target;
    } else if (v < target) {
        v += step;
        if (v > target) v = target;
    }
}

int TGuiObject::updateParams() {
    const float step = wzr * frameDelta;
    approach(_scale, _dScale, step);
    approach(_alpha, _dAlpha, step);
    return 0;
}

int TGuiObject::wygasAlpha() {
    _dAlpha = 0;
    return 0;
}

int TGuiObject::wygasScale() {
    _dScale = 0;
    return 0;
}

int TGuiObject::_drawFrame() {
    SetColor(255, 0, 0);
    SetAlpha(1);
    SetScale(1, 1);
    if (dim) {
        DrawLine(dim->x1, dim->y1, dim->x2, dim->y1);
        DrawLine(dim->x2, dim->y1, dim->x2, dim->y2);
        DrawLine(dim->x2, dim->y2, dim->x1, dim->y2);
        DrawLine(dim->x1, dim->y2, dim->x1, dim->y1);
    }
    SetColor(255, 255, 255);
    return 0;
}

int TGuiObject::draw(float, float) { return 0; }

int TGuiObject::setKey(int key) {
    _key = key;
    return 0;
}

int TGuiObject::setRGB(int r, int g, int b) {
    rgb.r = r;
    rgb.g = g;
    rgb.b = b;
    return 0;
}

int TGuiObject::setState(int visible, int active) {
    _v = visible;
    _a = active;
    return 0;
}
