#include "music_episode_composer.h"

#include <algorithm>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "music_episode_instruments.h"

namespace assetgen::music {

namespace {

constexpr int kRowsPerBeat = 4;
constexpr int kBarsPerSection = 4;
constexpr int kSpeed = 6;  // ticks per row
constexpr uint8_t kKeyOff = 97;
constexpr uint8_t kFxJump = 0x0B;
constexpr uint8_t kFxTempo = 0x0F;

enum Channel { kLead, kCounter, kPad0, kPad1, kPad2, kBass, kArp, kDrum0, kDrum1, kDrum2, kChannels };

struct NoteEvent {
    int row = 0;
    int length = 0;
    int midi = -1;  // -1: a rest
};

class Arranger {
public:
    Arranger(const Song& song, xm::Module& module) : _song(song), _module(module) {}

    // Appends one mood as a looping track.
    void AddTrack(const Groove& groove) {
        _groove = &groove;
        const int first_order = static_cast<int>(_module.orders.size());
        std::vector<int> seen;
        for (size_t i = 0; i < _song.form.size(); ++i) {
            const int index = _song.form[i];
            if (index < 0 || static_cast<size_t>(index) >= _song.sections.size())
                throw std::runtime_error(_song.title + ": form names no section " + std::to_string(index));
            const bool repeat = std::find(seen.begin(), seen.end(), index) != seen.end();
            seen.push_back(index);
            xm::Pattern p(_song.rows_per_bar * kBarsPerSection, kChannels);
            WriteSection(p, _song.sections[static_cast<size_t>(index)], repeat, i + 1 == _song.form.size());
            if (i == 0) {
                // Each track sets its own tempo, so it plays right wherever it starts.
                Effect(p.At(0, kDrum0), kFxTempo, kSpeed);
                Effect(p.At(0, kDrum1), kFxTempo, static_cast<uint8_t>(groove.bpm));
            }
            if (i + 1 == _song.form.size()) Effect(p.At(p.rows - 1, kDrum2), kFxJump, static_cast<uint8_t>(first_order));
            _module.orders.push_back(static_cast<uint8_t>(_module.patterns.size()));
            _module.patterns.push_back(std::move(p));
        }
    }

private:
    static void Effect(xm::Cell& c, uint8_t fx, uint8_t param) {
        c.effect = fx;
        c.param = param;
    }

    void Note(xm::Pattern& p, int row, int channel, int midi, const std::string& instrument, int volume) {
        xm::Cell& c = p.At(row, channel);
        c.note = static_cast<uint8_t>(std::clamp(midi - 11, 1, 96));  // XM C-4 (49) is MIDI 60
        c.instrument = InstrumentIndex(instrument);
        c.volume = static_cast<uint8_t>(0x10 + std::clamp(volume, 0, 64));
    }

    void KeyOff(xm::Pattern& p, int row, int channel) {
        if (row < p.rows && p.At(row, channel).note == 0) p.At(row, channel).note = kKeyOff;
    }

    uint8_t InstrumentIndex(const std::string& name) {
        for (size_t i = 0; i < _module.instruments.size(); ++i)
            if (_module.instruments[i].name == name) return static_cast<uint8_t>(i + 1);
        _module.instruments.push_back(Instrument(name));
        if (_module.instruments.size() > 128) throw std::runtime_error(_song.title + ": too many instruments");
        return static_cast<uint8_t>(_module.instruments.size());
    }

    bool Sustains(const std::string& instrument) {
        return _module.instruments[InstrumentIndex(instrument) - 1u].loop_length > 0;
    }

    // ---------------------------------------------------------- harmony

    int ScaleNote(int degree, int accidental = 0) const {
        static const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
        static const int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};
        static const int kDorian[7] = {0, 2, 3, 5, 7, 9, 10};
        const int* scale = _song.mode == Mode::Major ? kMajor : _song.mode == Mode::Minor ? kMinor : kDorian;
        const int octave = degree >= 0 ? degree / 7 : -((6 - degree) / 7);
        return _song.tonic + octave * 12 + scale[degree - octave * 7] + accidental;
    }

    // The triad on a scale degree; in minor the dominant takes the leading tone.
    std::vector<int> Chord(int degree) const {
        const int d = ((degree % 7) + 7) % 7;
        const int raise = _song.mode == Mode::Minor && d == 4 ? 1 : 0;
        return {ScaleNote(degree), ScaleNote(degree + 2, raise), ScaleNote(degree + 4)};
    }

