// Asked when Play finds a quest in progress: resume it, start anew (after a
// confirmation) or close the dialog (Escape).
#pragma once

#include <memory>
#include <string>

#include "app/TEkran.h"

class TQuestContinue : public TEkran {
public:
    TQuestContinue();

    ImagePtr panel;
    std::string txtAreYouSure;

    int setup() override;
    // "RESUME", "NEW" or "" (closed).
    std::string mainLoop(TEkran* behind);
    void prepare(TEkran* behind);
    int update() override;
    int draw() override;
    void _control() override;
    bool loopDone() const override { return _exit != 0 && alpha == 0.0f && fade == 0.0f; }

private:
    bool _setUp = false;
    void _choose(const std::string& w);
};

extern std::shared_ptr<TQuestContinue> questContinue;
