#pragma once
// Mixed audio played on the SDL2 audio device (the driver SDL_AUDIODRIVER names).
#include <memory>

#include "platform/audio_output.h"

namespace plat {

class AudioSdlOutput : public AudioOutput {
public:
    // Opens the default device at `rate`, stereo float; null when no device opens.
    static std::unique_ptr<AudioSdlOutput> Open(int rate, RenderFn render);
    ~AudioSdlOutput() override;
    AudioSdlOutput(const AudioSdlOutput&) = delete;
    AudioSdlOutput& operator=(const AudioSdlOutput&) = delete;

    void SetPaused(bool paused) override;
    bool IsAudible() const override { return true; }

private:
    AudioSdlOutput(unsigned device, RenderFn render);
    static void Callback(void* user, unsigned char* stream, int bytes);

    unsigned _device = 0;
    RenderFn _render;
};

}  // namespace plat
