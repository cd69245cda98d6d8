#pragma once
// A producer of stereo float frames at its own rate, read by one mixer channel.
// Sources are used only under the mixer's lock, so they need no locking of their own.
#include <string>

namespace plat {

class AudioSource {
public:
    virtual ~AudioSource() = default;

    // Frames per second of what Read delivers.
    virtual int Rate() const = 0;
    // Writes up to `frames` interleaved stereo frames; fewer (down to 0) at the end.
    virtual int Read(float* stereo, int frames) = 0;
    // Back to the very start.
    virtual void Rewind() = 0;
    virtual double LengthSeconds() const = 0;
    // Seconds of what Read has delivered since the start (or the last seek).
    virtual double PositionSeconds() const = 0;
    virtual bool SeekSeconds(double seconds) = 0;
};

}  // namespace plat
