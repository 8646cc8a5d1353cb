// One story: the pictures still to come, the one on show and the one before
// it (drawn underneath while the new one fades in), and where to go after.
#pragma once

#include <deque>
#include <memory>
#include <string>

#include "campaign/TStoryPart.h"

class TStoryPack {
public:
    int id = 0;
    std::deque<TStoryPartPtr> storyParts;  // still to come
    TStoryPartPtr newStory;                // on show
    TStoryPartPtr oldStory;                // the previous one
    std::string atEnd;                     // the next screen's name

    // Takes the first picture off the list and shows its first box.
    int firstPart();
    // The next box, or the next picture when the boxes are done: 0, or 1
    // when the story has nothing more to show.
    int nextPart();
    // The picture on show is 1 based; 0 before the first.
    int partNumber = 0;
};
using TStoryPackPtr = std::shared_ptr<TStoryPack>;
