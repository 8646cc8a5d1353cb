// Music loops. A recipe gives the key, tempo, chord progression, the rhythm
// of the melody's motifs and the instruments; the melody's pitches are
// composed here from a seed: chord tones on strong beats, scale steps in
// between, motifs that come back on new chords, phrases that settle on the
// chord's root. Everything is rendered one loop plus a tail, and the tail is
// folded back onto the start, so the end flows into the beginning.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <map>
#include <sstream>

#include "Dsp.h"
#include "Render.h"
#include "Voice.h"

namespace synth {

namespace {

const int kSteps = 16;  // sixteenth notes per bar

struct Chord {
    int degree = 0;  // scale degree of the root, 0..6
    bool seventh = false;
    bool ninth = false;
};

struct Song {
    int root = 60;  // MIDI of the tonic in octave 4
    const int* scale = nullptr;
    int bars = 16;
    double stepSec = 0.125;
    double swing = 0;
    std::vector<std::vector<Chord>> chords;  // per bar, evenly splitting the bar

    // MIDI note of a scale degree (any integer), degree 0 = tonic of `octave`.
    int midi(int degree, int octave) const {
        int o = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
        int d = degree - o * 7;
        return root + (octave - 4) * 12 + o * 12 + scale[d];
    }
    const Chord& chordAt(int bar, int step) const {
        const auto& c = chords[bar % chords.size()];
        int part = step * int(c.size()) / kSteps;
        return c[std::min<int>(part, int(c.size()) - 1)];
    }
    // The next chord after this step that differs in time (next part or bar).
    const Chord& nextChord(int bar, int step) const {
        const auto& c = chords[bar % chords.size()];
        int part = step * int(c.size()) / kSteps;
        if (part + 1 < int(c.size())) return c[part + 1];
        return chords[(bar + 1) % bars % chords.size()][0];
    }
    double stepTime(int bar, int step) const {
        double t = (bar * kSteps + step) * stepSec;
        if (step % 4 == 2) t += swing * stepSec;
        return t;
    }
};

const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
const int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};
const int kDorian[7] = {0, 2, 3, 5, 7, 9, 10};      // minor with a bright sixth
const int kMixolydian[7] = {0, 2, 4, 5, 7, 9, 10};  // major with a flat seventh: folksy
const int kLydian[7] = {0, 2, 4, 6, 7, 9, 11};      // major with a raised fourth: dreamy

Chord parseChord(const std::string& tok, const std::string& where) {
    static const char* numerals[7] = {"vii", "iii", "vi", "iv", "ii", "v", "i"};
    static const int degrees[7] = {6, 2, 5, 3, 1, 4, 0};
    std::string low;
    for (char c : tok) low += char(std::tolower(uint8_t(c)));
    Chord ch;
    for (int i = 0; i < 7; ++i) {
        std::string n = numerals[i];
        if (low.compare(0, n.size(), n) == 0) {
            ch.degree = degrees[i];
            std::string rest = low.substr(n.size());
            if (rest == "7")
                ch.seventh = true;
            else if (rest == "9" || rest == "add9")
                ch.ninth = true;
            else if (!rest.empty())
                throw RecipeError(where + ": bad chord '" + tok + "'");
            return ch;
        }
    }
    throw RecipeError(where + ": bad chord '" + tok + "' (use I..vii)");
}

std::string stripSpaces(const std::string& s) {
    std::string o;
    for (char c : s)
        if (!std::isspace(uint8_t(c)) && c != '|') o += c;
    return o;
}

struct Note {
    double t;     // seconds
    double gate;  // seconds
    int midi;
    double vel;
};

double accent(int step, Rng& rng) {
    double v = step % 8 == 0 ? 1.0 : step % 4 == 0 ? 0.9 : step % 2 == 0 ? 0.8 : 0.72;
    return v * (0.95 + 0.1 * rng.uni());
}

// Notes of a pattern of chord symbols over the whole loop.
//   . rest   - hold   R/1 root  3 third  5 fifth  7 seventh  8/O octave
//   9 ninth  6 sixth  0 fifth below  T third above the octave  A approach
//   (a scale step below the next chord's root)
std::vector<Note> patternNotes(const Song& s, const std::string& pat, int octave, double legato, int fromBar,
                               int toBar, Rng& rng, const std::string& where) {
    std::vector<Note> out;
    if (pat.empty()) return out;
    for (char c : pat)
        if (!std::strchr(".-R135789O06TA", c))
            throw RecipeError(where + ": bad pattern symbol '" + std::string(1, c) + "'");
    int total = s.bars * kSteps;
    int idx = -1;
    for (int g = 0; g < total; ++g) {
        int bar = g / kSteps, step = g % kSteps;
        char c = pat[g % pat.size()];
        bool active = bar >= fromBar && bar <= toBar;
        if (c == '-' && idx >= 0) {
            out[idx].gate = s.stepTime(bar, step) + s.stepSec - out[idx].t;
            continue;
        }
        if (c == '.' || c == '-' || !active) {
            idx = -1;
            continue;
        }
        const Chord& ch = s.chordAt(bar, step);
        int d = ch.degree;
        int deg;
        switch (c) {
            case 'R':
            case '1':
                deg = d;
                break;
            case '3':
                deg = d + 2;
                break;
            case '5':
                deg = d + 4;
                break;
            case '6':
                deg = d + 5;
                break;
            case '7':
                deg = ch.seventh ? d + 6 : d + 7;
                break;
            case '8':
            case 'O':
                deg = d + 7;
                break;
            case '9':
                deg = d + 8;
                break;
            case '0':
                deg = d - 3;
                break;
            case 'T':
                deg = d + 9;
                break;
            default: {  // approach
                const Chord& nx = s.nextChord(bar, step);
                int target = nx.degree;
                while (target < d - 3) target += 7;
                while (target > d + 4) target -= 7;
                deg = target >= d ? target - 1 : target + 1;
                break;
            }
        }
        Note n;
        n.t = s.stepTime(bar, step);
        n.gate = s.stepSec;
        n.midi = s.midi(deg, octave);
        n.vel = accent(step, rng);
        out.push_back(n);
        idx = int(out.size()) - 1;
    }
    for (auto& n : out) n.gate *= legato;
    return out;
}

// Chord tones of a chord as scale degrees, one octave.
std::vector<int> chordDegrees(const Chord& c) {
    std::vector<int> v = {c.degree, c.degree + 2, c.degree + 4};
    if (c.seventh) v.push_back(c.degree + 6);
    if (c.ninth) v.push_back(c.degree + 8);
    return v;
}

int nearestChordTone(const Chord& c, int deg, bool rootOrThird = false) {
    int best = deg, bestDist = 1000;
    for (int o = -2; o <= 2; ++o)
        for (int d : chordDegrees(c)) {
            if (rootOrThird && d != c.degree && d != c.degree + 2) continue;
            int cand = d + o * 7;
            int dist = std::abs(cand - deg);
            // prefer staying put or moving down on ties: melodies that fall rest
            if (dist < bestDist || (dist == bestDist && cand < best)) {
                best = cand;
                bestDist = dist;
            }
        }
    return best;
}

struct Motif {
    std::string rhythm;       // motifBars * 16 symbols: x onset, - hold, . rest
    std::vector<int> deltas;  // scale steps between consecutive onsets
};

std::vector<Note> composeMelody(const Song& s, const std::vector<std::string>& form,
                                std::map<std::string, Motif>& motifs, int motifBars, int octave, int range,
                                double legato, int fromBar, int toBar, Rng& rng,
                                std::vector<int>* degreesOut) {
    std::vector<Note> out;
    int cells = (s.bars + motifBars - 1) / motifBars;
    int prev = 2;  // start around the third
    int lo = -2, hi = range;
    for (int cell = 0; cell < cells; ++cell) {
        const std::string& letter = form[cell % form.size()];
        Motif& m = motifs.at(letter);
        int onsets = 0;
        for (char c : m.rhythm) onsets += c == 'x';
        if (m.deltas.empty()) {
            // Compose the motif's contour once; repeats reuse it on new chords.
            int dir = rng.uni() < 0.5 ? 1 : -1;
            for (int i = 0; i < onsets; ++i) {
                double u = rng.uni();
                int step = u < 0.5 ? 1 : u < 0.68 ? 0 : u < 0.88 ? 2 : 3;
                if (i > 0 && std::abs(m.deltas.back()) >= 2) {
                    step = 1;  // after a leap, step back
                    dir = m.deltas.back() > 0 ? -1 : 1;
                } else if (rng.uni() < 0.35) {
                    dir = -dir;
                }
                // the first half of a motif tends upward, the second downward
                if (i == onsets / 2) dir = -1;
                m.deltas.push_back(step * dir);
            }
        }
        int cellBar = cell * motifBars;
        int k = 0;
        int idx = -1;
        bool lastCellOfPhrase = (cell % 2) == 1;
        // find the last onset of the cell to make it a cadence
        int lastOnsetPos = -1;
        for (int i = 0; i < int(m.rhythm.size()); ++i)
            if (m.rhythm[i] == 'x') lastOnsetPos = i;
        for (int i = 0; i < int(m.rhythm.size()); ++i) {
            int bar = cellBar + i / kSteps, step = i % kSteps;
            if (bar >= s.bars) break;
            char c = m.rhythm[i];
            bool active = bar >= fromBar && bar <= toBar;
            if (c == '-' && idx >= 0) {
                out[idx].gate = s.stepTime(bar, step) + s.stepSec - out[idx].t;
                continue;
            }
            if (c != 'x') {
                idx = -1;
                continue;
            }
            const Chord& ch = s.chordAt(bar, step);
            int length = 1;
            while (i + length < int(m.rhythm.size()) && m.rhythm[i + length] == '-') ++length;
            int deg = k == 0 && cell == 0 ? nearestChordTone(ch, prev) : prev + m.deltas[k];
            if (deg > hi) deg = prev - std::abs(m.deltas[k]);
            if (deg < lo) deg = prev + std::abs(m.deltas[k]);
            // chord tones on the beats and on long notes; scale tones only in passing
            bool strong = step % 4 == 0 || length >= 3;
            if (i == lastOnsetPos && lastCellOfPhrase)
                deg = nearestChordTone(ch, deg, true);
            else if (strong)
                deg = nearestChordTone(ch, deg);
            deg = std::max(lo - 2, std::min(hi + 2, deg));
            prev = deg;
            ++k;
            if (!active) {
                idx = -1;
                continue;
            }
            Note n;
            n.t = s.stepTime(bar, step);
            n.gate = s.stepSec;
            n.midi = s.midi(deg, octave);
            n.vel = accent(step, rng);
            out.push_back(n);
            if (degreesOut) degreesOut->push_back(deg);
            idx = int(out.size()) - 1;
        }
    }
    for (auto& n : out) n.gate *= legato;
    return out;
}

struct Bus {
    std::vector<double> mono;
    double pan = 0, rev = 0, echo = 0;
    double chorus = 0, chorusRate = 0.6, chorusDepth = 2.5;  // wet level, Hz, ms
};

void addNotes(Bus& bus, const std::vector<Note>& notes, const ToneParams& tp, double transpose, Rng& rng) {
    for (const Note& n : notes)
        renderTone(bus.mono, size_t(n.t * kRate + 0.5), noteToHz(n.midi + transpose), n.gate, n.vel, tp, rng);
}

}  // namespace

