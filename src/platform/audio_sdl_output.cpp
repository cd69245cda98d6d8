#include "platform/audio_sdl_output.h"

#include <SDL.h>

namespace plat {

std::unique_ptr<AudioSdlOutput> AudioSdlOutput::Open(int rate, RenderFn render) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
    std::unique_ptr<AudioSdlOutput> out(new AudioSdlOutput(0, std::move(render)));
    SDL_AudioSpec want {};
    want.freq = rate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &AudioSdlOutput::Callback;
    want.userdata = out.get();
    SDL_AudioSpec have {};
    // No changes allowed: SDL converts to whatever the hardware takes.
    SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    out->_device = id;
    SDL_PauseAudioDevice(id, 0);
    return out;
}

AudioSdlOutput::AudioSdlOutput(unsigned device, RenderFn render) : _device(device), _render(std::move(render)) {}

AudioSdlOutput::~AudioSdlOutput() {
    if (_device) {
        SDL_CloseAudioDevice(_device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void AudioSdlOutput::SetPaused(bool paused) {
    if (_device) SDL_PauseAudioDevice(_device, paused ? 1 : 0);
}

void AudioSdlOutput::Callback(void* user, unsigned char* stream, int bytes) {
    auto* self = static_cast<AudioSdlOutput*>(user);
    self->_render(reinterpret_cast<float*>(stream), bytes / static_cast<int>(2 * sizeof(float)));
}

}  // namespace plat
