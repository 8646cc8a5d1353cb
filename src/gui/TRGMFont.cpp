#include "gui/TRGMFont.h"

#include "gui/GuiGlobals.h"
#include "gui/GuiValues.h"

std::list<TRGMFontPtr> fontList;

TRGMFontPtr createFont(const std::string& name, const std::string& path, int size, int style) {
    FontPtr f = guiLoadFont(path, size, style);
    if (!f) return nullptr;
    auto r = std::make_shared<TRGMFont>();
    r->_id = name;
    r->path = path;
    r->size = size;
    r->style = style;
    r->font = f;
    fontList.push_back(r);
    return r;
}

TRGMFontPtr findFont(const std::list<TRGMFontPtr>& list, const std::string& name) {
    for (const auto& f : list) {
        if (f && guiSameNoCase(f->_id, name)) return f;
    }
    return nullptr;
}
