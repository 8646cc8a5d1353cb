// One speech box of a comic picture: its rectangle, its text and the tail
// that points at whoever speaks. It fades in and out on its own alpha.
#pragma once

#include <memory>
#include <string>

#include "data/TDim.h"
#include "platform/Services.h"

class TComicText {
public:
    TDim dim;   // x, y, width, height of the box
    int n = 0;  // comic type: which tail picture (0 or 1)
    std::string txt;
    float alpha = 0, dAlpha = 0;
    int fontN = 0;                 // 0 the story's first font, anything else the second
    float dX = 0, dy = 0;          // where the tail picture goes
    float dsX = 0, dsY = 0;        // its scale; 0 draws no tail (narration)
    float tx = 0, ty = 0, tw = 0;  // the text's left edge, top and wrapping width

    // Shared by every box: the two fonts (16 and 12 px) and the two tails.
    static FontPtr fonts[2];
    static ImagePtr tails[2];
    static constexpr float kSpeed = 0.05f;  // alpha change per frame unit

    const FontPtr& font() const { return fonts[fontN == 0 ? 0 : 1]; }

    int _drawDziubek();
    int _drawTxt(float a);
    int _drawPanel();
    // The frame, the text (alpha = own alpha x a), the tail.
    int draw(float a);
    // Centres the text vertically in the box by its wrapped height.
    int countDims();
    int update();
};
using TComicTextPtr = std::shared_ptr<TComicText>;