Audio renderMusic(const Recipe& r) {
    const Params& h = r.header;
    Rng rng(hashString(r.path.substr(r.path.find_last_of('/') + 1).c_str()) +
            uint64_t(h.num("seed", 1)) * 7919);
    Song s;
    double tempo = h.num("tempo", 110);
    if (tempo < 40 || tempo > 220) throw RecipeError(r.path + ": tempo must be 40..220");
    s.stepSec = 60.0 / tempo / 4.0;
    s.swing = h.num("swing", 0);
    s.bars = int(h.num("bars", 16));
    if (s.bars < 1 || s.bars > 64) throw RecipeError(r.path + ": bars must be 1..64");
    std::string key = h.str("key", "C");
    s.root = int(parseNote(key + "4", r.path));
    std::string mode = h.str("mode", "major");
    if (mode == "major")
        s.scale = kMajor;
    else if (mode == "minor")
        s.scale = kMinor;
    else if (mode == "dorian")
        s.scale = kDorian;
    else if (mode == "mixolydian")
        s.scale = kMixolydian;
    else if (mode == "lydian")
        s.scale = kLydian;
    else
        throw RecipeError(r.path + ": mode must be major, minor, dorian, mixolydian or lydian");
    {
        std::stringstream ss(h.str("progression", "I"));
        std::string tok;
        while (ss >> tok) {
            if (tok == "|") continue;
            std::vector<Chord> bar;
            std::stringstream ts(tok);
            std::string part;
            while (std::getline(ts, part, ',')) bar.push_back(parseChord(part, r.path));
            s.chords.push_back(bar);
        }
        if (s.chords.empty()) throw RecipeError(r.path + ": empty progression");
    }
    int motifBars = int(h.num("motifbars", 2));
    std::vector<std::string> form;
    {
        std::stringstream ss(h.str("form", "A"));
        std::string tok;
        while (ss >> tok) form.push_back(tok);
    }
    std::map<std::string, Motif> motifs;
    for (const auto& f : form) {
        if (motifs.count(f)) continue;
        std::string rh = stripSpaces(h.str("motif." + f, ""));
        if (rh.size() != size_t(motifBars * kSteps))
            throw RecipeError(r.path + ": motif." + f + " needs " + std::to_string(motifBars * kSteps) +
                              " steps, has " + std::to_string(rh.size()));
        for (char c : rh)
            if (c != 'x' && c != '-' && c != '.') throw RecipeError(r.path + ": motif." + f + ": use x - .");
        motifs[f].rhythm = rh;
    }

    double loopSec = s.bars * kSteps * s.stepSec;
    size_t loopLen = size_t(loopSec * kRate + 0.5);
    size_t total = loopLen + size_t(5.0 * kRate);

    std::vector<Bus> buses;
    std::vector<Note> leadNotes;
    std::vector<int> leadDegrees;
    int leadOctave = 5;
    // the lead is composed first so that a harmony line can follow it
    for (const Layer& L : r.layers) {
        if (L.type != "lead") continue;
        leadOctave = int(L.p.num("octave", 5));
        int from = int(L.p.num("from", 1)) - 1, to = int(L.p.num("to", s.bars)) - 1;
        leadNotes = composeMelody(s, form, motifs, motifBars, leadOctave, int(L.p.num("range", 8)),
                                  L.p.num("legato", 0.9), from, to, rng, &leadDegrees);
    }
    for (const Layer& L : r.layers) {
        const Params& p = L.p;
        Bus bus;
        bus.mono.assign(total, 0.0);
        bus.pan = p.num("pan", 0);
        bus.rev = p.num("rev", 0.2);
        bus.echo = p.num("echo", 0);
        bus.chorus = p.num("chorus", 0);
        bus.chorusRate = p.num("chorusrate", bus.chorusRate);
        bus.chorusDepth = p.num("chorusdepth", bus.chorusDepth);
        if (bus.chorus < 0 || bus.chorus > 1 || bus.chorusRate <= 0 || bus.chorusRate > 8 || bus.chorusDepth < 0 ||
            bus.chorusDepth > 10)
            throw RecipeError(p.where + ": chorus 0..1, chorusrate (0, 8] Hz, chorusdepth 0..10 ms");
        double vol = p.num("vol", 1.0);
        int from = int(p.num("from", 1)) - 1, to = int(p.num("to", s.bars)) - 1;
        if (L.type == "drums") {
            static const char* pieces[7] = {"kick", "snare", "hat", "openhat", "clap", "shaker", "tom"};
            int fillEvery = int(p.num("fillevery", 4));
            for (int k = 0; k < 7; ++k) {
                std::string pat = stripSpaces(p.str(pieces[k], ""));
                std::string fill = stripSpaces(p.str(std::string(pieces[k]) + "fill", ""));
                if (pat.empty() && fill.empty()) continue;
                for (int bar = from; bar <= to && bar < s.bars; ++bar) {
                    bool isFill = fillEvery > 0 && (bar + 1) % fillEvery == 0 && !fill.empty();
                    const std::string& use = isFill ? fill : pat;
                    if (use.empty()) continue;
                    for (int st = 0; st < kSteps; ++st) {
                        char c = use[(bar * kSteps + st) % use.size()];
                        if (c == '.' || c == '-') continue;
                        double v = c == 'X' ? 1.15 : c == 'g' ? 0.45 : c == 'x' ? 1.0 : -1;
                        if (v < 0) throw RecipeError(p.where + ": drum symbols are x X g . -");
                        v *= 0.92 + 0.08 * rng.uni();
                        renderDrum(bus.mono, size_t(s.stepTime(bar, st) * kRate + 0.5), Drum(k), v * vol,
                                   rng);
                    }
                }
            }
        } else {
            ToneParams tp = readTone(p);
            tp.amp *= vol;
            int octave = int(p.num("octave", L.type == "harmony" || L.type == "lead" ? 5 : 4));
            double legato = p.num("legato", 0.9);
            std::vector<Note> notes;
            if (L.type == "lead") {
                notes = leadNotes;
                p.num("range", 0);
            } else if (L.type == "harmony") {
                // follows the lead a few scale steps away, inside the chosen bars
                int steps = int(p.num("steps", -2));
                for (size_t i = 0; i < leadNotes.size(); ++i) {
                    int bar = int(leadNotes[i].t / (kSteps * s.stepSec) + 1e-6);
                    if (bar < from || bar > to) continue;
                    Note n = leadNotes[i];
                    n.midi = s.midi(leadDegrees[i] + steps, leadOctave + (octave - 5));
                    n.vel *= 0.8;
                    notes.push_back(n);
                }
            } else if (L.type == "pad") {
                // chord tones, voice-led: each chord keeps the closest inversion
                std::string pat = stripSpaces(p.str("pattern", "x---------------"));
                std::vector<int> last;
                int total16 = s.bars * kSteps;
                for (int g = 0; g < total16; ++g) {
                    int bar = g / kSteps, st = g % kSteps;
                    char c = pat[g % pat.size()];
                    if (c != 'x' || bar < from || bar > to) continue;
                    int len = 1;
                    while (g + len < total16 && pat[(g + len) % pat.size()] == '-' &&
                           (g + len) / kSteps == bar)
                        ++len;
                    const Chord& ch = s.chordAt(bar, st);
                    std::vector<int> degs = chordDegrees(ch);
                    std::vector<int> mid;
                    for (int d : degs) mid.push_back(s.midi(d, octave));
                    if (!last.empty()) {
                        int centre = 0;
                        for (int m : last) centre += m;
                        centre /= int(last.size());
                        for (int& m : mid) {
                            while (m > centre + 6) m -= 12;
                            while (m < centre - 6) m += 12;
                        }
                    }
                    std::sort(mid.begin(), mid.end());
                    last = mid;
                    for (int m : mid) {
                        Note n;
                        n.t = s.stepTime(bar, st);
                        n.gate = len * s.stepSec * legato;
                        n.midi = m;
                        n.vel = 0.9 + 0.1 * rng.uni();
                        notes.push_back(n);
                    }
                }
            } else if (L.type == "bass" || L.type == "arp") {
                std::string pat =
                    stripSpaces(p.str("pattern", L.type == "bass" ? "R-------R---5---" : "1358"));
                notes = patternNotes(s, pat, octave, legato, from, to, rng, p.where);
            } else {
                throw RecipeError(p.where + ": unknown layer '" + L.type + "'");
            }
            addNotes(bus, notes, tp, 0, rng);
        }
        p.checkAllUsed();
        buses.push_back(std::move(bus));
    }

    // Mix: pan, sends to reverb and a ping-pong echo of a dotted eighth.
    std::vector<double> L(total, 0.0), R(total, 0.0), revIn(total, 0.0), echoIn(total, 0.0);
    for (Bus& b : buses) {
        double pl = std::cos((b.pan + 1) * kPi / 4), pr = std::sin((b.pan + 1) * kPi / 4);
        DcBlock dc;
        Chorus ch;
        if (b.chorus > 0) {
            // a whole number of sweeps a loop, so the sweep meets itself at the seam
            double cycles = std::max(1.0, std::round(b.chorusRate * loopSec));
            ch.setup(cycles / loopSec, b.chorusDepth + 6.0, b.chorusDepth);
        }
        for (size_t i = 0; i < total; ++i) {
            double x = dc.process(b.mono[i]);
            L[i] += x * pl;
            R[i] += x * pr;
            if (b.chorus > 0) {
                double cl, cr;
                ch.process(x, cl, cr);
                L[i] += b.chorus * cl;
                R[i] += b.chorus * cr;
            }
            revIn[i] += x * b.rev;
            echoIn[i] += x * b.echo;
        }
        std::vector<double>().swap(b.mono);
    }
    {
        size_t d = size_t(3 * s.stepSec * kRate + 0.5);
        std::vector<double> dl(d, 0.0), dr(d, 0.0);
        OnePole tl, tr;
        tl.setCutoff(3500);
        tr.setCutoff(3500);
        size_t pos = 0;
        for (size_t i = 0; i < total; ++i) {
            double ol = dl[pos], orr = dr[pos];
            dl[pos] = tl.process(echoIn[i] + orr * 0.38);
            dr[pos] = tr.process(ol * 0.38);
            if (++pos == d) pos = 0;
            L[i] += ol * 0.8;
            R[i] += orr * 0.8;
            revIn[i] += (ol + orr) * 0.15;
        }
    }
    {
        Reverb rev;
        rev.setup(h.num("room", 0.6), h.num("damp", 0.4), 23);
        double wet = h.num("reverb", 0.3);
        for (size_t i = 0; i < total; ++i) {
            double wl, wr;
            rev.process(revIn[i], wl, wr);
            L[i] += wet * wl;
            R[i] += wet * wr;
        }
    }
    // Fold the tail over the start: the loop's end flows into its beginning.
    for (size_t i = loopLen; i < total; ++i) {
        L[i - loopLen] += L[i];
        R[i - loopLen] += R[i];
    }
    L.resize(loopLen);
    R.resize(loopLen);

    // Loudness: a common RMS target, then a memoryless soft knee for peaks.
    double sum = 0;
    for (size_t i = 0; i < loopLen; ++i) sum += L[i] * L[i] + R[i] * R[i];
    double rms = std::sqrt(sum / (2.0 * loopLen));
    if (rms < 1e-9) throw RecipeError(r.path + ": the recipe renders silence");
    double target = h.num("rms", 0.13);
    double peak = h.num("peak", 0.84);
    double g = target / rms;
    Audio a;
    a.channels = 2;
    a.loop = true;
    a.samples.resize(loopLen * 2);
    for (size_t i = 0; i < loopLen; ++i) {
        a.samples[2 * i] = float(softLimit(L[i] * g, peak * 0.72, peak));
        a.samples[2 * i + 1] = float(softLimit(R[i] * g, peak * 0.72, peak));
    }
    return a;
}

}  // namespace synth
