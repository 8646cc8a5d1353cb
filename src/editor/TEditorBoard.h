// The level being edited, as plain data: the cells (plate kind, chip, chain,
// creator) and the level's own fields. Every edit goes through here so that
// it can be undone; the screen turns the data into a TLevel for drawing,
// saving and play-testing.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TLevel;
class TM3Game;

struct TEditorCell {
    int tile = 1;     // plate kind (0 hole, 1 plain, 2 one layer, 3 two layers)
    int chip = 0;     // chip kind id, 0 none, above 100 a bonus kind
    int chain = 0;    // 0, 1 or 2
    int creator = 0;  // 1 when new chips enter here
    bool operator==(const TEditorCell& o) const {
        return tile == o.tile && chip == o.chip && chain == o.chain && creator == o.creator;
    }
    bool operator!=(const TEditorCell& o) const { return !(*this == o); }
};

struct TEditorLevelData {
    static constexpr int kMinDim = 1;
    static constexpr int kMaxDim = 30;

    int rows = 0, cols = 0;
    std::vector<TEditorCell> cells;  // row-major, rows * cols
    std::string matchType = "SWAP";
    int czas = 360, maxCzas = 360;
    int background = 1;
    int puzzles = 0;
    int saPuzzle = 0;
    std::array<int, 4> zasob{};
    std::vector<int> availableChips;  // in file order
    std::vector<int> availableBonus;  // bonus kind ids (101...)

    TEditorCell& at(int r, int c) { return cells[static_cast<size_t>(r * cols + c)]; }
    const TEditorCell& at(int r, int c) const { return cells[static_cast<size_t>(r * cols + c)]; }
    bool inside(int r, int c) const { return r >= 0 && c >= 0 && r < rows && c < cols; }
    bool operator==(const TEditorLevelData& o) const;
    bool operator!=(const TEditorLevelData& o) const { return !(*this == o); }
};

// What a paint, fill or rectangle puts on a cell.
struct TEditorTool {
    enum Kind { Tile, Chain, Creator, Chip };
    Kind kind = Tile;
    int value = 1;  // plate kind, chain strength, chip id (0 = no chip), creator 0/1
    bool operator==(const TEditorTool& o) const { return kind == o.kind && value == o.value; }
};

enum class TEditorEdge { Top, Bottom, Left, Right };

class TEditorBoard {
public:
    static constexpr size_t kHistory = 200;

    TEditorLevelData doc;

    // A new level: rows x cols plain plates, time 360 (both), background 1.
    void reset(int rows, int cols);
    // Takes the data as it stands (after opening a file); history cleared,
    // counted as saved.
    void load(const TEditorLevelData& data);

    // The value of the tool's layer on a cell.
    static int layerValue(const TEditorCell& cell, TEditorTool::Kind kind);
    // Puts the tool on one cell; true when the cell changed. A hole takes
    // no chip, chain or creator; making a hole clears them.
    static bool apply(TEditorCell& cell, const TEditorTool& tool);
    // Clears the tool's layer (the right button): a plate becomes a hole.
    static TEditorTool eraserOf(TEditorTool::Kind kind);

    // Single edits, each one undo step (nothing recorded when nothing changed).
    bool paint(int r, int c, const TEditorTool& tool);
    // Flood fill: the 4-connected cells whose layer value equals the start
    // cell's take the tool.
    // `pick`, when given, chooses the tool's value cell by cell (a random
    // chip on every cell).
    bool floodFill(int r, int c, const TEditorTool& tool, const std::function<int()>& pick = nullptr);
    // Every cell of the rectangle between the two corners (any order).
    bool rectangle(int r0, int c0, int r1, int c1, const TEditorTool& tool,
                   const std::function<int()>& pick = nullptr);
    // Grows (delta > 0) or shrinks (delta < 0) the board by one row or column
    // at an edge, keeping the contents; refused (false) outside 1..30.
    bool resize(TEditorEdge edge, int delta);
    // Any change of the level's fields: `change` edits a copy of the data; one
    // undo step when it changed something.
    template <class F>
    bool edit(F change) {
        TEditorLevelData next = doc;
        change(next);
        return commit(std::move(next));
    }

    // A drag: the cells painted between begin and end are one undo step.
    void beginStroke();
    bool strokePaint(int r, int c, const TEditorTool& tool);
    void endStroke();
    bool inStroke() const { return _stroke; }

    bool undo();
    bool redo();
    size_t undoSteps() const { return _undo.size(); }
    size_t redoSteps() const { return _redo.size(); }
    void clearHistory();

    bool modified() const { return doc != _saved; }
    void markSaved() { _saved = doc; }
    // Bumped on every change of doc (the screen rebuilds its level then).
    unsigned version() const { return _version; }

private:
    bool commit(TEditorLevelData next);
    void _push(TEditorLevelData before);
    std::vector<TEditorLevelData> _undo, _redo;
    TEditorLevelData _saved;
    TEditorLevelData _strokeStart;
    bool _stroke = false;
    unsigned _version = 0;
};

// From a loaded level (tiles, chips, chains, creators and the fields the
// file keeps).
TEditorLevelData editorDataOfLevel(const TLevel& level);
// A level on `game`'s catalogues with frames laid out; null when a plate kind
// is not in the catalogue (why: the reason).
std::shared_ptr<TLevel> buildEditorLevel(const TEditorLevelData& data, TM3Game* game,
                                         std::string* why = nullptr);
