// A falling piece ("odpad"): a chip that drops off the board with a spin when
// the board is cleared (shuffle, dead board), a puzzle piece leaving through
// the bottom, or a vanished chip. Waits for its delay on the board first.
#pragma once

#include <memory>

class TChip;
class TTile;

class TOdpad {
public:
    std::shared_ptr<TChip> chip;  // taken off the board when the fall begins
    TTile* tile = nullptr;        // where it waits (not owning); null once falling
    float x = 0, y = 0, vx = 0, vy = 0, rot = 0, vr = 0, alpha = 1, scale = 1;
    int startTime = 0;
    bool falling = false;
    bool vanish = false;  // shrinks and fades where it is instead of falling

    // Where pieces fall in the board's pixels: they fade from fadeY on and
    // are gone at endY (the bottom of the screen; the play screen moves both
    // when it shows its board through a smaller view).
    static float fadeY, endY;

    // False once it has left the screen (or faded).
    bool update(int now);
    void draw() const;
    // Takes the chip off its tile and starts the fall.
    void begin();
};
using TOdpadPtr = std::shared_ptr<TOdpad>;
