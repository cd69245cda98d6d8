#pragma once
// The engine core as the rest of the program sees it: the window, the device,
// input, sound, frame statistics and the frame time, and DrawQuads, through
// which all 2D drawing goes. Reached through g_EngineCore.
#include <cstdint>

namespace plat {
class Window;
class VertexBuffer;
class RenderDevice;
}  // namespace plat
class CDirect3DHolder;
class CGraphicsDevice;
class ISoundKeeper;
class IMouseController;
class IKeyboardController;
class IJoystickController;

// A callback around device resets and mode toggles: type 0 just before a reset
// (release what the device loses), 1 just after (recreate it), 2 after a
// successful full-screen toggle.
using EngineCallback = void (*)();

class IEngineCore {
public:
    virtual bool Init(bool windowed) = 0;
    virtual void Shutdown() = 0;
    virtual EngineCallback SetCallback(int type, EngineCallback fn) = 0;
    virtual bool BeginFrame() = 0;
    // A frame drawn inside another (a loading screen): the input keeps the
    // state the enclosing frame polled, so no click is stepped past unseen.
    virtual bool BeginFrameWithoutInput() { return BeginFrame(); }
    virtual bool Clear(uint32_t color) = 0;
    virtual bool EndFrame() = 0;
    virtual void OnActivate(bool active) = 0;
    virtual int GetScreenWidth() const = 0;
    virtual int GetScreenHeight() const = 0;
    virtual void SetGamma(int level) = 0;
    virtual void SetWorldTransform(float angle, float x, float y) = 0;
    virtual plat::Window* GetHWND() const = 0;
    virtual bool ToggleFullscreen() = 0;
    virtual bool IsFullscreen() const = 0;
    virtual CDirect3DHolder* GetDirect3DHolder() = 0;
    virtual CGraphicsDevice* GetGraphicsDevice() = 0;
    virtual ISoundKeeper* GetSoundKeeper() = 0;
    virtual IMouseController* GetMouse() = 0;
    virtual IKeyboardController* GetKeyboard() = 0;
    virtual IJoystickController* GetJoystick() = 0;
    virtual unsigned GetFrameCount() const = 0;
    virtual void ResetFrameStats() = 0;
    virtual void AddDrawCalls(unsigned n) = 0;
    virtual void AddQuads(unsigned n) = 0;
    virtual unsigned GetDrawCalls() const = 0;
    virtual unsigned GetQuads() const = 0;
    virtual float GetFrameTime() const = 0;
    virtual void SetFrameTime(float seconds) = 0;
    // Draws n quads of 4 vertices each (24-byte vertices: position, ARGB colour,
    // texture coordinates) from the vertex buffer, as two triangles each
    // (b, b+1, b+2 and b+3, b+2, b+1), with the device's current texture and states.
    virtual void DrawQuads(plat::VertexBuffer* vb, unsigned n, unsigned stride) = 0;

protected:
    ~IEngineCore() = default;
};

// The one engine core (set when CEngineCore::Instance first builds it).
extern IEngineCore* g_EngineCore;

// The engine core's render device; null before the core exists and has been
// initialised (what draws then runs without drawing).
plat::RenderDevice* EngineDevice();
