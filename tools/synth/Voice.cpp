#include "Voice.h"

#include <algorithm>
#include <cmath>

namespace synth {

namespace {
Adsr readEnv(const Params& p, const Adsr& def) {
    Adsr e;
    e.a = p.num("a", def.a);
    e.d = p.num("d", def.d);
    e.s = p.num("s", def.s);
    e.r = p.num("r", def.r);
    return e;
}

inline size_t secs(double s) {
    return size_t(std::max(0.0, s) * kRate + 0.5);
}

void ensure(std::vector<double>& out, size_t n) {
    if (out.size() < n) out.resize(n, 0.0);
}
}  // namespace

ToneParams readTone(const Params& p) {
    ToneParams t;
    std::string w = p.str("wave", "sine");
    if (w == "sine")
        t.wave = Wave::Sine;
    else if (w == "tri")
        t.wave = Wave::Tri;
    else if (w == "saw")
        t.wave = Wave::Saw;
    else if (w == "square")
        t.wave = Wave::Square;
    else if (w == "fm")
        t.wave = Wave::Fm;
    else if (w == "add")
        t.wave = Wave::Additive;
    else if (w == "pluck")
        t.wave = Wave::Pluck;
    else if (w == "flute")
        t.wave = Wave::Flute;
    else if (w == "epiano")
        t.wave = Wave::EPiano;
    else
        throw RecipeError(p.where + ": unknown wave '" + w + "'");
    t.env = readEnv(p, t.env);
    t.amp = p.num("amp", t.amp);
    t.ratio = p.num("ratio", t.ratio);
    t.index = p.num("index", t.index);
    t.indexDecay = p.num("indexdecay", t.indexDecay);
    t.fmFeedback = p.num("fb", 0);
    t.harm = p.nums("harm");
    if (t.wave == Wave::Additive && t.harm.empty()) t.harm = {1.0, 0.5, 0.25};
    t.detune = p.num("detune", 0);
    t.cutoff = p.num("lp", 0);
    t.q = p.num("lpq", t.q);
    t.cutoffEnv = p.num("lpenv", 0);
    t.cutoffDecay = p.num("lpdecay", t.cutoffDecay);
    t.glide = p.num("glide", 1);
    t.glideTime = p.num("glidetime", 0);
    t.vib = p.num("vib", 0);
    t.vibRate = p.num("vibrate", t.vibRate);
    t.vibDelay = p.num("vibdelay", t.vibDelay);
    t.pluckDamp = p.num("damp", t.pluckDamp);
    t.click = p.num("click", 0);
    t.breath = p.num("breath", t.breath);
    t.tine = p.num("tine", t.tine);
    if (t.wave == Wave::EPiano && !p.has("index")) t.index = 1.2;
    return t;
}

NoiseParams readNoise(const Params& p) {
    NoiseParams n;
    Adsr def;
    def.a = 0.002;
    def.d = 0.1;
    def.s = 0.0;
    def.r = 0.05;
    n.env = readEnv(p, def);
    n.amp = p.num("amp", n.amp);
    std::string f = p.str("filter", "lp");
    if (f == "lp")
        n.mode = 0;
    else if (f == "bp")
        n.mode = 1;
    else if (f == "hp")
        n.mode = 2;
    else if (f == "none")
        n.mode = 3;
    else
        throw RecipeError(p.where + ": unknown filter '" + f + "'");
    n.freq = p.hz("freq", n.freq);
    n.freq2 = p.hz("freq2", 0);
    n.q = p.num("q", n.q);
    n.density = p.num("density", 0);
    return n;
}

size_t renderTone(std::vector<double>& out, size_t start, double hz, double gate, double vel,
                  const ToneParams& tp, Rng& rng) {
    double len = gate + tp.env.r;
    if (tp.wave == Wave::Pluck) len = std::max(len, gate + 0.05);
    size_t n = secs(len);
    ensure(out, start + n + 1);
    const double dt = 1.0 / kRate;
    double ph[2] = {rng.uni(), rng.uni()};
    double mph[2] = {0, 0};
    double fbPrev[2] = {0, 0};
    int oscCount = tp.detune > 0 ? 2 : 1;
    double detRatio[2] = {std::pow(2.0, -tp.detune / 2400.0), std::pow(2.0, tp.detune / 2400.0)};
    if (oscCount == 1) detRatio[0] = 1.0;
    Svf lp;
    bool useLp = tp.cutoff > 0;
    // Karplus-Strong string: a delay line excited by a short noise burst.
    std::vector<double> ks;
    size_t ksPos = 0;
    double ksPrev = 0;
    if (tp.wave == Wave::Pluck) {
        // the averaging adds half a sample of delay
        size_t period = std::max<size_t>(2, size_t(kRate / hz));
        ks.resize(period);
        double prev = 0;
        for (auto& v : ks) {  // slightly low-passed burst: rounder attack
            double x = rng.bi();
            prev = prev * 0.4 + x * 0.6;
            v = prev;
        }
    }
    double clickLp = 0;
    Svf breathBp;
    for (size_t i = 0; i < n; ++i) {
        double t = i * dt;
        double e = tp.env.at(t, gate);
        if (e <= 0 && t > gate) break;
        double f = hz;
        if (tp.glide != 1.0) {
            double gt = tp.glideTime > 0 ? tp.glideTime : len;
            double x = std::min(1.0, t / gt);
            f *= std::pow(tp.glide, x);
        }
        if (tp.vib > 0 && t > tp.vibDelay) {
            double depth = tp.vib * std::min(1.0, (t - tp.vibDelay) / 0.2);
            f *= std::pow(2.0, depth * sinCycles(tp.vibRate * t) / 12.0);
        }
        double s = 0;
        if (tp.wave == Wave::Pluck) {
            double cur = ks[ksPos];
            double avg = 0.5 * (cur + ksPrev);
            ksPrev = cur;
            ks[ksPos] = cur * tp.pluckDamp + avg * (1.0 - tp.pluckDamp);
            ks[ksPos] *= 0.9985;
            if (++ksPos == ks.size()) ksPos = 0;
            s = cur;
        } else {
            for (int o = 0; o < oscCount; ++o) {
                double fo = f * detRatio[o];
                double inc = fo * dt;
                double p = ph[o];
                double v = 0;
                switch (tp.wave) {
                    case Wave::Sine:
                        v = sinCycles(p);
                        break;
                    case Wave::Tri:
                        v = 1.0 - 4.0 * std::fabs(p - 0.5);
                        break;
                    case Wave::Saw:
                        v = 2.0 * p - 1.0 - polyBlep(p, inc);
                        break;
                    case Wave::Square: {
                        v = p < 0.5 ? 1.0 : -1.0;
                        v += polyBlep(p, inc);
                        double q2 = p + 0.5;
                        if (q2 >= 1) q2 -= 1;
                        v -= polyBlep(q2, inc);
                        v *= 0.7;
                        break;
                    }
                    case Wave::Fm: {
                        double idx = tp.index;
                        if (tp.indexDecay > 0) idx *= std::exp(-t / tp.indexDecay);
                        double m = sinCycles(mph[o] + tp.fmFeedback * fbPrev[o] / (2 * kPi));
                        fbPrev[o] = m;
                        v = sinCycles(p + idx * m / (2 * kPi));
                        mph[o] += fo * tp.ratio * dt;
                        mph[o] -= std::floor(mph[o]);
                        break;
                    }
                    case Wave::Additive: {
                        double norm = 0;
                        for (size_t h = 0; h < tp.harm.size(); ++h) {
                            double fh = fo * (h + 1);
                            if (fh > kRate * 0.45) break;
                            v += tp.harm[h] * sinCycles(p * (h + 1));
                            norm += std::fabs(tp.harm[h]);
                        }
                        if (norm > 1) v /= norm;
                        break;
                    }
                    case Wave::Flute:
                        // a soft tone: a little octave and twelfth over the fundamental
                        v = (sinCycles(p) + 0.22 * sinCycles(2 * p) + 0.06 * sinCycles(3 * p)) / 1.28;
                        break;
                    case Wave::EPiano: {
                        // a tine: 1:1 FM whose brightness fades as the note rings,
                        // stronger for harder strikes, plus a short high "ding"
                        double idx = tp.index * (0.5 + 0.5 * vel) * std::exp(-t / 0.5);
                        v = sinCycles(p + idx * sinCycles(p) / (2 * kPi));
                        v *= 1.0 - tp.tine * 0.5;
                        if (14 * fo < kRate * 0.45) v += tp.tine * std::exp(-t / 0.04) * sinCycles(14 * p);
                        break;
                    }
                    case Wave::Pluck:
                        break;
                }
                s += v / oscCount;
                p += inc;
                ph[o] = p - std::floor(p);
            }
        }
        if (tp.wave == Wave::Flute && tp.breath > 0) {
            // breath: noise narrowed around the pitch, with a puff ("chiff") at the onset
            if ((i & 15) == 0) breathBp.set(f, 3.0);
            double puff = 1.0 + 3.0 * std::exp(-t / 0.03);
            s += tp.breath * puff * breathBp.process(rng.bi(), Svf::BP);
        }
        if (tp.click > 0 && t < 0.01) {
            clickLp += 0.5 * (rng.bi() - clickLp);
            s += tp.click * clickLp * (1.0 - t / 0.01);
        }
        if (useLp) {
            if ((i & 15) == 0) {
                double c = tp.cutoff;
                if (tp.cutoffEnv > 0) c *= 1.0 + tp.cutoffEnv * std::exp(-t / tp.cutoffDecay);
                lp.set(c, tp.q);
            }
            s = lp.process(s, Svf::LP);
        }
        out[start + i] += s * e * tp.amp * vel;
    }
    return start + n;
}

size_t renderNoise(std::vector<double>& out, size_t start, double gate, double vel, const NoiseParams& np,
                   Rng& rng) {
    double len = gate + np.env.r;
    size_t n = secs(len);
    ensure(out, start + n + 1);
    Svf f;
    Svf::Mode m = np.mode == 1 ? Svf::BP : np.mode == 2 ? Svf::HP : Svf::LP;
    double norm = np.mode == 1 ? std::sqrt(1.0 / std::max(0.1, np.q)) + 0.5 : 1.0;
    for (size_t i = 0; i < n; ++i) {
        double t = double(i) / kRate;
        double e = np.env.at(t, gate);
        if (e <= 0 && t > gate) break;
        if ((i & 15) == 0 && np.mode != 3) {
            double fr = np.freq;
            if (np.freq2 > 0) fr *= std::pow(np.freq2 / np.freq, std::min(1.0, t / len));
            f.set(fr, np.q);
        }
        double x;
        if (np.density > 0) {
            // crackle: rare impulses of random size
            x = (rng.uni() < np.density / kRate) ? rng.bi() * 4.0 : 0.0;
        } else {
            x = rng.bi();
        }
        double y = np.mode == 3 ? x : f.process(x, m) * norm;
        out[start + i] += y * e * np.amp * vel;
    }
    return start + n;
}

size_t renderDrum(std::vector<double>& out, size_t start, Drum d, double vel, Rng& rng) {
    switch (d) {
        case Drum::Kick: {
            // a sine that drops in pitch, with a soft beater click
            size_t n = secs(0.35);
            ensure(out, start + n + 1);
            double ph = 0;
            for (size_t i = 0; i < n; ++i) {
                double t = double(i) / kRate;
                double f = 48 + 110 * std::exp(-t / 0.035);
                ph += f / kRate;
                double e = std::exp(-t / 0.11) * std::min(1.0, t / 0.001) * (1 - double(i) / n);
                double click = t < 0.004 ? std::min(1.0, t / 0.0005) * (1 - t / 0.004) * 0.25 * rng.bi() : 0;
                out[start + i] += (sinCycles(ph) * e + click) * vel * 0.9;
            }
            return start + n;
        }
        case Drum::Snare: {
            NoiseParams np;
            np.env = {0.001, 0.09, 0, 0.05};
            np.mode = 1;
            np.freq = 3200;
            np.freq2 = 1800;
            np.q = 0.7;
            np.amp = 0.45;
            renderNoise(out, start, 0.12, vel, np, rng);
            ToneParams body;
            body.env = {0.001, 0.05, 0, 0.04};
            body.glide = 0.75;
            body.glideTime = 0.08;
            body.amp = 0.35;
            return std::max(renderTone(out, start, 190, 0.08, vel, body, rng), start + secs(0.17));
        }
        case Drum::Hat:
        case Drum::OpenHat: {
            NoiseParams np;
            bool open = d == Drum::OpenHat;
            np.env = {0.0005, open ? 0.18 : 0.03, 0, open ? 0.08 : 0.02};
            np.mode = 2;
            np.freq = 7500;
            np.q = 0.7;
            np.amp = open ? 0.22 : 0.2;
            return renderNoise(out, start, open ? 0.2 : 0.04, vel, np, rng);
        }
        case Drum::Shaker: {
            NoiseParams np;
            np.env = {0.012, 0.04, 0, 0.03};
            np.mode = 1;
            np.freq = 6000;
            np.q = 1.2;
            np.amp = 0.18;
            return renderNoise(out, start, 0.05, vel, np, rng);
        }
        case Drum::Clap: {
            NoiseParams np;
            np.env = {0.0008, 0.012, 0, 0.01};
            np.mode = 1;
            np.freq = 1500;
            np.q = 1.1;
            np.amp = 0.35;
            size_t end = start;
            for (int k = 0; k < 3; ++k) end = renderNoise(out, start + secs(0.011 * k), 0.012, vel, np, rng);
            np.env = {0.001, 0.12, 0, 0.06};
            np.amp = 0.3;
            return std::max(end, renderNoise(out, start + secs(0.033), 0.12, vel, np, rng));
        }
        case Drum::Tom: {
            ToneParams t;
            t.env = {0.001, 0.18, 0, 0.1};
            t.glide = 0.7;
            t.glideTime = 0.2;
            t.amp = 0.5;
            return renderTone(out, start, 140, 0.2, vel, t, rng);
        }
    }
    return start;
}

}  // namespace synth
