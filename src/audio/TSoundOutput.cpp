#include "audio/TSoundOutput.h"

#include <cstdio>

bool TSoundOutput::exists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}
