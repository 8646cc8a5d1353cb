#include "editor/TEditor.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/AppGlobals.h"
#include "app/Control.h"
#include "app/FrameServices.h"
#include "app/TMainGame.h"
#include "data/DataGlobals.h"
#include "editor/EditorFiles.h"
#include "editor/TEditorFileDialog.h"
#include "gui/GuiGlobals.h"
#include "gui/TMouse.h"
#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "platform/Files.h"
#include "profiles/TProfile.h"
#include "screens/TPopUp.h"

std::shared_ptr<TEditor> editor;

namespace {
// The board's area left of the panel, between the title and the status line.
constexpr int kBoardX = 0, kBoardY = 34, kBoardW = 772, kBoardH = 706;
constexpr int kPanelX = 776;
constexpr int kStatusY = 744;

const char* const kMatchTypes[3] = {"SWAP", "CHAIN", "GROUP"};
const char* const kResources[4] = {"Caps", "Junk", "Food", "Wood"};

void textColour() {
    SetColor(236, 238, 242);
}
void dimTextColour() {
    SetColor(182, 190, 204);
}

void fillRect(float x, float y, float w, float h, int r, int g, int b, float a) {
    SetBlend(ALPHABLEND);
    SetColor(r, g, b);
    SetAlpha(a);
    DrawRect(x, y, w, h);
}

void outline(float x, float y, float w, float h, int r, int g, int b, float a, float t = 2) {
    fillRect(x, y, w, t, r, g, b, a);
    fillRect(x, y + h - t, w, t, r, g, b, a);
    fillRect(x, y, t, h, r, g, b, a);
    fillRect(x + w - t, y, t, h, r, g, b, a);
}

void resetState() {
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetScale(1, 1);
    SetRotation(0);
}

bool ctrlDown() {
    return KeyDown(162) || KeyDown(163) || KeyDown(17);
}
bool shiftDown() {
    return KeyDown(160) || KeyDown(161) || KeyDown(16);
}

// The play screen's engine catalogues, loaded once more for the editor's own
// engine (the play screen's engine is busy with its own level).
std::shared_ptr<TM3Game> makeEditorEngine() {
    auto g = std::make_shared<TM3Game>();
    g->loadSettings("data/settings.dat");
    g->loadTiles("data/tiles.dat");
    g->loadChips("data/chips.dat");
    g->loadBonusChips("data/bonusy.dat");
    g->loadFrame("data/frames.dat");
    if (backGroundsList().empty()) loadBackgrounds("data/backgrounds.dat");
    return g;
}
}  // namespace

TEditor::TEditor() {
    id = "EDITOR";
}

int TEditor::setup() {
    if (_setUp) return 0;
    _setUp = true;
    // A save killed before its rename leaves its trial copy in the level folder.
    for (const auto& folder : editorFolders()) DropInterruptedWrites(folder.path);
    _game = makeEditorEngine();
    _font = guiLoadFont(dataRoot + "gfx/fonts/bluehigh.ttf", 17, 0);
    _small = guiLoadFont(dataRoot + "gfx/fonts/bluehigh.ttf", 14, 0);
    _title = guiLoadFont(dataRoot + "gfx/fonts/bluehigh.ttf", 20, 0);
    _chain1 = LoadImage(dataRoot + "gfx/tiles/chain.png", IMG_FILTERED);
    _chain2 = LoadImage(dataRoot + "gfx/tiles/chain2.png", IMG_FILTERED);
    if (_chain1) MidHandleImage(_chain1);
    if (_chain2) MidHandleImage(_chain2);
    if (board.doc.rows == 0) board.reset(9, 9);
    _buildPanel();
    return 0;
}

// ---------------------------------------------------------------------------
// The panel

