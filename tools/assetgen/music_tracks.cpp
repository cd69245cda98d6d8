// The game's music, composed procedurally: two modules (menu and selector;
// the level music with a calm and an anxious mood per episode group), each
// track a run of pattern orders that loops onto itself, plus one ambient piece
// as an Ogg Vorbis stream. Settings/Music.xml names them.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "generator_registry.h"
#include "music_xm_writer.h"
#include "sound_synth.h"

namespace {

using namespace assetgen;
using namespace assetgen::synth;

// Pitched instruments are synthesised at C-4 = middle C, played back at four
// times 8363 Hz at C-4 (relative note +24).
constexpr int kInstrRate = 33452;
constexpr double kMiddleC = 261.6255653;

enum InstrumentId { kKeys = 1, kPad, kBass, kPluck, kKick, kSnare, kHat, kMusicBox };
enum ChannelId { kChLead, kChArp, kChPad0, kChPad1, kChPad2, kChBass, kChDrum, kChHat, kChannels };

std::vector<int16_t> ToPcm(const Signal& s) {
    std::vector<int16_t> out(s.s.size());
    for (size_t i = 0; i < s.s.size(); ++i)
        out[i] = static_cast<int16_t>(std::lround(std::clamp(s.s[i], -1.0f, 1.0f) * 32000.0f));
    return out;
}

xm::Instrument Pitched(const std::string& name, Signal s, double peak = 0.9) {
    Finish(s, peak);
    xm::Instrument ins;
    ins.name = name;
    ins.data = ToPcm(s);
    ins.relative_note = 24;
    return ins;
}

// Harmonic partials with their own decays (a struck or plucked string).
Signal Partials(double seconds, const std::vector<double>& amps, const std::vector<double>& decays, double attack) {
    Signal s(kInstrRate, seconds);
    for (size_t k = 0; k < amps.size(); ++k) {
        const double f = kMiddleC * static_cast<double>(k + 1);
        AddTone(s, MakeTone(0, seconds, f, f, Wave::Sine, amps[k], decays[k], attack));
    }
    return s;
}

std::vector<xm::Instrument> Instruments() {
    std::vector<xm::Instrument> list;
    // 1: electric-piano keys for melodies.
    {
        Signal s = Partials(1.6, {1.0, 0.45, 0.22, 0.12, 0.05}, {0.9, 0.45, 0.25, 0.12, 0.06}, 0.003);
        AddBell(s, 0, kMiddleC * 7, 0.08, 0.06, {1.0}, 0.02);
        list.push_back(Pitched("keys", s));
    }
    // 2: a soft chorused pad, looped over a whole number of periods of every partial.
    {
        const int loop = 14320;  // 112 periods of middle C at this rate
        Signal s(kInstrRate, static_cast<double>(loop) / kInstrRate);
        const double bin = static_cast<double>(kInstrRate) / loop;
        for (int voice : {111, 112, 113}) {
            for (int k = 1; k <= 6; ++k) {
                double f = bin * voice * k;
                double a = 0.3 / std::pow(k, 1.6);
                for (size_t i = 0; i < s.s.size(); ++i)
                    s.s[i] += static_cast<float>(a * std::sin(6.283185307179586 * f * static_cast<double>(i) / kInstrRate + voice));
            }
        }
        float m = 0;
        for (float v : s.s) m = std::max(m, std::fabs(v));
        for (float& v : s.s) v *= 0.85f / m;
        xm::Instrument ins;
        ins.name = "pad";
        ins.data = ToPcm(s);
        ins.loop_start = 0;
        ins.loop_length = loop;
        ins.relative_note = 24;
        ins.envelope = {{0, 0}, {14, 50}, {60, 40}, {200, 34}};
        ins.sustain_point = 3;
        ins.fadeout = 0x300;
        list.push_back(ins);
    }
    // 3: plucked bass (played two octaves down, so the decays are a quarter).
    list.push_back(Pitched("bass", Partials(0.6, {1.0, 0.5, 0.3, 0.1}, {0.3, 0.12, 0.06, 0.03}, 0.002)));
    // 4: marimba-like pluck for arpeggios.
    {
        Signal s = Partials(0.7, {1.0, 0.0, 0.0, 0.25}, {0.22, 0.1, 0.1, 0.05}, 0.001);
        list.push_back(Pitched("pluck", s));
    }
    // 5-7: drums, played at C-4 (noise resonance at its plain 0.2).
    {
        Signal s(kInstrRate, 0.35);
        AddTone(s, MakeTone(0, 0.35, 150, 42, Wave::Sine, 1.0, 0.12, 0.001));
        AddNoise(s, MakeNoise(0, 0.01, 3000, 3000, 0.3, 0.003, 0.002, 101, 0.2));
        list.push_back(Pitched("kick", s, 0.95));
    }
    {
        Signal s(kInstrRate, 0.25);
        AddNoise(s, MakeNoise(0, 0.25, 6000, 3000, 0.8, 0.07, 0.001, 102, 0.2));
        AddTone(s, MakeTone(0, 0.15, 200, 160, Wave::Sine, 0.5, 0.04, 0.001));
        list.push_back(Pitched("snare", s, 0.8));
    }
    {
        Signal s(kInstrRate, 0.08);
        AddNoise(s, MakeNoise(0, 0.08, 7000, 7000, 0.7, 0.018, 0.0005, 103, 0.2, true));
        list.push_back(Pitched("hat", s, 0.6));
    }
    // 8: a music box for the gentle tunes.
    {
        Signal s(kInstrRate, 1.4);
        AddBell(s, 0, kMiddleC, 1.4, 0.8, {1.0, 2.0, 3.01, 5.03}, 0.5);
        list.push_back(Pitched("music box", s));
    }
    for (auto& ins : list)
        if (ins.name == "kick" || ins.name == "snare" || ins.name == "hat") ins.relative_note = 24;
    return list;
}

// ---------------------------------------------------------------- composition

struct Style {
    int root;          // MIDI note of the key's tonic (around C4)
    bool minor;
    int bpm;
    int lead;          // instrument of the melody
    int drums;         // 0 gentle, 1 steady, 2 driving
    bool fast_arp;
    uint32_t seed;
    std::vector<std::vector<int>> bars;  // scale degrees of the chord of each bar, 4 per pattern
};

class Composer {
public:
    explicit Composer(uint32_t seed) : _rng(seed) {}

