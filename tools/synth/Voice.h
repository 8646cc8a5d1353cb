// Instruments: one note of a tone, a filtered noise burst, drum voices.
// Each adds into a mono buffer at a sample offset; the caller pans.
#pragma once

#include <vector>

#include "Dsp.h"
#include "Recipe.h"

namespace synth {

enum class Wave { Sine, Tri, Saw, Square, Fm, Additive, Pluck, Flute, EPiano };

struct ToneParams {
    Wave wave = Wave::Sine;
    Adsr env;
    double amp = 0.5;
    double ratio = 1, index = 0, indexDecay = 0;  // FM: modulator ratio, depth, depth decay (s)
    double fmFeedback = 0;
    std::vector<double> harm;                        // additive partial levels
    double detune = 0;                               // cents; > 0 adds a second, detuned oscillator
    double cutoff = 0, q = 0.7;                      // low-pass, 0 = none
    double cutoffEnv = 0, cutoffDecay = 0.2;         // extra cutoff (x cutoff) that decays away
    double glide = 1, glideTime = 0;                 // frequency ratio reached after glideTime
    double vib = 0, vibRate = 5.5, vibDelay = 0.15;  // semitones
    double pluckDamp = 0.5;                          // Karplus-Strong brightness loss
    double click = 0;                                // noise transient at the start
    double breath = 0.1;                             // flute: breath noise around the pitch
    double tine = 0.2;                               // electric piano: the bell-like strike
};

// Reads the tone keys of a layer or instrument line.
ToneParams readTone(const Params& p);

// Adds one note. gate: seconds held; returns the last sample written.
size_t renderTone(std::vector<double>& out, size_t start, double hz, double gate, double vel,
                  const ToneParams& tp, Rng& rng);

struct NoiseParams {
    Adsr env;
    double amp = 0.5;
    int mode = 0;  // 0 low-pass, 1 band-pass, 2 high-pass, 3 none
    double freq = 2000, freq2 = 0, q = 0.8;
    double density = 0;  // > 0: sparse crackle, impulses per second
};

NoiseParams readNoise(const Params& p);
size_t renderNoise(std::vector<double>& out, size_t start, double gate, double vel, const NoiseParams& np,
                   Rng& rng);

enum class Drum { Kick, Snare, Hat, OpenHat, Clap, Shaker, Tom };
size_t renderDrum(std::vector<double>& out, size_t start, Drum d, double vel, Rng& rng);

}  // namespace synth
