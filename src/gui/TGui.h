// A screen's widgets loaded from a GUI script, and the per-frame dispatcher
// that updates and draws them and remembers what was clicked and hovered.
//
// Script format: see TGui.cpp.
#pragma once

#include <deque>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "gui/TGuiObject.h"
#include "gui/TRGMFont.h"
#include "gui/TSimpleEntry.h"
#include "gui/TSmallObject.h"
#include "gui/TTheme.h"

using TGuiTokens = std::deque<std::string>;

class TGui {
public:
    std::list<TRGMFontPtr> _fonts;
    std::list<TThemePtr> _themes;
    std::list<TGuiObjectPtr> _listaObiektow;
    std::string _clicked;
    std::string _over;
    TThemePtr _theme;
    std::string _url;
    std::string _myPath;
    int _locked = 0;
    std::string remPath;

    TGui() { clear(); }
    virtual ~TGui() = default;

    virtual int clear();
    virtual int setGuiAlpha(float alpha);
    // First widget of that name (case-blind); widgets inside containers are
    // searched after the top level.
    virtual TGuiObjectPtr getItem(const std::string& name) const;
    virtual int addItem(const TGuiObjectPtr& widget);
    virtual int clickedItem(const std::string& name);
    virtual int update();
    virtual int draw();
    virtual int reload();
    virtual int Load(const std::string& path);
    // Load's work on a script already in memory; scriptPath gives the folder
    // that relative paths start from (the file itself is not read).
    int loadFromText(const std::string& text, const std::string& scriptPath);
    virtual TSmallObjectPtr _odbierzDeklaracje(const std::string& key, const std::string& name,
                                               TGuiTokens& tokens);
    virtual TSimpleEntryPtr _createSimpleEntry(const std::string& key, const std::string& value);
    virtual int dodajObiektZlozony(const std::string& type, const std::string& name,
                                   const std::list<TSimpleEntryPtr>& entries,
                                   const std::list<TSmallObjectPtr>& blocks);
    virtual int dodajObiekt(const std::string& type, const std::string& name,
                            const std::list<TSimpleEntryPtr>& entries);
    virtual std::vector<TGuiTokens> stworzListyTokenow(const std::string& text);
    static int init(const std::string&) { return 0; }

    // Typed look-up, null when missing or of another class.
    template <class T>
    std::shared_ptr<T> get(const std::string& name) const {
        return std::dynamic_pointer_cast<T>(getItem(name));
    }

private:
    std::string _folder;  // of the loaded script: relative paths start here
    FontPtr _fontRef(const std::string& value);
    TThemePtr _themeRef(const std::string& value);
    std::string _path(const std::string& value) const;
    void _buildButton(const std::string& name, const std::list<TSimpleEntryPtr>& entries);
    void _buildMenu(struct TBelkaMenu& menu, const TSmallObject& block, const FontPtr& barFont, bool sub);
};
using TGuiPtr = std::shared_ptr<TGui>;

// Creates a GUI and loads the script when it exists; otherwise reports it and
// returns the empty GUI.
TGuiPtr loadGui(const std::string& path);
