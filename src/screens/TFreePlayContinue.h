// Asked when free play opens after a free-play level was left through the
// options' main menu: play on, choose another level, or close (Escape).
#pragma once

#include <memory>
#include <string>

#include "app/TEkran.h"

class TFreePlayContinue : public TEkran {
public:
    TFreePlayContinue();
    ImagePtr panel;
    int setup() override;
    // "RESUME", "NEW" or "" (closed).
    std::string mainLoop(TEkran* behind, const std::string& question, const std::string& yes,
                         const std::string& no);
    int update() override;
    int draw() override;
    void _control() override;
    bool loopDone() const override { return _exit != 0 && alpha == 0.0f; }
    std::string question;

private:
    bool _setUp = false;
};

extern std::shared_ptr<TFreePlayContinue> freePlayContinue;
