#include "campaign/TComicText.h"

#include <cmath>

#include "app/TRMCounter.h"
#include "campaign/TStoryPart.h"
#include "data/Paragraph.h"

FontPtr TComicText::fonts[2];
ImagePtr TComicText::tails[2];

int TComicText::countDims() {
    SetScale(1, 1);
    SetRotation(0);
    // Measured in the font the box is drawn with, so a box in the small font
    // is centred too.
    const int h = measureTextBlock(txt, dim.w, "LEFT", font());
    tx = dim.x;
    ty = dim.y + dim.h / 2 - static_cast<float>(h) / 2;
    tw = dim.w;
    return 0;
}

int TComicText::_drawPanel() {
    SetColor(255, 255, 255);
    TStoryPart::drawComicBox(dim.x, dim.y, dim.w, dim.h, alpha);
    return 0;
}

int TComicText::_drawTxt(float a) {
    if (txt.empty()) return 0;
    SetColor(0, 0, 0);
    SetAlpha(alpha * a);
    SetScale(1, 1);
    drawTextBlock(txt, static_cast<int>(std::trunc(tx)), static_cast<int>(std::trunc(ty)), tw, "CENTER",
                  font());
    SetColor(255, 255, 255);
    return 0;
}

int TComicText::_drawDziubek() {
    const ImagePtr& tail = tails[n == 0 ? 0 : 1];
    // A narration box has no speaker: its tail scale is 0.
    if (!tail || dsX == 0 || dsY == 0) return 0;
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    SetScale(dsX, dsY);
    DrawImage(tail, dX, dy);
    SetScale(1, 1);
    return 0;
}

int TComicText::draw(float a) {
    if (alpha <= 0) return 0;
    _drawPanel();
    _drawTxt(a);
    _drawDziubek();
    return 0;
}

int TComicText::update() {
    approach(alpha, dAlpha, kSpeed);
    return 0;
}
