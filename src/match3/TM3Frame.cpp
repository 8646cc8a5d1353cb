#include "match3/TM3Frame.h"

void TM3Frame::draw() const {
    if (a <= 0) return;
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(a);
    SetScale(s, s);
    for (const auto& piece : lista)
        if (piece && piece->gfx) DrawImage(piece->gfx, x, y, 0);
    SetAlpha(1);
    SetScale(1, 1);
}
