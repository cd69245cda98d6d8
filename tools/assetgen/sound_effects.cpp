// The game's sound effects, synthesised: clicks, pops, whooshes, chimes,
// explosions and fanfares, written as WAV files under Sounds/ (the big fanfare
// as Ogg Vorbis). Settings/Samples.xml names them by alias.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "generator_registry.h"
#include "sound_synth.h"

namespace {

using namespace assetgen::synth;

constexpr int kRate = 44100;
// Peak level of every effect: half scale leaves headroom for the several sounds
// one move plays together (a kill with its match and combo chimes) over the music.
constexpr double kEffectPeak = 0.5;
const std::vector<double> kChime {1.0, 2.0, 3.0, 4.2};
const std::vector<double> kBellRatios {1.0, 2.76, 5.4, 8.93};
const std::vector<double> kMetal {1.0, 1.48, 2.13, 2.97, 3.86};

// A rising or falling run of chime notes (MIDI numbers), `step` seconds apart.
void Arpeggio(Signal& s, double start, const std::vector<int>& notes, double step, double ring, double gain,
              const std::vector<double>& ratios = kChime) {
    for (size_t i = 0; i < notes.size(); ++i)
        AddBell(s, start + step * static_cast<double>(i), NoteHz(notes[i]), ring, gain, ratios, ring * 0.35);
}

// A brass-like chord: detuned saws with a soft attack.
void BrassChord(Signal& s, double start, double dur, const std::vector<int>& notes, double gain) {
    for (int n : notes) {
        for (double detune : {0.997, 1.003}) {
            Tone t = MakeTone(start, dur, NoteHz(n) * detune, NoteHz(n) * detune, Wave::Saw, gain * 0.5, dur * 0.9, 0.03);
            t.vibrato_hz = 5.5;
            t.vibrato_depth = 0.004;
            AddTone(s, t);
        }
    }
}

void Explosion(Signal& s, double start, double size, uint32_t seed) {
    AddNoise(s, MakeNoise(start, 0.5 * size + 0.2, 5000, 150, 1.0, 0.18 * size, 0.002, seed, 0.1));
    AddTone(s, MakeTone(start, 0.4 * size, 90, 35, Wave::Sine, 0.9, 0.15 * size));
}

struct Effect {
    const char* file;
    double seconds;
    std::function<void(Signal&)> build;
};

std::vector<Effect> Effects() {
    return {
        {"ball_move", 0.22, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.22, 600, 3500, 0.6, 0.12, 0.05, 11, 0.5));
         }},
        {"ball_select", 0.09, [](Signal& s) {
             AddTone(s, MakeTone(0, 0.09, 1100, 900, Wave::Sine, 0.7, 0.025, 0.001));
             AddNoise(s, MakeNoise(0, 0.01, 6000, 6000, 0.3, 0.003, 0.0005, 12));
         }},
        {"mismatch", 0.32, [](Signal& s) {
             AddTone(s, MakeTone(0, 0.14, 330, 300, Wave::Square, 0.4, 0.08));
             AddTone(s, MakeTone(0.13, 0.19, 247, 220, Wave::Square, 0.4, 0.1));
         }},
        {"bll_dead", 0.25, [](Signal& s) {
             AddTone(s, MakeTone(0, 0.2, 900, 250, Wave::Sine, 0.8, 0.06, 0.001));
             AddNoise(s, MakeNoise(0, 0.12, 3000, 800, 0.4, 0.04, 0.001, 13));
         }},
        {"combo_bonus", 0.55, [](Signal& s) { Arpeggio(s, 0, {84, 88, 91, 96}, 0.06, 0.35, 0.5); }},
        {"match_bonus", 0.4, [](Signal& s) { Arpeggio(s, 0, {79, 86}, 0.07, 0.3, 0.5); }},
        {"pzl_ball_dead", 0.3, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.15, 2500, 1200, 0.8, 0.04, 0.001, 14, 0.6));
             AddTone(s, MakeTone(0, 0.25, 140, 70, Wave::Sine, 0.8, 0.08, 0.001));
         }},
        {"remove_lock", 0.4, [](Signal& s) {
             AddBell(s, 0, 620, 0.4, 0.6, kMetal, 0.09);
             AddNoise(s, MakeNoise(0, 0.03, 8000, 4000, 0.5, 0.01, 0.0005, 15));
         }},
        {"row_falling", 0.45, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.45, 2500, 200, 0.7, 0.2, 0.02, 16, 0.4));
             AddTone(s, MakeTone(0.3, 0.15, 110, 60, Wave::Sine, 0.6, 0.05, 0.002));
         }},
        {"on_bonus_add", 0.45, [](Signal& s) { Arpeggio(s, 0, {91, 96, 93, 98, 100}, 0.05, 0.2, 0.35); }},
        {"arte_appear", 0.9, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.8, 1500, 8000, 0.3, 0.5, 0.3, 17, 0.7));
             Arpeggio(s, 0.1, {72, 79, 84, 88, 91}, 0.1, 0.5, 0.35);
         }},
        {"arte_down", 0.7, [](Signal& s) { Arpeggio(s, 0, {91, 86, 83, 79}, 0.1, 0.4, 0.45); }},
        {"arte_fly", 0.5, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.5, 800, 6000, 0.6, 0.3, 0.15, 18, 0.6));
             AddTone(s, MakeTone(0, 0.5, 600, 1800, Wave::Sine, 0.2, 0.3, 0.1));
         }},
        {"arte_cell", 0.6, [](Signal& s) { AddBell(s, 0, NoteHz(88), 0.6, 0.7, kBellRatios, 0.2); }},
        {"treasure_fly_out", 1.1, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 1.0, 400, 7000, 0.6, 0.6, 0.3, 19, 0.6));
             Arpeggio(s, 0.3, {79, 84, 88, 91, 96}, 0.12, 0.4, 0.3);
         }},
        {"treasure_fly_in", 1.1, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.8, 6000, 400, 0.6, 0.5, 0.1, 20, 0.6));
             AddBell(s, 0.75, NoteHz(84), 0.35, 0.7, kBellRatios, 0.15);
         }},
        {"hammer_take", 0.14, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.05, 4000, 2000, 0.7, 0.015, 0.0005, 21, 0.5));
             AddTone(s, MakeTone(0.02, 0.12, 500, 420, Wave::Triangle, 0.5, 0.04, 0.001));
         }},
        {"hammer_return", 0.18, [](Signal& s) {
             AddTone(s, MakeTone(0, 0.18, 220, 140, Wave::Sine, 0.8, 0.05, 0.001));
             AddNoise(s, MakeNoise(0, 0.04, 2000, 800, 0.3, 0.01, 0.0005, 22));
         }},
        {"bll_dead_hammer", 0.45, [](Signal& s) {
             AddTone(s, MakeTone(0, 0.35, 160, 50, Wave::Sine, 1.0, 0.1, 0.001));
             AddNoise(s, MakeNoise(0, 0.3, 4000, 600, 0.8, 0.08, 0.0005, 23, 0.2));
             AddBell(s, 0, 900, 0.3, 0.25, kMetal, 0.06);
         }},
        {"hammer_appear", 0.6, [](Signal& s) { Arpeggio(s, 0, {72, 76, 79, 84}, 0.07, 0.4, 0.45, kMetal); }},
        {"feather_appear", 0.6, [](Signal& s) { Arpeggio(s, 0, {84, 88, 91, 96}, 0.06, 0.4, 0.4); }},
        {"egg_appear", 0.6, [](Signal& s) { Arpeggio(s, 0, {77, 81, 84, 89}, 0.07, 0.4, 0.45, kBellRatios); }},
        {"end_iter", 0.2, [](Signal& s) { AddTone(s, MakeTone(0, 0.2, 520, 780, Wave::Sine, 0.7, 0.07, 0.003)); }},
        {"warning", 0.45, [](Signal& s) {
             AddTone(s, MakeTone(0, 0.16, 880, 880, Wave::Square, 0.35, 0.0, 0.005));
             AddTone(s, MakeTone(0.22, 0.16, 698, 698, Wave::Square, 0.35, 0.0, 0.005));
         }},
        {"lev_complete_bonus", 0.3, [](Signal& s) {
             AddBell(s, 0, NoteHz(88), 0.1, 0.5, kChime, 0.05);
             AddBell(s, 0.06, NoteHz(95), 0.24, 0.6, kChime, 0.1);
         }},
        {"btn_enter", 0.05, [](Signal& s) {
             AddTone(s, MakeTone(0, 0.05, 2000, 1700, Wave::Sine, 0.5, 0.012, 0.0005));
         }},
        {"int_panel_open", 0.35, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.35, 500, 2500, 0.7, 0.15, 0.08, 24, 0.55));
         }},
        {"int_panel_move", 0.4, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.4, 2800, 500, 0.7, 0.2, 0.06, 25, 0.55));
         }},
        {"lives_up", 0.5, [](Signal& s) { Arpeggio(s, 0, {72, 76, 79, 84}, 0.08, 0.3, 0.45); }},
        {"lives_down", 0.6, [](Signal& s) {
             AddTone(s, MakeTone(0, 0.2, NoteHz(67), NoteHz(67), Wave::Triangle, 0.5, 0.15));
             AddTone(s, MakeTone(0.18, 0.2, NoteHz(63), NoteHz(63), Wave::Triangle, 0.5, 0.15));
             AddTone(s, MakeTone(0.36, 0.24, NoteHz(60), NoteHz(58), Wave::Triangle, 0.5, 0.2));
         }},
        {"bonus_life", 0.8, [](Signal& s) {
             BrassChord(s, 0, 0.15, {67, 72}, 0.25);
             BrassChord(s, 0.16, 0.6, {72, 76, 79}, 0.25);
             Arpeggio(s, 0.16, {96}, 0.1, 0.5, 0.25);
         }},
        {"lev_started", 1.1, [](Signal& s) {
             BrassChord(s, 0, 0.12, {67}, 0.3);
             BrassChord(s, 0.13, 0.12, {67}, 0.3);
             BrassChord(s, 0.26, 0.12, {67}, 0.3);
             BrassChord(s, 0.4, 0.7, {72, 76, 79}, 0.3);
         }},
        {"episode_complete", 2.2, [](Signal& s) {
             BrassChord(s, 0, 0.3, {60, 64, 67}, 0.25);
             BrassChord(s, 0.3, 0.3, {65, 69, 72}, 0.25);
             BrassChord(s, 0.6, 0.3, {67, 71, 74}, 0.25);
             BrassChord(s, 0.9, 1.3, {72, 76, 79, 84}, 0.25);
             Arpeggio(s, 0.9, {84, 88, 91, 96}, 0.08, 0.8, 0.2);
         }},
        {"int_label_counter", 0.035, [](Signal& s) {
             AddTone(s, MakeTone(0, 0.035, 3000, 3000, Wave::Sine, 0.4, 0.008, 0.0005));
         }},
        // Sounds that the data files of the field, the dialogs and the bonuses name.
        {"bonus_dynamite", 1.0, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.25, 3000, 6000, 0.2, 0.2, 0.01, 26, 0.2, true));
             Explosion(s, 0.2, 1.3, 27);
         }},
        {"bonus_burner", 0.9, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.9, 700, 2500, 0.8, 0.5, 0.1, 28, 0.7));
             AddNoise(s, MakeNoise(0, 0.9, 5000, 3000, 0.2, 0.4, 0.05, 29, 0.1, true));
         }},
        {"bonus_lightning", 0.8, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.08, 9000, 5000, 0.8, 0.03, 0.0005, 30, 0.1, true));
             AddTone(s, MakeTone(0, 0.5, 1200, 90, Wave::Saw, 0.3, 0.12, 0.001));
             AddNoise(s, MakeNoise(0.05, 0.7, 1500, 100, 0.8, 0.25, 0.01, 31, 0.3));
         }},
        {"bonus_mixer", 0.9, [](Signal& s) {
             Tone t = MakeTone(0, 0.9, 300, 900, Wave::Triangle, 0.5, 0.6, 0.05);
             t.vibrato_hz = 9;
             t.vibrato_depth = 0.08;
             AddTone(s, t);
             AddNoise(s, MakeNoise(0, 0.9, 800, 3000, 0.4, 0.5, 0.1, 32, 0.7));
         }},
        {"bonus_killer", 0.6, [](Signal& s) {
             AddTone(s, MakeTone(0, 0.6, 1500, 200, Wave::Square, 0.35, 0.2, 0.002));
             Explosion(s, 0.3, 0.5, 33);
         }},
        {"bonus_slowdown", 1.0, [](Signal& s) {
             Tone t = MakeTone(0, 1.0, 600, 150, Wave::Sine, 0.6, 0.6, 0.02);
             t.vibrato_hz = 4;
             t.vibrato_depth = 0.03;
             AddTone(s, t);
             AddBell(s, 0, 300, 1.0, 0.3, kBellRatios, 0.4);
         }},
        {"feather_use", 0.6, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.5, 3000, 7000, 0.4, 0.3, 0.1, 34, 0.7));
             Arpeggio(s, 0.05, {96, 91, 88}, 0.08, 0.3, 0.3);
         }},
        {"egg_use", 0.5, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.12, 3500, 1500, 0.8, 0.03, 0.0005, 35, 0.4));
             AddTone(s, MakeTone(0.05, 0.4, 700, 1400, Wave::Sine, 0.4, 0.2, 0.01));
         }},
        {"arte_show", 0.5, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.5, 400, 3000, 0.6, 0.3, 0.1, 36, 0.6));
             AddBell(s, 0.3, NoteHz(79), 0.2, 0.3, kChime, 0.08);
         }},
        {"arte_hide", 0.5, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.5, 3000, 400, 0.6, 0.3, 0.05, 37, 0.6));
         }},
        {"arte_color", 1.2, [](Signal& s) {
             Arpeggio(s, 0, {72, 79, 84, 88, 91, 96}, 0.08, 0.7, 0.3, kBellRatios);
         }},
        {"arte_blink", 0.4, [](Signal& s) { AddBell(s, 0, NoteHz(93), 0.4, 0.5, kChime, 0.12); }},
        {"arte_glow", 0.9, [](Signal& s) {
             Tone t = MakeTone(0, 0.9, NoteHz(84), NoteHz(84), Wave::Sine, 0.4, 0.0, 0.3);
             t.vibrato_hz = 6;
             t.vibrato_depth = 0.01;
             AddTone(s, t);
             AddTone(s, MakeTone(0, 0.9, NoteHz(91), NoteHz(91), Wave::Sine, 0.25, 0.0, 0.4));
         }},
        {"goal_blink", 0.25, [](Signal& s) { Arpeggio(s, 0, {84, 91}, 0.05, 0.15, 0.4); }},
        {"salute", 1.2, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.35, 1000, 5000, 0.3, 0.2, 0.05, 38, 0.5, true));
             Explosion(s, 0.35, 0.8, 39);
             AddNoise(s, MakeNoise(0.45, 0.7, 7000, 3000, 0.4, 0.25, 0.01, 40, 0.1, true));
         }},
        {"hammer_immortal", 0.45, [](Signal& s) {
             AddBell(s, 0, 420, 0.45, 0.7, kMetal, 0.15);
             AddTone(s, MakeTone(0, 0.2, 120, 80, Wave::Sine, 0.5, 0.06, 0.001));
         }},
        {"bird_flap", 0.3, [](Signal& s) {
             AddNoise(s, MakeNoise(0, 0.1, 900, 500, 0.6, 0.04, 0.01, 41, 0.4));
             AddNoise(s, MakeNoise(0.15, 0.1, 900, 500, 0.6, 0.04, 0.01, 42, 0.4));
         }},
        {"bird_chirp", 0.35, [](Signal& s) {
             AddTone(s, MakeTone(0, 0.08, 2500, 4200, Wave::Sine, 0.5, 0.05, 0.005));
             AddTone(s, MakeTone(0.12, 0.1, 2800, 4600, Wave::Sine, 0.5, 0.06, 0.005));
         }},
        {"bird_hit", 0.4, [](Signal& s) {
             AddTone(s, MakeTone(0, 0.25, 3000, 1200, Wave::Sine, 0.5, 0.1, 0.002));
             AddNoise(s, MakeNoise(0, 0.15, 2000, 600, 0.5, 0.05, 0.001, 43, 0.3));
         }},
        {"panel_activate", 0.3, [](Signal& s) { Arpeggio(s, 0, {79, 84}, 0.05, 0.25, 0.4); }},
        {"btn_down", 0.07, [](Signal& s) {
             AddTone(s, MakeTone(0, 0.07, 1400, 1000, Wave::Triangle, 0.6, 0.02, 0.0005));
             AddNoise(s, MakeNoise(0, 0.015, 5000, 3000, 0.3, 0.005, 0.0005, 44));
         }},
        {"episode_start", 1.4, [](Signal& s) {
             BrassChord(s, 0, 0.35, {65, 69, 72}, 0.25);
             BrassChord(s, 0.35, 1.0, {67, 71, 74}, 0.25);
             Arpeggio(s, 0.35, {86, 91}, 0.1, 0.6, 0.2);
         }},
    };
}

