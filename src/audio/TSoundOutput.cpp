#include "audio/TSoundOutput.h"

#include <cstdio>
#include <cstring>

#include "platform/Backend.h"
#include "platform/Files.h"

bool TSoundOutput::exists(const std::string& path) {
    return FileType(path) == 1;
}

bool TSoundOutput::decodes() {
    return std::strcmp(Backend().name(), "null") != 0;
}
