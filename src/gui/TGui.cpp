// GUI scripts.
//
// A script is a run of declarations:   TYPE name { KEY = value KEY = value ... }
// Tokens are separated by spaces, tabs and line feeds; double quotes group a
// value with spaces ("10 20") and are never part of a token; there are no
// comments. Type keywords and keys are case-blind; values are used as
// written. Relative paths (pictures, fonts, theme files, and text references
// "[txt/file.txt|n]") are resolved against the script's folder; a text
// reference not found there is read as given (from the data folder).
//
// The types of the game's toolkit:
//   BUTTON TEXT ANIM WINDOW TEXTENTRY BAR FONT THEME
// Our own widget kinds:
//   TEXTLIST name { POSITION = "x y w h"  FONT = f  RGB = "r g b"  THEME = t
//                   ITEMS = "line|line|..."  VISIBLE = TRUE  ACTIVE = TRUE }
//       a scrolling, selectable list; clicking a line selects it and reports
//       the list's name as clicked (read _selected / selectedText()).
//   SUWAK name { POSITION = "x y w [h]"  VALUE = 0.5  GFX = knob.png  THEME = t
//                RGB = "r g b"  VISIBLE = TRUE  ACTIVE = TRUE }
//       a horizontal slider with a value 0..1, reported clicked while it changes.
//   CONTROL name { POSITION = "x y [w h]"  CHILDREN = "a b c"  VISIBLE  ACTIVE }
//       a container: the widgets named in CHILDREN (declared earlier in the
//       script) move into it, their positions become relative to it, and their
//       clicks are reported under their own names.
// Extra keys of ours: KEY = virtual-key code (a shortcut) on every widget;
// DIR = "H" or "V" on ANIM; STYLE = n on FONT (default 4, smooth).
#include "gui/TGui.h"

#include <algorithm>

#include "gui/GuiGlobals.h"
#include "gui/GuiValues.h"
#include "gui/TBelka.h"
#include "gui/TButton.h"
#include "gui/TControl.h"
#include "gui/TMouse.h"
#include "gui/TRGMAnimation.h"
#include "gui/TSuwak.h"
#include "gui/TText.h"
#include "gui/TTextEntry.h"
#include "gui/TTextList.h"
#include "gui/TWindow.h"

int TGui::clear() {
    _listaObiektow = std::list<TGuiObjectPtr>();
    _clicked.clear();
    _over.clear();
    return 0;
}

int TGui::setGuiAlpha(float alpha) {
    for (const auto& w : _listaObiektow) {
        w->_alpha = alpha;
        w->_dAlpha = alpha;
        if (w->_class == GUI_CONTROL) static_cast<TControl&>(*w).setGuiAlpha(alpha);
    }
    return 0;
}

TGuiObjectPtr TGui::getItem(const std::string& name) const {
    for (const auto& w : _listaObiektow) {
        if (guiSameNoCase(w->_id, name)) return w;
    }
    for (const auto& w : _listaObiektow) {
        if (w->_class == GUI_CONTROL) {
            if (auto c = static_cast<const TControl&>(*w).getChild(name)) return c;
        }
    }
    return nullptr;
}

int TGui::addItem(const TGuiObjectPtr& widget) {
    if (widget) _listaObiektow.push_back(widget);
    return 0;
}

int TGui::clickedItem(const std::string& name) {
    if (!guiSameNoCase(_clicked, name)) return 0;
    if (guiClickSound) guiClickSound();
    return 1;
}

int TGui::update() {
    _clicked.clear();
    _over.clear();
    for (const auto& w : _listaObiektow) {
        w->update(0, 0);
        if (w->isSelector()) {
            auto& s = static_cast<TGuiSelector&>(*w);
            if (!s._clickedOp.empty()) _clicked = s._clickedOp;
            if (!s._overOp.empty()) _over = s._overOp;
            if (!_clicked.empty()) s._clean();
        } else {
            if (w->_clicked) _clicked = w->_id;
            if (w->_over) _over = w->_id;
        }
    }
    if (_locked) {
        _clicked.clear();
        _over.clear();
    }
    // Developer reload: left Control + L rebuilds the widgets from disk.
    if (KeyDown(162) && KeyHit(76) > 0) reload();
    return 0;
}

