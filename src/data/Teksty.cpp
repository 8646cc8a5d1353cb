#include "data/Teksty.h"

#include "data/TTxtFile.h"

std::string Teksty::popup1;
std::string Teksty::popup2;
std::string Teksty::popup3;

void Teksty::setup() {
    auto f = loadLocalisedText("txt/popup.txt");
    popup1 = textLine(f, 1);
    popup2 = textLine(f, 2);
    popup3 = textLine(f, 3);
}
