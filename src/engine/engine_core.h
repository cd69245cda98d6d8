#pragma once
// The one object through which the program reaches the machine: the window and
// render device, the input devices and the sound keeper. It frames every
// rendered frame, handles a lost device, takes screenshots, toggles full screen,
// keeps the frame statistics and time, and draws quad batches through one
// shared index buffer.
#include <map>
#include <memory>

#include "engine/cursor_keeper_interface.h"
#include "engine/hot_spot_cursor.h"
#include "engine/dinput_manager.h"
#include "engine/direct3d_holder.h"
#include "engine/engine_core_interface.h"
#include "engine/graphics_device.h"
#include "engine/joystick.h"
#include "engine/keyboard.h"
#include "engine/mouse.h"
#include "engine/noncopyable.h"
#include "engine/sound_keeper_interface.h"

class CEngineCore : public IEngineCore, NonCopyable {
public:
    // The one engine core, built on first call (which also sets g_EngineCore).
    // Call it first once the user folder is ready: its destructor logs.
    static CEngineCore& Instance();

    bool Init(bool windowed) override;
    void Shutdown() override;
    EngineCallback SetCallback(int type, EngineCallback fn) override;
    bool BeginFrame() override;
    bool BeginFrameWithoutInput() override;
    bool Clear(uint32_t color) override;
    bool EndFrame() override;
    void OnActivate(bool active) override;
    int GetScreenWidth() const override;
    int GetScreenHeight() const override;
    void SetGamma(int level) override;
    void SetWorldTransform(float angle, float x, float y) override;
    plat::Window* GetHWND() const override;
    bool ToggleFullscreen() override;
    bool IsFullscreen() const override;
    CDirect3DHolder* GetDirect3DHolder() override { return &_d3d; }
    CGraphicsDevice* GetGraphicsDevice() override { return &_graphics; }
    ISoundKeeper* GetSoundKeeper() override { return _sound_keeper.get(); }
    IMouseController* GetMouse() override { return &_mouse; }
    IKeyboardController* GetKeyboard() override { return &_keyboard; }
    IJoystickController* GetJoystick() override { return &_joystick; }
    unsigned GetFrameCount() const override { return _frame_count; }
    void ResetFrameStats() override;
    void AddDrawCalls(unsigned n) override { _draw_calls += n; }
    void AddQuads(unsigned n) override { _quads += n; }
    unsigned GetDrawCalls() const override { return _draw_calls; }
    unsigned GetQuads() const override { return _quads; }
    float GetFrameTime() const override { return _frame_time; }
    void SetFrameTime(float seconds) override { _frame_time = seconds; }
    void DrawQuads(plat::VertexBuffer* vb, unsigned n, unsigned stride) override;

    // The drawing cursor keeper registers here (null puts back the plain one
    // that only tracks the hot spot). Not owned.
    void SetCursorKeeper(ICursorKeeper* keeper);
    ICursorKeeper* GetCursorKeeper() { return _cursor; }
    // Installs the sound keeper (owned from then on); null keeps the one there is.
    void SetSoundKeeper(std::unique_ptr<ISoundKeeper> keeper) {
        if (keeper) _sound_keeper = std::move(keeper);
    }
    CDInputManager* GetInputManager() { return &_input; }
    // The shared quad index buffer's capacity in quads (0 before the first DrawQuads).
    unsigned GetQuadCapacity() const { return _quad_capacity; }
    bool IsInFrame() const { return _in_frame; }

    ~CEngineCore();

private:
    CEngineCore();
    void FireCallback(int type);
    // Moves the cursor with the mouse and the joystick and draws it.
    void DrawCursor();

    std::map<int, EngineCallback> _callbacks;
    CDirect3DHolder _d3d;
    CGraphicsDevice _graphics;
    CHotSpotCursor _plain_cursor;
    ICursorKeeper* _cursor = &_plain_cursor;
    CDInputManager _input;
    CMouse _mouse;
    CKeyboard _keyboard;
    CJoystick _joystick;
    bool _in_frame = false;
    unsigned _frame_count = 0;
    std::unique_ptr<ISoundKeeper> _sound_keeper;
    float _frame_time = 0.0f;
    plat::RenderDevice* _device = nullptr;
    std::unique_ptr<plat::IndexBuffer> _quad_indices;
    unsigned _quad_capacity = 0;
    bool _indices_need_binding = false;
    unsigned _draw_calls = 0;
    unsigned _quads = 0;
};
