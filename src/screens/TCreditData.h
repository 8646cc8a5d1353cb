// One line of the credits with the font it is drawn in.
#pragma once

#include <string>

#include "platform/Services.h"

class TCreditData {
public:
    std::string txt;
    FontPtr font;
    int size = 0;  // 1, 2 or 3: which of the screen's fonts
};
