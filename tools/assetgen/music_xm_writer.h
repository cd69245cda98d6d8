#pragma once
// A small writer of FastTracker 2 extended modules (XM): 16-bit samples, one
// sample per instrument, volume envelopes, packed patterns and an order list.
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen::xm {

struct Cell {
    uint8_t note = 0;        // 1..96 (1 = C-0, 49 = C-4), 97 = key off, 0 = none
    uint8_t instrument = 0;  // 1-based, 0 = none
    uint8_t volume = 0;      // volume column: 0x10..0x50 sets volume 0..64, 0 = none
    uint8_t effect = 0;
    uint8_t param = 0;
};

struct Pattern {
    int rows = 64;
    int channels = 8;
    std::vector<Cell> cells;  // rows x channels
    Pattern(int rows_, int channels_) : rows(rows_), channels(channels_), cells(static_cast<size_t>(rows_ * channels_)) {}
    Cell& At(int row, int channel) { return cells[static_cast<size_t>(row * channels + channel)]; }
};

struct EnvelopePoint {
    uint16_t tick;
    uint16_t value;  // 0..64
};

struct Instrument {
    std::string name;
    std::vector<int16_t> data;  // mono 16-bit sample
    int loop_start = 0, loop_length = 0;  // in frames; length 0 = no loop
    int volume = 64;
    int relative_note = 0;   // semitones added to every note
    int finetune = 0;        // -128..127
    int panning = 128;
    std::vector<EnvelopePoint> envelope;  // empty = no volume envelope
    int sustain_point = -1;               // index into the envelope, -1 = none
    int fadeout = 0;                      // volume fade after key off
};

struct Module {
    std::string name;
    int channels = 8;
    int speed = 6;   // ticks per row
    int bpm = 125;
    std::vector<uint8_t> orders;
    std::vector<Pattern> patterns;
    std::vector<Instrument> instruments;
};

// Writes the module; throws std::runtime_error on failure.
void Write(const std::string& path, const Module& module);

}  // namespace assetgen::xm
