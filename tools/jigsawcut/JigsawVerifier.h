// Checks a cut puzzle against its source picture, the way the game will use
// it: every piece's picture exists and shows the source at its place (exactly
// inside, only lightened or darkened along the bevelled cut), the pieces
// cover the picture once, neighbour lists name existing pieces and are
// symmetric, every piece lies on the board when the picture is solved there,
// and the list of loose pieces names every piece once.
#pragma once

#include <string>
#include <vector>

class JigsawVerifier {
public:
    // The problems found, one line each; empty when the puzzle is sound.
    static std::vector<std::string> verify(const std::string& puzzleFile, const std::string& dataDir,
                                           const std::string& picturePath);
};
