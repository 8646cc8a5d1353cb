// One picture of a story with its speech boxes, shown one box at a time.
#pragma once

#include <memory>
#include <vector>

#include "campaign/TComicText.h"
#include "platform/Services.h"

class TStoryPart {
public:
    ImagePtr img;
    float alpha = 0, dAlpha = 0;
    std::vector<TComicTextPtr> comicTexts;  // file order
    TComicTextPtr aktText;                  // the box on show
    int textInd = 0;                        // index of the next box

    // The nine pieces of the comic frame, shared by every box: top-left,
    // top, top-right, left, middle, right, bottom-left, bottom, bottom-right.
    static ImagePtr frame[9];
    static const char* const kFrameFiles[9];
    static constexpr float kSpeed = 0.05f;

    // Loads the frame pieces (once) with their handles.
    static int setup();
    static int drawComicBox(float x, float y, float w, float h, float alpha);

    // Hides the box on show and shows the next one: 0, or 1 when none is left.
    int nextText();
    int drawTexts();
    int draw();
    int update();
    // The picture has finished fading in.
    bool shown() const { return alpha == 1.0f; }
};
using TStoryPartPtr = std::shared_ptr<TStoryPart>;
