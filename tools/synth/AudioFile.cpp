#include "AudioFile.h"

#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "Dsp.h"
#include "Loudness.h"

namespace synth {

namespace {

bool endsWith(const std::string& s, const std::string& e) {
    return s.size() >= e.size() && s.compare(s.size() - e.size(), e.size(), e) == 0;
}

void put16(std::string& b, int v) {
    b += char(v & 255);
    b += char((v >> 8) & 255);
}
void put32(std::string& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b += char((v >> (8 * i)) & 255);
}

std::string encodeWav(const Audio& a) {
    std::string b;
    uint32_t dataBytes = uint32_t(a.samples.size() * 2);
    b += "RIFF";
    put32(b, 36 + dataBytes);
    b += "WAVEfmt ";
    put32(b, 16);
    put16(b, 1);
    put16(b, a.channels);
    put32(b, kRate);
    put32(b, kRate * a.channels * 2);
    put16(b, a.channels * 2);
    put16(b, 16);
    b += "data";
    put32(b, dataBytes);
    for (float f : a.samples) {
        double v = std::max(-1.0, std::min(1.0, double(f)));
        put16(b, int(std::lround(v * 32767.0)));
    }
    return b;
}

std::string encodeOgg(const Audio& a, double quality, uint32_t serial) {
    std::string out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, a.channels, kRate, float(quality)) != 0) {
        vorbis_info_clear(&vi);
        throw RecipeError("vorbis encoder refused the settings");
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "ENCODER", "brimble-synth");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, int(serial & 0x7fffffff));
    ogg_packet h0, h1, h2;
    vorbis_analysis_headerout(&vd, &vc, &h0, &h1, &h2);
    ogg_stream_packetin(&os, &h0);
    ogg_stream_packetin(&os, &h1);
    ogg_stream_packetin(&os, &h2);
    ogg_page og;
    auto writePage = [&]() {
        out.append(reinterpret_cast<const char*>(og.header), size_t(og.header_len));
        out.append(reinterpret_cast<const char*>(og.body), size_t(og.body_len));
    };
    while (ogg_stream_flush(&os, &og)) writePage();

    size_t frames = a.frames();
    size_t pos = 0;
    bool eos = false;
    while (!eos) {
        size_t n = std::min<size_t>(4096, frames - pos);
        float** buf = vorbis_analysis_buffer(&vd, int(n));
        for (size_t i = 0; i < n; ++i)
            for (int c = 0; c < a.channels; ++c) buf[c][i] = a.samples[(pos + i) * a.channels + c];
        vorbis_analysis_wrote(&vd, int(n));
        pos += n;
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og)) {
                    writePage();
                    if (ogg_page_eos(&og)) eos = true;
                }
            }
        }
        if (n == 0) {
            // everything handed over; flush what is left
            while (ogg_stream_flush(&os, &og)) writePage();
            eos = true;
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

Audio decodeWav(const std::string& path, int* rate) {
    std::ifstream in(path, std::ios::binary);
    std::string d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto u16 = [&](size_t o) { return unsigned(uint8_t(d[o])) | unsigned(uint8_t(d[o + 1])) << 8; };
    auto u32 = [&](size_t o) { return u16(o) | u16(o + 2) << 16; };
    if (d.size() < 12 || d.compare(0, 4, "RIFF") || d.compare(8, 4, "WAVE"))
        throw RecipeError(path + ": not a WAV file");
    Audio a;
    int bits = 0;
    size_t o = 12;
    while (o + 8 <= d.size()) {
        std::string id = d.substr(o, 4);
        size_t len = u32(o + 4);
        size_t body = o + 8;
        if (body + len > d.size()) throw RecipeError(path + ": truncated WAV chunk");
        if (id == "fmt " && len >= 16) {
            if (u16(body) != 1) throw RecipeError(path + ": WAV is not PCM");
            a.channels = int(u16(body + 2));
            if (rate) *rate = int(u32(body + 4));
            bits = int(u16(body + 14));
        } else if (id == "data") {
            if (bits != 16 || a.channels < 1) throw RecipeError(path + ": WAV must be 16-bit");
            for (size_t i = 0; i + 1 < len; i += 2)
                a.samples.push_back(float(int16_t(u16(body + i))) / 32768.0f);
        }
        o = body + len + (len & 1);
    }
    if (a.samples.empty()) throw RecipeError(path + ": WAV has no samples");
    return a;
}

}  // namespace

