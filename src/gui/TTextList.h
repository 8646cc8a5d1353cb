// A scrolling list of lines, one of which can be selected. Clicking a line
// selects it and reports the list's own name as clicked; hovering reports it
// as hovered. The mouse wheel scrolls while the mouse is over the list.
#pragma once

#include <string>
#include <vector>

#include "platform/Services.h"
#include "gui/TGuiSelector.h"
#include "gui/TTheme.h"

class TTextList : public TGuiSelector {
public:
    std::vector<std::string> _lines;
    int _selected = -1;  // -1: none
    int _hovered = -1;
    int _top = 0;        // first line shown
    FontPtr _font;
    TThemePtr _theme;    // frame and highlight colours; null draws plain boxes
    int _lineGap = 4;

    TTextList() { _class = GUI_TEXTLIST; }

    int addLine(const std::string& text);
    int setLines(const std::vector<std::string>& lines);
    int clearLines();
    int setSelected(int index);  // also scrolls it into view
    std::string selectedText() const;
    int rowHeight() const;
    int visibleRows() const;
    int scroll(int rows);

    int updateMe(float dx, float dy) override;
    int draw(float dx, float dy) override;

private:
    int _lastWheel = 0;
    bool _wheelRead = false;
};
using TTextListPtr = std::shared_ptr<TTextList>;

TTextListPtr createTextList(const std::string& name, float x, float y, float w, float h, const FontPtr& font);
