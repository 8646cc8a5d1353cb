// A menu bar: menu titles side by side; a click on a title opens its menu,
// items below it, sub-menus opening to the right when hovered. A click on an
// item reports its command id through _clickedOp and closes the menus; the
// item or title under the mouse is reported through _overOp.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "gui/TGuiSelector.h"
#include "gui/TTheme.h"

struct TBelkaMenu;

struct TBelkaItem {
    std::string command;  // reported when clicked ("" for a sub-menu)
    std::string caption;  // as shown: the script's caption with two spaces in front
    FontPtr font;
    std::shared_ptr<TBelkaMenu> sub;  // a sub-menu instead of a command
};

struct TBelkaMenu {
    std::string id;
    std::string title;
    FontPtr font;
    std::vector<TBelkaItem> items;
};
using TBelkaMenuPtr = std::shared_ptr<TBelkaMenu>;

class TBelka : public TGuiSelector {
public:
    std::vector<TBelkaMenuPtr> _menus;
    TThemePtr _theme;
    FontPtr _font;
    int _open = -1;  // index of the open top-level menu

    TBelka() { _class = GUI_BAR; }

    int addMenu(const TBelkaMenuPtr& menu);
    int closeMenus();
    int barHeight() const;
    int updateMe(float dx, float dy) override;
    int draw(float dx, float dy) override;

    // An open drop-down box (top-level menu or sub-menu) as laid out this frame.
    struct Box {
        const TBelkaMenu* menu = nullptr;
        float x = 0, y = 0, w = 0, rowH = 0;
        int hovered = -1;
    };

    // The boxes laid out by the last update or draw.
    const std::vector<Box>& boxes() const { return _boxes; }

private:
    float _titleX(size_t i) const;
    float _titleW(size_t i) const;
    void _layout(float dx, float dy);
    Box _boxFor(const TBelkaMenu& m, float x, float y) const;
    const TBelkaMenu* _nextMenu(const Box& b) const;
    std::vector<Box> _boxes;  // reused every frame, so no allocation once grown
    std::vector<int> _subPath;  // row of the open sub-menu at each depth
};
using TBelkaPtr = std::shared_ptr<TBelka>;

TBelkaPtr createBelka(const std::string& name, float x, float y, float width, const TThemePtr& theme,
                      const FontPtr& font);