void TEditor::_buildPanel() {
    _buttons.clear();
    _fields.clear();
    auto toolButton = [&](int x, int y, int w, int h, TEditorTool t, const std::string& label,
                          const std::string& key) {
        Button b;
        b.x = x;
        b.y = y;
        b.w = w;
        b.h = h;
        b.label = label;
        b.key = key;
        b.act = [this, t, label] {
            tool = t;
            _say("Tool: " + label);
        };
        b.lit = [this, t] { return tool == t; };
        if (t.kind == TEditorTool::Tile) b.tile = t.value;
        if (t.kind == TEditorTool::Chip) b.chip = t.value;
        _buttons.push_back(b);
        return &_buttons.back();
    };
    const int x0 = kPanelX + 8;
    // Plates.
    const char* plateNames[4] = {"Hole", "Plain plate", "One layer", "Two layers"};
    const char* plateKeys[4] = {"H", "1", "2", "3"};
    for (int i = 0; i < 4; ++i)
        toolButton(x0 + i * 46, 56, 42, 42, {TEditorTool::Tile, i}, plateNames[i], plateKeys[i]);
    // Locks and creators.
    toolButton(x0, 102, 42, 42, {TEditorTool::Chain, 1}, "Chain (strength 1)", "C");
    toolButton(x0 + 46, 102, 42, 42, {TEditorTool::Chain, 2}, "Chain (strength 2)", "V");
    toolButton(x0 + 92, 102, 42, 42, {TEditorTool::Creator, 1}, "Creator", "K");
    toolButton(x0 + 138, 102, 42, 42, {TEditorTool::Chip, 0}, "No chip", "X");
    // Chips: random, each normal kind, the puzzle chip; then the bonus kinds.
    toolButton(x0, 164, 42, 42, {TEditorTool::Chip, -1}, "Random chip", "R");
    int slot = 1;
    for (const auto& cd : _game->chipsList) {
        if (!cd || slot >= 10) continue;
        const int x = x0 + (slot % 5) * 46, y = 164 + (slot / 5) * 46;
        toolButton(x, y, 42, 42, {TEditorTool::Chip, cd->id},
                   cd->puzzleChip ? "Puzzle chip" : "Chip " + std::to_string(cd->id),
                   cd->puzzleChip ? "P" : std::string());
        ++slot;
    }
    int bi = 0;
    for (const auto& cd : _game->bonusList) {
        if (!cd || bi >= 6) continue;
        toolButton(x0 + bi * 39, 274, 36, 36, {TEditorTool::Chip, cd->id},
                   "Bonus " + (cd->typ.empty() ? std::to_string(cd->id) : cd->typ), bi == 0 ? "B" : "");
        ++bi;
    }
    // Shapes.
    const char* shapeNames[3] = {"Paint", "Fill", "Rectangle"};
    const char* shapeKeys[3] = {"D", "F", "G"};
    for (int i = 0; i < 3; ++i) {
        Button b;
        b.x = x0 + i * 78;
        b.y = 316;
        b.w = 74;
        b.h = 24;
        b.label = shapeNames[i];
        b.key = shapeKeys[i];
        const Shape s = static_cast<Shape>(i);
        b.act = [this, s, i, shapeNames] {
            shape = s;
            _say(std::string("Shape: ") + shapeNames[i]);
        };
        b.lit = [this, s] { return shape == s; };
        _buttons.push_back(b);
    }
    // Size at each edge.
    const struct {
        const char* label;
        TEditorEdge edge;
        int delta;
    } sizes[8] = {{"Top+", TEditorEdge::Top, 1},       {"Top-", TEditorEdge::Top, -1},
                  {"Bottom+", TEditorEdge::Bottom, 1}, {"Bottom-", TEditorEdge::Bottom, -1},
                  {"Left+", TEditorEdge::Left, 1},     {"Left-", TEditorEdge::Left, -1},
                  {"Right+", TEditorEdge::Right, 1},   {"Right-", TEditorEdge::Right, -1}};
    for (int i = 0; i < 8; ++i) {
        Button b;
        b.x = x0 + (i % 4) * 58;
        b.y = 366 + (i / 4) * 26;
        b.w = 55;
        b.h = 23;
        b.label = sizes[i].label;
        const TEditorEdge e = sizes[i].edge;
        const int d = sizes[i].delta;
        b.act = [this, e, d] {
            if (!board.resize(e, d))
                _say("The board stays between 1 x 1 and 30 x 30.", true);
            else
                message =
                    "Size: " + std::to_string(board.doc.rows) + " x " + std::to_string(board.doc.cols) + ".";
        };
        _buttons.push_back(b);
    }
    // The level's fields.
    {
        Button b;
        b.x = x0 + 62;
        b.y = 420;
        b.w = 62;
        b.h = 22;
        b.act = [this] {
            board.edit([](TEditorLevelData& d) {
                int i = 0;
                while (i < 3 && Utf8Upper(d.matchType) != kMatchTypes[i]) ++i;
                d.matchType = kMatchTypes[(i + 1) % 3];
            });
        };
        b.label = "match";
        _buttons.push_back(b);
        Button g = b;
        g.x = x0 + 190;
        g.w = 40;
        g.label = "back";
        g.act = [this] {
            const auto& list = backGroundsList();
            if (list.empty()) return;
            board.edit([&list](TEditorLevelData& d) {
                size_t i = 0;
                while (i < list.size() && (!list[i] || list[i]->id != d.background)) ++i;
                const size_t next = i >= list.size() ? 0 : (i + 1) % list.size();
                if (list[next]) d.background = list[next]->id;
            });
        };
        _buttons.push_back(g);
    }
    auto field = [&](const std::string& label, int x, int y, int minV, int maxV,
                     std::function<int(const TEditorLevelData&)> get,
                     std::function<void(TEditorLevelData&, int)> set) {
        Field f;
        f.label = label;
        f.x = x;
        f.y = y;
        f.w = 56;
        f.minV = minV;
        f.maxV = maxV;
        f.get = std::move(get);
        f.set = std::move(set);
        _fields.push_back(f);
    };
    field(
        "Time", x0 + 62, 446, 1, 5999, [](const TEditorLevelData& d) { return d.czas; },
        [](TEditorLevelData& d, int v) { d.czas = v; });
    // The time left never exceeds the time budget (the clock's bar shows their ratio).
    _fields.back().refuse = [](const TEditorLevelData& d, int v) {
        return v > d.maxCzas ? "Time cannot exceed the budget (" + std::to_string(d.maxCzas) + ")."
                             : std::string();
    };
    field(
        "Budget", x0 + 174, 446, 1, 5999, [](const TEditorLevelData& d) { return d.maxCzas; },
        [](TEditorLevelData& d, int v) { d.maxCzas = v; });
    _fields.back().refuse = [](const TEditorLevelData& d, int v) {
        return v < d.czas ? "The budget cannot be below the time (" + std::to_string(d.czas) + ")."
                          : std::string();
    };
    field(
        "Pieces", x0 + 62, 472, 0, 99, [](const TEditorLevelData& d) { return d.puzzles; },
        [](TEditorLevelData& d, int v) { d.puzzles = v; });
    for (int i = 0; i < 4; ++i)
        field(
            kResources[i], x0 + 62 + (i % 2) * 112, 498 + (i / 2) * 26, 0, 9999,
            [i](const TEditorLevelData& d) { return d.zasob[static_cast<size_t>(i)]; },
            [i](TEditorLevelData& d, int v) { d.zasob[static_cast<size_t>(i)] = v; });
    {
        Button b;  // the puzzle flag: saving sets it anyway when a puzzle chip lies on the board
        b.x = x0 + 174;
        b.y = 472;
        b.w = 56;
        b.h = 22;
        b.label = "flag";
        b.act = [this] { board.edit([](TEditorLevelData& d) { d.saPuzzle = d.saPuzzle ? 0 : 1; }); };
        _buttons.push_back(b);
    }
    // Dealt chips and bonus kinds.
    int ai = 0;
    for (const auto& cd : _game->chipsList) {
        if (!cd || cd->puzzleChip || ai >= 8) continue;
        Button b;
        b.x = x0 + ai * 29;
        b.y = 570;
        b.w = 27;
        b.h = 27;
        b.chip = cd->id;
        b.label = "deal";
        const int id = cd->id;
        b.act = [this, id] { _toggleChip(id, false); };
        b.lit = [this, id] {
            const auto& a = board.doc.availableChips;
            return std::find(a.begin(), a.end(), id) != a.end();
        };
        _buttons.push_back(b);
        ++ai;
    }
    bi = 0;
    for (const auto& cd : _game->bonusList) {
        if (!cd || bi >= 6) continue;
        Button b;
        b.x = x0 + bi * 29;
        b.y = 616;
        b.w = 27;
        b.h = 27;
        b.chip = cd->id;
        b.label = "deal";
        const int id = cd->id;
        b.act = [this, id] { _toggleChip(id, true); };
        b.lit = [this, id] {
            const auto& a = board.doc.availableBonus;
            return std::find(a.begin(), a.end(), id) != a.end();
        };
        _buttons.push_back(b);
        ++bi;
    }
    // Commands.
    const struct {
        const char* label;
        const char* key;
        std::function<void()> act;
    } cmds[] = {
        {"New", "Ctrl+N", [this] { newCommand(); }},   {"Open", "Ctrl+O", [this] { openCommand(); }},
        {"Save", "Ctrl+S", [this] { saveCommand(); }}, {"Save as", "", [this] { saveAsCommand(); }},
        {"Play", "F5", [this] { playTest(false); }},   {"Timed", "F6", [this] { playTest(true); }},
        {"Check", "F8", [this] { startCheck(); }},     {"Tiles 2", "L", [this] { _switchTileSet(); }},
        {"Undo", "Ctrl+Z", [this] { board.undo(); }},  {"Redo", "Ctrl+Y", [this] { board.redo(); }},
        {"Exit", "Esc", [this] { leave(); }},
    };
    int ci = 0;
    for (const auto& c : cmds) {
        Button b;
        b.x = x0 + (ci % 4) * 58;
        b.y = 652 + (ci / 4) * 30;
        b.w = 55;
        b.h = 26;
        b.label = c.label;
        b.key = c.key;
        b.act = c.act;
        _buttons.push_back(b);
        ++ci;
    }
}

void TEditor::_switchTileSet() {
    _tileSet = _tileSet ? 0 : 1;
    _game->loadTileSet(_tileSet);
    _say(_tileSet ? "Showing the second tile set." : "Showing the first tile set.");
}

