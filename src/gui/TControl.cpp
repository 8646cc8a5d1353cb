#include "gui/TControl.h"

#include "gui/GuiValues.h"

int TControl::addChild(const TGuiObjectPtr& child) {
    if (child && child.get() != this) _children.push_back(child);
    return 0;
}

TGuiObjectPtr TControl::getChild(const std::string& name) const {
    for (const auto& c : _children) {
        if (guiSameNoCase(c->_id, name)) return c;
    }
    for (const auto& c : _children) {
        if (c->_class == GUI_CONTROL) {
            if (auto f = static_cast<const TControl&>(*c).getChild(name)) return f;
        }
    }
    return nullptr;
}

int TControl::updateMe(float dx, float dy) {
    _clickedOp.clear();
    _overOp.clear();
    if (!dim) return 0;
    const float ox = dx + dim->x, oy = dy + dim->y;
    for (const auto& c : _children) {
        c->update(ox, oy);
        if (c->isSelector()) {
            auto& s = static_cast<TGuiSelector&>(*c);
            if (!s._clickedOp.empty()) _clickedOp = s._clickedOp;
            if (!s._overOp.empty()) _overOp = s._overOp;
            if (!_clickedOp.empty()) s._clean();
        } else {
            if (c->_clicked) _clickedOp = c->_id;
            if (c->_over) _overOp = c->_id;
        }
    }
    // A hidden or inactive container passes nothing on.
    if (!_v || !_a) {
        _clickedOp.clear();
        _overOp.clear();
    }
    return 0;
}

int TControl::draw(float dx, float dy) {
    if (!dim) return 0;
    for (const auto& c : _children) {
        if (c->_v) c->draw(dx + dim->x, dy + dim->y);
    }
    return 0;
}

int TControl::setGuiAlpha(float alpha) {
    for (const auto& c : _children) {
        c->_alpha = alpha;
        c->_dAlpha = alpha;
        if (c->_class == GUI_CONTROL) static_cast<TControl&>(*c).setGuiAlpha(alpha);
    }
    return 0;
}

TControlPtr createControl(const std::string& name, float x, float y, float w, float h) {
    auto c = std::make_shared<TControl>();
    c->_id = name;
    c->dim = std::make_shared<TDim>();
    c->dim->x = x;
    c->dim->y = y;
    c->dim->w = w;
    c->dim->h = h;
    c->dim->update();
    return c;
}
