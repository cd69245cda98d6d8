#pragma once
// Error codes of the audio back end, reported by the sound keeper in its log lines.
namespace plat::audio_error {

constexpr int kOk = 0;
constexpr int kMemory = 1;        // out of memory
constexpr int kFileOpen = 2;      // the file cannot be opened
constexpr int kHandle = 5;        // not a valid handle
constexpr int kFormat = 6;        // unsupported sample format
constexpr int kPosition = 7;      // position out of range
constexpr int kNotPlaying = 24;   // the channel is not playing
constexpr int kIllegalParam = 20; // a parameter out of range
constexpr int kNoChannel = 18;    // no free channel
constexpr int kNotAvailable = 37; // the operation does not apply to this kind of channel
constexpr int kDecode = 38;       // the data cannot be decoded
constexpr int kFileForm = 41;     // not a file format the back end reads

}  // namespace plat::audio_error
