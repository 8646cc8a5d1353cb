// Pieces joined together: they move, highlight and draw as one. Only the
// members' own positions matter; the fields the group inherits are unused.
#pragma once

#include <vector>

#include "jigsaw/TPuzzle.h"

class TPuzzleGroup : public TPuzzle {
public:
    // Members in joining order; non-owning (the level's allPuzzles owns them).
    std::vector<TPuzzle*> grupa;

    bool isGroup() const override { return true; }
    bool has(const TPuzzle* p) const;

    void draw(float screenAlpha) override;
    // Every member's shadow (drawn under every entry of the board).
    void drawShadow(float screenAlpha) override;
    int update(const TPuzzleFrame& f) override;
    int updateOver(int mouseX, int mouseY) override;
    void setPosition(float ddx, float ddy) override;
    // The first member's.
    int inRect(int x, int y, int rw, int rh) override;
};
using TPuzzleGroupPtr = std::shared_ptr<TPuzzleGroup>;
