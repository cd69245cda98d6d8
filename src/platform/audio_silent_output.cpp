#include "platform/audio_silent_output.h"

#include <algorithm>
#include <chrono>

namespace plat {

namespace {
constexpr int kChunkFrames = 1024;
}

AudioSilentOutput::AudioSilentOutput(int rate, RenderFn render)
    : _rate(rate), _render(std::move(render)), _scratch(kChunkFrames * 2) {
    _thread = std::thread(&AudioSilentOutput::Run, this);
}

AudioSilentOutput::~AudioSilentOutput() {
    {
        std::lock_guard<std::mutex> lock(_mutex);
        _quit = true;
    }
    _wake.notify_all();
    _thread.join();
}

void AudioSilentOutput::SetPaused(bool paused) {
    {
        std::lock_guard<std::mutex> lock(_mutex);
        _paused = paused;
    }
    _wake.notify_all();
}

void AudioSilentOutput::Run() {
    using Clock = std::chrono::steady_clock;
    Clock::time_point last = Clock::now();
    double owed = 0;  // frames due but not yet rendered
    std::unique_lock<std::mutex> lock(_mutex);
    while (!_quit) {
        _wake.wait_for(lock, std::chrono::milliseconds(10));
        if (_quit) break;
        Clock::time_point now = Clock::now();
        if (_paused) {
            last = now;
            owed = 0;
            continue;
        }
        owed += std::chrono::duration<double>(now - last).count() * _rate;
        last = now;
        // Never catch up more than a quarter of a second after a stall.
        owed = std::min(owed, _rate / 4.0);
        lock.unlock();
        while (owed >= 1.0) {
            int n = std::min(kChunkFrames, static_cast<int>(owed));
            _render(_scratch.data(), n);
            owed -= n;
        }
        lock.lock();
    }
}

}  // namespace plat
