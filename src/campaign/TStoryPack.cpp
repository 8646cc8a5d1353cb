#include "campaign/TStoryPack.h"

int TStoryPack::firstPart() {
    oldStory = newStory;
    newStory = nullptr;
    if (storyParts.empty()) return 0;
    newStory = storyParts.front();
    storyParts.pop_front();
    ++partNumber;
    newStory->dAlpha = 1;
    newStory->alpha = 0;
    newStory->textInd = 0;
    newStory->nextText();
    return 0;
}

int TStoryPack::nextPart() {
    if (newStory && newStory->nextText() == 0) return 0;
    if (storyParts.empty()) return 1;
    oldStory = newStory;
    newStory = storyParts.front();
    storyParts.pop_front();
    ++partNumber;
    newStory->alpha = 0;
    newStory->dAlpha = 1;
    newStory->textInd = 0;
    newStory->nextText();
    return 0;
}
