// The level editor: the board drawn as in the game with a grid, a side
// palette of tools (plates, chains, creators, chips; paint, fill and
// rectangle), the level's fields, resizing at every edge, undo and redo,
// files through an in-game dialog, play-testing on the real play screen and
// a winnability check run beside it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/TEkran.h"
#include "editor/TEditorBoard.h"
#include "editor/TEditorCheck.h"

class TLevel;
class TM3Game;

class TEditor : public TEkran {
public:
    TEditor();

    enum class Shape { Paint, Fill, Rectangle };

    // A clickable thing of the side panel.
    struct Button {
        int x = 0, y = 0, w = 0, h = 0;
        std::string label;
        std::function<void()> act;
        std::function<bool()> lit;  // drawn as chosen
        int chip = 0;               // draws this chip kind's picture
        int tile = -1;              // draws this plate kind's picture
        std::string key;            // shortcut shown in the status line
        bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
    };
    // A number of the level's data that is typed in.
    struct Field {
        std::string label;
        int x = 0, y = 0, w = 0;
        int minV = 0, maxV = 0;
        std::function<int(const TEditorLevelData&)> get;
        std::function<void(TEditorLevelData&, int)> set;
        // Beyond the range: why a value cannot be taken ("" when it can).
        std::function<std::string(const TEditorLevelData&, int)> refuse;
        bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + 22; }
    };

    TEditorBoard board;
    TEditorTool tool;
    Shape shape = Shape::Paint;
    std::string filePath;  // "" for a new level never saved
    std::string message;   // the status line
    bool messageIsError = false;

    int setup() override;
    // Registered as "EDITOR": returns `exitTo` when the designer leaves.
    std::string mainLoop();
    std::string exitTo = "MAIN-MENU";
    // Opens a file (a message and a new level when it cannot be read) or,
    // with "", a new level.
    void openAtStart(const std::string& path);

    int update() override;
    int draw() override;
    void _control() override;
    void _frameBegin() override;

    // Actions (the buttons and keys call these; the tests too).
    void newLevel(int rows, int cols);
    bool openFile(const std::string& path);
    bool saveTo(const std::string& path);
    void saveCommand();    // Ctrl+S: to the file, or asks for a name
    void saveAsCommand();  // asks for folder and name
    void openCommand();    // file dialog
    void newCommand();     // asks about unsaved changes first
    void playTest(bool timed);
    void startCheck();
    void leave();
    // At an exit that skips the question (the window closed, the program
    // ended): unsaved changes go to "Editor/recovered.lvl" in the per-user
    // folder. true when something was written.
    bool saveRecovery();
    // Prints the painting frames' times (BRIMBLE_EDITOR_STATS), once.
    void printStats();
    // Asks to save unsaved changes: false when the designer cancelled.
    bool askSaveChanges();

    // Board geometry on screen: the cell under a point (false outside).
    bool cellAt(int x, int y, int& r, int& c) const;
    // The nearest cell to a point, on the board or beside it.
    void cellClamped(int x, int y, int& r, int& c) const;
    float zoom() const { return _zoom; }

    std::shared_ptr<TLevel> level() const { return _level; }
    std::shared_ptr<TM3Game> game() const { return _game; }
    const TEditorCheck& check() const { return _check; }

private:
    bool _setUp = false;
    std::shared_ptr<TM3Game> _game;
    std::shared_ptr<TLevel> _level;
    unsigned _builtVersion = ~0u;
    float _zoom = 1;
    FontPtr _font, _small, _title;
    ImagePtr _backImg, _chain1, _chain2;
    int _backId = -1;
    std::vector<Button> _buttons;
    std::vector<Field> _fields;
    int _editField = -1;
    std::string _editText;
    bool _dragging = false;
    bool _erasing = false;
    int _rectR = -1, _rectC = -1;  // rectangle's first corner while dragging
    int _lastR = -1, _lastC = -1;
    bool _prevLeft = false, _prevRight = false;
    TEditorCheck _check;
    bool _checkShown = false;
    unsigned _checkVersion = 0;
    std::string _checkFile;
    bool _quit = false;
    int _tileSet = 0;
    void _switchTileSet();
    void _sayCheck();
    std::string _workDir() const;
    std::string _pendingNotice;  // shown once the loop runs
    bool _escape = false;
    // With BRIMBLE_EDITOR_STATS set: the time of every frame spent painting
    // (from one frame's start to the next, less the wait for the display),
    // printed when the editor closes.
    bool _stats = false;
    std::vector<int> _paintFrameUs, _syncUs, _drawUs;
    void _drawAll();
    // The board's picture and what it shows.
    ImagePtr _boardPic;
    std::vector<TEditorCell> _picCells;
    int _picRows = -1, _picCols = -1, _picTileSet = -1, _picBack = -2;
    float _picZoom = 0;
    void _renewBoardPicture();
    ImagePtr _panelPic;
    std::string _panelSig, _panelPicSig;
    void _renewPanelPicture();
    void _drawBoardPart(int r0, int r1, int c0, int c1, float x, float y, float w, float h);
    long long _frameStartNs = 0;
    bool _framePainting = false;

    void _buildPanel();
    void _syncLevel();
    void _layoutBoard();
    // The level's cell pitch in level units (60 without settings); _level must be set.
    float _pitchX() const;
    float _pitchY() const;
    void _controlBoard();
    void _controlKeys();
    void _controlField();
    void _commitField();
    void _say(const std::string& text, bool error = false);
    std::string _fileTitle() const;
    void _drawPanel();
    void _drawBoardOverlay();
    void _drawCheck();
    void _drawButton(const Button& b);
    void _toggleChip(int id, bool bonus);
    bool _checkable(std::string& why) const;
};

extern std::shared_ptr<TEditor> editor;
