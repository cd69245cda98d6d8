#pragma once
// Arranges a hand-written tune into an XM module with two tracks: the calm
// mood from order 0 and the anxious mood after it, each a run of patterns
// that jumps back to its own first order, so both loop for as long as they
// play. The two moods share the tune and the chords; the anxious one has its
// own tempo, instruments and busier bass, arpeggio and drums.
//
// Tune notation: a melody is a list of tokens "degree:rows" (scale degree
// from the tonic, 0-based, may be negative, with an optional '#' or 'b';
// "r:rows" rests), bars separated by '|'; 4 rows make a beat. Chords name
// one scale degree a bar, or two separated by ',' for the bar's halves.
#include <map>
#include <string>
#include <vector>

#include "music_xm_writer.h"

namespace assetgen::music {

enum class Mode { Major, Minor, Dorian };

// Four bars of the tune: one pattern.
struct Section {
    std::string melody;
    std::string chords;
};

struct Voice {
    std::string instrument;  // empty: the voice is silent
    int volume = 40;         // 0..64
    int octave = 0;          // shift from the voice's usual register
};

// A drum hit: the instrument and its volume.
struct Hit {
    std::string instrument;
    int volume = 40;
};

// One mood's arrangement. The row strings cover one bar.
struct Groove {
    int bpm = 120;
    Voice lead, counter;
    // What the counter voice plays on a section's repeat: "third" (a diatonic
    // third under the tune) or "echo" (the tune three rows late).
    std::string counter_mode;
    Voice pad, bass;
    std::string bass_rows;  // '.' nothing, 'R' root, 'F' fifth, 'O' root an octave up, '3' third
    Voice arp;
    std::string arp_rows;   // '.' nothing, '0'..'2' chord tone, '3' root an octave up
    std::vector<std::string> drums;  // up to three lines of kit characters ('.' nothing)
    std::vector<std::string> fill;   // the drums of the track's last bar (empty: as usual)
};

struct Song {
    std::string title;
    int tonic = 60;  // MIDI note of the tonic in the tune's register
    Mode mode = Mode::Major;
    int rows_per_bar = 16;
    std::vector<Section> sections;
    std::vector<int> form;  // sections in playing order, one pattern each
    std::map<char, Hit> kit;
    Groove calm, anxious;
};

// The module: calm track from order 0, anxious track from order form.size().
// Throws std::runtime_error on a malformed tune (bars that do not add up,
// unknown tokens or instruments).
xm::Module Compose(const Song& song);

}  // namespace assetgen::music
