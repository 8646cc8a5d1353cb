// A container: its children are positioned relative to it, move with it, and
// report their clicks and hovers through it (later children win).
#pragma once

#include <list>

#include "gui/TGuiSelector.h"

class TControl : public TGuiSelector {
public:
    std::list<TGuiObjectPtr> _children;

    TControl() { _class = GUI_CONTROL; }
    int addChild(const TGuiObjectPtr& child);
    TGuiObjectPtr getChild(const std::string& name) const;  // case-blind, also in nested containers
    int updateMe(float dx, float dy) override;
    int draw(float dx, float dy) override;
    int setGuiAlpha(float alpha);
};
using TControlPtr = std::shared_ptr<TControl>;

TControlPtr createControl(const std::string& name, float x, float y, float w, float h);
