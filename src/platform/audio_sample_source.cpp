#include "platform/audio_sample_source.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace plat {

int AudioSampleSource::Read(float* stereo, int frames) {
    size_t left = _data->FrameCount() - std::min(_cursor, _data->FrameCount());
    size_t n = std::min(left, static_cast<size_t>(std::max(frames, 0)));
    if (n == 0) return 0;  // an empty sample has no frames to copy from
    std::memcpy(stereo, _data->Frames() + _cursor * 2, n * 2 * sizeof(float));
    _cursor += n;
    return static_cast<int>(n);
}

double AudioSampleSource::LengthSeconds() const {
    return static_cast<double>(_data->FrameCount()) / _data->Rate();
}

double AudioSampleSource::PositionSeconds() const {
    return static_cast<double>(_cursor) / _data->Rate();
}

bool AudioSampleSource::SeekSeconds(double seconds) {
    if (seconds < 0) return false;
    size_t frame = static_cast<size_t>(std::llround(seconds * _data->Rate()));
    if (frame > _data->FrameCount()) return false;
    _cursor = frame;
    return true;
}

}  // namespace plat
