// synth: renders sound and music recipes into WAV or Ogg Vorbis files.
//   synth RECIPE -o OUT.ogg|OUT.wav     render one recipe
//   synth --check FILE...               decode files and print their figures (one JSON line each)
//   synth --report FILE...              the same figures as a table for people
// The output depends only on the recipe: same recipe, same bytes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "AudioFile.h"
#include "Dsp.h"
#include "Recipe.h"
#include "Render.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: synth RECIPE -o OUT.(ogg|wav)\n       synth --check FILE...\n"
                 "       synth --report FILE...\n");
    return 2;
}

double toDb(double v) {
    return 20 * std::log10(std::max(1e-9, v));
}

int check(const std::vector<std::string>& files, bool table) {
    int bad = 0;
    if (table)
        std::printf("%-22s %7s %9s %8s %8s %10s %10s %8s %8s %8s\n", "file", "seconds", "peak_dBFS", "rms_dB",
                    "LUFS", "seam_jump", "step_p99", "seam_dB", "p90_dB", "hi3k_dB");
    for (const auto& f : files) {
        try {
            int rate = 0;
            synth::Audio a = synth::readAudio(f, &rate);
            synth::Stats s = synth::measure(a, rate);
            if (table) {
                std::string name = f.substr(f.find_last_of('/') + 1);
                std::printf("%-22s %7.2f %9.2f %8.2f %8.2f %10.5f %10.5f %+8.2f %8.2f %8.2f\n", name.c_str(), s.seconds,
                            toDb(s.peak), s.rmsDb, s.lufs, s.seamJump, s.typicalStep, s.seamLevelDb,
                            s.levelStepP90Db, s.highShareDb);
                continue;
            }
            std::printf(
                "{\"file\":\"%s\",\"channels\":%d,\"rate\":%d,\"seconds\":%.3f,\"peak\":%.4f,"
                "\"peak_db\":%.2f,\"rms_db\":%.2f,\"lufs\":%.2f,\"dc\":%.6f,\"seam_jump\":%.5f,"
                "\"step_p99\":%.5f,\"seam_level_db\":%.2f,\"level_step_p90_db\":%.2f,\"high_share_db\":%.2f,\"start\":%.5f,"
                "\"end\":%.5f}\n",
                f.c_str(), s.channels, s.rate, s.seconds, s.peak, toDb(s.peak), s.rmsDb, s.lufs, s.dc, s.seamJump,
                s.typicalStep, s.seamLevelDb, s.levelStepP90Db, s.highShareDb, s.startAbs, s.endAbs);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "synth: %s\n", e.what());
            ++bad;
        }
    }
    return bad ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage();
    if (args[0] == "--check" || args[0] == "--report") {
        if (args.size() < 2) return usage();
        return check(std::vector<std::string>(args.begin() + 1, args.end()), args[0] == "--report");
    }
    if (args.size() != 3 || args[1] != "-o") return usage();
    try {
        synth::Recipe r = synth::loadRecipe(args[0]);
        synth::Audio a = synth::render(r);
        std::string name = args[0].substr(args[0].find_last_of('/') + 1);
        synth::writeAudio(a, args[2], a.quality, uint32_t(synth::hashString(name.c_str())));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "synth: %s\n", e.what());
        return 1;
    }
    return 0;
}
