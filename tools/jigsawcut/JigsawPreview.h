// Pictures of a cut puzzle for review: the pieces on a 1024 x 768 screen with
// the board marked, solved (at their positions in the file), pulled apart
// (the solved picture spread out so every outline shows) and scattered (laid
// out around the screen's edges the way the game lays out new pieces).
#pragma once

#include <string>

#include "RgbaImage.h"

class JigsawPreview {
public:
    enum class Layout { Solved, Apart, Scattered };

    // Renders the puzzle file; piece pictures are read from dataDir + their
    // path. False with the reason in err.
    static bool render(const std::string& puzzleFile, const std::string& dataDir, Layout layout,
                       RgbaImage& out, std::string& err);
};
