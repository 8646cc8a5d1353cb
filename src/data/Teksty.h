// The pop-up dialog's three texts, lines 1-3 of the localised "txt/popup.txt".
#pragma once

#include <string>

class Teksty {
public:
    static std::string popup1;
    static std::string popup2;
    static std::string popup3;
    static void setup();
};
