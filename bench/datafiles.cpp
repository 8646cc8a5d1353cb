// Reading speed of the key-value files and the cost of paragraph layout.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/Files.h"
#include "data/Paragraph.h"
#include "data/TRCMFile.h"

namespace {

// About 5 MB in the writer's layout: groups of levels with number and
// string entries, like the level and table files.
const std::string& generated() {
    static std::string text;
    if (!text.empty()) return text;
    // One small level written by the writer, repeated under new names.
    auto f = newRCMFile();
    f->setFloat("data::dims", 9);
    f->setFloat("data::dims", 9, 1);
    f->setFloat("data::time", 180.5);
    f->setString("info::name", "Level number, with a comma");
    for (int r = 0; r < 9; ++r) f->setString("tiles::row" + std::to_string(r), "1 1 2 2 3 0 1 1 2");
    std::string body;
    for (auto& sub : f->_grupa->_listaGrup) body += sub->save("\t\t");
    text = "levels {\n\n";
    for (int g = 0; text.size() < 5u * 1024 * 1024; ++g)
        text += "\tlevel" + std::to_string(g) + " {\n\n" + body + "\t}\n\n";
    text += "}\n\n";
    return text;
}

void BM_ReadKeyValueText(benchmark::State& state) {
    const std::string& text = generated();
    for (auto _ : state) {
        TRCMFile f;
        f.LoadFromText(text);
        benchmark::DoNotOptimize(f.getInt("levels::level100::data::dims", 1));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_ReadKeyValueText)->Unit(benchmark::kMillisecond);

// The same without the freeing of the previous tree in the timed part.
void BM_ReadKeyValueTextNoTeardown(benchmark::State& state) {
    const std::string& text = generated();
    for (auto _ : state) {
        auto f = std::make_unique<TRCMFile>();
        f->LoadFromText(text);
        benchmark::DoNotOptimize(f->getInt("levels::level100::data::dims", 1));
        state.PauseTiming();
        f.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReadKeyValueTextNoTeardown)->Unit(benchmark::kMillisecond);

// From disk: read, decode from Latin-1, parse, then query every level.
void BM_LoadAndQueryFile(benchmark::State& state) {
    const std::string& text = generated();
    std::string path = (std::filesystem::temp_directory_path() / "brimble_bench_5mb.dat").string();
    SaveText(text, path);
    int levels = 0;
    for (auto _ : state) {
        auto f = loadRCMFile(path);
        auto g = f->getGroup({"levels"});
        levels = g ? static_cast<int>(g->_listaGrup.size()) : 0;
        long sum = 0;
        for (auto& lvl : g->_listaGrup) {
            auto d = lvl->getGroup("data");
            if (d && d->getEntry("time")) sum += static_cast<long>(d->getEntry("time")->_value.size());
        }
        benchmark::DoNotOptimize(sum);
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["levels"] = levels;
}
BENCHMARK(BM_LoadAndQueryFile)->Unit(benchmark::kMillisecond);

// Path lookups on a loaded file.
void BM_GetByPath(benchmark::State& state) {
    TRCMFile f;
    f.LoadFromText(generated());
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.getString("levels::level" + std::to_string(i++ % 50) + "::tiles::row4"));
    }
}
BENCHMARK(BM_GetByPath);

std::string words(int n) {
    static const char* pool[] = {"the", "dog", "jumps", "over", "a", "very", "patient", "owner",
                                 "while", "chips", "fall", "and", "sparkle"};
    std::string s;
    for (int i = 0; i < n; ++i) {
        if (i) s += ' ';
        s += pool[(i * 7) % 13];
    }
    return s;
}

void BM_Paragraph200Words(benchmark::State& state) {
    const std::string text = words(200);
    static const char* aligns[] = {"LEFT", "RIGHT", "CENTER", "JUSTIFY"};
    const char* align = aligns[state.range(0)];
    for (auto _ : state) benchmark::DoNotOptimize(drawTextBlock(text, 100, 100, 300, align, nullptr, 2));
}
BENCHMARK(BM_Paragraph200Words)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void BM_Measure200Words(benchmark::State& state) {
    const std::string text = words(200);
    for (auto _ : state) benchmark::DoNotOptimize(measureTextBlock(text, 300, "LEFT", nullptr, 2));
}
BENCHMARK(BM_Measure200Words)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
