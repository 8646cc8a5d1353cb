// Fuzz target: the dog table ("data/dogs.dat"). Whatever the bytes, the
// reader gives dogs (never a null one), and a dog that repeats another's id
// is reported (the first one answers for the stage).
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
        if (!d) {
            std::fprintf(stderr, "dog table property broken: a null dog\n");
            __builtin_trap();
        }
        if (!ids.insert(d->id).second) {
            const std::string said = "repeats the id " + std::to_string(d->id);
            bool reported = false;
            for (const std::string& p : problems) reported = reported || p.find(said) != std::string::npos;
            if (!reported) {
                std::fprintf(stderr, "dog table property broken: id %d repeated without a word\n", d->id);
                __builtin_trap();
            }
        }
    }
    return 0;
}
