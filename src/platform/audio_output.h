#pragma once
// Where mixed audio goes: a sound device, or a clock that consumes it silently.
// The output calls its render function on its own thread.
#include <functional>

namespace plat {

class AudioOutput {
public:
    // Fills `frames` interleaved stereo float frames.
    using RenderFn = std::function<void(float* stereo, int frames)>;
    virtual ~AudioOutput() = default;
    // Stops (true) or restarts (false) the calls of the render function.
    virtual void SetPaused(bool paused) = 0;
    // True when sound reaches a device, false for the silent clock.
    virtual bool IsAudible() const = 0;
};

}  // namespace plat
