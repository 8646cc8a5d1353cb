// Fuzz target: the jigsaw file reader. Whatever the bytes, the reader either
// refuses the file or gives a puzzle whose every piece is placed exactly
// once, whose neighbours all exist, whose positions are finite and bounded,
// which saves and reads back the same, and on which every entry can be
// dropped (snapped) without harm.
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "data/DataGlobals.h"
#include "jigsaw/TPuzzle.h"
#include "jigsaw/TPuzzleGroup.h"
#include "jigsaw/TPuzzleLevel.h"
#include "platform/Services.h"

namespace {

[[noreturn]] void broken(const std::string& why) {
    std::fprintf(stderr, "jigsaw reader property broken: %s\n", why.c_str());
    __builtin_trap();
}

std::string scratch(const char* name) {
    return "/tmp/brimble_fuzz_jigsaw_" + std::to_string(::getpid()) + "_" + name;
}

// Every piece with its position and owned flag, and the entries, as text.
std::string shape(const TPuzzleLevel& l) {
    std::string s;
    for (const auto& p : l.allPuzzles)
        s += std::to_string(p->id) + "@" + std::to_string(static_cast<long>(p->dim.x)) + "," +
             std::to_string(static_cast<long>(p->dim.y)) + (p->aktywny ? "+" : "-") + " ";
    s += "|";
    for (const auto& e : l.puzzles) {
        if (auto g = std::dynamic_pointer_cast<TPuzzleGroup>(e)) {
            s += "g(";
            for (const TPuzzle* m : g->grupa) s += std::to_string(m->id) + " ";
            s += ")";
        } else {
            s += std::to_string(e->id) + " ";
        }
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    dataRoot = "";
    SeedRnd(1);
    const std::string in = scratch("in.dat"), out = scratch("out.dat");
    {
        std::ofstream f(in, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    auto level = loadPuzzleLevel(in, 0);
    if (!level) return 0;
    std::set<const TPuzzle*> placed;
    for (const auto& e : level->puzzles) {
        if (auto g = std::dynamic_pointer_cast<TPuzzleGroup>(e)) {
            for (const TPuzzle* m : g->grupa)
                if (!placed.insert(m).second) broken("a piece placed twice");
        } else if (!placed.insert(e.get()).second) {
            broken("a piece placed twice");
        }
    }
    for (const auto& p : level->allPuzzles) {
        if (!placed.count(p.get())) broken("a piece in no entry");
        for (const TPuzzle* n : p->sasiedzi)
            if (!n) broken("a neighbour that does not exist");
        for (float v : {p->dim.x, p->dim.y, p->dDim.x, p->dDim.y})
            if (!std::isfinite(v) || std::fabs(v) > 1e6f) broken("a position out of range");
    }
    const std::string before = shape(*level);
    level->save(out);
    auto again = loadPuzzleLevel(out, 0);
    if (!again) broken("a saved puzzle is refused");
    if (shape(*again) != before) broken("a saved puzzle reads back differently:\n" + before + "\n" + shape(*again));
    // Every entry dropped where it lies: the snapping arithmetic on any numbers.
    auto entries = again->puzzles;
    for (const auto& e : entries) again->putPuzzle(e.get());
    return 0;
}
