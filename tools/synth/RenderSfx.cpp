// Sound effects: layers of tones, chords, arpeggios, noise bursts and drum
// hits, a touch of reverb, then a gentle limiter and a peak target.
#include <algorithm>
#include <cmath>

#include "Dsp.h"
#include "Render.h"
#include "Voice.h"

namespace synth {

double softLimit(double x, double knee, double ceiling) {
    double a = std::fabs(x);
    if (a <= knee) return x;
    double room = ceiling - knee;
    double y = knee + room * std::tanh((a - knee) / room);
    return x < 0 ? -y : y;
}

namespace {

size_t at(const Params& p, const char* key = "at") {
    double t = p.num(key, 0);
    if (t < 0) throw RecipeError(p.where + ": negative time");
    return size_t(t * kRate + 0.5);
}

// Shared repeat keys: repeat=N every=S fall=F shift=SEMITONES.
struct Repeat {
    int count = 1;
    double every = 0.1, fall = 0.7, shift = 0;
};
Repeat readRepeat(const Params& p) {
    Repeat r;
    r.count = int(p.num("repeat", 1));
    r.every = p.num("every", 0.1);
    r.fall = p.num("fall", 0.7);
    r.shift = p.num("shift", 0);
    if (r.count < 1 || r.count > 64) throw RecipeError(p.where + ": repeat must be 1..64");
    return r;
}

void renderLayer(const Layer& L, std::vector<double>& buf, Rng& rng) {
    const Params& p = L.p;
    Repeat rep = readRepeat(p);
    size_t t0 = at(p);
    double dur = p.num("dur", 0.2);
    double vel = p.num("vel", 1.0);
    for (int k = 0; k < rep.count; ++k) {
        size_t start = t0 + size_t(k * rep.every * kRate + 0.5);
        double v = vel * std::pow(rep.fall, k);
        double shift = std::pow(2.0, rep.shift * k / 12.0);
        if (L.type == "tone") {
            ToneParams tp = readTone(p);
            renderTone(buf, start, p.hz("note", 440) * shift, dur, v, tp, rng);
        } else if (L.type == "chord" || L.type == "arp") {
            ToneParams tp = readTone(p);
            std::vector<double> notes = p.notesHz("notes");
            if (notes.empty()) throw RecipeError(p.where + ": '" + L.type + "' needs notes=");
            double gap = L.type == "arp" ? p.num("step", 0.08) : p.num("strum", 0.0);
            double ramp = p.num("ramp", 1.0);  // level change from first to last note
            for (size_t i = 0; i < notes.size(); ++i) {
                double nv = v * (notes.size() > 1 ? 1.0 + (ramp - 1.0) * i / (notes.size() - 1) : 1.0);
                double g = L.type == "arp" ? dur : std::max(0.0, dur - gap * i);
                renderTone(buf, start + size_t(gap * i * kRate + 0.5), notes[i] * shift, g, nv, tp, rng);
            }
        } else if (L.type == "noise") {
            NoiseParams np = readNoise(p);
            np.freq *= shift;
            if (np.freq2 > 0) np.freq2 *= shift;
            renderNoise(buf, start, dur, v, np, rng);
        } else if (L.type == "drum") {
            std::string k = p.str("kind", "kick");
            Drum d = k == "kick"      ? Drum::Kick
                     : k == "snare"   ? Drum::Snare
                     : k == "hat"     ? Drum::Hat
                     : k == "openhat" ? Drum::OpenHat
                     : k == "clap"    ? Drum::Clap
                     : k == "shaker"  ? Drum::Shaker
                     : k == "tom"     ? Drum::Tom
                                      : Drum(-1);
            if (int(d) < 0) throw RecipeError(p.where + ": unknown drum '" + k + "'");
            renderDrum(buf, start, d, v, rng);
        } else {
            throw RecipeError(p.where + ": unknown layer '" + L.type + "'");
        }
    }
    p.checkAllUsed();
}

}  // namespace

Audio renderSfx(const Recipe& r) {
    const Params& h = r.header;
    Rng rng(hashString(r.path.substr(r.path.find_last_of('/') + 1).c_str()) + uint64_t(h.num("seed", 0)));
    std::vector<double> buf;
    for (const Layer& L : r.layers) renderLayer(L, buf, rng);
    if (buf.empty()) throw RecipeError(r.path + ": no layers");

    double wet = h.num("reverb", 0.12);
    double room = h.num("room", 0.35);
    double damp = h.num("damp", 0.45);
    double peak = h.num("peak", 0.75);
    double lowpass = h.num("lowpass", 0);
    double fixedLen = h.num("length", 0);
    if (peak <= 0 || peak > 0.95) throw RecipeError(r.path + ": peak must be in (0, 0.95]");

    // Room for the reverb tail, trimmed again below.
    buf.resize(buf.size() + size_t((0.3 + 1.6 * room) * kRate * (wet > 0)), 0.0);
    std::vector<double> out(buf.size());
    Reverb rev;
    rev.setup(room, damp, 0);
    DcBlock dc;
    Svf lp;
    if (lowpass > 0) lp.set(lowpass, 0.7);
    for (size_t i = 0; i < buf.size(); ++i) {
        double x = dc.process(buf[i]);
        if (lowpass > 0) x = lp.process(x, Svf::LP);
        double wl = 0, wr = 0;
        if (wet > 0) rev.process(x, wl, wr);
        out[i] = x + wet * 0.5 * (wl + wr);
    }
    // Peak target through a soft knee: loud transients are rounded, not cut.
    double mx = 0;
    for (double v : out) mx = std::max(mx, std::fabs(v));
    if (mx < 1e-9) throw RecipeError(r.path + ": the recipe renders silence");
    double g = peak * 1.25 / mx;  // aim a little over, the knee brings it back
    double limMax = 0;
    for (double& v : out) {
        v = softLimit(v * g, peak * 0.7, peak);
        limMax = std::max(limMax, std::fabs(v));
    }
    for (double& v : out) v *= peak / limMax;

    // Length: given, or up to where the sound has died away (-60 dB).
    size_t len;
    if (fixedLen > 0) {
        len = std::min(out.size(), size_t(fixedLen * kRate));
    } else {
        len = out.size();
        while (len > 1 && std::fabs(out[len - 1]) < peak * 0.001) --len;
        len = std::min(out.size(), len + size_t(0.02 * kRate));
    }
    out.resize(len);
    // Short fades at both ends so no sound starts or stops with a click.
    size_t fin = std::min(len / 4, size_t(0.0015 * kRate));
    size_t fout = std::min(len / 3, size_t(0.03 * kRate));
    for (size_t i = 0; i < fin; ++i) out[i] *= double(i) / fin;
    for (size_t i = 0; i < fout; ++i) out[len - 1 - i] *= double(i) / fout;

    Audio a;
    a.channels = 1;
    a.samples.assign(out.begin(), out.end());
    return a;
}

Audio render(const Recipe& r) {
    std::string kind = r.header.str("kind", "sfx");
    Audio a;
    if (kind == "sfx")
        a = renderSfx(r);
    else if (kind == "music")
        a = renderMusic(r);
    else
        throw RecipeError(r.path + ": kind must be sfx or music");
    a.quality = r.header.num("quality", kind == "music" ? 0.1 : 0.4);
    if (a.quality < -0.1 || a.quality > 1.0) throw RecipeError(r.path + ": quality must be -0.1..1");
    r.header.checkAllUsed();
    return a;
}

}  // namespace synth
