#include "sound_synth.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "platform/file_handle.h"

namespace assetgen::synth {

namespace {
constexpr double kTwoPi = 6.283185307179586;

using File = plat::UniqueFile;

File OpenForWrite(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    File f(std::fopen(path.c_str(), "wb"));
    if (!f) throw std::runtime_error("cannot write " + path);
    return f;
}

double Envelope(double t, double dur, double attack, double decay) {
    if (t < 0 || t >= dur) return 0;
    double a = attack > 0 ? std::min(1.0, t / attack) : 1.0;
    double d = decay > 0 ? std::exp(-(t - std::min(t, attack)) / decay) : 1.0;
    double release = std::min(0.01, dur * 0.2);
    double r = t > dur - release ? (dur - t) / release : 1.0;
    return a * d * r;
}

double Oscillate(Wave w, double phase) {
    double p = phase - std::floor(phase);
    switch (w) {
        case Wave::Sine: return std::sin(kTwoPi * p);
        case Wave::Triangle: return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
        case Wave::Square: return p < 0.5 ? 0.7 : -0.7;
        case Wave::Saw: return 2 * p - 1;
    }
    return 0;
}

void PutLE(std::FILE* f, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) std::fputc(static_cast<int>((v >> (8 * i)) & 0xFF), f);
}
}  // namespace

Signal::Signal(int rate_, double seconds, int channels_)
    : rate(rate_), channels(channels_),
      s(static_cast<size_t>(std::max(0.0, seconds) * rate_) * static_cast<size_t>(channels_), 0.0f) {}

float Noise::Next() {
    _state = _state * 1664525u + 1013904223u;
    return static_cast<float>((_state >> 8) & 0xFFFF) / 32768.0f - 1.0f;
}

double NoteHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

void AddTone(Signal& sig, const Tone& t) {
    size_t first = static_cast<size_t>(t.start * sig.rate);
    size_t count = static_cast<size_t>(t.dur * sig.rate);
    double phase = 0;
    for (size_t i = 0; i < count && first + i < sig.Frames(); ++i) {
        double time = static_cast<double>(i) / sig.rate;
        double f = t.f0 * std::pow(t.f1 / t.f0, time / t.dur);
        if (t.vibrato_depth > 0) f *= 1.0 + t.vibrato_depth * std::sin(kTwoPi * t.vibrato_hz * time);
        phase += f / sig.rate;
        double v = Oscillate(t.wave, phase) * Envelope(time, t.dur, t.attack, t.decay) * t.gain;
        sig.s[first + i] += static_cast<float>(v);
    }
}

void AddBell(Signal& sig, double start, double f, double dur, double gain, const std::vector<double>& ratios,
             double decay) {
    for (size_t k = 0; k < ratios.size(); ++k) {
        Tone t;
        t.start = start;
        t.dur = dur;
        t.f0 = t.f1 = f * ratios[k];
        t.gain = gain / (1.0 + k * 0.8);
        t.attack = 0.002;
        t.decay = decay / (1.0 + k * 0.6);
        AddTone(sig, t);
    }
}

void AddNoise(Signal& sig, const NoiseBurst& n) {
    Noise noise(n.seed);
    size_t first = static_cast<size_t>(n.start * sig.rate);
    size_t count = static_cast<size_t>(n.dur * sig.rate);
    // Chamberlin state-variable filter.
    double low = 0, band = 0;
    double q = 1.0 - std::clamp(n.resonance, 0.0, 0.9);
    for (size_t i = 0; i < count && first + i < sig.Frames(); ++i) {
        double time = static_cast<double>(i) / sig.rate;
        double cutoff = n.cutoff0 * std::pow(n.cutoff1 / n.cutoff0, time / n.dur);
        double fc = 2.0 * std::sin(3.141592653589793 * std::min(cutoff, sig.rate / 6.0) / sig.rate);
        double in = noise.Next();
        low += fc * band;
        double high = in - low - q * band;
        band += fc * high;
        double v = (n.highpass ? high : low) * Envelope(time, n.dur, n.attack, n.decay) * n.gain;
        sig.s[first + i] += static_cast<float>(v);
    }
}

void Finish(Signal& sig, double peak) {
    float m = 0;
    for (float v : sig.s) m = std::max(m, std::fabs(v));
    if (m > 0) {
        float k = static_cast<float>(peak / m);
        for (float& v : sig.s) v *= k;
    }
    size_t fade = std::min(sig.Frames(), static_cast<size_t>(sig.rate * 0.005));
    for (size_t i = 0; i < fade; ++i) {
        float k = static_cast<float>(i) / static_cast<float>(fade);
        for (int c = 0; c < sig.channels; ++c) sig.s[(sig.Frames() - 1 - i) * sig.channels + c] *= k;
    }
}

void WriteWav(const std::string& path, const Signal& sig) {
    File f = OpenForWrite(path);
    uint32_t data_bytes = static_cast<uint32_t>(sig.s.size() * 2);
    std::fwrite("RIFF", 1, 4, f.get());
    PutLE(f.get(), 36 + data_bytes, 4);
    std::fwrite("WAVEfmt ", 1, 8, f.get());
    PutLE(f.get(), 16, 4);
    PutLE(f.get(), 1, 2);  // PCM
    PutLE(f.get(), static_cast<uint32_t>(sig.channels), 2);
    PutLE(f.get(), static_cast<uint32_t>(sig.rate), 4);
    PutLE(f.get(), static_cast<uint32_t>(sig.rate * sig.channels * 2), 4);
    PutLE(f.get(), static_cast<uint32_t>(sig.channels * 2), 2);
    PutLE(f.get(), 16, 2);
    std::fwrite("data", 1, 4, f.get());
    PutLE(f.get(), data_bytes, 4);
    for (float v : sig.s) {
        int x = static_cast<int>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
        PutLE(f.get(), static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(x))), 2);
    }
    if (std::ferror(f.get())) throw std::runtime_error("write failed: " + path);
}

void WriteOgg(const std::string& path, const Signal& sig, float quality) {
    File f = OpenForWrite(path);
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, sig.channels, sig.rate, quality) != 0) {
        vorbis_info_clear(&vi);
        throw std::runtime_error("vorbis encoder refused the format: " + path);
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "ENCODER", "vovaro assetgen");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x566F7661);  // a fixed serial keeps the output reproducible
    ogg_packet header, header_comm, header_code;
    vorbis_analysis_headerout(&vd, &vc, &header, &header_comm, &header_code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &header_comm);
    ogg_stream_packetin(&os, &header_code);
    ogg_page og;
    auto write_page = [&](const ogg_page& page) {
        std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), f.get());
        std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), f.get());
    };
    while (ogg_stream_flush(&os, &og) != 0) write_page(og);

    const size_t frames = sig.Frames();
    size_t pos = 0;
    bool eos = false;
    while (!eos) {
        size_t n = std::min<size_t>(4096, frames - pos);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i)
                for (int c = 0; c < sig.channels; ++c) buffer[c][i] = sig.s[(pos + i) * sig.channels + c];
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            pos += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (!eos && ogg_stream_pageout(&os, &og) != 0) {
                    write_page(og);
                    if (ogg_page_eos(&og)) eos = true;
                }
            }
        }
        if (n == 0 && !eos) {
            // Everything is submitted; flush what the stream still holds.
            while (ogg_stream_flush(&os, &og) != 0) write_page(og);
            eos = true;
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    if (std::ferror(f.get())) throw std::runtime_error("write failed: " + path);
}

}  // namespace assetgen::synth
