// Match-3 rules: best-move searches on a 9 x 9 board, one busy update, and the
// autoplayer's simulation speed with no drawing.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/Backend.h"
#include "platform/Services.h"
#include "data/DataGlobals.h"
#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "match3/TM3Runner.h"
#include "match3/TMatchInfo.h"
#include "match3/TTile.h"

namespace {
std::shared_ptr<TM3Game> makeGame() {
    dataRoot = std::string(BRIMBLE_GAME_DIR) + "/";
    InstallBackend(nullptr);
    auto g = std::make_shared<TM3Game>();
    g->loadSettings("data/settings.dat");
    g->loadTiles("data/tiles.dat");
    g->loadChips("data/chips.dat");
    g->loadBonusChips("data/bonusy.dat");
    return g;
}

// A full 9 x 9 board of five kinds dealt at random, creators on the top row.
void deal(TM3Game& g, const char* mode, unsigned seed) {
    SeedRnd(seed);
    auto lvl = createEmptyLevel(9, 9, &g);
    lvl->matchType = mode;
    for (int k = 1; k <= 5; ++k) lvl->availableChips.push_back(g.getChipData(k));
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c) {
            lvl->tile[r][c]->setChip(createChip(lvl->getRandomChip()));
            if (r == 0) lvl->tile[r][c]->creator = 1;
        }
    g.setLevel(lvl);
    g.setLevelPosition(534, 406);
}

void BM_BestMove(benchmark::State& st, const char* mode) {
    auto g = makeGame();
    deal(*g, mode, 5);
    for (auto _ : st) benchmark::DoNotOptimize(g->_noMatchLeft());
}

void BM_BusyUpdate(benchmark::State& st) {
    auto g = makeGame();
    for (auto _ : st) {
        st.PauseTiming();
        deal(*g, "SWAP", 9);
        // A cascade: a third of the board goes at once and everything above falls.
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 9; c += 3) g->getTile(r, c)->chip->destroy(0);
        for (int i = 0; i < 30; ++i) {
            g->update();
            Backend().advanceClock(1000.0 / 60.0);
        }
        st.ResumeTiming();
        g->update();
        Backend().advanceClock(1000.0 / 60.0);
    }
}

void BM_SimulationFrames(benchmark::State& st, const char* mode) {
    auto g = makeGame();
    deal(*g, mode, 3);
    // Every plate keeps a layer so the run never ends by winning.
    for (auto& row : g->level->tile)
        for (auto& t : row) t->setTileData(g->getTileData(3));
    TM3Runner run(g);
    run.stuckFrames = 1 << 30;
    int frames = 0;
    for (auto _ : st) {
        if (!run.frame()) {
            deal(*g, mode, static_cast<unsigned>(frames));
            run.outcome.clear();
        }
        ++frames;
    }
    st.counters["frames/s"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    st.counters["moves"] = run.player.moves;
}
}  // namespace

BENCHMARK_CAPTURE(BM_BestMove, swap, "SWAP")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BestMove, chain, "CHAIN")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BestMove, group, "GROUP")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BusyUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SimulationFrames, swap, "SWAP");
BENCHMARK_CAPTURE(BM_SimulationFrames, chain, "CHAIN");
BENCHMARK_CAPTURE(BM_SimulationFrames, group, "GROUP");

BENCHMARK_MAIN();
