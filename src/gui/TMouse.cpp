#include "gui/TMouse.h"

#include "gui/GuiGlobals.h"
#include "gui/GuiValues.h"

TMouse* TMouse::current = nullptr;
TMouse mouse;

// How long a press may last and still count as a click in press-on-release mode.
static constexpr int kTapMs = 100;

TMouse::TMouse() {
    _previous = current;
    current = this;
}

TMouse::~TMouse() {
    if (current == this) current = _previous;
}

void TMouse::_readPosition() {
    px = x;
    py = y;
    x = MouseX();
    y = MouseY();
}

int TMouse::update() {
    leftPressed = MouseHit(1);
    rightPressed = MouseHit(2);
    leftHolded = MouseDown(1) ? 1 : 0;
    rightHolded = MouseDown(2) ? 1 : 0;
    middleHit = MouseHit(3);
    middleHold = MouseDown(3) ? 1 : 0;
    _readPosition();
    vx = px - x;
    vy = py - y;
    if (cur) {
        cur->update();
    } else {
        _lastLHolded = leftHolded;
    }
    return 0;
}

int TMouse::updateSpec() {
    leftPressed = MouseHit(1);
    rightPressed = MouseHit(2);
    const bool down = MouseDown(1);
    leftHolded = down ? 1 : 0;
    rightHolded = MouseDown(2) ? 1 : 0;
    const int now = Millisecs();
    if (down) {
        leftPressed = 0;
        if (!_leftHolded) {
            _leftHolded = 1;
            _leftHoldedTime = now;
        }
        leftHolded = now - _leftHoldedTime > kTapMs ? 1 : 0;
    } else if (_leftHolded) {
        leftHolded = 0;
        _leftHolded = 0;
        if (now - _leftHoldedTime < kTapMs) leftPressed = 1;
    }
    _readPosition();
    if (guiFullScreen && guiFullScreen()) {
        int cx = x < 0 ? 0 : (x > 1023 ? 1023 : x);
        int cy = y < 0 ? 0 : (y > 767 ? 767 : y);
        if (cx != x || cy != y) {
            x = cx;
            y = cy;
            MoveMouse(x, y);
        }
    }
    vx = px - x;
    vy = py - y;
    if (cur) cur->update();
    return 0;
}

int TMouse::draw() {
    if (_v && cur) cur->draw(x, y);
    return 0;
}

int TMouse::show() {
    _v = 1;
    return 0;
}

int TMouse::hide() {
    _v = 0;
    return 0;
}

int TMouse::inRect(int rx, int ry, int w, int h) const {
    return (rx <= x && x <= rx + w && ry <= y && y <= ry + h) ? 1 : 0;
}

int TMouse::inDim(const TDim& d) const {
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    return (d.x <= fx && fx <= d.x + d.w && d.y <= fy && fy <= d.y + d.h) ? 1 : 0;
}

int TMouse::_addCursor(const TCursorPtr& c) {
    listaKursorow.push_back(c);
    cur = c;
    if (c->_img) SetImageHandle(c->_img, static_cast<float>(c->_hx), static_cast<float>(c->_hy));
    return 0;
}

int TMouse::loadCursor(const std::string& name, const ImagePtr& img, int hx, int hy, int, int) {
    auto c = std::make_shared<TCursor>();
    c->_id = name;
    c->_hx = hx;
    c->_hy = hy;
    c->_img = img;
    c->_maxFrames = 0;
    c->_timeDelta = 0;
    return _addCursor(c);
}

int TMouse::loadCursor(const std::string& name, const std::string& path, int hx, int hy, int frames,
                       int frameMs) {
    auto c = std::make_shared<TCursor>();
    c->_id = name;
    c->_hx = hx;
    c->_hy = hy;
    c->_timeDelta = frameMs;
    ImagePtr img = LoadImage(path, IMG_DEFAULT);
    if (frames < 2 || !img) {
        c->_img = img;
        c->_maxFrames = 0;
        c->_timeDelta = 0;
    } else {
        const int fw = ImageWidth(img) / frames;
        ImagePtr strip = fw > 0 ? LoadAnimImage(path, fw, ImageHeight(img), 0, frames, IMG_DEFAULT) : nullptr;
        if (strip) {
            c->_img = strip;
            c->_maxFrames = frames - 1;
        } else {
            c->_img = img;
            c->_maxFrames = 0;
            c->_timeDelta = 0;
        }
    }
    return _addCursor(c);
}

int TMouse::setCursor(const std::string& name) {
    TCursorPtr found;
    for (const auto& c : listaKursorow) {
        if (guiSameNoCase(c->_id, name)) found = c;
    }
    if (found) cur = found;
    return 0;
}

int TMouse::clear() {
    FlushMouse();
    leftPressed = 0;
    leftHolded = 0;
    rightPressed = 0;
    rightHolded = 0;
    return 0;
}