void TEditor::_toggleChip(int id, bool bonus) {
    board.edit([id, bonus](TEditorLevelData& d) {
        auto& list = bonus ? d.availableBonus : d.availableChips;
        auto it = std::find(list.begin(), list.end(), id);
        if (it != list.end())
            list.erase(it);
        else
            list.push_back(id);
    });
}

// ---------------------------------------------------------------------------
// The level shown

float TEditor::_pitchX() const {
    return _level->settings ? _level->settings->sizeX : 60.0f;
}

float TEditor::_pitchY() const {
    return _level->settings ? _level->settings->sizeY : 60.0f;
}

void TEditor::_layoutBoard() {
    if (!_level) return;
    const float pitchX = _pitchX();
    const float pitchY = _pitchY();
    _zoom = std::min({1.0f, kBoardW / (pitchX * static_cast<float>(_level->cols + 2)),
                      kBoardH / (pitchY * static_cast<float>(_level->rows + 2))});
    _level->setPosition((kBoardX + kBoardW / 2.0f) / _zoom, (kBoardY + kBoardH / 2.0f) / _zoom);
}

void TEditor::_syncLevel() {
    if (_builtVersion == board.version() && _level) return;
    _builtVersion = board.version();
    std::string why;
    auto lvl = buildEditorLevel(board.doc, _game.get(), &why);
    if (!lvl) {
        _say("The level cannot be shown: " + why, true);
        return;
    }
    _level = lvl;
    _level->setFrameAlpha(1);
    _game->setLevel(_level);
    _layoutBoard();
    if (board.doc.background != _backId) {
        _backId = board.doc.background;
        _backImg.reset();
        if (auto bg = getBackground(_backId)) _backImg = LoadImage(dataRoot + bg->url, IMG_DEFAULT);
    }
}

bool TEditor::cellAt(int x, int y, int& r, int& c) const {
    if (!_level || x < kBoardX || x >= kBoardX + kBoardW || y < kBoardY || y >= kBoardY + kBoardH)
        return false;
    const float pitchX = _pitchX();
    const float pitchY = _pitchY();
    const float bx = static_cast<float>(x) / _zoom - _level->sx + pitchX / 2;
    const float by = static_cast<float>(y) / _zoom - _level->sy + pitchY / 2;
    if (bx < 0 || by < 0) return false;
    c = static_cast<int>(bx / pitchX);
    r = static_cast<int>(by / pitchY);
    return r < _level->rows && c < _level->cols;
}

void TEditor::cellClamped(int x, int y, int& r, int& c) const {
    r = c = 0;
    if (!_level) return;
    const float pitchX = _pitchX();
    const float pitchY = _pitchY();
    const float bx = static_cast<float>(x) / _zoom - _level->sx + pitchX / 2;
    const float by = static_cast<float>(y) / _zoom - _level->sy + pitchY / 2;
    c = std::clamp(static_cast<int>(std::floor(bx / pitchX)), 0, _level->cols - 1);
    r = std::clamp(static_cast<int>(std::floor(by / pitchY)), 0, _level->rows - 1);
}

// ---------------------------------------------------------------------------
// Files and the other commands

void TEditor::_say(const std::string& text, bool error) {
    message = text;
    messageIsError = error;
    // Said on the console too: the designer's log of what happened, and what
    // the scripted tests read.
    std::fprintf(error ? stderr : stdout, "editor: %s\n", text.c_str());
    std::fflush(error ? stderr : stdout);
}

std::string TEditor::_fileTitle() const {
    std::string t = filePath.empty() ? "new level" : StripDir(filePath);
    if (board.modified()) t += " *";
    return t;
}

void TEditor::newLevel(int rows, int cols) {
    board.reset(rows, cols);
    filePath.clear();
    _say("New level: " + std::to_string(board.doc.rows) + " x " + std::to_string(board.doc.cols) + ".");
}

bool TEditor::openFile(const std::string& path) {
    setup();
    TEditorLevelData d;
    std::string why;
    if (!openEditorLevel(path, _game.get(), d, why)) {
        std::fprintf(stderr, "editor: Cannot open %s: %s.\n", path.c_str(), why.c_str());
        message = "Cannot open " + StripDir(path) + ": " + why + ".";
        messageIsError = true;
        return false;
    }
    board.load(d);
    filePath = path;
    std::printf("editor: Opened %s.\n", path.c_str());
    std::fflush(stdout);
    message = "Opened " + StripDir(path) + ".";
    messageIsError = false;
    return true;
}

bool TEditor::saveTo(const std::string& path) {
    setup();
    board.endStroke();
    TEditorLevelData back;
    std::string why;
    if (!saveEditorLevel(board.doc, _game.get(), path, why, &back)) {
        _say("Not saved: " + why, true);
        return false;
    }
    // What was written is what the editor now holds (the puzzle flag follows
    // the puzzle chips on the board); as one undo step when it differs.
    board.edit([&back](TEditorLevelData& d) { d = back; });
    board.markSaved();
    filePath = path;
    std::printf("editor: Saved %s.\n", path.c_str());
    std::fflush(stdout);
    message = "Saved " + StripDir(path) + ".";
    messageIsError = false;
    return true;
}

void TEditor::saveCommand() {
    if (filePath.empty() || !insideEditorFolders(filePath)) return saveAsCommand();
    if (!saveTo(filePath) && isRunning()) notice(message, this);
}

void TEditor::saveAsCommand() {
    if (!editorFileDialog) editorFileDialog = std::make_shared<TEditorFileDialog>();
    const std::string path = editorFileDialog->mainLoop(this, true, filePath);
    if (path.empty()) return;
    if (!saveTo(path)) notice(message, this);
}

void TEditor::openCommand() {
    if (!askSaveChanges()) return;
    if (!editorFileDialog) editorFileDialog = std::make_shared<TEditorFileDialog>();
    const std::string path = editorFileDialog->mainLoop(this, false, filePath);
    if (path.empty()) return;
    if (!openFile(path)) notice(message, this);
}

void TEditor::newCommand() {
    if (!askSaveChanges()) return;
    newLevel(9, 9);
}

bool TEditor::askSaveChanges() {
    if (!board.modified()) return true;
    if (confirm("The level has unsaved changes.\nSave them first?", this)) {
        saveCommand();
        return !board.modified();
    }
    if (!confirm("Throw the changes away?", this)) return false;
    board.markSaved();  // knowingly dropped: nothing to keep at the exit either
    return true;
}

void TEditor::leave() {
    if (!askSaveChanges()) return;
    _check.cancel();
    leaveTo(exitTo);
}

