#pragma once
// The decoded frames of one sample file (WAV through SDL, Ogg Vorbis through
// libvorbisfile), kept as interleaved stereo floats at the file's own rate.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

class AudioSampleData {
public:
    // Highest rate of a playable file, and the longest sample decoded whole.
    static constexpr long kMaxRate = 192000;
    static constexpr long kMaxSeconds = 300;

    // Decodes the file; on failure returns null and sets *error (an audio error code).
    static std::shared_ptr<const AudioSampleData> Load(const std::string& path, int* error);
    // The same for a whole file held in memory.
    static std::shared_ptr<const AudioSampleData> Decode(const uint8_t* data, size_t size, int* error);
    // True for what the mixer can play: 1 to kMaxRate frames a second, 1 to
    // 255 channels (only the first two are heard).
    static bool PlayableFormat(long rate, int channels);

    AudioSampleData(std::vector<float> stereo, int rate) : _frames(std::move(stereo)), _rate(rate) {}

    int Rate() const { return _rate; }
    size_t FrameCount() const { return _frames.size() / 2; }
    const float* Frames() const { return _frames.data(); }

private:
    std::vector<float> _frames;
    int _rate;
};

}  // namespace plat
