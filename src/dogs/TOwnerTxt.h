// One line an owner (or the dog) says on the owner scene: its text, the quest
// level it belongs to and its speech bubble's box, read from an entry of the
// dog table such as "LEVEL:5|TEXT:12|WHO:1|X:360|Y:150|WIDTH:350".
#pragma once

#include <memory>
#include <string>

#include "data/TDim.h"
#include "data/TRGB.h"
#include "data/TTxtFile.h"

class TOwnerTxt {
public:
    std::string txt;
    int nrLevelu = 0;
    int numerLini = 0;
    TDimPtr dim;
    TRGB rgb;  // white: the owner speaks; black: the dog (WHO 2)
    std::string wpis;

    // The bubble's defaults when the entry does not say otherwise.
    static constexpr int kDefaultX = 312;
    static constexpr int kDefaultY = 284;
    static constexpr int kDefaultWidth = 400;
    // A bubble whose bottom would pass this line is lifted above it.
    static constexpr float kBubbleFloor = 730;
    // The text is drawn this far inside the bubble's left and right edges together.
    static constexpr float kTextInset = 40;

    virtual ~TOwnerTxt() = default;

    virtual void printMe(int) {}
    // Parses wpis: items "KEY:number" separated by "|", applied in order;
    // the text is line TEXT of `texts`; the bubble's height comes from the
    // text measured with `font` (null: the current font).
    virtual void interpretuj(const TTxtFilePtr& texts, const FontPtr& font = nullptr);
    // Height of text wrapped (left aligned) at width, plus room for the
    // bubble's padding (1.15 times the height of "A").
    virtual float countHeight(const std::string& text, float width, const FontPtr& font = nullptr);

    // The entry's items that were not "KEY:whole number" (for the loader's notice).
    int badItems = 0;
};
using TOwnerTxtPtr = std::shared_ptr<TOwnerTxt>;