int TGui::draw() {
    for (const auto& w : _listaObiektow) {
        if (w->_v) w->draw(0, 0);
    }
    return 0;
}

int TGui::reload() { return Load(_myPath); }

std::vector<TGuiTokens> TGui::stworzListyTokenow(const std::string& text) {
    // First pass: characters into tokens.
    std::vector<std::string> tokens;
    std::string curr;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\n')) {
            tokens.push_back(guiTrim(curr));
            curr.clear();
        } else {
            curr += c;
        }
    }
    if (!guiTrim(curr).empty()) tokens.push_back(guiTrim(curr));

    // Second pass: tokens into declarations by brace depth.
    std::vector<TGuiTokens> decls;
    TGuiTokens decl;
    int depth = 0;
    for (auto& t : tokens) {
        if (t.empty()) continue;
        if (t == "{") {
            ++depth;
            decl.push_back(std::move(t));
        } else if (t == "}") {
            if (depth == 1) {
                depth = 0;
                decls.push_back(std::move(decl));
                decl = TGuiTokens();
            } else {
                --depth;
                decl.push_back(std::move(t));
            }
        } else {
            decl.push_back(std::move(t));
        }
    }
    if (!decl.empty()) decls.push_back(std::move(decl));
    return decls;
}

TSimpleEntryPtr TGui::_createSimpleEntry(const std::string& key, const std::string& value) {
    auto e = std::make_shared<TSimpleEntry>();
    e->_typ = key;
    e->_value = value;
    return e;
}

TSmallObjectPtr TGui::_odbierzDeklaracje(const std::string& key, const std::string& name, TGuiTokens& tokens) {
    auto obj = std::make_shared<TSmallObject>();
    obj->_typ = key;
    obj->_name = name;
    if (!tokens.empty()) tokens.pop_front();  // its "{"
    int count = 0;
    bool expectValue = false;
    std::string pendingKey;
    while (!tokens.empty()) {
        std::string t = std::move(tokens.front());
        tokens.pop_front();
        if (t == "}") return obj;
        ++count;
        if (count == 1) {
            pendingKey = std::move(t);
        } else if (count == 2) {
            if (t == "=") {
                expectValue = true;
            } else {
                TSmallObjectPtr sub = _odbierzDeklaracje(pendingKey, t, tokens);
                if (!sub) return nullptr;
                obj->_tokeny.push_back(sub);
                count = 0;
            }
        } else {
            if (expectValue) obj->_tokeny.push_back(_createSimpleEntry(pendingKey, t));
            expectValue = false;
            count = 0;
        }
    }
    return nullptr;  // no closing "}": the block is lost
}

int TGui::Load(const std::string& path) {
    bool found = false;
    const std::string text = guiLoadText(guiAbsolutePath(path), &found);
    return loadFromText(text, path);
}

int TGui::loadFromText(const std::string& text, const std::string& path) {
    remPath = guiAbsolutePath(".");
    _listaObiektow = std::list<TGuiObjectPtr>();
    _myPath = guiAbsolutePath(path);
    std::vector<TGuiTokens> decls = stworzListyTokenow(text);
    // The script's folder takes the place of the current folder while the
    // declarations are built; the process's current folder is not touched.
    _folder = guiFolderOf(_myPath);
    for (TGuiTokens& d : decls) {
        if (d.empty()) continue;
        const std::string type = guiUpper(d.front());
        d.pop_front();
        std::string name;
        if (!d.empty()) {
            name = std::move(d.front());
            d.pop_front();
        }
        if (!d.empty()) d.pop_front();  // the "{", unread
        const bool bar = type == "BAR";
        std::list<TSimpleEntryPtr> entries;
        std::list<TSmallObjectPtr> blocks;
        while (!d.empty()) {
            std::string key = std::move(d.front());
            d.pop_front();
            if (d.empty()) break;
            std::string mid = std::move(d.front());
            d.pop_front();
            if (mid == "=") {
                if (d.empty()) break;
                entries.push_back(_createSimpleEntry(key, d.front()));
                d.pop_front();
            } else if (bar) {
                if (auto block = _odbierzDeklaracje(key, mid, d)) blocks.push_back(block);
            } else {
                errorNotice("Nieprawidlowy wpis :" + mid);
                if (d.empty()) break;
                entries.push_back(_createSimpleEntry(key, d.front()));
                d.pop_front();
            }
        }
        if (bar) {
            dodajObiektZlozony(type, name, entries, blocks);
        } else {
            dodajObiekt(type, name, entries);
        }
    }
    _folder.clear();
    return 0;
}

