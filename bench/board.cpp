// Board benchmarks: loading a 12 x 12 level file with its frames, and one
// update of every chip on a full, quiet 10 x 10 board.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/Services.h"
#include "data/DataGlobals.h"
#include "match3/TBackGround.h"
#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"

namespace {

TM3Game& fixtureGame() {
    static TM3Game* game = [] {
        dataRoot = std::string(BRIMBLE_SOURCE_DIR) + "/tests/fixtures/match3/";
        auto* g = new TM3Game();
        g->loadSettings("data/settings.dat");
        g->loadTiles("data/tiles.dat");
        g->loadChips("data/chips.dat");
        g->loadBonusChips("data/bonusy.dat");
        g->loadFrame("data/frames.dat");
        loadBackgrounds("data/backgrounds.dat");
        return g;
    }();
    return *game;
}

// A 12 x 12 level with holes, layers, chains and creators, saved once.
std::string levelPath() {
    static std::string path = [] {
        TM3Game& g = fixtureGame();
        auto lvl = createEmptyLevel(12, 12, &g);
        lvl->availableChips = {g.getChipData(1), g.getChipData(2), g.getChipData(3),
                               g.getChipData(4), g.getChipData(5)};
        for (int r = 0; r < 12; ++r)
            for (int c = 0; c < 12; ++c) {
                auto& t = lvl->tile[r][c];
                const int kind = ((r * 7 + c * 3) % 11 == 0) ? 0 : 1 + (r + c) % 3;
                t->setTileData(g.getTileData(kind));
                if (kind) t->setChip(createChip(g.getChipData(1 + (r * 3 + c) % 5)));
                t->chain = (r * c) % 9 == 4 ? 1 : 0;
                t->creator = r == 0 ? 1 : 0;
            }
        lvl->CreateLevelFrames();
        lvl->backGround.reset();  // the fixture has no pictures: keep the notice out of the loop
        const auto p = (std::filesystem::temp_directory_path() / "brimble_bench_board.lvl").string();
        lvl->save(p);
        return p;
    }();
    return path;
}

void BM_LoadLevel12x12(benchmark::State& state) {
    TM3Game& g = fixtureGame();
    const std::string path = levelPath();
    for (auto _ : state) {
        auto lvl = loadLevelFile(path, &g);
        lvl->setPosition(512, 384);
        benchmark::DoNotOptimize(lvl);
    }
}
BENCHMARK(BM_LoadLevel12x12)->Unit(benchmark::kMicrosecond);

void BM_UpdateQuietBoard10x10(benchmark::State& state) {
    TM3Game& g = fixtureGame();
    auto lvl = createEmptyLevel(10, 10, &g);
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 10; ++c) lvl->tile[r][c]->setChip(createChip(g.getChipData(1 + (r + 2 * c) % 5)));
    g.setLevel(lvl);
    lvl->setPosition(512, 384);
    frameDelta = 1.0f;
    for (auto _ : state) {
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 10; ++c) benchmark::DoNotOptimize(lvl->tile[r][c]->chip->update());
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_UpdateQuietBoard10x10)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
