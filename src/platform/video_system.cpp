#include "platform/video_system.h"

#include <SDL.h>

#include <cstdlib>

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
    if (!_started) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (driver && ShowsNothing(driver) && !(asked && *asked)) {
        // A game nobody sees would hold the single-instance lock for nothing.
        const char* display = std::getenv("DISPLAY");
        _refusal = std::string("Error: no display answers (DISPLAY=\"") + (display ? display : "") + "\"); the \"" +
                   driver + "\" video driver shows nothing and runs only when SDL_VIDEODRIVER asks for it.";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        _started = false;
    }
    return _started;
}

bool VideoSystem::ShowsNothing(const std::string& driver) {
    for (const char* hidden : {"offscreen", "dummy", "evdev"})
        if (SDL_strcasecmp(driver.c_str(), hidden) == 0) return true;
    return false;
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
