// The puzzle file of a cut picture: the board's corner, every piece with its
// picture, its place in the solved picture, its neighbours and its position
// on screen (the solved picture centred on the board), and the list of loose
// pieces, none of them owned yet.
#pragma once

#include <string>
#include <vector>

#include "JigsawCutter.h"

class JigsawPuzzleFile {
public:
    // Top-left corner of the 500 x 500 board on the 1024 x 768 screen.
    int boardX = 262;
    int boardY = 20;
    // Folder of the piece pictures relative to the game's data folder, as
    // written into the file ("gfx/puzzle/stage01").
    std::string urlPrefix;

    // File name of piece id inside its folder: piece01.png, piece02.png, ...
    static std::string pieceFileName(int id);

    // Writes the file atomically; false with the reason in err.
    bool write(const std::string& path, const std::vector<JigsawPiece>& pieces, int pictureW, int pictureH,
               std::string& err) const;
};
