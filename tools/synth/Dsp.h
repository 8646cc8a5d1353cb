// Small DSP building blocks for the offline synthesizer. Everything here is
// deterministic: no library random generators, no time, no threads.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace synth {

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 44100;

// xorshift64*: tiny, fast and the same on every platform.
class Rng {
public:
    explicit Rng(uint64_t seed = 1) { reseed(seed); }
    void reseed(uint64_t seed) {
        s_ = seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull;
        if (!s_) s_ = 1;
    }
    uint64_t next() {
        s_ ^= s_ >> 12;
        s_ ^= s_ << 25;
        s_ ^= s_ >> 27;
        return s_ * 0x2545F4914F6CDD1Dull;
    }
    double uni() { return (next() >> 11) * (1.0 / 9007199254740992.0); }   // [0, 1)
    double bi() { return uni() * 2.0 - 1.0; }                              // [-1, 1)
    int range(int lo, int hi) { return lo + int(uni() * (hi - lo + 1)); }  // inclusive

private:
    uint64_t s_;
};

inline uint64_t hashString(const char* s) {
    uint64_t h = 1469598103934665603ull;  // FNV-1a
    while (*s) {
        h ^= uint8_t(*s++);
        h *= 1099511628211ull;
    }
    return h;
}

// Attack-decay-sustain-release. Decay and release are exponential-shaped but
// reach exactly zero at the end of the release, so notes never end in a click.
struct Adsr {
    double a = 0.005, d = 0.1, s = 0.7, r = 0.1;
    // t: seconds since the note started; gate: seconds the note is held.
    double at(double t, double gate) const {
        if (t < 0) return 0;
        if (t < gate) return held(t);
        double x = (t - gate) / (r > 1e-5 ? r : 1e-5);
        if (x >= 1) return 0;
        return held(gate) * std::exp(-4.0 * x) * (1.0 - x);
    }
    double held(double t) const {
        if (t < a) return a > 0 ? t / a : 1.0;
        double td = t - a;
        return s + (1.0 - s) * std::exp(-5.0 * td / (d > 1e-5 ? d : 1e-5));
    }
};

// Topology-preserving state-variable filter: stable under fast cutoff sweeps.
class Svf {
public:
    enum Mode { LP, BP, HP };
    void set(double cutoff, double q) {
        if (cutoff < 10) cutoff = 10;
        if (cutoff > kRate * 0.45) cutoff = kRate * 0.45;
        g_ = std::tan(kPi * cutoff / kRate);
        k_ = 1.0 / (q > 0.05 ? q : 0.05);
        a1_ = 1.0 / (1.0 + g_ * (g_ + k_));
    }
    double process(double x, Mode m) {
        double v3 = x - ic2_;
        double v1 = a1_ * ic1_ + g_ * a1_ * v3;
        double v2 = ic2_ + g_ * v1;
        ic1_ = 2 * v1 - ic1_;
        ic2_ = 2 * v2 - ic2_;
        if (m == LP) return v2;
        if (m == BP) return v1;
        return x - k_ * v1 - v2;
    }

private:
    double g_ = 0.1, k_ = 1.4, a1_ = 1, ic1_ = 0, ic2_ = 0;
};

// One-pole low-pass, used for damping and smoothing.
struct OnePole {
    double y = 0, c = 0.5;
    void setCutoff(double hz) { c = 1.0 - std::exp(-2.0 * kPi * hz / kRate); }
    double process(double x) { return y += c * (x - y); }
};

// Removes DC and sub-audio rumble.
struct DcBlock {
    double x1 = 0, y1 = 0, r = 0.9972;  // about 20 Hz at 44.1 kHz
    double process(double x) {
        double y = x - x1 + r * y1;
        x1 = x;
        y1 = y;
        return y;
    }
};

