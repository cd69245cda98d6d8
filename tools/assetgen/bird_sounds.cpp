// The birds' voices beyond the flap, chirp and hit of the common effects: an
// alarmed squawk, a happy trill and a sad call, written as WAV files under
// Sounds/ for the aliases of Settings/Samples.xml.
#include <string>

#include "generator_registry.h"
#include "sound_synth.h"

namespace {

using namespace assetgen::synth;

constexpr int kRate = 44100;
constexpr double kPeak = 0.5;  // the level of the other effects

// Two harsh falling squawks with a breath of noise.
Signal Alarm() {
    Signal s(kRate, 0.45);
    for (double start : {0.0, 0.2}) {
        Tone t = MakeTone(start, 0.16, 2100, 1300, Wave::Saw, 0.35, 0.09, 0.004);
        t.vibrato_hz = 38;
        t.vibrato_depth = 0.05;
        AddTone(s, t);
        AddTone(s, MakeTone(start, 0.16, 2100 * 1.5, 1300 * 1.5, Wave::Square, 0.08, 0.07, 0.004));
        AddNoise(s, MakeNoise(start, 0.12, 4000, 2200, 0.15, 0.05, 0.003, 51, 0.4));
    }
    Finish(s, kPeak);
    return s;
}

// A quick rising trill of chirps.
Signal Happy() {
    Signal s(kRate, 0.6);
    const double pitches[] = {2600, 2900, 3300, 3000, 3700};
    for (int i = 0; i < 5; ++i) {
        const double f = pitches[i];
        AddTone(s, MakeTone(0.1 * i, 0.08, f, f * 1.35, Wave::Sine, 0.45, 0.05, 0.004));
    }
    Finish(s, kPeak);
    return s;
}

// A slow falling two-note call.
Signal Sad() {
    Signal s(kRate, 0.9);
    Tone first = MakeTone(0.0, 0.35, 1900, 1500, Wave::Sine, 0.4, 0.25, 0.02);
    first.vibrato_hz = 6;
    first.vibrato_depth = 0.01;
    AddTone(s, first);
    Tone second = MakeTone(0.4, 0.45, 1500, 1050, Wave::Sine, 0.4, 0.3, 0.02);
    second.vibrato_hz = 6;
    second.vibrato_depth = 0.012;
    AddTone(s, second);
    Finish(s, kPeak);
    return s;
}

void Generate(const std::string& data_dir) {
    WriteWav(data_dir + "/Sounds/bird_alarm.wav", Alarm());
    WriteWav(data_dir + "/Sounds/bird_happy.wav", Happy());
    WriteWav(data_dir + "/Sounds/bird_sad.wav", Sad());
}

}  // namespace

ASSET_GENERATOR("bird_sounds", Generate);
