#include "platform/video_system.h"

#include <SDL.h>

#include "platform/render_device.h"

namespace plat {

VideoSystem::~VideoSystem() {
    if (_started) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool VideoSystem::Start() {
    if (_started) return true;
    // Termination signals are the program's own (they end it through WM_QUIT).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    _started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    return _started;
}

AdapterInfo VideoSystem::Adapter() const {
    AdapterInfo info;
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* display = SDL_GetNumVideoDisplays() > 0 ? SDL_GetDisplayName(0) : nullptr;
    info.description = display ? display : (driver ? driver : "unknown");
    info.driver = driver ? driver : "none";
    SDL_version v;
    SDL_GetVersion(&v);
    info.version = static_cast<uint32_t>(SDL_VERSIONNUM(v.major, v.minor, v.patch));
    info.max_texture_width = kMaxTextureSize;
    info.max_texture_height = kMaxTextureSize;
    return info;
}

}  // namespace plat