std::string TGui::_path(const std::string& value) const { return guiResolvePath(_folder, value); }

FontPtr TGui::_fontRef(const std::string& value) {
    if (auto f = findFont(_fonts, value)) return f->font;
    errorNotice("Nie znaleziono czcionki : " + value);
    return nullptr;
}

// A theme by name: this script's first, then every theme, then the last made.
TThemePtr TGui::_themeRef(const std::string& value) {
    if (auto t = findTheme(_themes, value)) return t;
    if (auto t = findTheme(themeList, value)) return t;
    return lastTheme;
}

static int widgetKey(const std::list<TSimpleEntryPtr>& entries) {
    int key = 0;
    for (const auto& e : entries) {
        if (guiUpper(e->_typ) == "KEY") key = guiReadInt(e->_value);
    }
    return key;
}

void TGui::_buildButton(const std::string& name, const std::list<TSimpleEntryPtr>& entries) {
    std::string typ = "SIMPLE_BUTTON", gfx, schema, txt;
    int x = 0, y = 0, overX = 0, overY = 0, adX = 0, adY = 0, dir = 0;
    int visible = 1, active = 1;
    FontPtr font;
    TRGBPtr colour = createRGB(255, 255, 255), outline = createRGB(255, 255, 255);
    for (const auto& e : entries) {
        const std::string key = guiUpper(e->_typ);
        const std::string& v = e->_value;
        if (key == "TYP") {
            typ = v;
        } else if (key == "POSITION") {
            const auto n = guiNumberList(v);
            x = guiListItem(n, 0, 0);
            y = guiListItem(n, 1, 0);
        } else if (key == "GFX") {
            gfx = _path(v);
        } else if (key == "SCHEMAT") {
            schema = v;
        } else if (key == "DIR") {
            dir = v == "H" ? 0 : 1;
        } else if (key == "TXT") {
            txt = guiReadText(v, _folder);
        } else if (key == "FONT") {
            font = _fontRef(v);
        } else if (key == "RGB") {
            colour = guiReadColour(v);
        } else if (key == "OUTLINE") {
            outline = guiUpper(v) == "NONE" ? nullptr : guiReadColour(v);
        } else if (key == "OVERAD") {
            const auto n = guiNumberList(v);
            overX = guiListItem(n, 0, 0);
            overY = guiListItem(n, 1, 0);
        } else if (key == "ADDDIM") {
            const auto n = guiNumberList(v);
            adX = guiListItem(n, 0, 0);
            adY = guiListItem(n, 1, 0);
        } else if (key == "VISIBLE") {
            visible = guiReadFlag(v);
        } else if (key == "ACTIVE") {
            active = guiReadFlag(v);
        }
    }
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    TButtonPtr b;
    if (typ == "SIMPLE_BUTTON") {
        b = createSimpleButton(name, gfx, fx, fy, visible, active);
    } else if (typ == "ANIM_BUTTON") {
        b = createAnimButton(name, gfx, fx, fy, schema, dir, visible, active);
    } else if (typ == "BLEND_BUTTON") {
        b = createBlendButton(name, gfx, fx, fy, dir, visible, active);
    } else if (typ == "FSTEP_BUTTON") {
        b = createFStepButton(name, gfx, fx, fy, 0, visible, active);
    } else if (typ == "FSTEP_BLEND_BUTTON") {
        b = createFStepBlendButton(name, gfx, fx, fy, 0, visible, active);
    } else if (typ == "TEXT_BUTTON") {
        b = createTextButton(name, txt, font, fx, fy, colour, outline, visible, active, static_cast<float>(overX),
                             static_cast<float>(overY));
    } else if (typ == "TEXT_SPEC_BUTTON1") {
        b = createTextSpecButton1(name, txt, font, fx, fy, colour, outline, visible, active);
    } else if (typ == "TEXT_SPEC_BUTTON2") {
        b = createTextSpecButton2(name, gfx, txt, font, fx, fy, colour, outline, visible, active, adX, adY);
    } else {
        errorNotice("Unknown button type : '" + typ + "' !");
        return;
    }
    b->setKey(widgetKey(entries));
    addItem(b);
}

