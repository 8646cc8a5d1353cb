// Fuzz target: the dog table ("data/dogs.dat"). Whatever the bytes, the
// reader gives dogs with ids of their own and says what it could not read.
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "dogs/TPies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    TDogTableSources src;
    src.root = "/nonexistent/";
    std::vector<std::string> problems;
    const auto dogs = readDogTable(text, true, src, problems);
    std::set<int> ids;
    for (const auto& d : dogs) {
        if (!d || !ids.insert(d->id).second) {
            std::fprintf(stderr, "dog table property broken: a null dog or two with one id\n");
            __builtin_trap();
        }
    }
    return 0;
}
