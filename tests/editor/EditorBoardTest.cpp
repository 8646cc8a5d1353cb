// The editor's board model: resizing at each edge, flood fill, rectangles,
// strokes and the undo history.
#include <gtest/gtest.h>

#include <string>

#include "editor/TEditorBoard.h"

namespace {
// A board drawn as text, one character a cell: the plate kind's digit, or
// the chip's letter (a = 1, b = 2, ...) when a chip lies on it.
std::string picture(const TEditorLevelData& d) {
    std::string s;
    for (int r = 0; r < d.rows; ++r) {
        for (int c = 0; c < d.cols; ++c) {
            const TEditorCell& cell = d.at(r, c);
            s += cell.chip > 0 ? static_cast<char>('a' + cell.chip - 1) : static_cast<char>('0' + cell.tile);
        }
        s += '/';
    }
    return s;
}

// A 3 x 4 board with each cell told apart by its chip.
TEditorBoard numbered() {
    TEditorBoard b;
    b.reset(3, 4);
    TEditorLevelData d = b.doc;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) d.at(r, c).chip = 1 + r * 4 + c;
    b.load(d);
    return b;
}

const TEditorTool kHole{TEditorTool::Tile, 0};
const TEditorTool kTwoLayers{TEditorTool::Tile, 3};
}  // namespace

TEST(EditorBoard, ResizeAtEachEdgeKeepsTheContentsInPlace) {
    struct Case {
        TEditorEdge edge;
        int delta;
        const char* expected;
    } cases[] = {
        {TEditorEdge::Top, 1, "1111/abcd/efgh/ijkl/"}, {TEditorEdge::Bottom, 1, "abcd/efgh/ijkl/1111/"},
        {TEditorEdge::Left, 1, "1abcd/1efgh/1ijkl/"},  {TEditorEdge::Right, 1, "abcd1/efgh1/ijkl1/"},
        {TEditorEdge::Top, -1, "efgh/ijkl/"},          {TEditorEdge::Bottom, -1, "abcd/efgh/"},
        {TEditorEdge::Left, -1, "bcd/fgh/jkl/"},       {TEditorEdge::Right, -1, "abc/efg/ijk/"},
    };
    for (const auto& k : cases) {
        TEditorBoard b = numbered();
        ASSERT_TRUE(b.resize(k.edge, k.delta));
        EXPECT_EQ(picture(b.doc), k.expected) << "edge " << static_cast<int>(k.edge) << " by " << k.delta;
        EXPECT_EQ(b.doc.cells.size(), static_cast<size_t>(b.doc.rows * b.doc.cols));
        // One undo step brings the old board back exactly.
        ASSERT_TRUE(b.undo());
        EXPECT_EQ(picture(b.doc), "abcd/efgh/ijkl/");
    }
}

TEST(EditorBoard, ResizeStaysWithinOneToThirty) {
    TEditorBoard b;
    b.reset(1, 30);
    EXPECT_FALSE(b.resize(TEditorEdge::Top, -1));
    EXPECT_FALSE(b.resize(TEditorEdge::Bottom, -1));
    EXPECT_FALSE(b.resize(TEditorEdge::Right, 1));
    EXPECT_FALSE(b.resize(TEditorEdge::Left, 1));
    EXPECT_EQ(b.undoSteps(), 0u);  // refused changes leave no step
    EXPECT_TRUE(b.resize(TEditorEdge::Left, -1));
    EXPECT_EQ(b.doc.cols, 29);
    for (int i = 0; i < 29; ++i) b.resize(TEditorEdge::Bottom, 1);
    EXPECT_EQ(b.doc.rows, 30);
    EXPECT_FALSE(b.resize(TEditorEdge::Top, 1));
}

TEST(EditorBoard, FloodFillTakesTheConnectedRegionOnly) {
    TEditorBoard b;
    b.reset(4, 5);
    // A wall of holes down column 2 splits the board; (3, 2) is a gap.
    for (int r = 0; r < 3; ++r) b.paint(r, 2, kHole);
    ASSERT_EQ(picture(b.doc), "11011/11011/11011/11111/");
    ASSERT_TRUE(b.floodFill(0, 0, kTwoLayers));
    EXPECT_EQ(picture(b.doc), "33033/33033/33033/33333/");  // through the gap
    b.undo();
    b.paint(3, 2, kHole);
    ASSERT_TRUE(b.floodFill(0, 0, kTwoLayers));
    EXPECT_EQ(picture(b.doc), "33011/33011/33011/33011/");  // the wall holds
    // Filling the holes makes them plates; diagonal neighbours do not join.
    b.load(b.doc);
    TEditorLevelData d = b.doc;
    d.at(0, 0).tile = 0;
    d.at(1, 1).tile = 0;
    b.load(d);
    ASSERT_TRUE(b.floodFill(0, 0, {TEditorTool::Tile, 2}));
    EXPECT_EQ(picture(b.doc).substr(0, 12), "23011/30011/");
    // Filling a region with what it already holds changes nothing, records nothing.
    const size_t steps = b.undoSteps();
    EXPECT_FALSE(b.floodFill(3, 4, {TEditorTool::Tile, 1}));
    EXPECT_EQ(b.undoSteps(), steps);
}

TEST(EditorBoard, FloodFillOfChipsFollowsTheChipLayer) {
    TEditorBoard b;
    b.reset(2, 3);
    b.paint(0, 1, {TEditorTool::Chip, 2});
    ASSERT_TRUE(b.floodFill(1, 0, {TEditorTool::Chip, 1}));
    EXPECT_EQ(picture(b.doc), "aba/aaa/");
}

