// One jigsaw piece: its place in the solved picture, its place on screen, its
// picture with an alpha mask made once when the picture loads, the pieces it
// borders, its highlights and its fly-in curve.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/TDim.h"
#include "platform/Services.h"

class TPuzzle;
using TPuzzlePtr = std::shared_ptr<TPuzzle>;

// Which pixels of a picture are solid (alpha at least one half), one byte a
// pixel, row-major. Made once per picture; the pointer test reads only this.
struct TAlphaMask {
    int w = 0, h = 0;
    std::vector<uint8_t> solid;

    static TAlphaMask fromPixmap(const TPixmap& pix);
    bool empty() const { return w <= 0 || h <= 0; }
    bool at(int x, int y) const {
        return x >= 0 && y >= 0 && x < w && y < h && solid[static_cast<size_t>(y) * w + x] != 0;
    }
    // Whether this mask at (ax, ay) and `o` at (bx, by) share a solid pixel.
    bool overlaps(int ax, int ay, const TAlphaMask& o, int bx, int by) const;
};

// What a piece needs to know each frame: the piece or group the player holds,
// the mouse, the frame factor and the screen alpha (for shadows and flights).
struct TPuzzleFrame {
    const TPuzzle* held = nullptr;
    int mouseX = -100000, mouseY = -100000;
    float d = 1;
    float screenAlpha = 1;
};

class TPuzzle : public std::enable_shared_from_this<TPuzzle> {
public:
    int id = 0;
    int aktywny = 0;
    TDim dDim;  // place in the solved picture (x, y)
    TDim dim;   // place on screen (x, y), top-left corner of the picture
    ImagePtr img;
    std::string imgUrl;
    TPuzzle* wGrupie = nullptr;  // kept, never set
    std::string sasiedziTxt;
    // Neighbours; non-owning (every piece is owned by its level's allPuzzles).
    std::vector<TPuzzle*> sasiedzi;
    float dOverA = 0, overA = 0;
    float clickA = 0, dClickA = 0;
    int nowy = 0;
    float x1 = 0, y1 = 0, mx = 0, my = 0, x2 = 0, y2 = 0;
    float per = 0;
    float pSpeed = 0.01f;
    int partTime = 0;
    float dx = 0, dy = 0;

    // Size of the picture (from the picture, else from its mask) and the
    // mask the pointer test reads.
    int w = 0, h = 0;
    TAlphaMask mask;

    TPuzzle() = default;
    virtual ~TPuzzle() = default;

    virtual bool isGroup() const { return false; }

    virtual void drawNowyShadow() {}
    virtual void drawShadow(float screenAlpha);
    virtual void drawNowy(float screenAlpha);
    virtual void draw(float screenAlpha);
    virtual void countPosition(float t);
    virtual void finish();
    virtual void updateNowy(float d);
    // Per frame; returns whether the pointer is over the piece.
    virtual int update(const TPuzzleFrame& f);
    // Pixel-accurate: the piece's mask at its whole-pixel position against
    // the pointer mask at the mouse.
    virtual int updateOver(int mouseX, int mouseY);
    // Moves by (dx, dy): a displacement, not a position.
    virtual void setPosition(float ddx, float ddy);
    virtual int inRect(int x, int y, int rw, int rh);

    // Moves the highlights toward their targets (the part of update that a
    // group runs for its members after setting their targets).
    void animate(float d);
    // Loads the picture and makes its mask (once); a missing picture leaves
    // the piece without picture and without mask.
    void loadPicture(const std::string& path);
    // Whole-pixel position.
    int posX() const { return static_cast<int>(dim.x); }
    int posY() const { return static_cast<int>(dim.y); }

    // The pointer's mask ("gfx/point.png", loaded on first use; a 3 x 3
    // square when the picture is missing), centred on the mouse.
    static const TAlphaMask& pointerMask();
    static void setPointerMask(TAlphaMask m);
};
