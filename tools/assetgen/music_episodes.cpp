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
    return {
        .title = "Vovaro meadow",
        .tonic = 67,  // G4
        .mode = Mode::Major,
        .rows_per_bar = 16,
        .sections = {
            {"4:4 2:2 4:2 7:6 6:2 | 5:4 3:2 5:2 7:4 5:4 | 4:4 2:4 1:4 3:4 | 1:8 r:8", "0 3 0,4 4"},
            {"4:2 5:2 6:2 7:2 9:8 | 7:4 5:4 3:4 5:4 | 5:4 3:4 6:4 5:2 4:2 | 7:12 r:4", "5 3 1,4 0"},
        },
        .form = kFormAB,
        .kit = {{'k', {"kick", 44}}, {'K', {"kick", 54}}, {'s', {"rim", 30}}, {'S', {"snare", 38}},
                {'h', {"shaker", 22}}, {'H', {"shaker", 32}}, {'x', {"hat", 20}}, {'X', {"hat", 30}}},
        .calm = {
            .bpm = 100, .lead = {"flute", 50, 0}, .counter = {"flute", 28, 0}, .counter_mode = "third",
            .pad = {"strings", 22, 0}, .bass = {"bass_pluck", 40, 0}, .bass_rows = "R.......F.......",
            .arp = {"marimba", 22, 0}, .arp_rows = "0.2.3.2.1.2.3.2.",
            .drums = {"k.......k.......", "....s.......s...", "..h...H...h...H."}, .fill = {},
        },
        .anxious = {
            .bpm = 128, .lead = {"flute", 52, 0}, .counter = {"marimba", 24, 1}, .counter_mode = "echo",
            .pad = {"strings", 18, 0}, .bass = {"bass_pluck", 42, 0}, .bass_rows = "R.R.O.R.F.R.O.R.",
            .arp = {"marimba", 16, 0}, .arp_rows = "0123012301230123",
            .drums = {"K...k...K...k.k.", "....S.......S..S", "xxXxxxXxxxXxxxXx"},
            .fill = {"K...k...K...k...", "....S...S.S.SSSS", "xxXxxxXxxxXxxxXx"},
        },
    };
}

Song Orchard() {
    return {
        .title = "Vovaro orchard",
        .tonic = 65,  // F4
        .mode = Mode::Major,
        .rows_per_bar = 12,
        .sections = {
            {"0:2 2:2 4:2 7:4 4:2 | 5:4 3:2 5:2 7:2 5:2 | 4:2 2:2 4:2 2:2 0:2 2:2 | 1:6 4:4 r:2", "0 3 0 4"},
            {"5:2 6:2 7:2 9:4 7:2 | 7:4 5:2 3:4 5:2 | 4:2 6:2 8:2 7:2 6:2 4:2 | 7:6 r:2 4:2 2:2", "5 3 4 0"},
            {"9:4 8:2 7:4 5:2 | 8:4 5:2 1:6 | 7:4 5:2 3:4 5:2 | 4:12", "5 1 3 4"},
        },
        .form = kFormABAC,
        .kit = {{'k', {"kick", 40}}, {'K', {"kick", 50}}, {'t', {"tambourine", 22}}, {'T', {"tambourine", 32}},
                {'w', {"woodblock", 24}}, {'W', {"woodblock", 32}}},
        .calm = {
            .bpm = 104, .lead = {"accordion", 44, 0}, .counter = {"accordion", 26, 0}, .counter_mode = "third",
            .pad = {"warm_pad", 18, 0}, .bass = {"bass_pluck", 42, 0}, .bass_rows = "R.....F.....",
            .arp = {"guitar", 24, -1}, .arp_rows = "..1.2...1.2.",
            .drums = {"k.....k.....", "..t.t...t.t.", "w..........."}, .fill = {},
        },
        .anxious = {
            .bpm = 136, .lead = {"accordion", 48, 0}, .counter = {"accordion", 28, 0}, .counter_mode = "third",
            .pad = {"warm_pad", 16, 0}, .bass = {"bass_pluck", 44, 0}, .bass_rows = "R.R.O.F.R.O.",
            .arp = {"guitar", 20, -1}, .arp_rows = "0.1.2.3.1.2.",
            .drums = {"K.....K.k...", "T.t.t.T.t.t.", "...w.....W.w"},
            .fill = {"K.....K.....", "T.t.t.T.T.TT", "...w..w.W.WW"},
        },
    };
}

Song Marsh() {
    return {
        .title = "Vovaro marsh",
        .tonic = 62,  // D4
        .mode = Mode::Dorian,
        .rows_per_bar = 16,
        .sections = {
            {"0:4 2:4 4:6 3:2 | 5:4 4:4 3:8 | 4:4 2:4 0:4 2:4 | 1:12 r:4", "0 3 0 6"},
            {"9:4 7:4 6:4 4:4 | 5:6 4:2 3:8 | 4:4 6:4 8:4 7:4 | 7:12 r:4", "2 3 4 0"},
        },
        .form = kFormAB,
        .kit = {{'f', {"frame_drum", 40}}, {'F', {"frame_drum", 50}}, {'s', {"shaker", 20}}, {'S', {"shaker", 30}},
                {'r', {"rim", 22}}, {'t', {"tom", 34}}},
        .calm = {
            .bpm = 84, .lead = {"clarinet", 48, 0}, .counter = {"celesta", 18, 0}, .counter_mode = "echo",
            .pad = {"choir", 26, 0}, .bass = {"bass_round", 34, 0}, .bass_rows = "R.......R...F...",
            .arp = {"celesta", 16, 0}, .arp_rows = "3.....2.....1...",
            .drums = {"f.........f.....", "....s.......S..."}, .fill = {},
        },
        .anxious = {
            .bpm = 112, .lead = {"clarinet", 50, 0}, .counter = {"clarinet", 26, 0}, .counter_mode = "third",
            .pad = {"choir", 20, 0}, .bass = {"bass_round", 36, 0}, .bass_rows = "R..R..R.F..F..O.",
            .arp = {"celesta", 12, 0}, .arp_rows = "0123012301230123",
            .drums = {"F..f..F.f..f..t.", "sSssSsssSsssSsss", "....r.......r..."},
            .fill = {"F..f..F.t.t.tttt", "sSssSsssSsssSsss", "....r.......r..."},
        },
    };
}

