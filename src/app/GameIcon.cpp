#include "app/GameIcon.h"

#include <cstdio>
#include <string>
#include <vector>

#include "data/DataGlobals.h"
#include "platform/WindowIcon.h"

const int kWindowIconSizes[7] = {16, 24, 32, 48, 64, 128, 256};

int setGameWindowIcon() {
    std::vector<std::string> files;
    for (int n : kWindowIconSizes) files.push_back(dataRoot + "gfx/icon/brimble-" + std::to_string(n) + ".png");
    const int found = SetWindowIcon(files);
    if (found == 0) std::fprintf(stderr, "gfx/icon/ holds no icon pictures; the window keeps the system's icon.\n");
    return found;
}
