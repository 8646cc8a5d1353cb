// Writing WAV and Ogg Vorbis files, and reading them back for checks.
#pragma once

#include <string>

#include "Render.h"

namespace synth {

// Writes atomically (temporary file, then rename). Format by extension:
// ".wav" 16-bit PCM, ".ogg" Vorbis at `quality` (-0.1 .. 1).
void writeAudio(const Audio& a, const std::string& path, double quality, uint32_t serial);

// Decodes a WAV or Ogg Vorbis file; throws RecipeError when it cannot.
Audio readAudio(const std::string& path, int* rate = nullptr);

struct Stats {
    int channels = 0, rate = 0;
    double seconds = 0;
    double peak = 0, rmsDb = -200, dc = 0;
    double seamJump = 0;     // |first - last| sample, largest channel
    double typicalStep = 0;  // 99th percentile of |x[n] - x[n-1]|
    double startAbs = 0, endAbs = 0;
    double lufs = -200;       // integrated loudness (K-weighted, gated)
    // Level across the loop point: RMS of the first 500 ms minus RMS of the
    // last 500 ms; and, to judge it by, the 90th percentile of the same
    // change (absolute) at every 100 ms inside the file.
    double seamLevelDb = 0;
    double levelStepP90Db = 0;
    // Share of the sound above 3 kHz, dB below the whole: a harshness figure
    // (bright, fizzy mixes tire the ear over many minutes).
    double highShareDb = -200;
};
Stats measure(const Audio& a, int rate);

}  // namespace synth
