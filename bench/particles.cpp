// Particles during a big cascade: every frame a handful of chips burst and
// score, and the whole list is updated and drawn. Reports the time of a frame,
// the live particles and the heap allocations a frame (which should be zero:
// particles come from fixed pools).
#include "effects/Particles.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/Backend.h"
#include "platform/Services.h"
#include "platform/sdl/SdlBackend.h"
#include "data/DataGlobals.h"
#include "effects/TParticle.h"

static std::atomic<long> g_allocs{0};

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t n) {
    ++g_allocs;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

static void cascade(benchmark::State& state, bool headless) {
    InstallBackend(headless ? MakeHeadlessBackend() : nullptr);
    if (headless) OpenGraphics(1024, 768, 0, 60);
    dataRoot = BRIMBLE_GAME_DIR "/";
    TParticle::setUp = false;
    setupParticles();
    const int chipsPerFrame = static_cast<int>(state.range(0));
    long frames = 0, live = 0;
    // Warm up to a steady population before counting.
    auto frame = [&] {
        for (int i = 0; i < chipsPerFrame; ++i) {
            const float x = static_cast<float>(300 + (i * 60) % 420),
                        y = static_cast<float>(200 + (i * 37) % 360);
            destroyParticles(x, y, TRGB{220, 80, 60}, i % 5 == 0 ? DESTROY_BOMB : DESTROY_NORMAL);
            if (i % 3 == 0) scoreParticle(x, y, 50);
        }
        if (frames % 20 == 0) plateBreakParticles(400, 300, 60, 60, 1);
        updateParticles();
        Cls();
        drawParticles();
        Flip(0);
        Backend().advanceClock(1000.0 / 60);
        ++frames;
    };
    for (int i = 0; i < 120; ++i) frame();
    const long before = g_allocs.load();
    frames = 0;
    for (auto _ : state) {
        frame();
        live += particles().size();
    }
    state.counters["allocs_per_frame"] = benchmark::Counter(static_cast<double>(g_allocs.load() - before) /
                                                            static_cast<double>(frames ? frames : 1));
    state.counters["live_particles"] =
        benchmark::Counter(static_cast<double>(live) / static_cast<double>(frames ? frames : 1));
    clearParticles();
    InstallBackend(nullptr);
}

static void BM_ParticleCascadeNull(benchmark::State& state) {
    cascade(state, false);
}
static void BM_ParticleCascadeHeadless(benchmark::State& state) {
    cascade(state, true);
}
BENCHMARK(BM_ParticleCascadeNull)->Arg(6)->Arg(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParticleCascadeHeadless)->Arg(6)->Arg(20)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
