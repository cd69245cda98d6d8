#pragma once
// The decoded frames of one sample file (WAV through SDL, Ogg Vorbis through
// libvorbisfile), kept as interleaved stereo floats at the file's own rate.
#include <memory>
#include <string>
#include <vector>

namespace plat {

class AudioSampleData {
public:
    // Decodes the file; on failure returns null and sets *error (an audio error code).
    static std::shared_ptr<const AudioSampleData> Load(const std::string& path, int* error);

    AudioSampleData(std::vector<float> stereo, int rate) : _frames(std::move(stereo)), _rate(rate) {}

    int Rate() const { return _rate; }
    size_t FrameCount() const { return _frames.size() / 2; }
    const float* Frames() const { return _frames.data(); }

private:
    std::vector<float> _frames;
    int _rate;
};

}  // namespace plat
