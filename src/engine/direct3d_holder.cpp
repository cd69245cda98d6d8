#include "engine/direct3d_holder.h"

#include <SDL.h>

#include <string>

#include "engine/logger.h"

CDirect3DHolder::~CDirect3DHolder() {
    if (_created) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool CDirect3DHolder::CreateDirect3D(bool) {
    if (!_created) {
        // Termination signals are the program's own (they end it through WM_QUIT).
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            CLogger::Instance().Log(2, "Error: Failed to create Direct3D!");
            return false;
        }
        _created = true;
    }
    LogAdapterReport();
    return true;
}

void CDirect3DHolder::LogAdapterReport() {
    CLogger& log = CLogger::Instance();
    log.LogBold(1, "D3D Info");
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* display = SDL_GetNumVideoDisplays() > 0 ? SDL_GetDisplayName(0) : nullptr;
    SDL_version v;
    SDL_GetVersion(&v);
    log.Log(1, "Video Adapter : %s", display ? display : (driver ? driver : "unknown"));
    log.Log(1, "Driver : %s", driver ? driver : "none");
    log.Log(1, "Version : %x", static_cast<unsigned>(SDL_VERSIONNUM(v.major, v.minor, v.patch)));
    // The rasteriser takes textures up to 4096 pixels on a side.
    log.Log(1, "Max Texture Width = %i, Height = %i", 4096, 4096);
    log.Log(1, " ");
}
