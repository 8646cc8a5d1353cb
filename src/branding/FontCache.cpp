#include "branding/FontCache.h"

#include <map>
#include <tuple>

namespace {
using Key = std::tuple<std::string, int, int>;
std::map<Key, FontPtr>& cache() {
    // Never destroyed: fonts may be asked for during the exit path.
    static auto* c = new std::map<Key, FontPtr>();
    return *c;
}
}  // namespace

FontPtr loadSharedFont(const std::string& path, int size, int style) {
    // Style 4 asks for smooth letters, which the backend always draws; its
    // own style bits stop at bold and italic (a 4 there would underline).
    style &= 3;
    const Key k{path, size, style};
    auto& c = cache();
    auto it = c.find(k);
    if (it != c.end()) return it->second;
    FontPtr f = LoadImageFont(path, size, style);
    if (f) c.emplace(k, f);
    return f;
}

size_t sharedFontCount() {
    return cache().size();
}

void clearSharedFonts() {
    cache().clear();
}