void TEditor::playTest(bool timed) {
    if (!mainGame) {
        _say("The play screen is not available.", true);
        return;
    }
    board.endStroke();
    const std::string dir = _workDir();
    const std::string file = dir + "playtest.lvl";
    std::string why;
    auto lvl = buildEditorLevel(board.doc, _game.get(), &why);
    if (!lvl || !lvl->save(file)) {
        _say("Cannot play the level: " + (lvl ? "its test file cannot be written" : why) + ".", true);
        return;
    }
    mainGame->setup();
    auto player = mainGame->profile;
    auto stand = std::make_shared<TProfile>();
    stand->name = "Level Test";
    stand->allPowerUps = true;
    stand->gameMode = timed ? "TIMED" : "RELAXED";
    stand->nrLevelu = 1;
    stand->tutorialOn = 0;
    stand->profilesDir = userRoot.empty() ? std::string() : dir + "Player/";
    mainGame->profile = stand;
    std::string result = "left";
    for (;;) {
        auto level = loadLevelFile(file, mainGame->m3Game.get());
        if (!level) {
            _say("The game refuses the level (see the message above).", true);
            break;
        }
        mainGame->levelTime = 0;
        mainGame->setLevel(level);
        mainGame->setStartData();
        Control::currentName = "MAIN-GAME";
        const std::string next = mainGame->mainLoop();
        Control::currentName = "EDITOR";
        if (next == "RESTART-LEVEL") continue;
        result = next == "GET-NEXT-QUEST-LEVEL" || next == "PUZZLE" ? "won"
                 : mainGame->lostLevel                              ? "lost"
                                                                    : "left";
        break;
    }
    mainGame->profile = player;
    // Back where the designer was: same level, tools and history; fade in.
    _game->setLevel(_level);
    if (_level) _level->setFrameAlpha(1);
    fade = 1;
    dFade = 0;
    wynik.clear();
    mouse.clear();
    FlushKeys();
    FlushMouse();
    _prevLeft = _prevRight = false;
    _dragging = false;
    _say(std::string("Play-test (") + (timed ? "timed" : "relaxed") + "): " + result + ".");
}

void TEditor::_sayCheck() {
    const TEditorCheckSummary s = _check.summary();
    char line[200];
    std::snprintf(line, sizeof line,
                  "Check done in %d ms: relaxed won %d of %d (median %d moves, %.0f s), timed won %d of %d "
                  "(median %d moves, %.0f s).",
                  _check.elapsedMs(), s.won[0], s.runs[0], s.medianMoves[0],
                  static_cast<double>(s.medianSeconds[0]), s.won[1], s.runs[1], s.medianMoves[1],
                  static_cast<double>(s.medianSeconds[1]));
    std::string text = line;
    for (const auto& w : s.warnings) text += " Warning: " + w;
    std::printf("editor: %s\n", text.c_str());
    std::fflush(stdout);
    message = s.warnings.empty() ? "Check done: the level was won." : "Check done: see the warnings above.";
    messageIsError = false;
}

std::string TEditor::_workDir() const {
    // The editor's own files (the level being play-tested or checked): in the
    // per-user folder, else in the system's temporary folder, never among
    // the game's data.
    std::string dir = userRoot.empty() ? std::string() : userRoot + "/Editor/";
    if (dir.empty()) {
        std::error_code ec;
        const auto tmp = std::filesystem::temp_directory_path(ec);
        dir = (ec ? std::string(".") : tmp.u8string()) + "/brimble-editor/";
    }
    CreateDir(dir, true);
    return dir;
}

bool TEditor::saveRecovery() {
    if (!board.modified() || userRoot.empty()) return false;
    const std::string dir = userRoot + "/Editor/";
    CreateDir(dir, true);
    auto lvl = buildEditorLevel(board.doc, _game.get());
    if (!lvl || !lvl->save(dir + "recovered.lvl")) return false;
    std::fprintf(stderr, "editor: the unsaved level was kept in %srecovered.lvl\n", dir.c_str());
    return true;
}

bool TEditor::_checkable(std::string& why) const {
    int plates = 0;
    for (const auto& c : board.doc.cells) plates += c.tile != 0;
    if (plates == 0) {
        why = "The board has no plate.";
        return false;
    }
    return true;
}

void TEditor::startCheck() {
    board.endStroke();
    std::string why;
    if (!_checkable(why)) {
        _say("Nothing to check: " + why, true);
        return;
    }
    _checkFile = _workDir() + "check.lvl";
    auto lvl = buildEditorLevel(board.doc, _game.get(), &why);
    if (lvl && !levelPlayProblem(*lvl).empty()) {
        // The runner would refuse it: say why here.
        _say("Nothing to check: " + levelPlayProblem(*lvl) + ".", true);
        return;
    }
    if (!lvl || !lvl->save(_checkFile)) {
        _say("Cannot check the level: " + (lvl ? "its test file cannot be written" : why) + ".", true);
        return;
    }
    if (!_check.start(_checkFile, why)) {
        _say(why, true);
        return;
    }
    _checkShown = true;
    _checkVersion = board.version();
    _say("Checking: the autoplayer plays 10 seeds, relaxed and timed...");
}

void TEditor::openAtStart(const std::string& path) {
    setup();
    if (path.empty()) {
        newLevel(9, 9);
        return;
    }
    if (FileType(path) != 1) {
        // A new level that will be saved under this name.
        newLevel(9, 9);
        filePath = path;
        _say("New level; it will be saved as " + path + ".");
        return;
    }
    if (!openFile(path)) {
        const std::string why = message;
        newLevel(9, 9);
        message = why;
        messageIsError = true;
        _pendingNotice = why + "\nA new level is open instead; the file was left as it is.";
    }
}

// ---------------------------------------------------------------------------
// The loop

std::string TEditor::mainLoop() {
    setup();
    wynik.clear();
    fade = 1;
    dFade = 0;
    alpha = 1;
    dAlpha = 1;
    state = "EDIT";
    _quit = false;
    mouse.clear();
    FlushKeys();
    FlushMouse();
    _prepareDelta();
    _stats = std::getenv("BRIMBLE_EDITOR_STATS") != nullptr;
    if (_stats) _paintFrameUs.reserve(100000);
    _frameStartNs = 0;
    runLoop();
    printStats();
    _check.cancel();
    state.clear();
    return wynik.empty() ? exitTo : wynik;
}

void TEditor::_frameBegin() {
    if (!_stats) return;
    const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::steady_clock::now().time_since_epoch())
                              .count();
    if (_framePainting && _frameStartNs > 0 && _paintFrameUs.size() < _paintFrameUs.capacity())
        _paintFrameUs.push_back(static_cast<int>((now - _frameStartNs) / 1000 - LastFlipWaitMs() * 1000));
    _frameStartNs = now;
    _framePainting = _dragging;
}

void TEditor::printStats() {
    if (!_stats || _paintFrameUs.empty()) return;
    std::vector<int> v = _paintFrameUs;
    std::sort(v.begin(), v.end());
    const auto at = [&v](double q) {
        return v[std::min(v.size() - 1, static_cast<size_t>(q * v.size()))] / 1000.0;
    };
    std::fprintf(stderr,
                 "editor-stats board %d x %d: %zu frames painting, median %.2f ms, 99th percentile %.2f ms, "
                 "longest %.2f ms\n",
                 board.doc.rows, board.doc.cols, v.size(), at(0.5), at(0.99), v.back() / 1000.0);
    for (auto* part : {&_syncUs, &_drawUs}) {
        std::vector<int> w = *part;
        if (w.empty()) continue;
        std::sort(w.begin(), w.end());
        std::fprintf(stderr, "editor-stats   %s: median %.2f ms, longest %.2f ms\n",
                     part == &_syncUs ? "level rebuilt" : "drawing calls", w[w.size() / 2] / 1000.0,
                     w.back() / 1000.0);
    }
    _paintFrameUs.clear();
    _syncUs.clear();
    _drawUs.clear();
}

