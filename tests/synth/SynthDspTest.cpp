// The synthesizer's building blocks, driven directly: the loudness meter and
// the loop-seam figures, the chorus, the flute and electric-piano voices and
// the scale modes of the music renderer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AudioFile.h"
#include "Dsp.h"
#include "Loudness.h"
#include "Recipe.h"
#include "Render.h"
#include "Voice.h"

using namespace synth;

namespace {

// Power of one frequency in a stretch of samples (Goertzel), per sample.
double powerAt(const std::vector<double>& x, size_t from, size_t n, double hz) {
    double w = 2 * kPi * hz / kRate, c = 2 * std::cos(w), s1 = 0, s2 = 0;
    for (size_t i = from; i < from + n && i < x.size(); ++i) {
        double s0 = x[i] + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return (s1 * s1 + s2 * s2 - c * s1 * s2) / double(n * n);
}

Audio sine(double hz, double amp, double seconds, int channels) {
    Audio a;
    a.channels = channels;
    size_t n = size_t(seconds * kRate);
    for (size_t i = 0; i < n; ++i)
        for (int c = 0; c < channels; ++c) a.samples.push_back(float(amp * std::sin(2 * kPi * hz * i / kRate)));
    return a;
}

void append(Audio& a, const Audio& b) {
    a.samples.insert(a.samples.end(), b.samples.begin(), b.samples.end());
}

}  // namespace

// ---------------------------------------------------------------------------
// Loudness meter

TEST(Loudness, CalibratedOnAFullScaleTone) {
    // A 997 Hz sine at full scale reads -3.01 LUFS on one channel; two
    // channels add their powers; the level follows the amplitude.
    struct Case {
        double hz, amp;
        int channels;
        double lufs;
    };
    for (Case c : {Case{997, 1.0, 1, -3.01}, Case{997, 1.0, 2, 0.0}, Case{997, 0.1, 1, -23.01},
                   Case{997, 0.1, 2, -20.0}}) {
        SCOPED_TRACE(std::to_string(c.amp) + " x" + std::to_string(c.channels));
        EXPECT_NEAR(integratedLoudness(sine(c.hz, c.amp, 5, c.channels), kRate), c.lufs, 0.1);
    }
}

TEST(Loudness, WeightsLowsDownAndHighsUp) {
    double mid = integratedLoudness(sine(997, 0.5, 3, 1), kRate);
    double low = integratedLoudness(sine(20, 0.5, 3, 1), kRate);
    double high = integratedLoudness(sine(8000, 0.5, 3, 1), kRate);
    EXPECT_LT(low, mid - 6) << "rumble counts for little";
    EXPECT_GT(high, mid + 3) << "the presence shelf";
    EXPECT_LT(high, mid + 4.5);
}

TEST(Loudness, GatesSilenceAndQuietStretches) {
    // Ungated, the 20 s of silence or near-silence would pull the reading
    // 4.8 dB down; gated, only the few blocks across the edge count.
    Audio loud = sine(997, 0.5, 10, 2);
    double alone = integratedLoudness(loud, kRate);
    Audio withSilence = loud;
    append(withSilence, sine(997, 0.0, 20, 2));
    EXPECT_NEAR(integratedLoudness(withSilence, kRate), alone, 0.1) << "absolute gate";
    Audio withQuiet = loud;
    append(withQuiet, sine(997, 0.005, 20, 2));  // -40 dB: far below the relative gate
    EXPECT_NEAR(integratedLoudness(withQuiet, kRate), alone, 0.1) << "relative gate";
    EXPECT_EQ(integratedLoudness(sine(997, 0.0, 2, 2), kRate), -200);
    Audio empty;
    EXPECT_EQ(integratedLoudness(empty, kRate), -200);
}

TEST(Loudness, SeamFiguresCompareTheEndsOfALoop) {
    // quiet start, loud middle, a softer last half second: the level across
    // the loop point (last 500 ms into the first) falls by 14 dB
    Audio a = sine(440, 0.05, 1, 2);
    append(a, sine(440, 0.5, 1.5, 2));
    append(a, sine(440, 0.25, 0.5, 2));
    Stats s = measure(a, kRate);
    EXPECT_NEAR(s.seamLevelDb, -14, 0.3);
    EXPECT_NEAR(windowRmsDb(a, 0, kRate / 2), 20 * std::log10(0.05 / std::sqrt(2.0)), 0.1);
    // a steady tone: no change anywhere, and none at the seam
    Stats steady = measure(sine(440, 0.5, 3, 2), kRate);
    EXPECT_NEAR(steady.seamLevelDb, 0, 0.1);
    EXPECT_LT(steady.levelStepP90Db, 0.1);
    // the changes inside are measured too: one step up in the middle
    Audio stepUp = sine(440, 0.1, 2, 1);
    append(stepUp, sine(440, 0.4, 2, 1));
    double p90 = measure(stepUp, kRate).levelStepP90Db;
    EXPECT_GT(p90, 6.0);
    EXPECT_LT(p90, 12.1);
}

TEST(Loudness, HighShareTellsBrightFromMellow) {
    EXPECT_LT(measure(sine(500, 0.5, 1, 2), kRate).highShareDb, -25);
    EXPECT_NEAR(measure(sine(9000, 0.5, 1, 2), kRate).highShareDb, 0, 0.5);
    // half the power above 3 kHz reads about -3 dB
    Audio mix = sine(300, 0.5, 1, 1);
    Audio hi = sine(10000, 0.5, 1, 1);
    for (size_t i = 0; i < mix.samples.size(); ++i) mix.samples[i] += hi.samples[i];
    EXPECT_NEAR(measure(mix, kRate).highShareDb, -3, 0.5);
}

// ---------------------------------------------------------------------------
// Chorus

TEST(Chorus, ImpulseComesBackOnlyWithinTheSweptDelay) {
    Chorus ch;
    ch.setup(0.7, 8.0, 2.5);  // 5.5 .. 10.5 ms
    const size_t lo = size_t(5.5e-3 * kRate) - 1, hi = size_t(10.5e-3 * kRate) + 2;
    for (size_t at : {size_t(0), size_t(10000), size_t(20000)}) {  // different points of the sweep
        SCOPED_TRACE(at);
        Chorus c = ch;
        double sumL = 0, sumR = 0, early = 0, late = 0;
        for (size_t i = 0; i < at + hi + 2000; ++i) {
            double l, r;
            c.process(i == at ? 1.0 : 0.0, l, r);
            if (i < at + lo) early += std::fabs(l) + std::fabs(r);
            if (i > at + hi) late += std::fabs(l) + std::fabs(r);
            if (i >= at) {
                sumL += l;
                sumR += r;
            }
        }
        EXPECT_EQ(early, 0) << "nothing before the shortest delay";
        EXPECT_EQ(late, 0) << "nothing after the longest: no feedback, no stale buffer";
        // interpolation weights add up to one, give or take the Doppler
        // stretch of the moving read point (about 1 % at this sweep)
        EXPECT_NEAR(sumL, 1.0, 0.03);
        EXPECT_NEAR(sumR, 1.0, 0.03);
    }
    EXPECT_LE(ch.maxDelay(), hi + 2);
}

TEST(Chorus, SweepsSmoothlyAndDiffersLeftToRight) {
    Chorus ch;
    ch.setup(1.0, 9.0, 3.0);
    double inStep = 0, outStep = 0, prevIn = 0, prevL = 0, diffLR = 0, energy = 0;
    int crossIn = 0, crossOut = 0;
    double lastIn = 0, lastOut = 0;
    for (int i = 0; i < kRate * 2; ++i) {
        double x = 0.5 * std::sin(2 * kPi * 330.0 * i / kRate);
        double l, r;
        ch.process(x, l, r);
        if (i > 1000) {
            inStep = std::max(inStep, std::fabs(x - prevIn));
            outStep = std::max(outStep, std::fabs(l - prevL));
            diffLR += std::fabs(l - r);
            energy += std::fabs(l);
            crossIn += (x >= 0) != (lastIn >= 0);
            crossOut += (l >= 0) != (lastOut >= 0);
        }
        prevIn = x;
        prevL = l;
        lastIn = x;
        lastOut = l;
    }
    EXPECT_LT(outStep, inStep * 1.1) << "the moving read point must not click";
    EXPECT_GT(diffLR, 0.2 * energy) << "left and right sweep apart";
    EXPECT_NEAR(crossOut, crossIn, crossIn * 0.01) << "the pitch only wobbles, it does not drift";
}

// ---------------------------------------------------------------------------
// Voices

namespace {

std::vector<double> note(const std::string& recipeLine, double hz, double gate, double vel = 1.0) {
    Params p;
    p.where = "test";
    std::string rest = recipeLine;
    size_t pos = 0;
    while (pos < rest.size()) {
        size_t sp = rest.find(' ', pos);
        std::string kv = rest.substr(pos, sp == std::string::npos ? std::string::npos : sp - pos);
        size_t eq = kv.find('=');
        if (eq != std::string::npos) p.set(kv.substr(0, eq), kv.substr(eq + 1));
        if (sp == std::string::npos) break;
        pos = sp + 1;
    }
    ToneParams tp = readTone(p);
    std::vector<double> out;
    Rng rng(7);
    renderTone(out, 0, hz, gate, vel, tp, rng);
    return out;
}

}  // namespace

TEST(Voices, FluteSoundsItsPitchWithBreathBetweenTheHarmonics) {
    const std::string base = "wave=flute a=0.03 d=0.2 s=0.8 r=0.2 amp=0.5";
    std::vector<double> clean = note(base + " breath=0", 440, 1.0);
    std::vector<double> breathy = note(base + " breath=0.3", 440, 1.0);
    size_t from = kRate / 5, n = kRate / 2;
    double f0 = powerAt(clean, from, n, 440);
    EXPECT_GT(f0, 20 * powerAt(clean, from, n, 220)) << "no sub-octave";
    EXPECT_GT(f0, 5 * powerAt(clean, from, n, 880)) << "the fundamental leads";
    EXPECT_GT(powerAt(clean, from, n, 880), 10 * powerAt(clean, from, n, 1760)) << "soft, few overtones";
    // breath: noise near the pitch, between the harmonics
    double gapClean = powerAt(clean, from, n, 470) + powerAt(clean, from, n, 410);
    double gapBreathy = powerAt(breathy, from, n, 470) + powerAt(breathy, from, n, 410);
    EXPECT_GT(gapBreathy, 10 * gapClean);
    // and the note ends in silence after its release
    size_t end = size_t((1.0 + 0.2) * kRate);
    ASSERT_GE(breathy.size(), end);
    for (size_t i = end; i < breathy.size(); ++i) ASSERT_EQ(breathy[i], 0.0) << i;
    EXPECT_LT(std::fabs(breathy[end - 10]), 0.01);
}

TEST(Voices, ElectricPianoMellowsAsItRingsAndBrightensWhenStruckHarder) {
    const std::string base = "wave=epiano a=0.002 d=1.5 s=0.3 r=0.3 amp=0.5 tine=0";
    auto brightness = [](const std::vector<double>& x, double fromSec) {
        size_t from = size_t(fromSec * kRate), n = kRate / 10;
        double over = powerAt(x, from, n, 440) + powerAt(x, from, n, 660);  // 2nd and 3rd partials
        return over / powerAt(x, from, n, 220);
    };
    std::vector<double> hard = note(base, 220, 1.2, 1.0);
    std::vector<double> soft = note(base, 220, 1.2, 0.3);
    EXPECT_GT(brightness(hard, 0.0), 3 * brightness(hard, 0.9)) << "brightness fades";
    EXPECT_GT(brightness(hard, 0.0), 1.5 * brightness(soft, 0.0)) << "harder strikes are brighter";
    // the tine adds a short high partial at 14 times the pitch, gone soon
    std::vector<double> tine = note("wave=epiano a=0.002 d=1.5 s=0.3 r=0.3 amp=0.5 tine=0.4", 220, 1.2);
    EXPECT_GT(powerAt(tine, 0, kRate / 50, 3080), 100 * powerAt(hard, 0, kRate / 50, 3080));
    EXPECT_LT(powerAt(tine, kRate / 2, kRate / 50, 3080), 0.001 * powerAt(tine, 0, kRate / 50, 3080));
}

TEST(Voices, SameSeedSameSamples) {
    for (const char* w : {"wave=flute breath=0.2", "wave=epiano tine=0.3"}) {
        SCOPED_TRACE(w);
        EXPECT_EQ(note(w, 330, 0.3), note(w, 330, 0.3));
    }
}

// ---------------------------------------------------------------------------
// Scale modes of the music renderer

namespace {

std::string writeRecipe(const std::string& name, const std::string& text) {
    std::string dir = std::string(BRIMBLE_BINARY_DIR) + "/test_synth_tmp/";
    std::filesystem::create_directories(dir);
    std::ofstream(dir + name) << text;
    return dir + name;
}

// Dominant frequency between 100 and 400 Hz (bass notes), in 1/4-semitone steps.
double dominantHz(const Audio& a) {
    std::vector<double> mono;
    for (size_t i = 0; i < a.frames(); ++i) mono.push_back(a.samples[i * 2] + a.samples[i * 2 + 1]);
    double best = 0, bestHz = 0;
    for (double m = 43; m <= 67; m += 0.25) {
        double hz = noteToHz(m);
        double p = powerAt(mono, kRate / 4, kRate, hz);
        if (p > best) {
            best = p;
            bestHz = hz;
        }
    }
    return bestHz;
}

}  // namespace

TEST(MusicModes, ChordRootsFollowTheMode) {
    // A one-bar loop of a sine bass on one chord root: the mode decides
    // which pitch that root is.
    struct Case {
        const char* mode;
        const char* chord;
        int midi;  // expected root, octave 3
    };
    for (Case c : {Case{"major", "IV", 53}, Case{"lydian", "IV", 54}, Case{"major", "vii", 59},
                   Case{"mixolydian", "vii", 58}, Case{"minor", "vi", 56}, Case{"dorian", "vi", 57},
                   Case{"dorian", "iii", 51}}) {
        SCOPED_TRACE(std::string(c.mode) + " " + c.chord);
        std::string path = writeRecipe(std::string(c.mode) + "_" + c.chord + ".snd",
                                       std::string("kind = music\ntempo = 120\nkey = C\nmode = ") + c.mode +
                                           "\nbars = 1\nprogression = " + c.chord +
                                           "\nform = A\nmotifbars = 1\nmotif.A = ................\n"
                                           "reverb = 0\nbass wave=sine octave=3 a=0.01 r=0.05 "
                                           "pattern=R---------------\n");
        Audio a = render(loadRecipe(path));
        EXPECT_NEAR(dominantHz(a), noteToHz(c.midi), 0.5);
    }
}

TEST(MusicModes, BadModeOrChorusIsRefusedWithItsPlace) {
    struct Case {
        const char* line;
        const char* mentions;
    };
    for (Case c : {Case{"mode = phrygianish\nbass wave=sine", "mode must be"},
                   Case{"mode = major\nbass wave=sine chorus=1.5", "chorus 0..1"},
                   Case{"mode = major\nbass wave=sine chorus=0.5 chorusrate=0", "chorusrate"}}) {
        SCOPED_TRACE(c.line);
        std::string path = writeRecipe("bad.snd", std::string("kind = music\nbars = 1\nprogression = I\n"
                                                              "form = A\nmotifbars = 1\nmotif.A = x---------------\n") +
                                                      c.line + "\n");
        try {
            render(loadRecipe(path));
            ADD_FAILURE() << "accepted";
        } catch (const RecipeError& e) {
            EXPECT_NE(std::string(e.what()).find(c.mentions), std::string::npos) << e.what();
        }
    }
}
