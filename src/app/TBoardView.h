// Where the play screen shows its board. The board engine lays every board
// out at the same cell pitch around the same centre; a board larger than the
// room the HUD leaves is shown smaller (and moved into that room) by drawing
// it through this view, and the pointer is mapped back through it, so the
// engine's geometry (and its chips' motion in pixels) stays as it is.
#pragma once

struct TRectF {
    float x = 0, y = 0, w = 0, h = 0;
};

class TBoardView {
public:
    float scale = 1;
    // The board point that is shown at the screen point (screenX, screenY).
    float boardX = 0, boardY = 0;
    float screenX = 0, screenY = 0;

    // Where quest boards go: a 9 x 9 board with its frame at the usual
    // centre. The HUD was laid out around it, so a board inside it keeps
    // its place and size, pixel for pixel.
    static constexpr TRectF kUsualArea{220, 92, 568, 568};
    // The room the HUD leaves: right of the power-up panel (x 112), under the
    // clock and counter panels (y 104), above the menu button (y 686), inside
    // the window, with a few pixels to spare on every side.
    static constexpr TRectF kFreeArea{118, 110, 900, 570};
    // The frame's pieces reach this far past the outer plates.
    static constexpr float kFrameReach = 14;

    // The view for a board of rows x cols cells at pitch (pitchX, pitchY)
    // whose engine centre is (lx, ly): none when its frame lies inside the
    // usual area, otherwise as large as fits the free area (never enlarged)
    // and centred in it.
    static TBoardView fit(int rows, int cols, float pitchX, float pitchY, float lx, float ly);

    bool identity() const { return scale == 1 && boardX == screenX && boardY == screenY; }
    float toScreenX(float x) const { return identity() ? x : screenX + (x - boardX) * scale; }
    float toScreenY(float y) const { return identity() ? y : screenY + (y - boardY) * scale; }
    float toBoardX(float x) const { return identity() ? x : boardX + (x - screenX) / scale; }
    float toBoardY(float y) const { return identity() ? y : boardY + (y - screenY) / scale; }
    // The board's frame on screen through this view.
    TRectF screenBox(int rows, int cols, float pitchX, float pitchY, float lx, float ly) const;

    // Draws what follows through this view (the platform's view transform)
    // until end(); both do nothing for the identity view.
    void begin() const;
    void end() const;
};