int TEditor::update() {
    // Escape is the editor's own key (leave, with the question about unsaved
    // changes); taken before the frame services, whose cheat key would end
    // the program with it.
    if (KeyHit(27) > 0) _escape = true;
    frameUpdate(0);
    _updateFade();
    _updateAlpha();
    const bool wasBusy = _check.busy();
    _check.poll();
    if (wasBusy && _check.done()) _sayCheck();
    state = _check.busy() ? "CHECKING" : (_editField >= 0 ? "TYPING" : "EDIT");
    // Headless runs have no wall clock to wait on: the frames of a script
    // would fly past a check that needs real time, so they pace themselves.
    // The pause comes after the state is settled, so a frame that began with
    // the check running says so whatever the check does meanwhile.
    if (_check.busy() && IsHeadless()) std::this_thread::sleep_for(std::chrono::milliseconds(40));
    const auto t0 = std::chrono::steady_clock::now();
    _syncLevel();
    if (_stats && _dragging && _syncUs.size() < 100000)
        _syncUs.push_back(static_cast<int>(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0)
                .count()));
    return 0;
}

void TEditor::_control() {
    if (dFade != 0 || fade > 0.5f) return;
    if (AppTerminate()) {
        leaveTo("END");
        return;
    }
    if (!_pendingNotice.empty()) {
        const std::string text = _pendingNotice;
        _pendingNotice.clear();
        notice(text, this);
        return;
    }
    if (_editField >= 0) {
        _controlField();
        if (_editField >= 0) return;
    }
    _controlKeys();
    if (dFade != 0) return;
    const bool left = mouse.leftHolded || mouse.leftPressed;
    // A click on the check's results puts them away.
    if (_checkShown && !_check.busy() && mouse.leftPressed && mouse.x >= 16 && mouse.x < 616 &&
        mouse.y >= 44 && mouse.y < 214) {
        _checkShown = false;
        _prevLeft = left;
        return;
    }
    // The panel's buttons and fields.
    if (mouse.leftPressed && mouse.x >= kPanelX) {
        for (size_t i = 0; i < _fields.size(); ++i) {
            const Field& f = _fields[i];
            if (f.contains(mouse.x, mouse.y)) {
                _editField = static_cast<int>(i);
                _editText.clear();
                _say("Type " + f.label + " (" + std::to_string(f.minV) + " to " + std::to_string(f.maxV) +
                     "), Enter to take it, Esc to leave it.");
                FlushKeys();
                return;
            }
        }
        for (const Button& b : _buttons)
            if (b.contains(mouse.x, mouse.y)) {
                if (b.act) b.act();
                _prevLeft = left;
                return;
            }
    }
    _controlBoard();
}

void TEditor::_controlKeys() {
    const bool ctrl = ctrlDown();
    if (ctrl) {
        if (KeyHit(90)) shiftDown() ? (void)board.redo() : (void)board.undo();  // Z
        if (KeyHit(89)) board.redo();                                           // Y
        if (KeyHit(83)) return saveCommand();                                   // S
        if (KeyHit(79)) return openCommand();                                   // O
        if (KeyHit(78)) return newCommand();                                    // N
        return;
    }
    if (_escape) {
        _escape = false;
        return leave();
    }
    if (KeyHit(116)) return playTest(false);  // F5
    if (KeyHit(117)) return playTest(true);   // F6
    if (KeyHit(119)) return startCheck();     // F8
    const struct {
        int key;
        TEditorTool t;
    } tools[] = {
        {72, {TEditorTool::Tile, 0}},    {49, {TEditorTool::Tile, 1}},  {50, {TEditorTool::Tile, 2}},
        {51, {TEditorTool::Tile, 3}},    {67, {TEditorTool::Chain, 1}}, {86, {TEditorTool::Chain, 2}},
        {75, {TEditorTool::Creator, 1}}, {82, {TEditorTool::Chip, -1}}, {88, {TEditorTool::Chip, 0}}};
    for (const auto& k : tools)
        if (KeyHit(k.key)) tool = k.t;
    if (KeyHit(80))  // P: the puzzle chip
        for (const auto& cd : _game->chipsList)
            if (cd && cd->puzzleChip) tool = {TEditorTool::Chip, cd->id};
    // The kind after the tool's in the list (the first when the tool is not one of them).
    const auto nextKind = [this](const std::vector<ChipDataPtr>& list) {
        if (list.empty()) return;
        size_t i = 0;
        while (i < list.size() && !(tool.kind == TEditorTool::Chip && list[i] && list[i]->id == tool.value))
            ++i;
        const size_t next = i >= list.size() ? 0 : (i + 1) % list.size();
        if (list[next]) tool = {TEditorTool::Chip, list[next]->id};
    };
    if (KeyHit(66)) nextKind(_game->bonusList);  // B: the next bonus kind
    if (KeyHit(74)) nextKind(_game->chipsList);  // J: the next chip kind
    if (KeyHit(68)) shape = Shape::Paint;        // D
    if (KeyHit(70)) shape = Shape::Fill;         // F
    if (KeyHit(71)) shape = Shape::Rectangle;    // G
    if (KeyHit(76)) _switchTileSet();            // L
}

void TEditor::_controlField() {
    if (_escape) {
        _escape = false;
        _editField = -1;
        _say("Left as it was.");
        FlushKeys();
        return;
    }
    const Field& f = _fields[static_cast<size_t>(_editField)];
    for (int ch = GetChar(); ch != 0; ch = GetChar()) {
        if (ch == 13 || ch == 9) {
            _commitField();
            FlushKeys();
            return;
        }
        if (ch == 27) continue;
        if (ch == 8) {
            if (!_editText.empty()) _editText.pop_back();
            continue;
        }
        if (ch < '0' || ch > '9') {
            _say(f.label + " takes digits only.", true);
            continue;
        }
        const std::string next = _editText + static_cast<char>(ch);
        if (std::stol(next) > f.maxV) {
            _say(f.label + " is at most " + std::to_string(f.maxV) + ".", true);
            continue;
        }
        _editText = next;
        messageIsError = false;
    }
    if (mouse.leftPressed && !f.contains(mouse.x, mouse.y)) _commitField();
}

void TEditor::_commitField() {
    const Field& f = _fields[static_cast<size_t>(_editField)];
    if (_editText.empty()) {
        _editField = -1;
        _say("Left as it was.");
        return;
    }
    const long v = std::stol(_editText);
    if (v < f.minV || v > f.maxV) {
        _say(f.label + " must be from " + std::to_string(f.minV) + " to " + std::to_string(f.maxV) + ".",
             true);
        return;  // stays open
    }
    if (f.refuse) {
        const std::string why = f.refuse(board.doc, static_cast<int>(v));
        if (!why.empty()) {
            _say(why, true);
            return;  // stays open
        }
    }
    auto set = f.set;
    board.edit([&set, v](TEditorLevelData& d) { set(d, static_cast<int>(v)); });
    _editField = -1;
    FlushKeys();  // the digits typed are not tool keys
    _say(f.label + ": " + std::to_string(v) + ".");
}

