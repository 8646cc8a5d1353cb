#include "audio/TSoundOutput.h"

#include <cstdio>
#include <cstring>

#include "platform/Backend.h"

bool TSoundOutput::exists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

bool TSoundOutput::decodes() {
    return std::strcmp(Backend().name(), "null") != 0;
}
