// One frame of a busy GUI (the gallery script: every widget kind, a menu open,
// the mouse over a swelling caption): TGui::update + TGui::draw, on the null
// backend (logic only) and on the headless backend (real software drawing).
// Also counts heap allocations a frame, which should stay at zero.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/Backend.h"
#include "platform/Services.h"
#include "platform/sdl/SdlBackend.h"
#include "gui/GuiGlobals.h"
#include "gui/TBelka.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"

static std::atomic<long> g_allocs{0};

// The replaced pair counts every allocation; GCC cannot see that free()
// matches this malloc() and warns at each inlined delete.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t n) {
    ++g_allocs;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

static const char* kGallery = BRIMBLE_SOURCE_DIR "/tests/fixtures/gui_gallery/gallery.gui";

static void runFrames(benchmark::State& state) {
    errorNoticeHook = [](const std::string&) {};
    TGuiPtr gui = loadGui(kGallery);
    // Open the File menu, then rest the mouse on the swelling caption.
    mouse.x = 20;
    mouse.y = 12;
    mouse.leftPressed = 1;
    gui->update();
    mouse.leftPressed = 0;
    mouse.x = 860;
    mouse.y = 132;
    for (int i = 0; i < 10; ++i) {
        gui->update();
        gui->draw();
    }
    const long before = g_allocs.load();
    long frames = 0;
    for (auto _ : state) {
        gui->update();
        gui->draw();
        Backend().advanceClock(1000.0 / 60);
        ++frames;
    }
    state.counters["allocs_per_frame"] =
        benchmark::Counter(static_cast<double>(g_allocs.load() - before) / static_cast<double>(frames ? frames : 1));
    errorNoticeHook = nullptr;
}

static void BM_GuiFrameNull(benchmark::State& state) {
    InstallBackend(nullptr);
    runFrames(state);
}
BENCHMARK(BM_GuiFrameNull);

static void BM_GuiFrameHeadless(benchmark::State& state) {
    InstallBackend(MakeHeadlessBackend());
    OpenGraphics(1024, 768, 0, 60);
    runFrames(state);
    InstallBackend(nullptr);
}
BENCHMARK(BM_GuiFrameHeadless)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
