#pragma once
// The application base with the main loop. While the window is active the loop
// reads the waiting messages, runs a frame whenever the frame period has passed
// and otherwise sleeps until the next frame is due; while inactive it waits for
// messages and draws nothing.
#include <cstdint>

#include "engine/noncopyable.h"
#include "platform/messages.h"

class IEngineCore;

// The frame rate is fixed; the period is the whole number of milliseconds (16).
constexpr int kFrameRate = 60;
extern const uint32_t g_FramePeriod;

// The loop's clock: the multimedia timer and sleeping (tests drive their own).
class IClock {
public:
    virtual ~IClock() = default;
    virtual uint32_t TimeGetTime() = 0;
    // Returns once TimeGetTime() has reached `deadline` (or at once when it has).
    virtual void SleepUntil(uint32_t deadline) = 0;
};

class ABaseApp : NonCopyable {
public:
    // The private message that carries the window's activation (wParam 1 active).
    static constexpr uint32_t kActivateMessage = 0x1634;

    ABaseApp() = default;
    virtual ~ABaseApp() = default;

    // Stores the flag and tells the engine core (sound paused or resumed, gamma).
    virtual void OnActivate(bool active);
    virtual void Render() = 0;
    virtual bool Update() = 0;
    virtual void OnKeyDown(uint16_t key) = 0;
    virtual void Init() = 0;
    virtual void Exit() = 0;

    // Runs until WM_QUIT or a false Update, then Exit; returns 0.
    int Run();

    // What the loop uses; by default g_EngineCore, its window and the system clock.
    void SetEngineCore(IEngineCore* core) { _core = core; }
    void SetMessageSource(plat::IMessageSource* source) { _source = source; }
    void SetClock(IClock* clock) { _clock = clock; }

    bool IsActive() const { return _active != 0; }
    bool IsRunning() const { return _running != 0; }

protected:
    IEngineCore* Core() const;

    int _running = 1;
    int _active = 1;

private:
    IEngineCore* _core = nullptr;
    plat::IMessageSource* _source = nullptr;
    IClock* _clock = nullptr;
};

// Runs the application's loop; an exception escaping it (a failed device reset,
// an error or a processor fault in a scene) is logged with the place "WinMain"
// and the caller's normal teardown goes on. Returns the loop's result, or 1
// after an exception.
int RunApplication(ABaseApp& app);
