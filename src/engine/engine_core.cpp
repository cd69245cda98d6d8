#include "engine/engine_core.h"

#include "engine/frame_timer.h"
#include "engine/logger.h"
#include "platform/virtual_keys.h"

using namespace plat;

IEngineCore* g_EngineCore = nullptr;

RenderDevice* EngineDevice() {
    if (!g_EngineCore || !g_EngineCore->GetGraphicsDevice()) return nullptr;
    return g_EngineCore->GetGraphicsDevice()->GetDevice();
}

namespace {
// 16-bit indices reach 65536 vertices: 16384 quads.
constexpr unsigned kMaxQuadsPerBatch = 16384;
}  // namespace

CEngineCore& CEngineCore::Instance() {
    static CEngineCore core;
    return core;
}

CEngineCore::CEngineCore() {
    _callbacks[0] = nullptr;
    _callbacks[1] = nullptr;
    _callbacks[2] = nullptr;
    _mouse.SetCursorKeeper(_cursor);
    _joystick.SetCursorKeeper(_cursor);
    // The sound keeper is created here and owned from then on; without its
    // sample table it still plays music.
    _sound_keeper = CreateSoundKeeper();
    g_EngineCore = this;
}

CEngineCore::~CEngineCore() {
    Shutdown();
    if (g_EngineCore == this) g_EngineCore = nullptr;
}

bool CEngineCore::Init(bool windowed) {
    if (!_d3d.CreateDirect3D(windowed)) return false;
    if (!_graphics.InitDevice(_d3d, windowed)) return false;
    _device = _graphics.GetDevice();

    CLogger& log = CLogger::Instance();
    log.Log(0, "DirectInput initialization.");
    Result r = _input.Create(_graphics.GetWindow());
    if (Failed(r)) {
        log.Log(2, "Error %X: Create DirectInput error", static_cast<unsigned>(r));
        return false;
    }
    if (Failed(r = _input.CreateKeyboard())) {
        log.Log(2, "Error %X: Creating keyboard", static_cast<unsigned>(r));
        return false;
    }
    if (Failed(r = _input.CreateMouse())) {
        log.Log(2, "Error %X: Creating mouse", static_cast<unsigned>(r));
        return false;
    }
    _input.SetMouseBounds(0, 0, 0, GetScreenWidth(), GetScreenHeight(), -10000);
    if (Failed(r = _input.CreateJoystick())) {
        log.Log(2, "Error %X: Creating joystick", static_cast<unsigned>(r));
        return false;
    }
    _input.Acquire();

    _mouse.SetInputManager(&_input);
    _keyboard.SetInputManager(&_input);
    _joystick.SetInputManager(&_input);
    _frame_count = 0;
    return true;
}

void CEngineCore::Shutdown() {
    _sound_keeper->FreeAll();
    if (_device) _device->SetIndices(nullptr, 0);
    _quad_indices.reset();
    _quad_capacity = 0;
}

EngineCallback CEngineCore::SetCallback(int type, EngineCallback fn) {
    EngineCallback& slot = _callbacks[type];
    EngineCallback previous = slot;
    slot = fn;
    return previous;
}

void CEngineCore::FireCallback(int type) {
    auto it = _callbacks.find(type);
    if (!ASSERT(_callbacks.find(type) != _callbacks.end())) return;
    if (it->second) it->second();
}

bool CEngineCore::BeginFrame() {
    if (!BeginFrameWithoutInput()) return false;
    _input.Poll();
    _mouse.Poll();
    _keyboard.Poll();
    return true;
}

bool CEngineCore::BeginFrameWithoutInput() {
    Result r = _device ? _device->TestCooperativeLevel() : kErrFail;
    if (r == kErrDeviceLost) return false;
    if (r == kErrDeviceNotReset) {
        CLogger& log = CLogger::Instance();
        log.Log(0, " ");
        log.Log(0, "*********   Device lost... *************");
        FireCallback(0);
        _graphics.ResetDevice();  // throws when the device cannot be reset
        FireCallback(1);
        log.Log(0, "********* Device restored *************");
        log.Log(0, " ");
        _indices_need_binding = true;
    }
    if (!_device) return false;
    _device->SetVertexShader(kFvfXyzDiffuseTex1);
    if (Failed(_device->BeginScene())) return false;
    _in_frame = true;
    return true;
}

bool CEngineCore::Clear(uint32_t color) {
    if (!_device) return true;
    uint32_t previous = _graphics.GetClearColor();
    if (previous != color) _graphics.SetClearColor(color);
    _device->Clear(_graphics.GetClearColor());
    _graphics.SetClearColor(previous);
    return true;
}

void CEngineCore::DrawCursor() {
    if (_mouse.IsMoved()) {
        _cursor->MoveBy(_mouse.GetDeltaX(), _mouse.GetDeltaY());
        _mouse.SetPosition(_cursor->GetX(), _cursor->GetY(), 0);
    }
    if (_joystick.IsMoved()) {
        _cursor->MoveBy(_joystick.GetAxisX(), _joystick.GetAxisY());
        _mouse.SetPosition(_cursor->GetX(), _cursor->GetY(), 0);
    }
    if (_device) _cursor->Draw(IsFullscreen());
}

