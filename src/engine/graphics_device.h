#pragma once
// The main window and the render device: creation windowed or full screen at
// 800x600, the fixed render states of the 2D renderer, reset after loss, the
// full-screen toggle, the gamma ramp and screenshots.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/noncopyable.h"
#include "platform/messages.h"
#include "platform/render_device.h"
#include "platform/window.h"

class CDirect3DHolder;

class CGraphicsDevice : NonCopyable {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    // The private message that carries window activation to the main loop.
    static constexpr uint32_t kActivateMessage = 0x1634;

    CGraphicsDevice() = default;
    ~CGraphicsDevice();

    // Creates the window and the device in the requested mode.
    bool InitDevice(CDirect3DHolder& d3d, bool windowed);
    // Resets the device for the current mode; throws "Failed to reset D3DDevice"
    // when that fails. False without a device.
    bool ResetDevice();
    // Switches between windowed and full-screen mode (resets the device). When
    // the display cannot take the other mode, the failure is logged and
    // returned, and the device stays in the mode it had.
    plat::Result ToggleFullscreen();
    // Lifts every channel by level x 10 (of 256) with saturation; stores the level.
    void ApplyGammaRamp(int level);
    // Puts back the ramp saved when the device was created.
    void RestoreGammaRamp();
    // World/view/projection for screen pixels (origin top left, y down), no depth,
    // no lighting, clamp addressing, texture x diffuse alpha, alpha blending,
    // linear filtering.
    void SetupRenderStates();
    void SetTextureFilter();
    void SetBlendMode();
    // Writes the back buffer as the next "%08d.tga" in the user folder.
    bool SaveScreenshot();

    int GetWidth() const { return kWidth; }
    int GetHeight() const { return kHeight; }
    plat::Window* GetWindow() const { return _window.get(); }
    plat::RenderDevice* GetDevice() const { return _device.get(); }
    uint32_t GetClearColor() const { return _clear_color; }
    void SetClearColor(uint32_t c) { _clear_color = c; }
    int GetGammaLevel() const { return _gamma_level; }
    bool IsFullscreen() const { return !_windowed; }
    bool IsActive() const { return _active; }
    // Whether the game draws its own cursor: only then is the system cursor
    // hidden over the client area (so the player never loses the pointer).
    void SetGameDrawsCursor(bool draws) { _game_draws_cursor = draws; }

    // The window procedure (activation, cursor, uncovering, destruction).
    intptr_t MainWndProc(plat::Window& window, const plat::Message& msg);

    // The TGA of a back buffer: name numbering and header, exposed for tests.
    static int NextScreenshotNumber(const std::string& folder);
    // Written aside and renamed over `path`; false with the reason in *error.
    static bool WriteTga(const std::string& path, plat::Format format, const std::vector<uint32_t>& argb,
                         uint32_t width, uint32_t height, std::string* error = nullptr);

private:
    bool CreateMainWindow();
    plat::PresentParameters FillPresentParameters(bool windowed) const;
    void LogDeviceReport();

    std::unique_ptr<plat::Window> _window;
    std::unique_ptr<plat::RenderDevice> _device;
    plat::GammaRamp _saved_ramp = plat::GammaRamp::Linear();
    int _gamma_level = 0;
    uint32_t _clear_color = 0xFF000000;
    bool _windowed = true;
    bool _active = false;
    bool _game_draws_cursor = false;
};
