#include "Loudness.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace synth {

void kWeighting(int rate, Biquad& shelf, Biquad& highPass) {
    // Stage 1: the head's high shelf.
    {
        const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
        double k = std::tan(kPi * f0 / rate);
        double vh = std::pow(10.0, gainDb / 20.0);
        double vb = std::pow(vh, 0.4996667741545416);
        double a0 = 1.0 + k / q + k * k;
        shelf = Biquad();
        shelf.b0 = (vh + vb * k / q + k * k) / a0;
        shelf.b1 = 2.0 * (k * k - vh) / a0;
        shelf.b2 = (vh - vb * k / q + k * k) / a0;
        shelf.a1 = 2.0 * (k * k - 1.0) / a0;
        shelf.a2 = (1.0 - k / q + k * k) / a0;
    }
    // Stage 2: the low-frequency roll-off.
    {
        const double f0 = 38.13547087602444, q = 0.5003270373238773;
        double k = std::tan(kPi * f0 / rate);
        double a0 = 1.0 + k / q + k * k;
        highPass = Biquad();
        highPass.b0 = 1.0;
        highPass.b1 = -2.0;
        highPass.b2 = 1.0;
        highPass.a1 = 2.0 * (k * k - 1.0) / a0;
        highPass.a2 = (1.0 - k / q + k * k) / a0;
    }
}

double integratedLoudness(const Audio& a, int rate) {
    const size_t frames = a.frames();
    if (frames == 0 || a.channels < 1 || rate <= 0) return -200;
    // K-weighted squares, summed over channels, per frame
    std::vector<double> sq(frames, 0.0);
    for (int c = 0; c < a.channels; ++c) {
        Biquad shelf, hp;
        kWeighting(rate, shelf, hp);
        for (size_t i = 0; i < frames; ++i) {
            double y = hp.process(shelf.process(a.samples[i * a.channels + c]));
            sq[i] += y * y;
        }
    }
    const size_t block = std::min(frames, size_t(0.4 * rate + 0.5));
    const size_t hop = std::max<size_t>(1, size_t(0.1 * rate + 0.5));
    std::vector<double> z;  // mean square per block
    std::vector<double> prefix(frames + 1, 0.0);
    for (size_t i = 0; i < frames; ++i) prefix[i + 1] = prefix[i] + sq[i];
    for (size_t s = 0; s + block <= frames; s += hop) z.push_back((prefix[s + block] - prefix[s]) / block);
    auto lufs = [](double ms) { return -0.691 + 10.0 * std::log10(std::max(ms, 1e-30)); };
    double sum = 0;
    size_t n = 0;
    for (double v : z)
        if (lufs(v) > -70.0) {
            sum += v;
            ++n;
        }
    if (n == 0) return -200;
    double relGate = lufs(sum / n) - 10.0;
    sum = 0;
    n = 0;
    for (double v : z)
        if (lufs(v) > -70.0 && lufs(v) > relGate) {
            sum += v;
            ++n;
        }
    return n ? lufs(sum / n) : -200;
}

double windowRmsDb(const Audio& a, size_t first, size_t frames) {
    size_t total = a.frames();
    if (first >= total || frames == 0) return -200;
    frames = std::min(frames, total - first);
    double sq = 0;
    for (size_t i = first; i < first + frames; ++i)
        for (int c = 0; c < a.channels; ++c) {
            double v = a.samples[i * a.channels + c];
            sq += v * v;
        }
    return 10.0 * std::log10(std::max(1e-20, sq / double(frames * a.channels)));
}

}  // namespace synth