int TGui::dodajObiekt(const std::string& type, const std::string& name,
                      const std::list<TSimpleEntryPtr>& entries) {
    auto keyOf = [](const TSimpleEntryPtr& e) { return guiUpper(e->_typ); };
    if (type == "BUTTON") {
        _buildButton(name, entries);
    } else if (type == "FONT") {
        std::string url;
        int size = 12, style = 4;
        for (const auto& e : entries) {
            const std::string key = keyOf(e);
            if (key == "URL") {
                const std::string p = _path(e->_value);
                if (guiLoadFont(p, 12, 4)) {
                    url = p;
                } else {
                    errorNotice("Nie moge znalezc czcionki : " + p + "  fileType = " +
                                std::to_string(guiFileType(p)) + "  filePath : " + guiAbsolutePath(p));
                }
            } else if (key == "SIZE") {
                size = guiReadInt(e->_value);
            } else if (key == "STYLE") {
                style = guiReadInt(e->_value);
            }
        }
        if (url.empty()) {
            errorNotice("Nie podano scierzki do czcionki.");
            return 0;
        }
        auto f = std::make_shared<TRGMFont>();
        f->_id = name;
        f->path = url;
        f->size = size;
        f->style = style;
        f->font = guiLoadFont(url, size, style);
        _fonts.push_back(f);
    } else if (type == "THEME") {
        bool made = false;
        for (const auto& e : entries) {
            if (keyOf(e) == "URL" && !made) {
                _themes.push_back(createTheme(name, _path(e->_value)));
                made = true;
            }
        }
        if (!made) errorNotice("No path for theme file!");
    } else if (type == "TEXT") {
        int x = 0, y = 0, visible = 1, active = 1;
        float width = 10000000;
        std::string txt, align = "LEFT";
        FontPtr font;
        TRGBPtr colour = createRGB(255, 255, 255), shadow;
        for (const auto& e : entries) {
            const std::string key = keyOf(e);
            const std::string& v = e->_value;
            if (key == "POSITION") {
                const auto n = guiNumberList(v);
                x = guiListItem(n, 0, 0);
                y = guiListItem(n, 1, 0);
                width = n.size() >= 3 ? static_cast<float>(n[2]) : 10000000.0f;
            } else if (key == "TXT") {
                txt = guiReadText(v, _folder);
            } else if (key == "FONT") {
                font = _fontRef(v);
            } else if (key == "RGB") {
                colour = guiReadColour(v);
            } else if (key == "SHADOW") {
                shadow = guiReadColour(v);
            } else if (key == "ALIGN") {
                align = v;
            } else if (key == "VISIBLE") {
                visible = guiReadFlag(v);
            } else if (key == "ACTIVE") {
                active = guiReadFlag(v);
            }
        }
        auto t = createText(name, txt, static_cast<float>(x), static_cast<float>(y), width, font, align, visible,
                            active);
        if (colour) t->rgb = *colour;
        if (shadow) {
            t->_shadow = 1;
            t->shRGB = shadow;
        }
        t->setKey(widgetKey(entries));
        addItem(t);
    } else if (type == "ANIM") {
        int x = 0, y = 0, dir = 0, visible = 1, active = 1;
        std::string gfx, schema;
        for (const auto& e : entries) {
            const std::string key = keyOf(e);
            const std::string& v = e->_value;
            if (key == "POSITION") {
                const auto n = guiNumberList(v);
                x = guiListItem(n, 0, 0);
                y = guiListItem(n, 1, 0);
            } else if (key == "GFX") {
                gfx = _path(v);
            } else if (key == "SCHEMAT") {
                schema = v;
            } else if (key == "DIR") {
                dir = guiUpper(v) == "V" ? 1 : 0;
            } else if (key == "VISIBLE") {
                visible = guiReadFlag(v);
            } else if (key == "ACTIVE") {
                active = guiReadFlag(v);
            }
        }
        auto a = createAnimation(name, gfx, static_cast<float>(x), static_cast<float>(y), schema, dir, visible,
                                 active);
        a->setKey(widgetKey(entries));
        addItem(a);
    } else if (type == "WINDOW") {
        std::vector<int> pos;
        std::string theme;
        bool named = false;
        int visible = 1, active = 1;
        for (const auto& e : entries) {
            const std::string key = keyOf(e);
            if (key == "POSITION") {
                pos = guiNumberList(e->_value);
            } else if (key == "THEME") {
                theme = e->_value;
                named = true;
            } else if (key == "VISIBLE") {
                visible = guiReadFlag(e->_value);
            } else if (key == "ACTIVE") {
                active = guiReadFlag(e->_value);
            }
        }
        TThemePtr th = named ? _themeRef(theme) : lastTheme;
        if (!th) errorNotice("No theme for window object!");
        auto w = createWindow(name, th, static_cast<float>(guiListItem(pos, 0, 0)),
                              static_cast<float>(guiListItem(pos, 1, 0)), static_cast<float>(guiListItem(pos, 2, 0)),
                              static_cast<float>(guiListItem(pos, 3, 0)));
        w->_v = visible;
        w->_a = active;
        w->setKey(widgetKey(entries));
        addItem(w);
    } else if (type == "TEXTENTRY") {
        int x = 0, y = 0, width = 300, maxChars = 25, flagA = 1, flagB = 1;
        FontPtr font;
        TRGBPtr colour = createRGB(255, 255, 255);
        for (const auto& e : entries) {
            const std::string key = keyOf(e);
            const std::string& v = e->_value;
            if (key == "POSITION") {
                const auto n = guiNumberList(v);
                x = guiListItem(n, 0, 0);
                y = guiListItem(n, 1, 0);
                width = n.size() >= 3 ? n[2] : 300;
            } else if (key == "WIDTH") {
                maxChars = guiReadInt(v);
            } else if (key == "RGB") {
                colour = guiReadColour(v);
            } else if (key == "FONT") {
                font = _fontRef(v);
            } else if (key == "VISIBLE") {
                flagA = guiReadFlag(v);
            } else if (key == "ACTIVE") {
                flagB = guiReadFlag(v);
            }
        }
        auto t = createTextEntry(name, font, static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                                 maxChars, colour, flagA, flagB);
        t->setKey(widgetKey(entries));
        addItem(t);
    } else if (type == "TEXTLIST") {
        std::vector<int> pos;
        FontPtr font;
        TRGBPtr colour;
        TThemePtr theme;
        std::string items;
        int visible = 1, active = 1;
        for (const auto& e : entries) {
            const std::string key = keyOf(e);
            const std::string& v = e->_value;
            if (key == "POSITION") {
                pos = guiNumberList(v);
            } else if (key == "FONT") {
                font = _fontRef(v);
            } else if (key == "RGB") {
                colour = guiReadColour(v);
            } else if (key == "THEME") {
                theme = _themeRef(v);
            } else if (key == "ITEMS") {
                items = v;
            } else if (key == "VISIBLE") {
                visible = guiReadFlag(v);
            } else if (key == "ACTIVE") {
                active = guiReadFlag(v);
            }
        }
        auto l = createTextList(name, static_cast<float>(guiListItem(pos, 0, 0)),
                                static_cast<float>(guiListItem(pos, 1, 0)), static_cast<float>(guiListItem(pos, 2, 200)),
                                static_cast<float>(guiListItem(pos, 3, 200)), font);
        l->_theme = theme;
        if (colour) l->rgb = *colour;
        if (!items.empty()) {
            // Lines are separated by "|" outside brackets, so a line may be a
            // text reference "[path|n]".
            size_t start = 0;
            int depth = 0;
            for (size_t i = 0; i <= items.size(); ++i) {
                if (i < items.size() && items[i] == '[') ++depth;
                if (i < items.size() && items[i] == ']' && depth > 0) --depth;
                if (i == items.size() || (items[i] == '|' && depth == 0)) {
                    l->addLine(guiReadText(items.substr(start, i - start), _folder));
                    start = i + 1;
                }
            }
        }
        l->_v = visible;
        l->_a = active;
        l->setKey(widgetKey(entries));
        addItem(l);
    } else if (type == "SUWAK") {
        std::vector<int> pos;
        float value = 0;
        std::string gfx;
        TThemePtr theme;
        TRGBPtr colour;
        int visible = 1, active = 1;
        for (const auto& e : entries) {
            const std::string key = keyOf(e);
            const std::string& v = e->_value;
            if (key == "POSITION") {
                pos = guiNumberList(v);
            } else if (key == "VALUE") {
                value = guiReadFloat(v);
            } else if (key == "GFX") {
                gfx = _path(v);
            } else if (key == "THEME") {
                theme = _themeRef(v);
            } else if (key == "RGB") {
                colour = guiReadColour(v);
            } else if (key == "VISIBLE") {
                visible = guiReadFlag(v);
            } else if (key == "ACTIVE") {
                active = guiReadFlag(v);
            }
        }
        auto s = createSuwak(name, static_cast<float>(guiListItem(pos, 0, 0)), static_cast<float>(guiListItem(pos, 1, 0)),
                             static_cast<float>(guiListItem(pos, 2, 200)), static_cast<float>(guiListItem(pos, 3, 24)),
                             value);
        if (!gfx.empty()) {
            s->_knob = LoadImage(gfx, IMG_DEFAULT);
            if (s->_knob) {
                MidHandleImage(s->_knob);
                s->_knobW = static_cast<float>(s->_knob->width);
            }
        }
        s->_theme = theme;
        if (colour) s->rgb = *colour;
        s->_v = visible;
        s->_a = active;
        s->setKey(widgetKey(entries));
        addItem(s);
    } else if (type == "CONTROL") {
        std::vector<int> pos;
        std::string children;
        int visible = 1, active = 1;
        for (const auto& e : entries) {
            const std::string key = keyOf(e);
            if (key == "POSITION") {
                pos = guiNumberList(e->_value);
            } else if (key == "CHILDREN") {
                children = e->_value;
            } else if (key == "VISIBLE") {
                visible = guiReadFlag(e->_value);
            } else if (key == "ACTIVE") {
                active = guiReadFlag(e->_value);
            }
        }
        auto c = createControl(name, static_cast<float>(guiListItem(pos, 0, 0)),
                               static_cast<float>(guiListItem(pos, 1, 0)), static_cast<float>(guiListItem(pos, 2, 0)),
                               static_cast<float>(guiListItem(pos, 3, 0)));
        size_t start = 0;
        for (size_t i = 0; i <= children.size(); ++i) {
            if (i < children.size() && children[i] != ' ') continue;
            const std::string child = children.substr(start, i - start);
            start = i + 1;
            if (child.empty()) continue;
            auto it = std::find_if(_listaObiektow.begin(), _listaObiektow.end(),
                                   [&](const TGuiObjectPtr& w) { return guiSameNoCase(w->_id, child); });
            if (it == _listaObiektow.end()) {
                errorNotice("Nie ma obiektu dla kontrolki " + name + " : " + child);
                continue;
            }
            c->addChild(*it);
            _listaObiektow.erase(it);
        }
        c->_v = visible;
        c->_a = active;
        c->setKey(widgetKey(entries));
        addItem(c);
    }
    return 0;
}

