#include "wiring/Wiring.h"

int main(int argc, char** argv) {
    return runBrimble(argc, argv);
}