Song DuskForest() {
    return {
        .title = "Vovaro dusk forest",
        .tonic = 69,  // A4
        .mode = Mode::Minor,
        .rows_per_bar = 12,
        .sections = {
            {"4:8 2:2 4:2 | 5:8 3:4 | 4:4 2:4 0:4 | 1:8 r:4", "0 3 0 4"},
            {"7:8 5:4 | 6:4 4:4 2:4 | 3:4 5:2 4:2 -1#:4 | 0:8 r:4", "5 2 3,4 0"},
            {"5:4 7:4 9:4 | 8:8 6:4 | 6:4 4:4 2:4 | 1:4 4:4 6#:4", "5 6 2 4"},
        },
        .form = kFormABAC,
        .kit = {{'k', {"kick", 34}}, {'K', {"kick", 46}}, {'h', {"hat", 18}}, {'H', {"hat", 26}},
                {'s', {"snare", 30}}, {'t', {"tom", 34}}, {'T', {"tom", 44}}},
        .calm = {
            .bpm = 112, .lead = {"oboe", 50, 0}, .counter = {"harp", 24, 0}, .counter_mode = "echo",
            .pad = {"strings", 22, 0}, .bass = {"pizzicato", 48, 0}, .bass_rows = "R...........",
            .arp = {"harp", 26, -1}, .arp_rows = "0.1.2.3.2.1.", .drums = {"k...........", "....h...h..."},
            .fill = {},
        },
        .anxious = {
            .bpm = 144, .lead = {"oboe", 48, 0}, .counter = {"oboe", 26, 0}, .counter_mode = "third",
            .pad = {"strings", 18, 0}, .bass = {"pizzicato", 46, 0}, .bass_rows = "R...F...O...",
            .arp = {"harp", 16, -1}, .arp_rows = "012301230123",
            .drums = {"T.....t.t...", "....s...s...", "hhHhhhHhhhHh"},
            .fill = {"T.....t.t.tt", "....s...s.ss", "hhHhhhHhhhHh"},
        },
    };
}

Song WinterNight() {
    return {
        .title = "Vovaro winter night",
        .tonic = 64,  // E4
        .mode = Mode::Minor,
        .rows_per_bar = 16,
        .sections = {
            {"7:4 4:4 6:2 7:2 9:4 | 9:6 7:2 5:8 | 6:4 4:4 2:4 4:4 | 3:12 r:4", "0 5 2 6"},
            {"5:4 3:4 7:8 | 6:4 4:4 2:8 | 4:4 5:4 7:4 5:4 | 6#:8 r:4 1:4", "3 0 5 4"},
        },
        .form = kFormAB,
        .kit = {{'k', {"kick", 32}}, {'K', {"kick", 46}}, {'j', {"sleigh_bells", 22}}, {'J', {"sleigh_bells", 32}},
                {'s', {"snare", 30}}, {'t', {"tom", 36}}, {'f', {"frame_drum", 36}}},
        .calm = {
            .bpm = 80, .lead = {"celesta", 52, 0}, .counter = {"glockenspiel", 16, 1}, .counter_mode = "echo",
            .pad = {"choir", 28, 0}, .bass = {"bass_round", 32, 0}, .bass_rows = "R.......F.......",
            .arp = {"harp", 22, 0}, .arp_rows = "0...1...2...3...",
            .drums = {"f...............", "....j.......J..."}, .fill = {},
        },
        .anxious = {
            .bpm = 108, .lead = {"celesta", 54, 0}, .counter = {"glockenspiel", 22, 0}, .counter_mode = "third",
            .pad = {"choir", 22, 0}, .bass = {"bass_round", 34, 0}, .bass_rows = "R.R.R.R.R.R.F.F.",
            .arp = {"harp", 14, 0}, .arp_rows = "0123012301230123",
            .drums = {"K.....k...K.....", "....s.......s...", "j.J.j.J.j.J.j.J."},
            .fill = {"K.....k...t.t.tt", "....s...s.s.ssss", "j.J.j.J.j.J.j.J."},
        },
    };
}

void Generate(const std::string& data_dir) {
    const Song songs[] = {Meadow(), Orchard(), Marsh(), DuskForest(), WinterNight()};
    for (size_t i = 0; i < std::size(songs); ++i)
        xm::Write(DataPath(data_dir, "Music\\episode" + std::to_string(i + 1) + ".xm"), Compose(songs[i]));
}

}  // namespace

ASSET_GENERATOR("music_episodes", Generate);

}  // namespace assetgen::music
