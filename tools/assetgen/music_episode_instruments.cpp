#include "music_episode_instruments.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

#include "sound_synth.h"

namespace assetgen::music {

namespace {

using namespace assetgen::synth;

constexpr double kTwoPi = 6.283185307179586;
constexpr int kXmC4Rate = 8363;  // what XM plays at C-4 with relative note 0
constexpr int kRateLow = 16726;
constexpr int kRateHigh = 33452;

// Relative note and finetune so that MIDI note `base_midi` plays the sample at
// `rate`, for a sample whose pitch is really `actual_hz` (nominally the
// pitch of `base_midi`).
void Tune(xm::Instrument& ins, int rate, int base_midi, double actual_hz) {
    const double semis = 12.0 * std::log2(static_cast<double>(rate) / kXmC4Rate) - (base_midi - 60) +
                         12.0 * std::log2(NoteHz(base_midi) / actual_hz);
    const int whole = static_cast<int>(std::floor(semis + 0.5));
    ins.relative_note = whole;
    ins.finetune = std::clamp(static_cast<int>(std::lround((semis - whole) * 128.0)), -128, 127);
}

std::vector<int16_t> Pcm(const std::vector<float>& s, float peak) {
    float m = 0;
    for (float v : s) m = std::max(m, std::fabs(v));
    const float k = m > 0 ? peak / m : 0.0f;
    std::vector<int16_t> out(s.size());
    for (size_t i = 0; i < s.size(); ++i)
        out[i] = static_cast<int16_t>(std::lround(std::clamp(s[i] * k, -1.0f, 1.0f) * 32000.0f));
    return out;
}

// ------------------------------------------------------------ sustained voices

struct Sustained {
    int rate = kRateHigh;
    int base_midi = 72;
    std::vector<double> harmonics;  // amplitude of partial 1, 2, ...
    std::vector<int> voices {0};    // detuned copies, in loop bins
    double breath = 0;              // noise in the baked attack
    double attack = 0.06;           // seconds before the loop
    std::vector<xm::EnvelopePoint> envelope;  // held at its last point until key off
    int fadeout = 0x400;
    uint32_t seed = 1;
};

// The loop holds kPeriods periods of the base pitch: every partial of every
// voice is a whole number of cycles long, so the loop is seamless; a voice one
// bin off is detuned by 1/kPeriods of a period (about 8 cents).
constexpr int kPeriods = 224;

xm::Instrument MakeSustained(const std::string& name, const Sustained& spec) {
    const double base_hz = NoteHz(spec.base_midi);
    const int loop = static_cast<int>(std::lround(spec.rate * kPeriods / base_hz));
    const int attack = static_cast<int>(spec.attack * spec.rate);
    std::vector<float> s(static_cast<size_t>(attack + loop), 0.0f);
    Noise phases(spec.seed);
    for (int voice : spec.voices) {
        for (size_t k = 0; k < spec.harmonics.size(); ++k) {
            const double amp = spec.harmonics[k] / static_cast<double>(spec.voices.size());
            const double bins = static_cast<double>((kPeriods + voice) * static_cast<int>(k + 1));
            if (amp == 0 || bins * spec.rate / loop > spec.rate * 0.45) continue;
            const double phase = (phases.Next() + 1.0) * 3.14159;
            for (size_t i = 0; i < s.size(); ++i)
                s[i] += static_cast<float>(amp * std::sin(kTwoPi * bins * static_cast<double>(i) / loop + phase));
        }
    }
    if (spec.breath > 0 && attack > 0) {
        Signal chiff(spec.rate, static_cast<double>(attack) / spec.rate);
        AddNoise(chiff, MakeNoise(0, chiff.Seconds(), 3000, 1200, spec.breath, chiff.Seconds() / 3, 0.004, spec.seed, 0.5));
        for (size_t i = 0; i < chiff.s.size(); ++i) s[i] += chiff.s[i];
    }
    xm::Instrument ins;
    ins.name = name;
    ins.data = Pcm(s, 0.85f);
    ins.loop_start = attack;
    ins.loop_length = loop;
    ins.envelope = spec.envelope;
    ins.sustain_point = static_cast<int>(spec.envelope.size()) - 1;
    ins.fadeout = spec.fadeout;
    Tune(ins, spec.rate, spec.base_midi, static_cast<double>(spec.rate) * kPeriods / loop);
    return ins;
}

// A partial series 1/k^tilt up to `count`, odd partials only when asked.
std::vector<double> Series(int count, double tilt, bool odd_only = false) {
    std::vector<double> h(static_cast<size_t>(count), 0.0);
    for (int k = 1; k <= count; ++k)
        if (!odd_only || k % 2) h[static_cast<size_t>(k - 1)] = 1.0 / std::pow(k, tilt);
    return h;
}

// Partials shaped by a sung vowel: resonances near `f1` and `f2` Hz.
std::vector<double> Vowel(double base_hz, double f1, double f2, int count) {
    std::vector<double> h;
    for (int k = 1; k <= count; ++k) {
        const double f = base_hz * k;
        const double r1 = std::exp(-std::pow((f - f1) / 180.0, 2.0));
        const double r2 = 0.6 * std::exp(-std::pow((f - f2) / 260.0, 2.0));
        h.push_back((0.25 / k + r1 + r2));
    }
    return h;
}

// A melody voice around C-5 with a quick speaking attack (envelope ticks, 0..64).
Sustained Lead(std::vector<double> harmonics, std::vector<int> voices, double breath, uint32_t seed) {
    Sustained s;
    s.harmonics = std::move(harmonics);
    s.voices = std::move(voices);
    s.breath = breath;
    s.envelope = {{0, 24}, {3, 64}, {12, 56}, {40, 52}};
    s.fadeout = 0x800;
    s.seed = seed;
    return s;
}

// A chorused pad around middle C with a slow swell and a long release.
Sustained Pad(std::vector<double> harmonics, int fadeout, uint32_t seed) {
    Sustained s;
    s.rate = kRateLow;
    s.base_midi = 60;
    s.harmonics = std::move(harmonics);
    s.voices = {-1, 0, 1};
    s.attack = 0;
    s.envelope = {{0, 0}, {24, 48}, {60, 42}, {120, 38}};
    s.fadeout = fadeout;
    s.seed = seed;
    return s;
}

// ------------------------------------------------------------ struck voices

struct Struck {
    int rate = kRateHigh;
    int base_midi = 72;
    double seconds = 0.8;
};

xm::Instrument FromSignal(const std::string& name, Signal s, int base_midi, double actual_hz, float peak = 0.9f) {
    Finish(s, peak);
    xm::Instrument ins;
    ins.name = name;
    ins.data = Pcm(s.s, peak);
    Tune(ins, s.rate, base_midi, actual_hz);
    return ins;
}

// Partials at ratios of the base pitch, each with its own decay.
xm::Instrument Modal(const std::string& name, const Struck& st, const std::vector<double>& ratios,
                     const std::vector<double>& amps, const std::vector<double>& decays, double attack = 0.001) {
    Signal s(st.rate, st.seconds);
    const double f = NoteHz(st.base_midi);
    for (size_t k = 0; k < ratios.size(); ++k)
        AddTone(s, MakeTone(0, st.seconds, f * ratios[k], f * ratios[k], Wave::Sine, amps[k], decays[k], attack));
    return FromSignal(name, s, st.base_midi, f);
}

// A plucked string (Karplus-Strong): a burst of filtered noise circulating in
// a delay line of one period, averaged on each pass. `damping` 0..1 dulls it
// faster, `brightness` 0..1 is the pick's edge.
xm::Instrument Plucked(const std::string& name, const Struck& st, double damping, double brightness, double decay,
                       uint32_t seed) {
    const double f = NoteHz(st.base_midi);
    const int period = static_cast<int>(std::lround(st.rate / f - 0.5));
    Signal s(st.rate, st.seconds);
    Noise noise(seed);
    double lp = 0;
    for (int i = 0; i < period; ++i) {
        lp += brightness * (noise.Next() - lp);
        s.s[static_cast<size_t>(i)] = static_cast<float>(lp);
    }
    for (size_t i = static_cast<size_t>(period); i < s.s.size(); ++i) {
        const float a = s.s[i - static_cast<size_t>(period)];
        const float b = i > static_cast<size_t>(period) ? s.s[i - static_cast<size_t>(period) - 1] : a;
        s.s[i] = static_cast<float>(decay * ((1.0 - damping * 0.5) * a + damping * 0.5 * b));
    }
    // The averaging delays the loop by half a sample per damping unit.
    return FromSignal(name, s, st.base_midi, st.rate / (period + damping * 0.5));
}

// ------------------------------------------------------------ drums

xm::Instrument Drum(const std::string& name, const std::function<void(Signal&)>& draw, double seconds, float peak = 0.9f) {
    Signal s(kRateHigh, seconds);
    draw(s);
    return FromSignal(name, s, 60, NoteHz(60), peak);
}

using Builder = std::function<xm::Instrument(const std::string&)>;

const std::map<std::string, Builder>& Builders() {
    static const std::map<std::string, Builder> builders = {
        // Melodies.
        {"flute", [](const std::string& n) { return MakeSustained(n, Lead({1.0, 0.22, 0.07, 0.03}, {0, 1}, 0.35, 11)); }},
        {"clarinet", [](const std::string& n) {
             std::vector<double> odd = Series(11, 1.1, true);
             odd[1] = 0.05;
             return MakeSustained(n, Lead(odd, {0, 1}, 0.12, 12));
         }},
        {"oboe", [](const std::string& n) {
             return MakeSustained(n, Lead({0.45, 1.0, 0.85, 0.6, 0.38, 0.22, 0.12, 0.07, 0.04}, {0, 1}, 0.1, 13));
         }},
        {"accordion", [](const std::string& n) {
             // Two reeds tuned apart: the musette beat; a quick, even attack.
             Sustained s = Lead(Series(14, 1.2), {-2, 2}, 0, 14);
             s.attack = 0.03;
             s.envelope = {{0, 30}, {2, 64}, {10, 56}, {30, 54}};
             s.fadeout = 0x400;
             return MakeSustained(n, s);
         }},
        // Pads and harmony.
        {"strings", [](const std::string& n) { return MakeSustained(n, Pad(Series(16, 1.0), 0x280, 15)); }},
        {"choir", [](const std::string& n) {
             return MakeSustained(n, Pad(Vowel(NoteHz(60), 750, 1150, 14), 0x200, 16));
         }},
        {"warm_pad", [](const std::string& n) { return MakeSustained(n, Pad(Series(7, 1.7), 0x300, 17)); }},
        // Struck and plucked.
        {"marimba", [](const std::string& n) {
             return Modal(n, {kRateHigh, 72, 0.6}, {1.0, 3.93, 9.2}, {1.0, 0.3, 0.08}, {0.22, 0.05, 0.015});
         }},
        {"guitar", [](const std::string& n) { return Plucked(n, {kRateHigh, 60, 0.8}, 0.9, 0.55, 0.996, 21); }},
        {"harp", [](const std::string& n) { return Plucked(n, {kRateHigh, 72, 0.8}, 0.6, 0.35, 0.998, 22); }},
        {"celesta", [](const std::string& n) {
             return Modal(n, {kRateHigh, 84, 0.9}, {1.0, 2.0, 4.0, 5.98}, {1.0, 0.25, 0.2, 0.05},
                          {0.45, 0.2, 0.08, 0.04});
         }},
        {"glockenspiel", [](const std::string& n) {
             return Modal(n, {kRateHigh, 84, 0.7}, {1.0, 2.76, 5.4, 8.93}, {1.0, 0.45, 0.22, 0.1},
                          {0.5, 0.18, 0.08, 0.04});
         }},
        {"music_box", [](const std::string& n) {
             return Modal(n, {kRateHigh, 84, 0.8}, {1.0, 2.0, 3.01, 5.03}, {1.0, 0.4, 0.2, 0.1},
                          {0.38, 0.16, 0.08, 0.04});
         }},
        // Basses, recorded at C-3 and played an octave or two lower.
        {"bass_pluck", [](const std::string& n) { return Plucked(n, {kRateLow, 48, 0.7}, 0.95, 0.4, 0.993, 23); }},
        {"bass_round", [](const std::string& n) {
             return Modal(n, {kRateLow, 48, 0.9}, {1.0, 2.0, 3.0}, {1.0, 0.35, 0.1}, {0.5, 0.2, 0.1}, 0.006);
         }},
        {"pizzicato", [](const std::string& n) { return Plucked(n, {kRateLow, 48, 0.5}, 1.0, 0.5, 0.985, 24); }},
        // Drums, each sounding at C-4.
        {"kick", [](const std::string& n) {
             return Drum(n, [](Signal& s) {
                 AddTone(s, MakeTone(0, 0.3, 140, 44, Wave::Sine, 1.0, 0.11, 0.001));
                 AddNoise(s, MakeNoise(0, 0.01, 3000, 3000, 0.3, 0.003, 0.001, 101, 0.2));
             }, 0.3, 0.95f);
         }},
        {"snare", [](const std::string& n) {
             return Drum(n, [](Signal& s) {
                 AddNoise(s, MakeNoise(0, 0.22, 6000, 2500, 0.8, 0.06, 0.001, 102, 0.2));
                 AddTone(s, MakeTone(0, 0.12, 210, 170, Wave::Sine, 0.5, 0.035, 0.001));
             }, 0.22, 0.8f);
         }},
        {"rim", [](const std::string& n) {
             return Drum(n, [](Signal& s) {
                 AddTone(s, MakeTone(0, 0.06, 1700, 1600, Wave::Triangle, 0.6, 0.012, 0.0005));
                 AddNoise(s, MakeNoise(0, 0.02, 5000, 5000, 0.5, 0.004, 0.0005, 104, 0.3, true));
             }, 0.06, 0.7f);
         }},
        {"hat", [](const std::string& n) {
             return Drum(n, [](Signal& s) {
                 AddNoise(s, MakeNoise(0, 0.08, 7000, 7000, 0.7, 0.018, 0.0005, 103, 0.2, true));
             }, 0.08, 0.6f);
         }},
        {"shaker", [](const std::string& n) {
             return Drum(n, [](Signal& s) {
                 AddNoise(s, MakeNoise(0, 0.12, 5500, 6500, 0.6, 0.035, 0.02, 105, 0.4, true));
             }, 0.12, 0.55f);
         }},
        {"tambourine", [](const std::string& n) {
             return Drum(n, [](Signal& s) {
                 AddNoise(s, MakeNoise(0, 0.2, 8000, 8000, 0.5, 0.06, 0.001, 106, 0.2, true));
                 for (double f : {5120.0, 6830.0, 8210.0})
                     AddTone(s, MakeTone(0, 0.2, f, f, Wave::Sine, 0.12, 0.05, 0.001));
             }, 0.2, 0.6f);
         }},
        {"sleigh_bells", [](const std::string& n) {
             return Drum(n, [](Signal& s) {
                 // A shake: a few jingle hits close together.
                 for (int hit = 0; hit < 4; ++hit) {
                     const double t = 0.022 * hit;
                     const double g = 1.0 / (1.0 + hit * 0.5);
                     AddNoise(s, MakeNoise(t, 0.12, 9000, 9000, 0.35 * g, 0.03, 0.001, 107 + hit, 0.3, true));
                     for (double f : {4610.0, 6120.0, 7390.0})
                         AddTone(s, MakeTone(t, 0.15, f * (1 + 0.01 * hit), f, Wave::Sine, 0.1 * g, 0.05, 0.001));
                 }
             }, 0.25, 0.55f);
         }},
        {"tom", [](const std::string& n) {
             return Drum(n, [](Signal& s) {
                 AddTone(s, MakeTone(0, 0.35, 150, 96, Wave::Sine, 1.0, 0.14, 0.001));
                 AddNoise(s, MakeNoise(0, 0.05, 1500, 900, 0.25, 0.015, 0.001, 111, 0.3));
             }, 0.35, 0.85f);
         }},
        {"frame_drum", [](const std::string& n) {
             return Drum(n, [](Signal& s) {
                 AddTone(s, MakeTone(0, 0.4, 92, 74, Wave::Sine, 1.0, 0.16, 0.003));
                 AddNoise(s, MakeNoise(0, 0.08, 900, 500, 0.35, 0.03, 0.002, 112, 0.4));
             }, 0.4, 0.85f);
         }},
        {"woodblock", [](const std::string& n) {
             return Drum(n, [](Signal& s) {
                 AddTone(s, MakeTone(0, 0.1, 880, 860, Wave::Sine, 1.0, 0.025, 0.0005));
                 AddTone(s, MakeTone(0, 0.06, 2380, 2300, Wave::Sine, 0.3, 0.01, 0.0005));
             }, 0.1, 0.75f);
         }},
    };
    return builders;
}

}  // namespace

xm::Instrument Instrument(const std::string& name) {
    const auto it = Builders().find(name);
    if (it == Builders().end()) throw std::runtime_error("unknown instrument: " + name);
    return it->second(name);
}

}  // namespace assetgen::music
