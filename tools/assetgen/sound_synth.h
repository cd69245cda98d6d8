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

// Peak-normalises to `peak` and fades the last few milliseconds to silence.
void Finish(Signal& sig, double peak = 0.8);

// 16-bit PCM WAV; throws std::runtime_error on failure.
void WriteWav(const std::string& path, const Signal& sig);
// Ogg Vorbis at the given quality (-0.1 .. 1.0); throws on failure.
void WriteOgg(const std::string& path, const Signal& sig, float quality = 0.4f);

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double NoteHz(double midi);

}  // namespace assetgen::synth
