#include "engine/direct3d_holder.h"

#include <cstdio>

#include "engine/logger.h"

bool CDirect3DHolder::CreateDirect3D(bool) {
    if (!_video.Start()) {
        // A refused display is the player's to mend: said where they look.
        if (const std::string& refusal = _video.Refusal(); !refusal.empty()) {
            std::fprintf(stderr, "%s\n", refusal.c_str());
            CLogger::Instance().Log(2, "%s", refusal.c_str());
        }
        CLogger::Instance().Log(2, "Error: Failed to create Direct3D!");
        return false;
    }
    LogAdapterReport();
    return true;
}

void CDirect3DHolder::LogAdapterReport() {
    CLogger& log = CLogger::Instance();
    const plat::AdapterInfo adapter = _video.Adapter();
    log.LogBold(1, "D3D Info");
    log.Log(1, "Video Adapter : %s", adapter.description.c_str());
    log.Log(1, "Driver : %s", adapter.driver.c_str());
    log.Log(1, "Version : %x", adapter.version);
    log.Log(1, "Max Texture Width = %i, Height = %i", static_cast<int>(adapter.max_texture_width),
            static_cast<int>(adapter.max_texture_height));
    log.Log(1, " ");
}