    // The chord sounding at each row of a section.
    std::vector<std::vector<int>> ChordRows(const Section& s) const {
        std::vector<std::string> bars = Split(s.chords, ' ');
        if (static_cast<int>(bars.size()) != kBarsPerSection)
            throw std::runtime_error(_song.title + ": chords '" + s.chords + "' are not four bars");
        std::vector<std::vector<int>> rows;
        for (const std::string& bar : bars) {
            std::vector<std::string> halves = Split(bar, ',');
            for (int r = 0; r < _song.rows_per_bar; ++r) {
                const size_t half = halves.size() > 1 && r >= _song.rows_per_bar / 2 ? 1 : 0;
                rows.push_back(Chord(std::stoi(halves[half])));
            }
        }
        return rows;
    }

    // ---------------------------------------------------------- the tune

    static std::vector<std::string> Split(const std::string& text, char sep) {
        std::vector<std::string> out;
        std::string item;
        std::istringstream in(text);
        while (std::getline(in, item, sep))
            if (!item.empty()) out.push_back(item);
        return out;
    }

    std::vector<NoteEvent> Melody(const Section& s) const {
        std::vector<NoteEvent> events;
        int row = 0;
        int bar_start = 0;
        std::istringstream in(s.melody);
        for (std::string token; in >> token;) {
            if (token == "|") {
                if (row - bar_start != _song.rows_per_bar)
                    throw std::runtime_error(_song.title + ": a bar of '" + s.melody + "' has " +
                                             std::to_string(row - bar_start) + " rows");
                bar_start = row;
                continue;
            }
            const size_t colon = token.find(':');
            if (colon == std::string::npos) throw std::runtime_error(_song.title + ": bad note '" + token + "'");
            NoteEvent e;
            e.row = row;
            e.length = std::stoi(token.substr(colon + 1));
            std::string pitch = token.substr(0, colon);
            if (pitch != "r") {
                int accidental = 0;
                if (pitch.back() == '#') accidental = 1;
                if (pitch.back() == 'b') accidental = -1;
                if (accidental) pitch.pop_back();
                e.midi = ScaleNote(std::stoi(pitch), accidental);
            }
            if (e.length <= 0) throw std::runtime_error(_song.title + ": bad length in '" + token + "'");
            events.push_back(e);
            row += e.length;
        }
        if (row != _song.rows_per_bar * kBarsPerSection || row - bar_start != _song.rows_per_bar)
            throw std::runtime_error(_song.title + ": melody '" + s.melody + "' does not fill four bars");
        return events;
    }

    // The scale note `steps` scale steps from `midi` (which lies on the scale).
    int StepScale(int midi, int steps) const {
        for (int d = -21; d <= 28; ++d)
            if (ScaleNote(d) >= midi) return ScaleNote(d + steps);
        return midi;
    }

    void WriteVoice(xm::Pattern& p, int channel, const Voice& v, const std::vector<NoteEvent>& events, int delay,
                    int transpose_steps) {
        if (v.instrument.empty()) return;
        const bool sustains = Sustains(v.instrument);
        for (const NoteEvent& e : events) {
            const int row = e.row + delay;
            if (row >= p.rows) break;
            if (e.midi < 0) {
                if (sustains) KeyOff(p, row, channel);
                continue;
            }
            const int midi = (transpose_steps ? StepScale(e.midi, transpose_steps) : e.midi) + 12 * v.octave;
            const int accent = row % kRowsPerBeat == 0 ? 6 : 0;
            Note(p, row, channel, midi, v.instrument, v.volume + accent);
        }
    }

    // ---------------------------------------------------------- accompaniment

    // The chord tone `index` (0 root, 1 third, 2 fifth, 3 root an octave up)
    // placed in the octave from `low`.
    static int Voiced(const std::vector<int>& chord, int index, int low) {
        int n = chord[static_cast<size_t>(index % 3)];
        while (n < low) n += 12;
        while (n >= low + 12) n -= 12;
        return index == 3 ? n + 12 : n;
    }

    void WritePads(xm::Pattern& p, const std::vector<std::vector<int>>& chords) {
        const Voice& pad = _groove->pad;
        if (pad.instrument.empty()) return;
        const int low = _song.tonic - 7 + 12 * pad.octave;
        for (int row = 0; row < p.rows; ++row) {
            if (row > 0 && chords[static_cast<size_t>(row)] == chords[static_cast<size_t>(row - 1)] &&
                row % _song.rows_per_bar != 0)
                continue;
            for (int v = 0; v < 3; ++v)
                Note(p, row, kPad0 + v, Voiced(chords[static_cast<size_t>(row)], v, low), pad.instrument, pad.volume);
        }
    }

