#pragma once
// Starts the display side of the platform (the stand-in for the Direct3D object)
// and reports the adapter in the log.
#include "engine/noncopyable.h"
#include "platform/video_system.h"

class CDirect3DHolder : NonCopyable {
public:
    CDirect3DHolder() = default;
    // Starts the video; false (with "Error: Failed to create Direct3D!") when it cannot.
    bool CreateDirect3D(bool windowed);
    bool IsCreated() const { return _video.IsStarted(); }

private:
    void LogAdapterReport();
    plat::VideoSystem _video;
};
