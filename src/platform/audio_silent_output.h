#pragma once
// The silent device: a thread that consumes mixed audio in real time and throws
// it away, so that positions, slides and their notifications run as with sound.
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio_output.h"

namespace plat {

class AudioSilentOutput : public AudioOutput {
public:
    AudioSilentOutput(int rate, RenderFn render);
    ~AudioSilentOutput() override;
    AudioSilentOutput(const AudioSilentOutput&) = delete;
    AudioSilentOutput& operator=(const AudioSilentOutput&) = delete;

    void SetPaused(bool paused) override;
    bool IsAudible() const override { return false; }

private:
    void Run();

    int _rate;
    RenderFn _render;
    std::vector<float> _scratch;
    std::mutex _mutex;
    std::condition_variable _wake;
    bool _paused = false;
    bool _quit = false;
    std::thread _thread;
};

}  // namespace plat