    // A voice played from a one-bar row string: `pitch` gives the note of a
    // row's mark over its chord, or -1 for none. Beats are a little louder.
    void WriteRows(xm::Pattern& p, int channel, const Voice& v, const std::string& rows,
                   const std::vector<std::vector<int>>& chords, int accent,
                   const std::function<int(char mark, const std::vector<int>& chord)>& pitch) {
        if (v.instrument.empty()) return;
        for (int row = 0; row < p.rows; ++row) {
            const int midi = pitch(rows[static_cast<size_t>(row % _song.rows_per_bar)], chords[static_cast<size_t>(row)]);
            if (midi >= 0) Note(p, row, channel, midi, v.instrument, v.volume + (row % kRowsPerBeat == 0 ? accent : 0));
        }
    }

    void WriteBass(xm::Pattern& p, const std::vector<std::vector<int>>& chords) {
        const int low = 36 + 12 * _groove->bass.octave;
        WriteRows(p, kBass, _groove->bass, _groove->bass_rows, chords, 4, [low](char mark, const std::vector<int>& chord) {
            const int root = Voiced(chord, 0, low);
            switch (mark) {
                case 'R': return root;
                case 'F': return root + (chord[2] - chord[0]);
                case 'O': return root + 12;
                case '3': return root + (chord[1] - chord[0]);
                default: return -1;
            }
        });
    }

    void WriteArp(xm::Pattern& p, const std::vector<std::vector<int>>& chords) {
        const int low = _song.tonic + 12 * _groove->arp.octave;
        WriteRows(p, kArp, _groove->arp, _groove->arp_rows, chords, 3, [low](char mark, const std::vector<int>& chord) {
            return mark >= '0' && mark <= '3' ? Voiced(chord, mark - '0', low) : -1;
        });
    }

    void WriteDrums(xm::Pattern& p, bool last_section) {
        for (size_t line = 0; line < _groove->drums.size() && line < 3; ++line) {
            for (int row = 0; row < p.rows; ++row) {
                const bool fill = last_section && row >= p.rows - _song.rows_per_bar && line < _groove->fill.size();
                const std::string& rows = fill ? _groove->fill[line] : _groove->drums[line];
                const char c = rows[static_cast<size_t>(row % _song.rows_per_bar)];
                if (c == '.') continue;
                const auto hit = _song.kit.find(c);
                if (hit == _song.kit.end())
                    throw std::runtime_error(_song.title + ": no drum for '" + std::string(1, c) + "'");
                Note(p, row, kDrum0 + static_cast<int>(line), 60, hit->second.instrument, hit->second.volume);
            }
        }
    }

    void CheckRows(const std::string& what, const std::string& rows) const {
        if (static_cast<int>(rows.size()) != _song.rows_per_bar)
            throw std::runtime_error(_song.title + ": " + what + " '" + rows + "' is not one bar long");
    }

    void WriteSection(xm::Pattern& p, const Section& s, bool repeat, bool last_section) {
        CheckRows("bass", _groove->bass_rows);
        CheckRows("arpeggio", _groove->arp_rows);
        for (const auto& line : _groove->drums) CheckRows("drums", line);
        for (const auto& line : _groove->fill) CheckRows("fill", line);
        const std::vector<NoteEvent> tune = Melody(s);
        const std::vector<std::vector<int>> chords = ChordRows(s);
        WriteVoice(p, kLead, _groove->lead, tune, 0, 0);
        if (repeat && _groove->counter_mode == "third") WriteVoice(p, kCounter, _groove->counter, tune, 0, -2);
        if (repeat && _groove->counter_mode == "echo") WriteVoice(p, kCounter, _groove->counter, tune, 3, 0);
        WritePads(p, chords);
        WriteBass(p, chords);
        WriteArp(p, chords);
        WriteDrums(p, last_section);
    }

    const Song& _song;
    xm::Module& _module;
    const Groove* _groove = nullptr;
};

}  // namespace

xm::Module Compose(const Song& song) {
    xm::Module m;
    m.name = song.title;
    m.channels = kChannels;
    m.speed = kSpeed;
    m.bpm = song.calm.bpm;
    Arranger arranger(song, m);
    arranger.AddTrack(song.calm);
    arranger.AddTrack(song.anxious);
    return m;
}

}  // namespace assetgen::music
