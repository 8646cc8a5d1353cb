#include "editor/TEditorBoard.h"

#include <algorithm>
#include <utility>

#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"

bool TEditorLevelData::operator==(const TEditorLevelData& o) const {
    return rows == o.rows && cols == o.cols && cells == o.cells && matchType == o.matchType &&
           czas == o.czas && maxCzas == o.maxCzas && background == o.background && puzzles == o.puzzles &&
           saPuzzle == o.saPuzzle && zasob == o.zasob && availableChips == o.availableChips &&
           availableBonus == o.availableBonus;
}

void TEditorBoard::reset(int rows, int cols) {
    TEditorLevelData d;
    d.rows = std::clamp(rows, TEditorLevelData::kMinDim, TEditorLevelData::kMaxDim);
    d.cols = std::clamp(cols, TEditorLevelData::kMinDim, TEditorLevelData::kMaxDim);
    d.cells.assign(static_cast<size_t>(d.rows * d.cols), TEditorCell{});
    d.availableChips = {1, 2, 3, 4, 5, 6};
    load(d);
}

void TEditorBoard::load(const TEditorLevelData& data) {
    doc = data;
    _saved = doc;
    clearHistory();
    _stroke = false;
    ++_version;
}

void TEditorBoard::clearHistory() {
    _undo.clear();
    _redo.clear();
}

int TEditorBoard::layerValue(const TEditorCell& cell, TEditorTool::Kind kind) {
    switch (kind) {
        case TEditorTool::Tile:
            return cell.tile;
        case TEditorTool::Chain:
            return cell.chain;
        case TEditorTool::Creator:
            return cell.creator;
        case TEditorTool::Chip:
            return cell.chip;
    }
    return 0;
}

bool TEditorBoard::apply(TEditorCell& cell, const TEditorTool& tool) {
    const TEditorCell before = cell;
    switch (tool.kind) {
        case TEditorTool::Tile:
            cell.tile = std::max(0, tool.value);
            if (cell.tile == 0) cell = TEditorCell{0, 0, 0, 0};
            break;
        case TEditorTool::Chain:
            if (cell.tile == 0) return false;
            cell.chain = std::clamp(tool.value, 0, 2);
            break;
        case TEditorTool::Creator:
            if (cell.tile == 0) return false;
            cell.creator = tool.value ? 1 : 0;
            break;
        case TEditorTool::Chip:
            if (cell.tile == 0) return false;
            cell.chip = std::max(0, tool.value);
            break;
    }
    return cell != before;
}

TEditorTool TEditorBoard::eraserOf(TEditorTool::Kind kind) {
    TEditorTool t;
    t.kind = kind;
    t.value = 0;
    return t;
}

bool TEditorBoard::commit(TEditorLevelData next) {
    if (next == doc) return false;
    _push(std::move(doc));
    doc = std::move(next);
    _redo.clear();
    ++_version;
    return true;
}

void TEditorBoard::_push(TEditorLevelData before) {
    _undo.push_back(std::move(before));
    if (_undo.size() > kHistory) _undo.erase(_undo.begin());
}

bool TEditorBoard::paint(int r, int c, const TEditorTool& tool) {
    if (!doc.inside(r, c)) return false;
    return edit([&](TEditorLevelData& d) { apply(d.at(r, c), tool); });
}

namespace {
TEditorTool picked(const TEditorTool& tool, const std::function<int()>& pick) {
    TEditorTool t = tool;
    if (pick) t.value = pick();
    return t;
}
}  // namespace

bool TEditorBoard::floodFill(int r, int c, const TEditorTool& tool, const std::function<int()>& pick) {
    if (!doc.inside(r, c)) return false;
    return edit([&](TEditorLevelData& d) {
        const int from = layerValue(d.at(r, c), tool.kind);
        std::vector<char> seen(d.cells.size(), 0);
        std::vector<std::pair<int, int>> todo{{r, c}};
        seen[static_cast<size_t>(r * d.cols + c)] = 1;
        while (!todo.empty()) {
            const auto [cr, cc] = todo.back();
            todo.pop_back();
            apply(d.at(cr, cc), picked(tool, pick));
            static const int dr[4] = {-1, 1, 0, 0}, dc[4] = {0, 0, -1, 1};
            for (int k = 0; k < 4; ++k) {
                const int nr = cr + dr[k], nc = cc + dc[k];
                if (!d.inside(nr, nc)) continue;
                const size_t i = static_cast<size_t>(nr * d.cols + nc);
                // The region is judged on the board as it was, not as filled.
                if (seen[i] || layerValue(doc.at(nr, nc), tool.kind) != from) continue;
                seen[i] = 1;
                todo.emplace_back(nr, nc);
            }
        }
    });
}

bool TEditorBoard::rectangle(int r0, int c0, int r1, int c1, const TEditorTool& tool,
                             const std::function<int()>& pick) {
    if (!doc.inside(r0, c0) || !doc.inside(r1, c1)) return false;
    return edit([&](TEditorLevelData& d) {
        for (int r = std::min(r0, r1); r <= std::max(r0, r1); ++r)
            for (int c = std::min(c0, c1); c <= std::max(c0, c1); ++c) apply(d.at(r, c), picked(tool, pick));
    });
}

