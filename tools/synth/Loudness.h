// Loudness and loop-seam figures of rendered or decoded audio, for the
// synthesizer's --check and --report and for the tests.
#pragma once

#include <cstddef>

#include "Dsp.h"
#include "Render.h"

namespace synth {

// The K-weighting of broadcast loudness meters at a sample rate: a high
// shelf of about +4 dB above 1.7 kHz, then a high-pass near 38 Hz.
void kWeighting(int rate, Biquad& shelf, Biquad& highPass);

// Integrated loudness in LUFS: K-weighted mean square in 400 ms blocks every
// 100 ms, summed over the channels, blocks below -70 LUFS dropped, then
// blocks more than 10 LU below the mean of the rest dropped. Audio shorter
// than one block is measured as one block. Silence gives -200.
double integratedLoudness(const Audio& a, int rate);

// RMS level in dBFS of `frames` frames from `first` (all channels pooled).
double windowRmsDb(const Audio& a, size_t first, size_t frames);

}  // namespace synth
