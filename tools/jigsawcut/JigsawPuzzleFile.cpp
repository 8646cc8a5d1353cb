#include "JigsawPuzzleFile.h"

#include <algorithm>
#include <cstdio>

#include "data/TRCMFile.h"

std::string JigsawPuzzleFile::pieceFileName(int id) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "piece%02d.png", id);
    return buf;
}

bool JigsawPuzzleFile::write(const std::string& path, const std::vector<JigsawPiece>& pieces, int pictureW,
                             int pictureH, std::string& err) const {
    // The solved picture sits in the middle of the board.
    const int offX = boardX + (JigsawCutter::kBoardSize - pictureW) / 2;
    const int offY = boardY + (JigsawCutter::kBoardSize - pictureH) / 2;
    TRCMFile f;
    // Keys in the order the game writes a puzzle; the tree keeps that order.
    f.setFloat("puzzles::st", boardX, 0);
    f.setFloat("puzzles::st", boardY, 1);
    f.setFloat("puzzles::i", double(pieces.size()));
    // The game lays new pieces out around the screen in steps of the first
    // listed piece's size, with the bottom row at y = 760 minus its height
    // and the right column at x = 1000 minus its width. So the piece listed
    // first is the one that leaves the least of any piece off the 1024 x 768
    // screen (ties: the larger one); the rest follow in id order. Ids stay
    // those of the grid.
    int maxW = 0, maxH = 0;
    for (const JigsawPiece& p : pieces) maxW = std::max(maxW, p.img.w), maxH = std::max(maxH, p.img.h);
    auto overhang = [maxW, maxH](const RgbaImage& img) {
        return std::max({0, maxH - img.h - (768 - 760), maxW - img.w - (1024 - 1000)});
    };
    std::vector<size_t> order(pieces.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    size_t largest = 0;
    for (size_t i = 1; i < pieces.size(); ++i) {
        const RgbaImage &a = pieces[i].img, &b = pieces[largest].img;
        if (overhang(a) < overhang(b) || (overhang(a) == overhang(b) && a.w + a.h > b.w + b.h)) largest = i;
    }
    order.erase(order.begin() + long(largest));
    order.insert(order.begin(), largest);
    for (size_t k = 0; k < order.size(); ++k) {
        const JigsawPiece& p = pieces[order[k]];
        const std::string P = "puzzles::p" + std::to_string(k + 1);
        std::string near;
        for (int n : p.neighbours) near += (near.empty() ? "" : " ") + std::to_string(n);
        f.setFloat(P + "::id", p.id);
        f.setString(P + "::img", urlPrefix + "/" + pieceFileName(p.id));
        f.setFloat(P + "::ddim", p.x, 0);
        f.setFloat(P + "::ddim", p.y, 1);
        f.setString(P + "::sasiedzi", near);
        f.setFloat(P + "::dim", offX + p.x, 0);
        f.setFloat(P + "::dim", offY + p.y, 1);
        f.setFloat(P + "::active", 0);
    }
    f.setFloat("puzzles::puzzlesAndGroups::i", double(pieces.size()));
    for (size_t j = 0; j < pieces.size(); ++j) {
        const std::string Q = "puzzles::puzzlesAndGroups::pog" + std::to_string(j + 1);
        f.setString(Q + "::typ", "PUZZLE");
        f.setFloat(Q + "::id", pieces[order[j]].id);
        f.setFloat(Q + "::a", 0);
    }
    if (!f.save(path)) {
        err = "cannot write " + path;
        return false;
    }
    return true;
}