bool CEngineCore::EndFrame() {
    CFrameTimer& timer = CFrameTimer::Instance();
    timer.Start(CFrameTimer::kRaster);
    // The cursor is drawn last, over the finished scene (the drawing keeper
    // registers through SetCursorKeeper).
    DrawCursor();
    // Print Screen and Alt+Enter act once per press, on the press itself, so a
    // held key does not repeat them and a short tap is not lost between frames.
    Window* window = _graphics.GetWindow();
    const bool snapshot = window && window->TakeKeyPress(VK_SNAPSHOT);
    const bool toggle = window && window->TakeKeyPress(VK_RETURN, true);
    bool ok = false;
    if (_device) {
        _device->EndScene();
        // The screenshot is the finished frame, taken before it is presented.
        if (snapshot) _graphics.SaveScreenshot();
        timer.Start(CFrameTimer::kShow);
        ok = Succeeded(_device->Present());
    }
    _in_frame = false;
    if (toggle) ToggleFullscreen();
    ++_frame_count;
    return ok;
}

bool CEngineCore::ToggleFullscreen() {
    const bool was_in_frame = _in_frame;
    if (was_in_frame) EndFrame();
    FireCallback(0);
    bool ok = Succeeded(_graphics.ToggleFullscreen());
    FireCallback(1);
    if (was_in_frame) BeginFrameWithoutInput();
    if (ok) FireCallback(2);
    if (Window* w = _graphics.GetWindow()) w->PostMessage(WM_ACTIVATEAPP, 1, 0);
    _indices_need_binding = true;
    return ok;
}

void CEngineCore::OnActivate(bool active) {
    if (active) {
        _sound_keeper->ResumeAll();
        _graphics.ApplyGammaRamp(_graphics.GetGammaLevel());
    } else {
        _sound_keeper->PauseAll();
        _graphics.RestoreGammaRamp();
    }
}

int CEngineCore::GetScreenWidth() const { return _graphics.GetWidth(); }
int CEngineCore::GetScreenHeight() const { return _graphics.GetHeight(); }

void CEngineCore::SetGamma(int level) { _graphics.ApplyGammaRamp(level); }

void CEngineCore::SetWorldTransform(float angle, float x, float y) {
    if (!_device) return;
    Matrix world = Matrix::Translation(x, y, 0) * Matrix::RotationZ(angle * 0.017453292f);
    _device->SetTransform(TransformType::World, world);
}

Window* CEngineCore::GetHWND() const { return _graphics.GetWindow(); }

bool CEngineCore::IsFullscreen() const { return _graphics.IsFullscreen(); }

void CEngineCore::ResetFrameStats() {
    _draw_calls = 0;
    _quads = 0;
}

void CEngineCore::DrawQuads(VertexBuffer* vb, unsigned n, unsigned stride) {
    if (!_device) return;
    if (!ASSERT(n <= kMaxQuadsPerBatch)) return;
    if (n > _quad_capacity) {
        _quad_capacity = n;
        _device->SetIndices(nullptr, 0);
        _quad_indices.reset();
        if (Failed(_device->CreateIndexBuffer(static_cast<size_t>(n) * 12, &_quad_indices))) {
            _quad_capacity = 0;
            return;
        }
        void* data = nullptr;
        if (Succeeded(_quad_indices->Lock(0, 0, &data))) {
            auto* idx = static_cast<uint16_t*>(data);
            for (unsigned k = 0; k < n; ++k) {
                uint16_t b = static_cast<uint16_t>(4 * k);
                uint16_t* q = idx + 6 * k;
                q[0] = b;
                q[1] = static_cast<uint16_t>(b + 1);
                q[2] = static_cast<uint16_t>(b + 2);
                q[3] = static_cast<uint16_t>(b + 3);
                q[4] = static_cast<uint16_t>(b + 2);
                q[5] = static_cast<uint16_t>(b + 1);
            }
            _quad_indices->Unlock();
        }
        _device->SetIndices(_quad_indices.get(), 0);
    } else if (_indices_need_binding) {
        _device->SetIndices(_quad_indices.get(), 0);
    }
    _indices_need_binding = false;
    _device->SetStreamSource(0, vb, stride);
    if (n > 0) _device->DrawIndexedTriangleList(0, 4 * n, 0, 2 * n);
    _draw_calls += 1;
    _quads += n;
}

void CEngineCore::SetCursorKeeper(ICursorKeeper* keeper) {
    ICursorKeeper* next = keeper ? keeper : &_plain_cursor;
    // The new keeper takes over where the cursor is now.
    next->SetHotSpot(_cursor->GetX(), _cursor->GetY());
    next->Show(_cursor->IsVisible());
    _cursor = next;
    _graphics.SetGameDrawsCursor(keeper != nullptr);
    _mouse.SetCursorKeeper(_cursor);
    _joystick.SetCursorKeeper(_cursor);
}
