#include "gui/TCursor.h"

int TCursor::draw(int x, int y) {
    if (!_img) return 0;
    SetColor(255, 255, 255);
    SetScale(1, 1);
    SetAlpha(1);
    DrawImage(_img, static_cast<float>(x), static_cast<float>(y),
              _frame > 0 && _maxFrames > 0 ? _frame : 0);
    return 0;
}

int TCursor::update() {
    if (_timeDelta <= 0 || _maxFrames <= 0) return 0;
    const int now = Millisecs();
    // Difference test so the wrap of the clock does not freeze the cursor.
    if (now - _time < 0) return 0;
    _time = now + _timeDelta;
    ++_frame;
    if (_frame > _maxFrames) _frame = 0;
    return 1;
}
