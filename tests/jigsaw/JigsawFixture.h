// Small jigsaws built in memory or written to a scratch folder, for the
// jigsaw suites.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestDir.h"
#include "jigsaw/TPuzzleLevel.h"

// One piece of a hand-made jigsaw: id, place in the picture, neighbours.
struct PieceSpec {
    int id;
    int dx, dy;  // dDim
    std::vector<int> nb;
};

// A 2 x 2 picture of 100 x 100 pieces on the board at (262, 20):
//   1 2
//   3 4
inline std::vector<PieceSpec> square2x2() {
    return {{1, 0, 0, {2, 3}}, {2, 100, 0, {1, 4}}, {3, 0, 100, {1, 4}}, {4, 100, 100, {2, 3}}};
}

// Every piece owned, loose, in the given order, at (0, 0) and 100 x 100.
inline TPuzzleLevelPtr makeLevel(const std::vector<PieceSpec>& specs, int size = 100) {
    auto l = std::make_shared<TPuzzleLevel>();
    l->stx = 262;
    l->sty = 20;
    for (const auto& s : specs) {
        auto p = std::make_shared<TPuzzle>();
        p->id = s.id;
        p->dDim.x = static_cast<float>(s.dx);
        p->dDim.y = static_cast<float>(s.dy);
        p->w = p->h = size;
        p->aktywny = 1;
        for (size_t i = 0; i < s.nb.size(); ++i) p->sasiedziTxt += (i ? " " : "") + std::to_string(s.nb[i]);
        l->allPuzzles.push_back(p);
        l->puzzles.push_back(p);
    }
    for (auto& p : l->allPuzzles)
        for (const auto& s : specs)
            if (s.id == p->id)
                for (int n : s.nb) p->sasiedzi.push_back(l->getPuzzleById(n).get());
    return l;
}

inline TPuzzle* piece(const TPuzzleLevelPtr& l, int id) {
    return l->getPuzzleById(id).get();
}

inline void place(TPuzzle* p, float x, float y) {
    p->dim.x = x;
    p->dim.y = y;
}

// The ids of every entry of puzzles, a group as "(a b c)".
inline std::string entries(const TPuzzleLevelPtr& l) {
    std::string out;
    for (auto& e : l->puzzles) {
        if (!out.empty()) out += " ";
        if (e->isGroup()) {
            out += "(";
            bool first = true;
            for (TPuzzle* m : static_cast<TPuzzleGroup*>(e.get())->grupa) {
                out += (first ? "" : " ") + std::to_string(m->id);
                first = false;
            }
            out += ")";
        } else {
            out += std::to_string(e->id);
        }
    }
    return out;
}
