// The story screen: plays story n from "data/story-<n>.dat", a run of
// full-screen comic pictures whose speech boxes appear one click at a time.
// The "skip" button fades in after five seconds. Story 2, the ending, is
// followed by the end-of-campaign credits.
#pragma once

#include <memory>
#include <string>

#include "app/TEkran.h"
#include "campaign/TStoryPack.h"
#include "data/TTxtFile.h"

class TStory : public TEkran {
public:
    int toExit = 0;           // the story is over
    TStoryPackPtr storyPack;  // the story playing
    ImagePtr img;             // "gfx/gui/story/panel.png", mid-handled
    int skipTime = 0;         // clock time from which the skip button fades in
    std::string txtClick;     // the hint at the bottom
    int storyNumber = 0;

    static constexpr int kSkipDelayMs = 5000;
    // Counts above these are taken as a damaged file.
    static constexpr int kMaxParts = 100;
    static constexpr int kMaxBoxes = 100;

    TStory();

    // Loads the panel, the GUI, the fonts, the frame pieces, the tails and
    // the hint (once; later calls do nothing).
    int setup() override;
    int _drawBack();
    int _drawStory();
    int draw() override;
    int _updateStory();
    int _updateSkip();
    int update() override;
    int prepare(int n);
    // Plays story n and returns the next name.
    std::string mainLoop(int n);
    // A click: the next box or picture, ignored while the picture fades in.
    int nextStory();
    // Reads a story file; a missing file gives a story with no pictures.
    TStoryPackPtr loadStory(const std::string& path);

    void _control() override;
    bool loopDone() const override { return toExit != 0 && faded(); }

    // Which story the quest's "STORY" step plays: 2 (the ending) once every
    // stage is done, else 1 to open a new quest (level below 10) and 3 at
    // level 13; 0 when no story belongs there.
    static int storyFor(int nrLevelu, bool campaignComplete);

    // The skip button can be seen and used.
    bool skipShown() const { return dAlpha == 1.0f; }

private:
    bool _setUp = false;
    TTxtFilePtr _comic;  // "txt/story-comic.txt": the box texts
    void _setState();
};
using TStoryPtr = std::shared_ptr<TStory>;

// The game's story screen (created with the singletons).
extern TStoryPtr story;
