// The loading screen: set-up runs in five parts, each made of steps, and a
// frame with the progress bar is shown after every step, so the bar moves
// with the real work. What each step does is given by the wiring (it knows
// every screen); this screen only runs and shows them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/TEkran.h"

class TLoadingScreen : public TEkran {
public:
    // Sets everything up without showing a frame (a development start that
    // goes straight to a quest level).
    bool quiet = false;
    TLoadingScreen();

    using TStep = std::function<void()>;
    // The steps of PART1 .. PART5, set before the parts run.
    std::vector<TStep> parts[5];

    ImagePtr back, logo;
    float progress = 0;  // 0 .. 1, steps done out of all steps
    int stepsDone = 0;

    int setup() override;
    int PART1() { return _part(0); }
    int PART2() { return _part(1); }
    int PART3() { return _part(2); }
    int PART4() { return _part(3); }
    int PART5() { return _part(4); }
    int totalSteps() const;
    int draw() override;

private:
    bool _setUp = false;
    int _part(int n);
    void _showFrame();
};

extern std::shared_ptr<TLoadingScreen> loadingScreen;