bool TEditorBoard::resize(TEditorEdge edge, int delta) {
    if (delta == 0) return false;
    const bool vertical = edge == TEditorEdge::Top || edge == TEditorEdge::Bottom;
    const int nr = doc.rows + (vertical ? delta : 0);
    const int nc = doc.cols + (vertical ? 0 : delta);
    if (nr < TEditorLevelData::kMinDim || nr > TEditorLevelData::kMaxDim || nc < TEditorLevelData::kMinDim ||
        nc > TEditorLevelData::kMaxDim)
        return false;
    // Where old cell [0, 0] lands in the new grid.
    const int offR = edge == TEditorEdge::Top ? delta : 0;
    const int offC = edge == TEditorEdge::Left ? delta : 0;
    return edit([&](TEditorLevelData& d) {
        std::vector<TEditorCell> cells(static_cast<size_t>(nr * nc), TEditorCell{});
        for (int r = 0; r < nr; ++r)
            for (int c = 0; c < nc; ++c) {
                const int orr = r - offR, oc = c - offC;
                if (doc.inside(orr, oc)) cells[static_cast<size_t>(r * nc + c)] = doc.at(orr, oc);
            }
        d.rows = nr;
        d.cols = nc;
        d.cells = std::move(cells);
    });
}

void TEditorBoard::beginStroke() {
    if (_stroke) endStroke();
    _stroke = true;
    _strokeStart = doc;
}

bool TEditorBoard::strokePaint(int r, int c, const TEditorTool& tool) {
    if (!_stroke) return paint(r, c, tool);
    if (!doc.inside(r, c)) return false;
    if (!apply(doc.at(r, c), tool)) return false;
    ++_version;
    return true;
}

void TEditorBoard::endStroke() {
    if (!_stroke) return;
    _stroke = false;
    if (doc == _strokeStart) return;
    _push(std::move(_strokeStart));
    _redo.clear();
}

bool TEditorBoard::undo() {
    if (_stroke) endStroke();
    if (_undo.empty()) return false;
    _redo.push_back(std::move(doc));
    doc = std::move(_undo.back());
    _undo.pop_back();
    ++_version;
    return true;
}

bool TEditorBoard::redo() {
    if (_stroke) endStroke();
    if (_redo.empty()) return false;
    _push(std::move(doc));
    doc = std::move(_redo.back());
    _redo.pop_back();
    ++_version;
    return true;
}

// ---------------------------------------------------------------------------

TEditorLevelData editorDataOfLevel(const TLevel& level) {
    TEditorLevelData d;
    d.rows = level.rows;
    d.cols = level.cols;
    d.cells.assign(static_cast<size_t>(std::max(0, d.rows * d.cols)), TEditorCell{});
    for (int r = 0; r < d.rows; ++r)
        for (int c = 0; c < d.cols; ++c) {
            const TTile* t = level.tileAt(r, c);
            if (!t) continue;
            TEditorCell& cell = d.at(r, c);
            cell.tile = t->td ? t->td->id : 0;
            cell.chip = t->chip && t->chip->cd ? t->chip->cd->id : 0;
            cell.chain = t->chain;
            cell.creator = t->creator ? 1 : 0;
        }
    d.matchType = level.matchType;
    d.czas = level.czas;
    d.maxCzas = level.maxCzas;
    d.background = level.backGround ? level.backGround->id : 0;
    d.puzzles = level.puzzles;
    d.saPuzzle = level.saPuzzle;
    d.zasob = level.zasob;
    for (const auto& cd : level.availableChips)
        if (cd) d.availableChips.push_back(cd->id);
    for (const auto& cd : level.availableBonus)
        if (cd) d.availableBonus.push_back(cd->id);
    return d;
}

std::shared_ptr<TLevel> buildEditorLevel(const TEditorLevelData& data, TM3Game* game, std::string* why) {
    if (data.rows < TEditorLevelData::kMinDim || data.rows > TEditorLevelData::kMaxDim ||
        data.cols < TEditorLevelData::kMinDim || data.cols > TEditorLevelData::kMaxDim ||
        data.cells.size() != static_cast<size_t>(data.rows * data.cols)) {
        if (why) *why = "the board size is outside 1 x 1 to 30 x 30";
        return nullptr;
    }
    auto lvl = std::make_shared<TLevel>();
    lvl->rows = data.rows;
    lvl->cols = data.cols;
    lvl->m3Game = game;
    lvl->settings = game ? game->settings : nullptr;
    lvl->createEmptyTilesTab();
    for (int r = 0; r < data.rows; ++r)
        for (int c = 0; c < data.cols; ++c) {
            const TEditorCell& cell = data.at(r, c);
            TTile& t = *lvl->tile[r][c];
            TTileDataPtr td = game ? game->getTileData(cell.tile) : nullptr;
            if (!td) {
                if (why)
                    *why = "plate kind " + std::to_string(cell.tile) + " (row " + std::to_string(r) +
                           ", column " + std::to_string(c) + ") is not in the tile catalogue";
                return nullptr;
            }
            t.setTileData(td);
            t.chain = cell.chain;
            t.creator = cell.creator;
            TChipDataPtr cd;
            if (cell.chip > 100)
                cd = game->getBonusChipData(cell.chip);
            else if (cell.chip >= 1)
                cd = game->getChipData(cell.chip);
            if (cd) {
                auto chip = createChip(cd);
                t.setChip(chip);
                chip->r = r;
                chip->c = c;
            }
        }
    lvl->matchType = data.matchType;
    lvl->czas = data.czas;
    lvl->maxCzas = data.maxCzas;
    lvl->puzzles = data.puzzles;
    lvl->saPuzzle = data.saPuzzle;
    lvl->zasob = data.zasob;
    for (int id : data.availableChips)
        if (auto cd = game ? game->getChipData(id) : nullptr) lvl->availableChips.push_back(cd);
    for (int id : data.availableBonus)
        if (auto cd = game ? game->getBonusChipData(id < 100 ? id + 100 : id) : nullptr)
            lvl->availableBonus.push_back(cd);
    if (auto bg = getBackground(data.background)) {
        lvl->backGround = bg;  // the picture is loaded by whoever shows it
    }
    lvl->CreateCreatorsList();
    lvl->CreateLevelFrames();
    lvl->countDims();
    return lvl;
}
