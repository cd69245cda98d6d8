#pragma once
// One playback of a decoded sample: a cursor over the shared frames.
#include <memory>

#include "platform/audio_sample_data.h"
#include "platform/audio_source.h"

namespace plat {

class AudioSampleSource : public AudioSource {
public:
    explicit AudioSampleSource(std::shared_ptr<const AudioSampleData> data) : _data(std::move(data)) {}

    int Rate() const override { return _data->Rate(); }
    int Read(float* stereo, int frames) override;
    void Rewind() override { _cursor = 0; }
    double LengthSeconds() const override;
    double PositionSeconds() const override;
    bool SeekSeconds(double seconds) override;

private:
    std::shared_ptr<const AudioSampleData> _data;
    size_t _cursor = 0;
};

}  // namespace plat