void TGui::_buildMenu(TBelkaMenu& menu, const TSmallObject& block, const FontPtr& barFont, bool sub) {
    menu.id = block._name;
    menu.font = barFont;
    for (const auto& t : block._tokeny) {
        if (auto inner = std::dynamic_pointer_cast<TSmallObject>(t)) {
            auto subMenu = std::make_shared<TBelkaMenu>();
            _buildMenu(*subMenu, *inner, barFont, true);
            TBelkaItem item;
            item.caption = "  " + subMenu->title;
            item.font = subMenu->font;
            item.sub = subMenu;
            menu.items.push_back(item);
            continue;
        }
        const std::string key = guiUpper(t->_typ);
        const std::string& v = t->_value;
        if (key == "TITLE") {
            menu.title = guiReadText(v, _folder);
        } else if (key == "FONT") {
            if (sub) {
                if (auto f = findFont(fontList, v)) {
                    menu.font = f->font;
                } else {
                    errorNotice("Nie znaleziono czcionki : " + v);
                }
            } else {
                menu.font = _fontRef(v);
            }
        } else if (key == "COMMAND") {
            const size_t b1 = v.find('|');
            const size_t b2 = b1 == std::string::npos ? std::string::npos : v.find('|', b1 + 1);
            TBelkaItem item;
            item.command = v.substr(0, b1);
            const std::string caption =
                b1 == std::string::npos ? "" : v.substr(b1 + 1, b2 == std::string::npos ? std::string::npos : b2 - b1 - 1);
            item.caption = "  " + guiReadText(caption, _folder);
            item.font = barFont;
            if (b2 != std::string::npos) {
                const std::string fontName = v.substr(b2 + 1);
                auto f = sub ? findFont(fontList, fontName) : findFont(_fonts, fontName);
                if (f) {
                    item.font = f->font;
                } else {
                    errorNotice("Nie znaleziono czcionki : " + v);
                }
            }
            menu.items.push_back(item);
        }
    }
}