// The closing fanfare, long enough to be worth compressing.
Signal Congratulations() {
    Signal s(kRate, 3.2);
    const double beat = 0.2;
    BrassChord(s, 0 * beat, beat * 0.9, {67, 72}, 0.25);
    BrassChord(s, 1 * beat, beat * 0.9, {67, 72}, 0.25);
    BrassChord(s, 2 * beat, beat * 0.9, {67, 72}, 0.25);
    BrassChord(s, 3 * beat, beat * 2.8, {68, 72, 75}, 0.25);
    BrassChord(s, 6 * beat, beat * 2.8, {70, 74, 77}, 0.25);
    BrassChord(s, 9 * beat, beat * 6.5, {72, 76, 79, 84}, 0.25);
    Arpeggio(s, 9 * beat, {84, 88, 91, 96, 100}, 0.07, 1.2, 0.18);
    AddTone(s, MakeTone(9 * beat, 0.6, 70, 40, Wave::Sine, 0.5, 0.2, 0.002));
    Finish(s, kEffectPeak);
    return s;
}

void Generate(const std::string& data_dir) {
    for (const Effect& e : Effects()) {
        Signal s(kRate, e.seconds);
        e.build(s);
        Finish(s, kEffectPeak);
        WriteWav(data_dir + "/Sounds/" + e.file + ".wav", s);
    }
    WriteOgg(data_dir + "/Sounds/congratulations.ogg", Congratulations(), 0.5f);
}

}  // namespace

ASSET_GENERATOR("sound_effects", Generate);
