#include "gui/TSmallObject.h"

#include <cstdio>

void TSimpleEntry::wyprintuj(const std::string& prefix) const {
    std::printf("%s%s = %s\n", prefix.c_str(), _typ.c_str(), _value.c_str());
}

void TSmallObject::wyprintuj(const std::string& prefix) const {
    std::printf("%s%s %s\n", prefix.c_str(), _typ.c_str(), _name.c_str());
    for (const auto& t : _tokeny) t->wyprintuj(prefix + "   ");
}