    // Appends the patterns of one track to the module, the last one jumping back
    // to the track's first order; returns that first order.
    int AddTrack(xm::Module& m, const Style& st) {
        const int first_order = static_cast<int>(m.orders.size());
        _style = &st;
        _rng = Noise(st.seed);
        _last_lead = st.root + 12 + 4;
        MakeMotif();
        for (size_t p = 0; p < st.bars.size(); ++p) {
            xm::Pattern pat(64, kChannels);
            if (p == 2) MakeMotif();  // the second half varies the tune
            for (int bar = 0; bar < 4; ++bar) WriteBar(pat, bar, st.bars[p][static_cast<size_t>(bar)],
                                                       p + 1 == st.bars.size() && bar == 3);
            if (p == 0) {
                SetEffect(pat.At(0, kChDrum), 0x0F, 6);
                SetEffect(pat.At(0, kChHat), 0x0F, static_cast<uint8_t>(st.bpm));
            }
            if (p + 1 == st.bars.size()) SetEffect(pat.At(63, kChLead), 0x0B, static_cast<uint8_t>(first_order));
            m.orders.push_back(static_cast<uint8_t>(m.patterns.size()));
            m.patterns.push_back(std::move(pat));
        }
        return first_order;
    }

private:
    static void SetEffect(xm::Cell& c, uint8_t fx, uint8_t param) {
        c.effect = fx;
        c.param = param;
    }
    static void Note(xm::Cell& c, int midi, int instrument, int volume) {
        int n = std::clamp(midi - 11, 1, 96);  // XM C-4 (49) is MIDI 60
        c.note = static_cast<uint8_t>(n);
        c.instrument = static_cast<uint8_t>(instrument);
        c.volume = static_cast<uint8_t>(0x10 + std::clamp(volume, 0, 64));
    }

    int ScaleNote(int degree) const {
        static const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
        static const int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};
        int octave = degree >= 0 ? degree / 7 : -((6 - degree) / 7);
        int d = degree - octave * 7;
        int semis = (_style->minor ? kMinor : kMajor)[d];
        // Minor keys take the major dominant (harmonic minor) for a proper cadence.
        if (_style->minor && d == 6 && _chord_degree == 4) semis = 11;
        return _style->root + octave * 12 + semis;
    }

    std::vector<int> Chord(int degree) {
        _chord_degree = ((degree % 7) + 7) % 7;
        return {ScaleNote(degree), ScaleNote(degree + 2), ScaleNote(degree + 4)};
    }

    // A two-bar rhythm: onsets (rows within 32) of the tune.
    void MakeMotif() {
        static const std::vector<std::vector<int>> kRhythms = {
            {0, 4, 8, 12, 14, 16, 20, 24},
            {0, 6, 8, 12, 16, 18, 20, 24, 28},
            {0, 4, 6, 8, 16, 20, 22, 24},
            {0, 2, 4, 8, 12, 16, 24, 28},
            {0, 8, 12, 14, 16, 20, 24},
        };
        _motif_rhythm = kRhythms[static_cast<size_t>((_rng.Next() + 1.0f) * 0.5f * 4.999f)];
        _motif_steps.clear();
        for (size_t i = 0; i < _motif_rhythm.size(); ++i) {
            float r = _rng.Next();
            _motif_steps.push_back(r < -0.4f ? -1 : r < 0.0f ? 1 : r < 0.4f ? -2 : 2);
        }
    }