TEST(EditorBoard, FillAndRectangleCanPickAValueForEveryCell) {
    TEditorBoard b;
    b.reset(2, 3);
    b.paint(1, 2, {TEditorTool::Tile, 0});
    int next = 0;
    const auto counter = [&next] { return ++next; };
    ASSERT_TRUE(b.rectangle(0, 0, 0, 2, {TEditorTool::Chip, -1}, counter));
    EXPECT_EQ(picture(b.doc), "abc/110/");
    next = 3;
    ASSERT_TRUE(b.floodFill(1, 0, {TEditorTool::Chip, -1}, counter));
    EXPECT_EQ(picture(b.doc).substr(4), "de0/");  // the hole takes none
    EXPECT_EQ(b.undoSteps(), 3u);                 // each one step
}

TEST(EditorBoard, HolesTakeNothingAndMakingAHoleClearsTheCell) {
    TEditorBoard b;
    b.reset(1, 2);
    b.paint(0, 0, {TEditorTool::Chip, 3});
    b.paint(0, 0, {TEditorTool::Chain, 2});
    b.paint(0, 0, {TEditorTool::Creator, 1});
    EXPECT_EQ(b.doc.at(0, 0), (TEditorCell{1, 3, 2, 1}));
    b.paint(0, 0, kHole);
    EXPECT_EQ(b.doc.at(0, 0), (TEditorCell{0, 0, 0, 0}));
    for (auto t : {TEditorTool{TEditorTool::Chip, 3}, TEditorTool{TEditorTool::Chain, 1},
                   TEditorTool{TEditorTool::Creator, 1}})
        EXPECT_FALSE(b.paint(0, 0, t));
    EXPECT_EQ(b.doc.at(0, 0), (TEditorCell{0, 0, 0, 0}));
    // The eraser of each layer clears only that layer.
    b.paint(0, 1, {TEditorTool::Chip, 3});
    b.paint(0, 1, {TEditorTool::Chain, 1});
    b.paint(0, 1, TEditorBoard::eraserOf(TEditorTool::Chain));
    EXPECT_EQ(b.doc.at(0, 1), (TEditorCell{1, 3, 0, 0}));
}

TEST(EditorBoard, RectangleCoversBothCornersInAnyOrder) {
    TEditorBoard b;
    b.reset(4, 4);
    ASSERT_TRUE(b.rectangle(2, 3, 1, 1, kTwoLayers));
    EXPECT_EQ(picture(b.doc), "1111/1333/1333/1111/");
    EXPECT_EQ(b.undoSteps(), 1u);
    EXPECT_FALSE(b.rectangle(0, 0, 4, 4, kHole));  // a corner off the board
}

TEST(EditorBoard, UndoAndRedoWalkEveryKindOfChange) {
    TEditorBoard b;
    b.reset(3, 3);
    std::vector<std::string> seen{picture(b.doc)};
    b.paint(0, 0, kHole);
    seen.push_back(picture(b.doc));
    b.floodFill(1, 1, kTwoLayers);
    seen.push_back(picture(b.doc));
    b.rectangle(0, 1, 0, 2, {TEditorTool::Chip, 2});
    seen.push_back(picture(b.doc));
    b.resize(TEditorEdge::Right, 1);
    seen.push_back(picture(b.doc));
    b.edit([](TEditorLevelData& d) { d.czas = 90; });
    ASSERT_EQ(b.undoSteps(), 5u);
    EXPECT_TRUE(b.undo());
    EXPECT_EQ(b.doc.czas, 360);
    for (int i = 3; i >= 0; --i) {
        ASSERT_TRUE(b.undo());
        EXPECT_EQ(picture(b.doc), seen[static_cast<size_t>(i)]);
    }
    EXPECT_FALSE(b.undo());
    EXPECT_FALSE(b.modified());  // back at the state last saved
    for (int i = 1; i <= 4; ++i) {
        ASSERT_TRUE(b.redo());
        EXPECT_EQ(picture(b.doc), seen[static_cast<size_t>(i)]);
    }
    ASSERT_TRUE(b.redo());
    EXPECT_EQ(b.doc.czas, 90);
    EXPECT_FALSE(b.redo());
    // A new change after undoing drops what could have been redone.
    b.undo();
    b.undo();
    b.paint(2, 2, kHole);
    EXPECT_EQ(b.redoSteps(), 0u);
    EXPECT_TRUE(b.modified());
}

TEST(EditorBoard, AStrokeIsOneStepAndTheHistoryKeepsTwoHundred) {
    TEditorBoard b;
    b.reset(5, 5);
    b.beginStroke();
    for (int c = 0; c < 5; ++c) b.strokePaint(2, c, kHole);
    b.strokePaint(2, 4, kHole);  // over the same cell again
    b.endStroke();
    EXPECT_EQ(b.undoSteps(), 1u);
    b.undo();
    EXPECT_EQ(picture(b.doc), "11111/11111/11111/11111/11111/");
    // A stroke that changed nothing leaves no step.
    b.beginStroke();
    b.strokePaint(0, 0, {TEditorTool::Tile, 1});
    b.endStroke();
    EXPECT_EQ(b.undoSteps(), 0u);
    // 250 changes: the oldest fall off at 200, the newest are all there.
    for (int i = 1; i <= 250; ++i) b.edit([i](TEditorLevelData& d) { d.czas = i; });
    EXPECT_EQ(b.undoSteps(), TEditorBoard::kHistory);
    for (size_t i = 0; i < TEditorBoard::kHistory; ++i) ASSERT_TRUE(b.undo());
    EXPECT_EQ(b.doc.czas, 50);
    EXPECT_FALSE(b.undo());
}
