// Fuzz target: the tutorial file. Whatever the bytes, reading the tips keeps
// only tips with ids of their own, each of whose entries was read by the
// grammar, and reports every tip it leaves out.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "data/DataGlobals.h"
#include "tutorial/TTutorial.h"
#include "tutorial/TTutorialTip.h"

namespace {

[[noreturn]] void broken(const std::string& why) {
    std::fprintf(stderr, "tutorial file property broken: %s\n", why.c_str());
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    dataRoot = "";
    static const std::string path = "/tmp/brimble_fuzz_tutorial_" + std::to_string(::getpid()) + ".dat";
    {
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    TTutorial t;
    t.loadTipsFrom(path);
    std::set<std::string> ids;
    for (const auto& tip : t.tips) {
        if (!tip) broken("a null tip");
        if (!ids.insert(tip->id).second) broken("two tips with the id " + tip->id);
    }
    if (t.tips.size() > 500) broken("more tips than the file may hold");
    std::remove(path.c_str());
    return 0;
}
