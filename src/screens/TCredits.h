// The credits reached from the options: the same rolling lines, background
// and fonts as the credits after the last level, over the screen that opened
// them, until a click or a key.
#pragma once

#include <memory>

#include "screens/TEndOfGame.h"

class TCredits : public TEndOfGame {
public:
    TCredits() { id = "CREDITS"; }
};

extern std::shared_ptr<TCredits> credits;