    // The scale step nearest to `midi` that belongs to the chord (for strong beats).
    int NearestChordTone(int midi, const std::vector<int>& chord) const {
        int best = midi, best_d = 99;
        for (int base : chord)
            for (int o = -2; o <= 3; ++o) {
                int c = base + o * 12;
                int d = std::abs(c - midi);
                if (d < best_d) {
                    best_d = d;
                    best = c;
                }
            }
        return best;
    }

    int StepScale(int midi, int steps) const {
        // Walk the scale from `midi` by whole scale steps.
        int degree = 0;
        int best_d = 99;
        for (int d = -14; d <= 28; ++d) {
            int dist = std::abs(ScaleNote(d) - midi);
            if (dist < best_d) {
                best_d = dist;
                degree = d;
            }
        }
        return ScaleNote(degree + steps);
    }

    void WriteBar(xm::Pattern& p, int bar, int degree, bool final_bar) {
        const Style& st = *_style;
        std::vector<int> chord = Chord(degree);
        const int row0 = bar * 16;

        // Pads: the triad voiced near the previous chord.
        for (int v = 0; v < 3; ++v) {
            int note = chord[static_cast<size_t>(v)];
            while (note < st.root - 2) note += 12;
            while (note > st.root + 10) note -= 12;
            Note(p.At(row0, kChPad0 + v), note, kPad, st.drums == 2 ? 26 : 30);
        }

        // Bass.
        int bass = chord[0] - 24;
        while (bass < 33) bass += 12;
        while (bass > 47) bass -= 12;
        int fifth = bass + (chord[2] - chord[0]);
        std::vector<std::pair<int, int>> bass_rows;
        if (st.drums == 0) bass_rows = {{0, bass}, {8, fifth}};
        else if (st.drums == 1) bass_rows = {{0, bass}, {6, bass}, {8, fifth}, {12, bass + 12}};
        else bass_rows = {{0, bass}, {2, bass}, {4, bass + 12}, {6, bass}, {8, fifth}, {10, bass}, {12, bass + 12}, {14, fifth}};
        for (auto [r, n] : bass_rows) Note(p.At(row0 + r, kChBass), n, kBass, 48);

        // Arpeggio over the chord, one octave up.
        const int arp_step = st.fast_arp ? 1 : 2;
        static const int kOrder[8] = {0, 1, 2, 3, 2, 1, 0, 1};
        for (int r = 0, i = 0; r < 16; r += arp_step, ++i) {
            int k = kOrder[i % 8];
            int note = (k == 3 ? chord[0] + 12 : chord[static_cast<size_t>(k)]) + 12;
            Note(p.At(row0 + r, kChArp), note, kPluck, st.fast_arp ? 14 : 20);
        }

        // Drums.
        if (st.drums >= 1) {
            Note(p.At(row0, kChDrum), 60, kKick, 56);
            Note(p.At(row0 + 4, kChDrum), 60, kSnare, 40);
            Note(p.At(row0 + 8, kChDrum), 60, kKick, 56);
            if (st.drums == 2) Note(p.At(row0 + 10, kChDrum), 60, kKick, 44);
            Note(p.At(row0 + 12, kChDrum), 60, kSnare, 40);
            for (int r = 0; r < 16; r += st.drums == 2 ? 1 : 2)
                Note(p.At(row0 + r, kChHat), 60, kHat, r % 4 == 0 ? 30 : 18);
        } else {
            Note(p.At(row0, kChDrum), 60, kKick, 36);
            for (int r = 4; r < 16; r += 8) Note(p.At(row0 + r, kChHat), 60, kHat, 14);
        }

        // The tune: the motif of two bars, pitched onto the chords.
        const int half = (bar % 2) * 16;
        for (size_t i = 0; i < _motif_rhythm.size(); ++i) {
            int r = _motif_rhythm[i] - half;
            if (r < 0 || r >= 16) continue;
            int n = StepScale(_last_lead, _motif_steps[i]);
            if (r % 4 == 0) n = NearestChordTone(n, chord);
            if (n < st.root + 7) n = StepScale(n, 3);
            if (n > st.root + 24) n = StepScale(n, -4);
            if (final_bar && r >= 8) n = NearestChordTone(st.root + 12, chord);
            _last_lead = n;
            Note(p.At(row0 + r, kChLead), n, st.lead, r % 4 == 0 ? 46 : 38);
        }
    }