void writeAudio(const Audio& a, const std::string& path, double quality, uint32_t serial) {
    std::string bytes;
    if (endsWith(path, ".wav"))
        bytes = encodeWav(a);
    else if (endsWith(path, ".ogg"))
        bytes = encodeOgg(a, quality, serial);
    else
        throw RecipeError(path + ": output must end in .wav or .ogg");
    // keeps the extension, so an interrupted build leaves nothing git would see
    std::string tmp = path.substr(0, path.size() - 4) + ".partial" + path.substr(path.size() - 4);
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.flush();
        if (!out) throw RecipeError(tmp + ": cannot write");
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        throw RecipeError(path + ": cannot rename into place");
    }
}

Audio readAudio(const std::string& path, int* rate) {
    if (endsWith(path, ".wav")) return decodeWav(path, rate);
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) throw RecipeError(path + ": not an Ogg Vorbis file");
    vorbis_info* vi = ov_info(&vf, -1);
    Audio a;
    a.channels = vi->channels;
    if (rate) *rate = int(vi->rate);
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n == 0) break;
        if (n < 0) {
            ov_clear(&vf);
            throw RecipeError(path + ": corrupt Vorbis data");
        }
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < a.channels; ++c) a.samples.push_back(pcm[c][i]);
    }
    ov_clear(&vf);
    if (a.samples.empty()) throw RecipeError(path + ": no samples");
    return a;
}

Stats measure(const Audio& a, int rate) {
    Stats s;
    s.channels = a.channels;
    s.rate = rate;
    size_t fr = a.frames();
    s.seconds = double(fr) / rate;
    double sum = 0, sq = 0;
    // sample-to-sample steps in a histogram (steps lie in [0, 2])
    const int bins = 4000;
    std::vector<size_t> hist(bins + 1, 0);
    size_t nsteps = 0;
    for (size_t i = 0; i < fr; ++i)
        for (int c = 0; c < a.channels; ++c) {
            double v = a.samples[i * a.channels + c];
            s.peak = std::max(s.peak, std::fabs(v));
            sum += v;
            sq += v * v;
            if (i > 0) {
                double st = std::fabs(v - a.samples[(i - 1) * a.channels + c]);
                ++hist[std::min<size_t>(bins, size_t(st * bins / 2.0))];
                ++nsteps;
            }
        }
    size_t n = fr * a.channels;
    s.dc = sum / n;
    s.rmsDb = 10 * std::log10(std::max(1e-20, sq / n));
    size_t want = nsteps * 99 / 100, acc = 0;
    for (int b = 0; b <= bins; ++b) {
        acc += hist[size_t(b)];
        if (acc > want) {
            s.typicalStep = (b + 1) * 2.0 / bins;
            break;
        }
    }
    for (int c = 0; c < a.channels; ++c) {
        double first = a.samples[c], last = a.samples[(fr - 1) * a.channels + c];
        s.seamJump = std::max(s.seamJump, std::fabs(first - last));
        s.startAbs = std::max(s.startAbs, std::fabs(first));
        s.endAbs = std::max(s.endAbs, std::fabs(last));
    }
    s.lufs = integratedLoudness(a, rate);
    {
        double hi = 0, all = 0;
        for (int c = 0; c < a.channels; ++c) {
            Svf hp;
            hp.set(3000.0 * kRate / rate, 0.7071);  // the filter runs at kRate; scale for other rates
            for (size_t i = 0; i < fr; ++i) {
                double v = a.samples[i * a.channels + c];
                double h = hp.process(v, Svf::HP);
                hi += h * h;
                all += v * v;
            }
        }
        if (all > 0) s.highShareDb = 10 * std::log10(std::max(1e-20, hi / all));
    }
    size_t w = std::min(fr / 2, size_t(0.5 * rate));
    if (w > 0) {
        s.seamLevelDb = windowRmsDb(a, 0, w) - windowRmsDb(a, fr - w, w);
        std::vector<double> changes;
        size_t hop = std::max<size_t>(1, size_t(0.1 * rate));
        for (size_t t = w; t + w <= fr; t += hop)
            changes.push_back(std::fabs(windowRmsDb(a, t, w) - windowRmsDb(a, t - w, w)));
        if (!changes.empty()) {
            std::sort(changes.begin(), changes.end());
            s.levelStepP90Db = changes[changes.size() * 9 / 10];
        }
    }
    return s;
}

}  // namespace synth
