// The jigsaw screen's pointer test: every loose piece and group of the last
// stage's 42-piece jigsaw tested against the pointer once a frame, as the
// screen does, on the headless backend. Pointer positions: off every piece,
// over the laid-out pieces, and over the solved picture (one group).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "jigsaw/TPuzzleLevel.h"
#include "platform/Services.h"
#include "platform/sdl/SdlBackend.h"

namespace {

TPuzzleLevelPtr stage12() {
    static TPuzzleLevelPtr level = [] {
        InstallBackend(MakeHeadlessBackend());
        if (chdir(BRIMBLE_GAME_DIR) != 0) std::perror("chdir");
        SeedRnd(1);
        auto l = loadPuzzleLevel("data/puzzles/stage12.dat", 1);
        if (!l) std::abort();
        for (auto& p : l->allPuzzles) p->aktywny = 1;
        return l;
    }();
    return level;
}

// One frame of the screen's pointer work: update (and so test) every entry.
int pointerFrame(const TPuzzleLevelPtr& l, int x, int y) {
    TPuzzleFrame f;
    f.mouseX = x;
    f.mouseY = y;
    int over = 0;
    for (auto& e : l->puzzles) over += e->update(f);
    return over;
}

void BM_PointerLaidOut(benchmark::State& state) {
    auto l = stage12();
    int i = 0;
    for (auto _ : state) {
        // Walk the pointer over the left column and the bottom row of pieces.
        const int k = i++ % 200;
        const int x = k < 100 ? 50 : 190 + (k - 100) * 8;
        const int y = k < 100 ? 80 + k * 5 : 700;
        benchmark::DoNotOptimize(pointerFrame(l, x, y));
    }
    state.counters["entries"] = static_cast<double>(l->puzzles.size());
}
BENCHMARK(BM_PointerLaidOut)->MeasureProcessCPUTime();

void BM_PointerOffPieces(benchmark::State& state) {
    auto l = stage12();
    for (auto _ : state) benchmark::DoNotOptimize(pointerFrame(l, 512, 270));
}
BENCHMARK(BM_PointerOffPieces)->MeasureProcessCPUTime();

void BM_PointerSolvedGroup(benchmark::State& state) {
    static TPuzzleLevelPtr solved = [] {
        auto l = stage12();
        auto g = std::make_shared<TPuzzleGroup>();
        g->aktywny = 1;
        for (auto& p : l->allPuzzles) {
            p->dim.x = l->stx + 10 + p->dDim.x;
            p->dim.y = l->sty + 10 + p->dDim.y;
            g->grupa.push_back(p.get());
        }
        auto s = std::make_shared<TPuzzleLevel>();
        s->allPuzzles = l->allPuzzles;
        s->puzzles = {g};
        return s;
    }();
    int i = 0;
    for (auto _ : state) {
        // Across the picture: a miss costs a test of every member.
        const int k = i++ % 250;
        benchmark::DoNotOptimize(pointerFrame(solved, 262 + 2 * k, 270));
    }
}
BENCHMARK(BM_PointerSolvedGroup)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
