#pragma once
// The engine core as the headless player's fast ticks see it: everything is
// the real core's except drawing. Without a device the sprite lists still step
// their animations (which they do once per drawn frame) but draw nothing, so
// a tick costs what the game's rules cost, not a software-rendered frame.
// While a CHeadlessCore::Scope lives, g_EngineCore is the headless core.
#include "engine/engine_core_interface.h"

class CHeadlessCore : public IEngineCore {
public:
    explicit CHeadlessCore(IEngineCore& real) : _real(real) {}

    class Scope {
    public:
        explicit Scope(CHeadlessCore& core) : _saved(g_EngineCore) { g_EngineCore = &core; }
        ~Scope() { g_EngineCore = _saved; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        IEngineCore* _saved;
    };

    bool Init(bool windowed) override { return _real.Init(windowed); }
    void Shutdown() override {}
    EngineCallback SetCallback(int type, EngineCallback fn) override { return _real.SetCallback(type, fn); }
    bool BeginFrame() override { return true; }
    bool Clear(uint32_t) override { return true; }
    bool EndFrame() override { return true; }
    void OnActivate(bool active) override { _real.OnActivate(active); }
    int GetScreenWidth() const override { return _real.GetScreenWidth(); }
    int GetScreenHeight() const override { return _real.GetScreenHeight(); }
    void SetGamma(int) override {}
    void SetWorldTransform(float, float, float) override {}
    plat::Window* GetHWND() const override { return _real.GetHWND(); }
    bool ToggleFullscreen() override { return false; }
    bool IsFullscreen() const override { return false; }
    CDirect3DHolder* GetDirect3DHolder() override { return nullptr; }
    CGraphicsDevice* GetGraphicsDevice() override { return nullptr; }
    ISoundKeeper* GetSoundKeeper() override { return _real.GetSoundKeeper(); }
    IMouseController* GetMouse() override { return _real.GetMouse(); }
    IKeyboardController* GetKeyboard() override { return _real.GetKeyboard(); }
    IJoystickController* GetJoystick() override { return _real.GetJoystick(); }
    unsigned GetFrameCount() const override { return _real.GetFrameCount(); }
    void ResetFrameStats() override {}
    void AddDrawCalls(unsigned) override {}
    void AddQuads(unsigned) override {}
    unsigned GetDrawCalls() const override { return 0; }
    unsigned GetQuads() const override { return 0; }
    float GetFrameTime() const override { return _real.GetFrameTime(); }
    void SetFrameTime(float seconds) override { _real.SetFrameTime(seconds); }
    void DrawQuads(plat::VertexBuffer*, unsigned, unsigned) override {}

private:
    IEngineCore& _real;
};
