#pragma once
// Small synthesiser for the generated sounds and music: a mono buffer of floats
// with oscillators, noise, envelopes and simple filters, plus WAV and Ogg Vorbis
// writers. Everything is deterministic: noise comes from our own generator.
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen::synth {

// A mono (or, for the writers, interleaved stereo) signal at `rate` Hz.
struct Signal {
    int rate = 44100;
    int channels = 1;
    std::vector<float> s;

    Signal(int rate_, double seconds, int channels_ = 1);
    size_t Frames() const { return s.size() / static_cast<size_t>(channels); }
    double Seconds() const { return static_cast<double>(Frames()) / rate; }
};

// Deterministic white noise in -1..1.
class Noise {
public:
    explicit Noise(uint32_t seed) : _state(seed) {}
    float Next();

private:
    uint32_t _state;
};

enum class Wave { Sine, Triangle, Square, Saw };

// A tone added into `sig` from `start` for `dur` seconds, its frequency gliding
// exponentially from f0 to f1, shaped by an attack and an exponential decay
// (decay = time constant in seconds; 0 keeps the level until a short release).
struct Tone {
    double start = 0, dur = 0.2;
    double f0 = 440, f1 = 440;
    Wave wave = Wave::Sine;
    double gain = 0.5;
    double attack = 0.005;
    double decay = 0.1;
    double vibrato_hz = 0, vibrato_depth = 0;  // depth as a frequency ratio (0.01 = 1 %)
};
void AddTone(Signal& sig, const Tone& t);
inline Tone MakeTone(double start, double dur, double f0, double f1, Wave w, double gain, double decay,
                     double attack = 0.004) {
    Tone t;
    t.start = start;
    t.dur = dur;
    t.f0 = f0;
    t.f1 = f1;
    t.wave = w;
    t.gain = gain;
    t.decay = decay;
    t.attack = attack;
    return t;
}

// A bell or chime: inharmonic partials (ratios to f) decaying at their own rates.
void AddBell(Signal& sig, double start, double f, double dur, double gain, const std::vector<double>& ratios,
             double decay);

// A burst of noise through a resonant low-pass whose cutoff glides from c0 to c1
// Hz; attack and decay as for tones.
struct NoiseBurst {
    double start = 0, dur = 0.2;
    double cutoff0 = 4000, cutoff1 = 4000;
    double resonance = 0.2;  // 0..0.9
    double gain = 0.5;
    double attack = 0.002;
    double decay = 0.05;
    bool highpass = false;   // the high-pass half of the filter instead
    uint32_t seed = 1;
};
void AddNoise(Signal& sig, const NoiseBurst& n);
inline NoiseBurst MakeNoise(double start, double dur, double c0, double c1, double gain, double decay, double attack,
                            uint32_t seed, double resonance = 0.3, bool highpass = false) {
    NoiseBurst n;
    n.start = start;
    n.dur = dur;
    n.cutoff0 = c0;
    n.cutoff1 = c1;
    n.gain = gain;
    n.decay = decay;
    n.attack = attack;
    n.seed = seed;
    n.resonance = resonance;
    n.highpass = highpass;
    return n;
}

// Peak-normalises to `peak` and fades the last few milliseconds to silence.
void Finish(Signal& sig, double peak = 0.8);

// 16-bit PCM WAV; throws std::runtime_error on failure.
void WriteWav(const std::string& path, const Signal& sig);
// Ogg Vorbis at the given quality (-0.1 .. 1.0); throws on failure.
void WriteOgg(const std::string& path, const Signal& sig, float quality = 0.4f);

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double NoteHz(double midi);

}  // namespace assetgen::synth