// A comb/allpass network in the manner of the classic Schroeder reverb, with
// a damped feedback path. Delay lengths are our own, chosen mutually prime.
class Reverb {
public:
    void setup(double room, double damp, int stereoSpread) {
        static const int combs[8] = {1051, 1123, 1201, 1277, 1361, 1439, 1511, 1583};
        static const int aps[4] = {547, 433, 337, 229};
        for (int ch = 0; ch < 2; ++ch) {
            int sp = ch ? stereoSpread : 0;
            for (int i = 0; i < 8; ++i) comb_[ch][i].init(combs[i] + sp);
            for (int i = 0; i < 4; ++i) ap_[ch][i].init(aps[i] + sp);
        }
        fb_ = 0.70 + 0.28 * room;
        damp_ = damp;
    }
    // Mono in, stereo out (wet only).
    void process(double in, double& outL, double& outR) {
        double x = in * 0.02;
        double o[2] = {0, 0};
        for (int ch = 0; ch < 2; ++ch) {
            for (auto& c : comb_[ch]) o[ch] += c.process(x, fb_, damp_);
            for (auto& a : ap_[ch]) o[ch] = a.process(o[ch]);
        }
        outL = o[0];
        outR = o[1];
    }

private:
    struct Comb {
        std::vector<double> buf;
        size_t pos = 0;
        double store = 0;
        void init(int n) {
            buf.assign(n, 0.0);
            pos = 0;
            store = 0;
        }
        double process(double x, double fb, double damp) {
            double y = buf[pos];
            store = y * (1 - damp) + store * damp;
            buf[pos] = x + store * fb;
            if (++pos == buf.size()) pos = 0;
            return y;
        }
    };
    struct Allpass {
        std::vector<double> buf;
        size_t pos = 0;
        void init(int n) {
            buf.assign(n, 0.0);
            pos = 0;
        }
        double process(double x) {
            double b = buf[pos];
            double y = b - x;
            buf[pos] = x + b * 0.5;
            if (++pos == buf.size()) pos = 0;
            return y;
        }
    };
    Comb comb_[2][8];
    Allpass ap_[2][4];
    double fb_ = 0.84, damp_ = 0.3;
};

// sin(2 pi x) for x in cycles, from a table with linear interpolation:
// error below 1e-6, several times faster than the library sine.
inline double sinCycles(double x) {
    static const std::vector<double> table = [] {
        std::vector<double> t(4097);
        for (int i = 0; i <= 4096; ++i) t[size_t(i)] = std::sin(2.0 * kPi * i / 4096.0);
        return t;
    }();
    x -= std::floor(x);
    double f = x * 4096.0;
    int i = int(f);
    if (i > 4095) i = 4095;
    double fr = f - i;
    return table[size_t(i)] + (table[size_t(i) + 1] - table[size_t(i)]) * fr;
}

inline double noteToHz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

// PolyBLEP correction for band-limited saw and square.
inline double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// Second-order section, direct form I, for fixed filters (measurement).
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double process(double x) {
        double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// Stereo chorus: the mono input read back from a short delay line at two
// taps whose delay swings slowly (a quarter cycle apart, left and right), so
// a held note sounds like a few slightly detuned players. Wet only; the
// delay is read with linear interpolation so the sweep never clicks.
class Chorus {
public:
    // rateHz: sweep speed; baseMs: mean delay; depthMs: swing either side.
    void setup(double rateHz, double baseMs, double depthMs) {
        rate_ = rateHz;
        base_ = baseMs * 0.001 * kRate;
        depth_ = depthMs * 0.001 * kRate;
        if (depth_ > base_ - 1) depth_ = base_ - 1;
        if (depth_ < 0) depth_ = 0;
        buf_.assign(size_t(base_ + depth_) + 4, 0.0);
        pos_ = 0;
        n_ = 0;
    }
    // Longest delay in samples: after this much silence the output is silent.
    size_t maxDelay() const { return size_t(base_ + depth_) + 2; }
    void process(double in, double& outL, double& outR) {
        buf_[pos_] = in;
        double ph = rate_ * double(n_) / kRate;
        outL = tap(base_ + depth_ * sinCycles(ph));
        outR = tap(base_ + depth_ * sinCycles(ph + 0.25));
        if (++pos_ == buf_.size()) pos_ = 0;
        ++n_;
    }

private:
    std::vector<double> buf_;
    size_t pos_ = 0, n_ = 0;
    double rate_ = 0.8, base_ = 600, depth_ = 100;
    double tap(double delay) const {
        double rd = double(pos_) - delay;
        double size = double(buf_.size());
        while (rd < 0) rd += size;
        size_t i0 = size_t(rd);
        double fr = rd - double(i0);
        size_t i1 = i0 + 1 == buf_.size() ? 0 : i0 + 1;
        // i0 is `delay` samples back (rounded down), i1 one sample newer
        return buf_[i0] * (1.0 - fr) + buf_[i1] * fr;
    }
};

}  // namespace synth
