// One jigsaw: the board's corner, every piece in file order, and the loose
// pieces and groups in drawing order; the puzzle file, the lay-out of loose
// pieces around the screen and the snapping rules.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "jigsaw/TPuzzle.h"
#include "jigsaw/TPuzzleGroup.h"
#include "platform/Services.h"

class TPuzzleLevel;
using TPuzzleLevelPtr = std::shared_ptr<TPuzzleLevel>;

// An offset between two pieces, in whole pixels.
struct TPuzzleOffset {
    int x = 0, y = 0;
};

// The walk that sets loose pieces around the left, bottom and right edges of
// the screen, each step three quarters of the reference piece's size; after
// the right edge it starts again at the top left.
class TLayoutWalk {
public:
    TLayoutWalk(float refW, float refH) : _w(refW), _h(refH) {}
    // Advances and returns the next position.
    void next(float& outX, float& outY);
    int phase() const { return _phase; }

private:
    float _w, _h;
    float _x = 10, _y = 10;
    int _phase = 0;
};

// Moves the elements of `src` into a new list in random order: each time a
// random r from 1 to the count left, the r-th element left goes to the end of
// the result. `src` is left empty.
template <class T>
std::vector<T> randomPermutation(std::vector<T>& src) {
    std::vector<T> out;
    out.reserve(src.size());
    while (!src.empty()) {
        const int r = Rand(1, static_cast<int>(src.size()));
        out.push_back(std::move(src[static_cast<size_t>(r - 1)]));
        src.erase(src.begin() + (r - 1));
    }
    return out;
}

class TPuzzleLevel {
public:
    float stx = 0, sty = 0;
    std::vector<TPuzzlePtr> puzzles;     // loose pieces and groups, last drawn on top
    std::vector<TPuzzlePtr> allPuzzles;  // every piece, in file order

    static constexpr int kBoard = 500;
    // Snapping area: the board and 25 pixels around it.
    static constexpr int kSnapMargin = 25;
    static constexpr int kSnapSize = 550;
    // Distances that differ by this much or more do not snap.
    static constexpr float kSnapTolerance = 15;

    virtual ~TPuzzleLevel() = default;

    virtual void finishPuzzles();
    // Every piece of allPuzzles to the next place of the lay-out walk.
    virtual void shufflePuzzlePositions();
    // Loose owned pieces off the board to the walk's places; new ones start
    // flying in from the screen corner away from their place.
    virtual void shufflePuzzlePositions2();
    // Writes the puzzle file atomically; false when it could not be written.
    virtual bool save(const std::string& path);
    virtual void singleToGroup() {}
    virtual void groupToGroup() {}
    virtual TPuzzleGroup* polaczGrupy(TPuzzleGroup* a, TPuzzleGroup* b, int dx, int dy);
    virtual TPuzzleGroup* putGroupToGroup(TPuzzleGroup* a, TPuzzleGroup* b);
    virtual TPuzzleGroup* putGroup(TPuzzleGroup* g);
    virtual TPuzzleGroup* putSingleToGroup(TPuzzle* a, TPuzzleGroup* g);
    virtual TPuzzleGroup* putSingleToSingle(TPuzzle* a, TPuzzle* b);
    virtual TPuzzleGroup* putSingle(TPuzzle* p);
    // A piece or group was dropped: up to three joins follow.
    virtual void putPuzzle(TPuzzle* p);
    // Where a belongs relative to b (a.dDim - b.dDim) when a fits b now.
    virtual std::optional<TPuzzleOffset> puzelPasujeDoPuzla(TPuzzle* a, TPuzzle* b);
    virtual void dopasuj(TPuzzle* a, TPuzzle* b, float x, float y);
    virtual TPuzzlePtr getPuzzleById(int id) const;
    // Every member of g becomes a loose piece again; g goes.
    virtual void rozbijGrupe(TPuzzleGroup* g);

    // Whether the piece lies in the snapping area.
    bool inSnapArea(TPuzzle* p);
    // Every piece owned and one entry left: the picture is complete.
    bool complete() const;
    bool allOwned() const;
    // Index of an entry of puzzles, -1 when absent.
    int indexOf(const TPuzzle* p) const;
    void removeEntry(const TPuzzle* p);
    // Moves the entry to the end of puzzles (drawn on top).
    void toTop(const TPuzzle* p);
    // Joins made since the level was created (each plays the matched sound).
    int joins = 0;

private:
    void _matched();
};

// Reads a puzzle file; with `shuffle` the loose pieces and groups are put in
// random order and every piece is laid out around the screen. A file that
// cannot be read, or that names a piece that does not exist (in a group, an
// entry or a neighbour list), is refused: the reason (naming the file and the
// id) goes to stderr and into *error, and the result is null.
TPuzzleLevelPtr loadPuzzleLevel(const std::string& path, int shuffle, std::string* error = nullptr);