    Noise _rng;
    const Style* _style = nullptr;
    int _chord_degree = 0;
    int _last_lead = 72;
    std::vector<int> _motif_rhythm;
    std::vector<int> _motif_steps;
};

xm::Module NewModule(const std::string& name) {
    xm::Module m;
    m.name = name;
    m.channels = kChannels;
    m.speed = 6;
    m.bpm = 110;
    m.instruments = Instruments();
    return m;
}

void WriteMenuMusic(const std::string& dir) {
    xm::Module m = NewModule("Vovaro menu");
    Composer c(7);
    // Track 0: the main menu, bright C major.
    c.AddTrack(m, {60, false, 100, kKeys, 1, false, 1001,
                   {{0, 5, 3, 4}, {0, 5, 1, 4}, {3, 4, 2, 5}, {3, 4, 0, 0}}});
    // Track 1: the episode selector, a calm music box in F major.
    c.AddTrack(m, {65, false, 88, kMusicBox, 0, false, 2002,
                   {{0, 3, 4, 0}, {5, 3, 1, 4}, {0, 2, 3, 4}, {5, 1, 4, 0}}});
    xm::Write(dir + "/Music/menu.xm", m);
}

void WriteGameMusic(const std::string& dir) {
    xm::Module m = NewModule("Vovaro levels");
    Composer c(11);
    // Tracks 0/1: calm and anxious mood of the first episodes.
    c.AddTrack(m, {67, false, 112, kKeys, 1, false, 3003,
                   {{0, 4, 5, 3}, {0, 4, 3, 4}, {5, 3, 0, 4}, {5, 3, 4, 0}}});
    c.AddTrack(m, {64, true, 132, kKeys, 2, true, 4004,
                   {{0, 5, 3, 4}, {0, 5, 6, 4}, {3, 0, 5, 4}, {3, 6, 4, 0}}});
    // Tracks 2/3: calm and anxious mood of the later episodes.
    c.AddTrack(m, {62, false, 108, kPluck, 1, false, 5005,
                   {{0, 3, 0, 4}, {5, 3, 1, 4}, {0, 3, 5, 4}, {1, 4, 3, 0}}});
    c.AddTrack(m, {59, true, 136, kKeys, 2, true, 6006,
                   {{0, 3, 4, 0}, {5, 3, 4, 4}, {0, 6, 5, 4}, {3, 5, 4, 0}}});
    xm::Write(dir + "/Music/game.xm", m);
}

// A slow ambient piece for streaming: pad chords with soft bells, in stereo.
void WriteAmbient(const std::string& dir) {
    constexpr int kRate = 44100;
    const double bar = 3.0;
    const std::vector<std::vector<int>> chords = {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62},
                                                  {57, 60, 64}, {53, 57, 60}, {50, 53, 57}, {52, 56, 59}};
    Signal left(kRate, bar * static_cast<double>(chords.size()));
    Signal right(kRate, left.Seconds());
    for (size_t i = 0; i < chords.size(); ++i) {
        double t0 = bar * static_cast<double>(i);
        for (size_t k = 0; k < chords[i].size(); ++k) {
            for (int side = 0; side < 2; ++side) {
                Tone t;
                t.start = t0;
                t.dur = bar + (i + 1 < chords.size() ? 0.4 : 0.0);
                t.f0 = t.f1 = NoteHz(chords[i][k]) * (side ? 1.002 : 0.998);
                t.wave = Wave::Triangle;
                t.gain = 0.18;
                t.attack = 0.8;
                t.decay = 4.0;
                t.vibrato_hz = 0.3 + 0.1 * static_cast<double>(k);
                t.vibrato_depth = 0.002;
                AddTone(side ? right : left, t);
            }
        }
        // A bell figure on top, alternating sides.
        int top = chords[i][2] + 12;
        AddBell(i % 2 ? right : left, t0 + 0.5, NoteHz(top), 2.0, 0.12, {1.0, 2.0, 3.01}, 0.8);
        AddBell(i % 2 ? left : right, t0 + 1.75, NoteHz(chords[i][0] + 24), 1.2, 0.1, {1.0, 2.0, 3.01}, 0.6);
    }
    Signal stereo(kRate, left.Seconds(), 2);
    for (size_t i = 0; i < left.Frames(); ++i) {
        stereo.s[i * 2] = left.s[i] + 0.3f * right.s[i];
        stereo.s[i * 2 + 1] = right.s[i] + 0.3f * left.s[i];
    }
    Finish(stereo, 0.7);
    WriteOgg(dir + "/Music/ambient.ogg", stereo, 0.3f);
}

void Generate(const std::string& data_dir) {
    WriteMenuMusic(data_dir);
    WriteGameMusic(data_dir);
    WriteAmbient(data_dir);
}

}  // namespace

ASSET_GENERATOR("music_tracks", Generate);