void TEditor::_controlBoard() {
    const bool left = mouse.leftHolded || mouse.leftPressed;
    const bool right = mouse.rightHolded || mouse.rightPressed;
    int r = -1, c = -1;
    const bool on = cellAt(mouse.x, mouse.y, r, c);
    const bool pressL = mouse.leftPressed || (left && !_prevLeft);
    const bool pressR = mouse.rightPressed || (right && !_prevRight);
    TEditorTool t = tool;
    auto toolFor = [this](bool erase) {
        TEditorTool out = erase ? TEditorBoard::eraserOf(tool.kind) : tool;
        return out;
    };
    // A random chip is drawn from the dealt kinds when it is put down.
    auto concrete = [this](TEditorTool x) {
        if (x.kind == TEditorTool::Chip && x.value < 0) {
            const auto& a = board.doc.availableChips;
            x.value = a.empty() ? 1 : a[static_cast<size_t>(Rand(0, static_cast<int>(a.size()) - 1))];
        }
        return x;
    };
    // Fills and rectangles give every cell its own random chip.
    auto randomPick = [&concrete](const TEditorTool& x) -> std::function<int()> {
        if (x.kind != TEditorTool::Chip || x.value >= 0) return nullptr;
        return [concrete, x] { return concrete(x).value; };
    };
    const bool inArea = mouse.x >= kBoardX && mouse.x < kBoardX + kBoardW && mouse.y >= kBoardY &&
                        mouse.y < kBoardY + kBoardH;
    if ((pressL || pressR) && inArea && !_dragging) {
        _erasing = pressR && !pressL;
        t = toolFor(_erasing);
        if (shape == Shape::Fill) {
            if (on) board.floodFill(r, c, t, randomPick(t));
        } else {
            // A drag may start beside the board and sweep onto it.
            _dragging = true;
            _lastR = _lastC = -1;
            _rectR = _rectC = -1;
            if (shape == Shape::Paint) board.beginStroke();
        }
    }
    if (_dragging) {
        const bool held = _erasing ? right : left;
        t = toolFor(_erasing);
        if (held) {
            if (on && shape == Shape::Paint && (r != _lastR || c != _lastC)) {
                board.strokePaint(r, c, concrete(t));
                _lastR = r;
                _lastC = c;
            }
            if (on && shape == Shape::Rectangle && _rectR < 0) {
                _rectR = r;
                _rectC = c;
            }
        } else {
            if (shape == Shape::Rectangle && _rectR >= 0) {
                int er = 0, ec = 0;
                cellClamped(mouse.x, mouse.y, er, ec);  // released beside the board: the nearest cell
                board.rectangle(_rectR, _rectC, er, ec, t, randomPick(t));
            }
            board.endStroke();
            _dragging = false;
            _rectR = _rectC = -1;
        }
    }
    _prevLeft = left;
    _prevRight = right;
}

// ---------------------------------------------------------------------------
// Drawing

int TEditor::draw() {
    const auto t0 = std::chrono::steady_clock::now();
    _drawAll();
    if (_stats && _dragging && _drawUs.size() < 100000)
        _drawUs.push_back(static_cast<int>(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0)
                .count()));
    return 0;
}

void TEditor::_drawAll() {
    // Both pictures are brought up to date first: that drawing clears the screen.
    if (_level) _renewBoardPicture();
    _renewPanelPicture();
    resetState();
    SetBlend(SOLIDBLEND);
    if (_level && _boardPic)
        DrawImage(_boardPic, 0, 0);
    else if (_backImg)
        DrawImage(_backImg, 0, 0);
    else
        fillRect(0, 0, 1024, 768, 40, 46, 58, 1);
    if (_level) {
        resetState();
        _drawBoardOverlay();
    }
    resetState();
    SetBlend(SOLIDBLEND);
    if (_panelPic)
        DrawImage(_panelPic, kPanelX - 4, 0);
    else
        _drawPanel();
    if (_checkShown) _drawCheck();
    resetState();
    _drawFade();
}

void TEditor::_renewPanelPicture() {
    // The panel changes only when the designer does something to it (or
    // points at it): kept as a picture, redrawn when what it shows changes.
    std::string& sig = _panelSig;
    sig.clear();
    const auto add = [&sig](long v) {
        char buf[24];
        const int n = std::snprintf(buf, sizeof buf, "%ld,", v);
        sig.append(buf, static_cast<size_t>(n));
    };
    add(tool.kind);
    add(tool.value);
    add(static_cast<int>(shape));
    add(_tileSet);
    const TEditorLevelData& d = board.doc;
    add(d.rows);
    add(d.cols);
    add(d.czas);
    add(d.maxCzas);
    add(d.background);
    add(d.puzzles);
    add(d.saPuzzle);
    for (int z : d.zasob) add(z);
    sig += d.matchType;
    sig += '|';
    for (int id : d.availableChips) add(id);
    sig += '|';
    for (int id : d.availableBonus) add(id);
    sig += '|';
    int hover = -1;
    for (size_t i = 0; i < _buttons.size(); ++i) {
        const Button& b = _buttons[i];
        if (b.contains(mouse.x, mouse.y)) hover = static_cast<int>(i);
    }
    add(hover);
    add(_editField);
    sig += _editText;
    if (_editField >= 0) add((Millisecs() / 400) % 2);
    if (_panelPic && sig == _panelPicSig) return;
    if (!_panelPic) _panelPic = CreateImage(1024 - kPanelX + 4, kStatusY, 1, 0);
    if (!_panelPic) return;
    int vx, vy, vw, vh;
    GetViewport(vx, vy, vw, vh);
    ForceDrawing(true);
    SetViewport(kPanelX - 4, 0, 1024 - kPanelX + 4, kStatusY);
    _drawPanel();
    GrabImageRect(_panelPic, kPanelX - 4, 0, 1024 - kPanelX + 4, kStatusY, 0, 0);
    ForceDrawing(false);
    SetViewport(vx, vy, vw, vh);
    Cls();
    _panelPicSig = sig;
}