int TGui::dodajObiektZlozony(const std::string&, const std::string& name, const std::list<TSimpleEntryPtr>& entries,
                             const std::list<TSmallObjectPtr>& blocks) {
    int x = 0, y = 0, width = 0;
    FontPtr font;
    TThemePtr theme;
    bool named = false;
    for (const auto& e : entries) {
        const std::string key = guiUpper(e->_typ);
        const std::string& v = e->_value;
        if (key == "POSITION") {
            const auto n = guiNumberList(v);
            x = guiListItem(n, 0, 0);
            y = guiListItem(n, 1, 0);
        } else if (key == "WIDTH") {
            width = guiReadInt(v);
        } else if (key == "TEMAT") {
            theme = _themeRef(v);
            named = true;
        } else if (key == "FONT") {
            font = _fontRef(v);
        }
    }
    if (!named) theme = lastTheme;
    if (!theme) errorNotice("No theme asigned for bar object!");
    auto bar = createBelka(name, static_cast<float>(x), static_cast<float>(y), static_cast<float>(width), theme, font);
    for (const auto& block : blocks) {
        auto menu = std::make_shared<TBelkaMenu>();
        _buildMenu(*menu, *block, font, false);
        bar->addMenu(menu);
    }
    bar->dim->h = static_cast<float>(bar->barHeight());
    bar->dim->update();
    bar->setKey(widgetKey(entries));
    addItem(bar);
    return 0;
}

TGuiPtr loadGui(const std::string& path) {
    auto g = std::make_shared<TGui>();
    if (guiFileType(path) == 1) {
        g->Load(path);
    } else {
        errorNotice("Plik : " + guiAbsolutePath(path) + " nie istenieje!");
    }
    return g;
}
