// The level music of the five episodes (Music\episode1.xm .. episode5.xm),
// each its own tune in its own key, metre and band, with a calm track from
// order 0 and an anxious one on the same tune after it (Settings\Music.xml
// registers each file twice, "episodeN_calm" and "episodeN_anxious", so the
// two moods play on channels of their own and cross-fade):
//   1 the meadow: G major, 4/4, flute and marimba;
//   2 the orchard: F major, 6/8, accordion in thirds and guitar;
//   3 the marsh: D dorian, 4/4, clarinet, choir and a celesta's drips;
//   4 the dusk forest: A minor, a waltz, oboe, harp and pizzicato;
//   5 the winter night: E minor, 4/4, celesta, glockenspiel, choir and sleigh bells.
#include <string>

#include "generator_registry.h"
#include "image_writer.h"
#include "music_episode_composer.h"

namespace assetgen::music {

namespace {

// Four-bar sections in common time: a form of A B A B.
const std::vector<int> kFormAB = {0, 1, 0, 1};
// Bars of six-eight and three-four are shorter: A B A C, where C leads back to A.
const std::vector<int> kFormABAC = {0, 1, 0, 2};

Song Meadow() {
    Song s;
    s.title = "Vovaro meadow";
    s.tonic = 67;  // G4
    s.mode = Mode::Major;
    s.rows_per_bar = 16;
    s.sections = {
        {"4:4 2:2 4:2 7:6 6:2 | 5:4 3:2 5:2 7:4 5:4 | 4:4 2:4 1:4 3:4 | 1:8 r:8", "0 3 0,4 4"},
        {"4:2 5:2 6:2 7:2 9:8 | 7:4 5:4 3:4 5:4 | 5:4 3:4 6:4 5:2 4:2 | 7:12 r:4", "5 3 1,4 0"},
    };
    s.form = kFormAB;
    s.kit = {{'k', {"kick", 44}}, {'K', {"kick", 54}}, {'s', {"rim", 30}}, {'S', {"snare", 38}},
             {'h', {"shaker", 22}}, {'H', {"shaker", 32}}, {'x', {"hat", 20}}, {'X', {"hat", 30}}};
    Groove& calm = s.calm;
    calm.bpm = 100;
    calm.lead = {"flute", 44, 0};
    calm.counter = {"flute", 28, 0};
    calm.counter_mode = "third";
    calm.pad = {"strings", 18, 0};
    calm.bass = {"bass_pluck", 40, 0};
    calm.bass_rows = "R.......F.......";
    calm.arp = {"marimba", 22, 0};
    calm.arp_rows = "0.2.3.2.1.2.3.2.";
    calm.drums = {"k.......k.......", "....s.......s...", "..h...H...h...H."};
    Groove& anxious = s.anxious;
    anxious.bpm = 128;
    anxious.lead = {"flute", 46, 0};
    anxious.counter = {"marimba", 24, 1};
    anxious.counter_mode = "echo";
    anxious.pad = {"strings", 14, 0};
    anxious.bass = {"bass_pluck", 42, 0};
    anxious.bass_rows = "R.R.O.R.F.R.O.R.";
    anxious.arp = {"marimba", 16, 0};
    anxious.arp_rows = "0123012301230123";
    anxious.drums = {"K...k...K...k.k.", "....S.......S..S", "xxXxxxXxxxXxxxXx"};
    anxious.fill = {"K...k...K...k...", "....S...S.S.SSSS", "xxXxxxXxxxXxxxXx"};
    return s;
}

Song Orchard() {
    Song s;
    s.title = "Vovaro orchard";
    s.tonic = 65;  // F4
    s.mode = Mode::Major;
    s.rows_per_bar = 12;
    s.sections = {
        {"0:2 2:2 4:2 7:4 4:2 | 5:4 3:2 5:2 7:2 5:2 | 4:2 2:2 4:2 2:2 0:2 2:2 | 1:6 4:4 r:2", "0 3 0 4"},
        {"5:2 6:2 7:2 9:4 7:2 | 7:4 5:2 3:4 5:2 | 4:2 6:2 8:2 7:2 6:2 4:2 | 7:6 r:2 4:2 2:2", "5 3 4 0"},
        {"9:4 8:2 7:4 5:2 | 8:4 5:2 1:6 | 7:4 5:2 3:4 5:2 | 4:12", "5 1 3 4"},
    };
    s.form = kFormABAC;
    s.kit = {{'k', {"kick", 40}}, {'K', {"kick", 50}}, {'t', {"tambourine", 22}}, {'T', {"tambourine", 32}},
             {'w', {"woodblock", 24}}, {'W', {"woodblock", 32}}};
    Groove& calm = s.calm;
    calm.bpm = 104;
    calm.lead = {"accordion", 38, 0};
    calm.counter = {"accordion", 26, 0};
    calm.counter_mode = "third";
    calm.pad = {"warm_pad", 14, 0};
    calm.bass = {"bass_pluck", 42, 0};
    calm.bass_rows = "R.....F.....";
    calm.arp = {"guitar", 24, -1};
    calm.arp_rows = "..1.2...1.2.";
    calm.drums = {"k.....k.....", "..t.t...t.t.", "w..........."};
    Groove& anxious = s.anxious;
    anxious.bpm = 136;
    anxious.lead = {"accordion", 42, 0};
    anxious.counter = {"accordion", 28, 0};
    anxious.counter_mode = "third";
    anxious.pad = {"warm_pad", 12, 0};
    anxious.bass = {"bass_pluck", 44, 0};
    anxious.bass_rows = "R.R.O.F.R.O.";
    anxious.arp = {"guitar", 20, -1};
    anxious.arp_rows = "0.1.2.3.1.2.";
    anxious.drums = {"K.....K.k...", "T.t.t.T.t.t.", "...w.....W.w"};
    anxious.fill = {"K.....K.....", "T.t.t.T.T.TT", "...w..w.W.WW"};
    return s;
}

Song Marsh() {
    Song s;
    s.title = "Vovaro marsh";
    s.tonic = 62;  // D4
    s.mode = Mode::Dorian;
    s.rows_per_bar = 16;
    s.sections = {
        {"0:4 2:4 4:6 3:2 | 5:4 4:4 3:8 | 4:4 2:4 0:4 2:4 | 1:12 r:4", "0 3 0 6"},
        {"9:4 7:4 6:4 4:4 | 5:6 4:2 3:8 | 4:4 6:4 8:4 7:4 | 7:12 r:4", "2 3 4 0"},
    };
    s.form = kFormAB;
    s.kit = {{'f', {"frame_drum", 40}}, {'F', {"frame_drum", 50}}, {'s', {"shaker", 20}}, {'S', {"shaker", 30}},
             {'r', {"rim", 22}}, {'t', {"tom", 34}}};
    Groove& calm = s.calm;
    calm.bpm = 84;
    calm.lead = {"clarinet", 42, 0};
    calm.counter = {"celesta", 18, 0};
    calm.counter_mode = "echo";
    calm.pad = {"choir", 22, 0};
    calm.bass = {"bass_round", 34, 0};
    calm.bass_rows = "R.......R...F...";
    calm.arp = {"celesta", 16, 0};
    calm.arp_rows = "3.....2.....1...";
    calm.drums = {"f.........f.....", "....s.......S..."};
    Groove& anxious = s.anxious;
    anxious.bpm = 112;
    anxious.lead = {"clarinet", 44, 0};
    anxious.counter = {"clarinet", 26, 0};
    anxious.counter_mode = "third";
    anxious.pad = {"choir", 16, 0};
    anxious.bass = {"bass_round", 36, 0};
    anxious.bass_rows = "R..R..R.F..F..O.";
    anxious.arp = {"celesta", 12, 0};
    anxious.arp_rows = "0123012301230123";
    anxious.drums = {"F..f..F.f..f..t.", "sSssSsssSsssSsss", "....r.......r..."};
    anxious.fill = {"F..f..F.t.t.tttt", "sSssSsssSsssSsss", "....r.......r..."};
    return s;
}

Song DuskForest() {
    Song s;
    s.title = "Vovaro dusk forest";
    s.tonic = 69;  // A4
    s.mode = Mode::Minor;
    s.rows_per_bar = 12;
    s.sections = {
        {"4:8 2:2 4:2 | 5:8 3:4 | 4:4 2:4 0:4 | 1:8 r:4", "0 3 0 4"},
        {"7:8 5:4 | 6:4 4:4 2:4 | 3:4 5:2 4:2 -1#:4 | 0:8 r:4", "5 2 3,4 0"},
        {"5:4 7:4 9:4 | 8:8 6:4 | 6:4 4:4 2:4 | 1:4 4:4 6#:4", "5 6 2 4"},
    };
    s.form = kFormABAC;
    s.kit = {{'k', {"kick", 34}}, {'K', {"kick", 46}}, {'h', {"hat", 18}}, {'H', {"hat", 26}},
             {'s', {"snare", 30}}, {'t', {"tom", 34}}, {'T', {"tom", 44}}};
    Groove& calm = s.calm;
    calm.bpm = 112;
    calm.lead = {"oboe", 38, 0};
    calm.counter = {"harp", 22, 0};
    calm.counter_mode = "echo";
    calm.pad = {"strings", 18, 0};
    calm.bass = {"pizzicato", 44, 0};
    calm.bass_rows = "R...........";
    calm.arp = {"harp", 22, -1};
    calm.arp_rows = "0.1.2.3.2.1.";
    calm.drums = {"k...........", "....h...h..."};
    Groove& anxious = s.anxious;
    anxious.bpm = 144;
    anxious.lead = {"oboe", 42, 0};
    anxious.counter = {"oboe", 26, 0};
    anxious.counter_mode = "third";
    anxious.pad = {"strings", 14, 0};
    anxious.bass = {"pizzicato", 46, 0};
    anxious.bass_rows = "R...F...O...";
    anxious.arp = {"harp", 16, -1};
    anxious.arp_rows = "012301230123";
    anxious.drums = {"T.....t.t...", "....s...s...", "hhHhhhHhhhHh"};
    anxious.fill = {"T.....t.t.tt", "....s...s.ss", "hhHhhhHhhhHh"};
    return s;
}

Song WinterNight() {
    Song s;
    s.title = "Vovaro winter night";
    s.tonic = 64;  // E4
    s.mode = Mode::Minor;
    s.rows_per_bar = 16;
    s.sections = {
        {"7:4 4:4 6:2 7:2 9:4 | 9:6 7:2 5:8 | 6:4 4:4 2:4 4:4 | 3:12 r:4", "0 5 2 6"},
        {"5:4 3:4 7:8 | 6:4 4:4 2:8 | 4:4 5:4 7:4 5:4 | 6#:8 r:4 1:4", "3 0 5 4"},
    };
    s.form = kFormAB;
    s.kit = {{'k', {"kick", 32}}, {'K', {"kick", 46}}, {'j', {"sleigh_bells", 22}}, {'J', {"sleigh_bells", 32}},
             {'s', {"snare", 30}}, {'t', {"tom", 36}}, {'f', {"frame_drum", 36}}};
    Groove& calm = s.calm;
    calm.bpm = 80;
    calm.lead = {"celesta", 46, 0};
    calm.counter = {"glockenspiel", 16, 1};
    calm.counter_mode = "echo";
    calm.pad = {"choir", 24, 0};
    calm.bass = {"bass_round", 32, 0};
    calm.bass_rows = "R.......F.......";
    calm.arp = {"harp", 22, 0};
    calm.arp_rows = "0...1...2...3...";
    calm.drums = {"f...............", "....j.......J..."};
    Groove& anxious = s.anxious;
    anxious.bpm = 108;
    anxious.lead = {"celesta", 48, 0};
    anxious.counter = {"glockenspiel", 22, 0};
    anxious.counter_mode = "third";
    anxious.pad = {"choir", 18, 0};
    anxious.bass = {"bass_round", 34, 0};
    anxious.bass_rows = "R.R.R.R.R.R.F.F.";
    anxious.arp = {"harp", 14, 0};
    anxious.arp_rows = "0123012301230123";
    anxious.drums = {"K.....k...K.....", "....s.......s...", "j.J.j.J.j.J.j.J."};
    anxious.fill = {"K.....k...t.t.tt", "....s...s.s.ssss", "j.J.j.J.j.J.j.J."};
    return s;
}

void Generate(const std::string& data_dir) {
    const Song songs[] = {Meadow(), Orchard(), Marsh(), DuskForest(), WinterNight()};
    for (size_t i = 0; i < std::size(songs); ++i)
        xm::Write(DataPath(data_dir, "Music\\episode" + std::to_string(i + 1) + ".xm"), Compose(songs[i]));
}

}  // namespace

ASSET_GENERATOR("music_episodes", Generate);

}  // namespace assetgen::music