// The board's cells [r0..r1] x [c0..c1] (frame ring included when they reach
// the edge) as the game draws them, at the editor's zoom, clipped to the
// screen rectangle (x, y, w, h).
void TEditor::_drawBoardPart(int r0, int r1, int c0, int c1, float x, float y, float w, float h) {
    SetBlend(SOLIDBLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetViewportF(x, y, w, h);
    if (_backImg)
        DrawImage(_backImg, 0, 0);
    else
        fillRect(0, 0, 1024, 768, 40, 46, 58, 1);
    SetVirtualResolution(1024.0f / _zoom, 768.0f / _zoom);
    SetViewportF(x / _zoom, y / _zoom, w / _zoom, h / _zoom);
    resetState();
    // Frame cell [R, C] lies over tile [R - 1, C - 1].
    for (int R = std::max(0, r0); R <= std::min(_level->rows + 1, r1 + 2); ++R)
        for (int C = std::max(0, c0); C <= std::min(_level->cols + 1, c1 + 2); ++C)
            if (R < static_cast<int>(_level->ramka.size()) && C < static_cast<int>(_level->ramka[R].size()) &&
                _level->ramka[R][C])
                _level->ramka[R][C]->draw();
    for (int r = std::max(0, r0); r <= std::min(_level->rows - 1, r1); ++r)
        for (int c = std::max(0, c0); c <= std::min(_level->cols - 1, c1); ++c)
            if (TTile* t = _level->tileAt(r, c)) {
                t->draw(1);
                t->drawChain();
                t->drawChip_EDITOR();
            }
    SetVirtualResolution(1024, 768);
    SetViewport(0, 0, 1024, 768);
    resetState();
}

void TEditor::_renewBoardPicture() {
    // The board is kept as one picture: a paint stroke redraws only the
    // patches around the cells it changed, so a frame stays cheap however
    // large the board.
    const bool whole = !_boardPic || _picRows != board.doc.rows || _picCols != board.doc.cols ||
                       _picZoom != _zoom || _picTileSet != _tileSet || _picBack != _backId ||
                       _picCells.size() != board.doc.cells.size();
    std::vector<int> changed;
    if (!whole) {
        for (size_t i = 0; i < _picCells.size(); ++i)
            if (_picCells[i] != board.doc.cells[i]) changed.push_back(static_cast<int>(i));
        if (changed.empty()) return;
    }
    if (!_boardPic) _boardPic = CreateImage(1024, 768, 1, 0);
    if (!_boardPic) return;
    int vx, vy, vw, vh;
    GetViewport(vx, vy, vw, vh);
    ForceDrawing(true);
    if (whole || changed.size() > 40) {
        _drawBoardPart(-1, _level->rows, -1, _level->cols, 0, 0, 1024, 768);
        GrabImage(_boardPic, 0, 0);
    } else {
        const float pitchX = _pitchX() * _zoom;
        const float pitchY = _pitchY() * _zoom;
        const float left = _level->sx * _zoom - pitchX / 2, top = _level->sy * _zoom - pitchY / 2;
        for (int i : changed) {
            const int r = i / board.doc.cols, c = i % board.doc.cols;
            // The cell and its neighbours (their frame pieces change with it)
            // are taken into the picture. They are drawn with everything two
            // cells around and clipped half a cell further out, so no item
            // that shows in the patch is cut by the clip (a cut image may be
            // sampled a little differently).
            const float cx = std::floor(left + (c - 2.5f) * pitchX),
                        cy = std::floor(top + (r - 2.5f) * pitchY);
            _drawBoardPart(r - 2, r + 2, c - 2, c + 2, cx, cy, std::ceil(pitchX * 6) + 1,
                           std::ceil(pitchY * 6) + 1);
            const float x = std::floor(left + (c - 1) * pitchX), y = std::floor(top + (r - 1) * pitchY);
            const float w = std::ceil(pitchX * 3) + 1, h = std::ceil(pitchY * 3) + 1;
            const int gx = std::max(0, static_cast<int>(x)), gy = std::max(0, static_cast<int>(y));
            const int gw = std::min(1024 - gx, static_cast<int>(w)),
                      gh = std::min(768 - gy, static_cast<int>(h));
            if (gw > 0 && gh > 0) GrabImageRect(_boardPic, gx, gy, gw, gh, gx, gy);
        }
    }
    ForceDrawing(false);
    SetViewport(vx, vy, vw, vh);
    Cls();
    _picCells = board.doc.cells;
    _picRows = board.doc.rows;
    _picCols = board.doc.cols;
    _picZoom = _zoom;
    _picTileSet = _tileSet;
    _picBack = _backId;
}

void TEditor::_drawBoardOverlay() {
    const float pitchX = _pitchX() * _zoom;
    const float pitchY = _pitchY() * _zoom;
    const float left = (_level->sx * _zoom) - pitchX / 2, top = (_level->sy * _zoom) - pitchY / 2;
    const float w = pitchX * static_cast<float>(_level->cols), h = pitchY * static_cast<float>(_level->rows);
    // The grid.
    for (int c = 0; c <= _level->cols; ++c) fillRect(left + c * pitchX, top, 1, h, 255, 255, 255, 0.35f);
    for (int r = 0; r <= _level->rows; ++r) fillRect(left, top + r * pitchY, w, 1, 255, 255, 255, 0.35f);
    // Creators: a green bar along the top of the cell with a notch pointing in.
    for (int r = 0; r < board.doc.rows; ++r)
        for (int c = 0; c < board.doc.cols; ++c)
            if (board.doc.at(r, c).creator) {
                const float x = left + c * pitchX, y = top + r * pitchY;
                fillRect(x + 3, y + 3, pitchX - 6, std::max(3.0f, pitchY * 0.12f), 40, 210, 90, 0.95f);
                fillRect(x + pitchX / 2 - pitchX * 0.1f, y + 3, pitchX * 0.2f, pitchY * 0.22f, 40, 210, 90,
                         0.95f);
            }
    // The rectangle being dragged, then the cell under the pointer.
    int r = -1, c = -1;
    const bool on = cellAt(mouse.x, mouse.y, r, c);
    if (_dragging && shape == Shape::Rectangle && _rectR >= 0) {
        int er = 0, ec = 0;
        cellClamped(mouse.x, mouse.y, er, ec);
        const int r0 = std::min(_rectR, er), c0 = std::min(_rectC, ec);
        const int r1 = std::max(_rectR, er), c1 = std::max(_rectC, ec);
        fillRect(left + c0 * pitchX, top + r0 * pitchY, (c1 - c0 + 1) * pitchX, (r1 - r0 + 1) * pitchY, 90,
                 160, 255, 0.25f);
    }
    if (on) outline(left + c * pitchX, top + r * pitchY, pitchX, pitchY, 255, 220, 60, 1, 2);
    // Title and status line.
    fillRect(0, 0, kPanelX - 4, 32, 22, 26, 34, 0.92f);
    SetImageFont(_title);
    textColour();
    SetAlpha(1);
    DrawText("Level editor - " + _fileTitle(), 10, 6);
    const std::string size = std::to_string(board.doc.rows) + " x " + std::to_string(board.doc.cols);
    std::string where = size;
    if (on) where = "row " + std::to_string(r) + ", column " + std::to_string(c) + "   " + size;
    SetImageFont(_font);
    DrawText(where, kPanelX - 12 - TextWidth(where), 8);
    fillRect(0, kStatusY, 1024, 24, 22, 26, 34, 0.95f);
    SetImageFont(_font);
    if (messageIsError)
        SetColor(255, 170, 160);
    else
        textColour();
    SetAlpha(1);
    // Pointing at a tool or command names it with its key.
    const Button* hover = nullptr;
    for (const Button& b : _buttons)
        if (b.contains(mouse.x, mouse.y)) hover = &b;
    if (hover && !hover->key.empty()) {
        textColour();
        DrawText(hover->label + " - key " + hover->key, 10, kStatusY + 3);
    } else {
        DrawText(message, 10, kStatusY + 3);
    }
}

void TEditor::_drawButton(const Button& b) {
    const bool lit = b.lit && b.lit();
    const bool hover = b.contains(mouse.x, mouse.y);
    fillRect(b.x, b.y, b.w, b.h, lit ? 70 : 52, lit ? 96 : 58, lit ? 150 : 72, 1);
    if (hover)
        outline(b.x, b.y, b.w, b.h, 255, 220, 60, 1, 1);
    else if (lit)
        outline(b.x, b.y, b.w, b.h, 150, 190, 255, 1, 2);
    const float cx = b.x + b.w / 2.0f, cy = b.y + b.h / 2.0f;
    resetState();
    if (b.tile >= 0) {
        if (auto td = _game->getTileData(b.tile); td && td->gfx) {
            const float s = (b.w - 6) / std::max(1.0f, static_cast<float>(ImageWidth(td->gfx)));
            SetScale(s, s);
            DrawImage(td->gfx, cx, cy);
        }
        if (b.tile == 0) {
            SetImageFont(_small);
            textColour();
            DrawText("hole", cx - TextWidth("hole") / 2.0f, cy - 8);
        }
    } else if (b.chip > 0) {
        TChipDataPtr cd = b.chip > 100 ? _game->getBonusChipData(b.chip) : _game->getChipData(b.chip);
        if (cd && cd->gfx) {
            const float iw = static_cast<float>(cd->frameW > 0 ? cd->frameW : ImageWidth(cd->gfx));
            const float s = (b.w - 6) / std::max(1.0f, iw);
            SetScale(s, s);
            if (b.label == "deal" && !lit) SetAlpha(0.3f);
            DrawImage(cd->gfx, cx, cy);
        }
    } else if (b.label == "match" || b.label == "back" || b.label == "flag") {
        std::string t = b.label == "match"  ? board.doc.matchType
                        : b.label == "back" ? std::to_string(board.doc.background)
                                            : (board.doc.saPuzzle ? "yes" : "no");
        SetImageFont(_font);
        textColour();
        DrawText(t, cx - TextWidth(t) / 2.0f, cy - TextHeight(t) / 2.0f);
    } else {
        std::string t = b.label;
        if (t == "Random chip")
            t = "?";
        else if (t == "No chip")
            t = "none";
        else if (t.rfind("Chain", 0) == 0)
            t.clear();
        else if (t == "Creator")
            t.clear();
        SetImageFont(b.h >= 40 ? _font : _small);
        textColour();
        DrawText(t, cx - TextWidth(t) / 2.0f, cy - TextHeight(t) / 2.0f);
        if (b.label.rfind("Chain", 0) == 0) {
            const ImagePtr& img = b.label.find('2') != std::string::npos ? _chain2 : _chain1;
            if (img) {
                const float s = (b.w - 4) / std::max(1.0f, static_cast<float>(ImageWidth(img)));
                SetScale(s, s);
                SetColor(255, 255, 255);
                DrawImage(img, cx, cy);
            }
        } else if (b.label == "Creator") {
            fillRect(b.x + 6, b.y + 8, b.w - 12, 5, 40, 210, 90, 1);
            fillRect(cx - 4, b.y + 8, 8, 14, 40, 210, 90, 1);
        }
    }
    resetState();
}

void TEditor::_drawPanel() {
    fillRect(kPanelX - 4, 0, 1024 - kPanelX + 4, kStatusY, 26, 30, 40, 1);
    const int x0 = kPanelX + 8;
    SetImageFont(_small);
    auto label = [](const std::string& t, float x, float y) {
        dimTextColour();
        SetAlpha(1);
        DrawText(t, x, y);
    };
    label("Plates", x0, 38);
    label("Chips", x0, 148);
    label("Bonus chips", x0, 256);
    label("Size " + std::to_string(board.doc.rows) + " x " + std::to_string(board.doc.cols) + " (1 to 30)",
          x0, 348);
    label("Match", x0, 423);
    label("Backgr.", x0 + 130, 423);
    label("Puzzle", x0 + 130, 475);
    label("Dealt chips", x0, 552);
    label("Bonus kinds", x0, 598);
    for (const Button& b : _buttons) _drawButton(b);
    for (size_t i = 0; i < _fields.size(); ++i) {
        const Field& f = _fields[i];
        SetImageFont(_small);
        label(f.label, f.x - 60, f.y + 3);
        const bool editing = static_cast<int>(i) == _editField;
        fillRect(f.x, f.y, f.w, 22, editing ? 250 : 14, editing ? 250 : 16, editing ? 250 : 22, 1);
        outline(f.x, f.y, f.w, 22, editing ? 255 : 90, editing ? 200 : 100, editing ? 60 : 120, 1, 1);
        SetImageFont(_font);
        if (editing)
            SetColor(20, 20, 24);
        else
            textColour();
        SetAlpha(1);
        std::string t = editing ? _editText : std::to_string(f.get(board.doc));
        if (editing && (Millisecs() / 400) % 2 == 0) t += "|";
        DrawText(t, f.x + 5, f.y + 2);
    }
    resetState();
}

void TEditor::_drawCheck() {
    const float x = 16, y = 44, w = 600, h = 170;
    fillRect(x, y, w, h, 16, 18, 24, 0.9f);
    outline(x, y, w, h, 120, 140, 180, 1, 1);
    SetImageFont(_title);
    textColour();
    SetAlpha(1);
    DrawText("Check (autoplayer, 10 seeds)", x + 10, y + 6);
    SetImageFont(_font);
    if (_check.busy()) {
        DrawText("Playing... " + std::to_string(_check.finishedRuns()) + " of " +
                     std::to_string(_check.totalRuns()) + " runs done",
                 x + 10, y + 36);
        return;
    }
    if (!_check.done()) return;
    const TEditorCheckSummary s = _check.summary();
    const char* modes[2] = {"Relaxed", "Timed"};
    for (int m = 0; m < 2; ++m) {
        char line[160];
        std::snprintf(line, sizeof line, "%s: won %d of %d, median %d moves, %.0f s", modes[m], s.won[m],
                      s.runs[m], s.medianMoves[m], static_cast<double>(s.medianSeconds[m]));
        textColour();
        DrawText(line, x + 10, y + 36 + m * 22);
    }
    float ly = y + 84;
    for (const auto& wmsg : s.warnings) {
        SetColor(255, 190, 120);
        DrawText("! " + wmsg, x + 10, ly);
        ly += 20;
    }
    if (s.warnings.empty()) {
        SetColor(150, 230, 150);
        DrawText("Winnable.", x + 10, ly);
        ly += 20;
    }
    dimTextColour();
    std::string foot = "Checked in " + std::to_string(_check.elapsedMs()) + " ms (click to close)";
    if (_checkVersion != board.version()) foot += " - the level changed since";
    DrawText(foot, x + 10, y + h - 22);
}
