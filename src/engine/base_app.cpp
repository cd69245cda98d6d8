#include "engine/base_app.h"

#include "engine/engine_core_interface.h"
#include "engine/fault_translation.h"
#include "engine/frame_timer.h"
#include "engine/game_clock.h"
#include "platform/system.h"
#include "platform/window.h"

const uint32_t g_FramePeriod = 1000 / kFrameRate;

namespace {

class SystemClock : public IClock {
public:
    uint32_t TimeGetTime() override { return plat::TimeGetTime(); }
    void SleepUntil(uint32_t deadline) override { plat::SleepUntil(deadline); }
};

// Without a window there is nothing to read: polls come back empty.
class NoMessages : public plat::IMessageSource {
public:
    bool PeekMessage(plat::Message*) override { return false; }
    void GetMessage(plat::Message* msg) override { *msg = plat::Message {plat::WM_QUIT, 0, 0}; }
    intptr_t DispatchMessage(const plat::Message&) override { return 0; }
};

}  // namespace

IEngineCore* ABaseApp::Core() const { return _core ? _core : g_EngineCore; }

void ABaseApp::OnActivate(bool active) {
    _active = active ? 1 : 0;
    if (IEngineCore* core = Core()) core->OnActivate(active);
}

int ABaseApp::Run() {
    IEngineCore* core = Core();
    core->SetCallback(0, nullptr);
    core->SetCallback(1, nullptr);
    Init();

    SystemClock system_clock;
    NoMessages no_messages;
    IClock& clock = _clock ? *_clock : system_clock;
    plat::IMessageSource* source = _source;
    if (!source) source = core->GetHWND();
    if (!source) source = &no_messages;

    CFrameTimer& timer = CFrameTimer::Instance();
    uint32_t last_frame = clock.TimeGetTime();
    for (;;) {
        plat::Message msg;
        bool got = true;
        if (_active) got = source->PeekMessage(&msg);
        else source->GetMessage(&msg);

        if (got) {
            if (msg.message == plat::WM_QUIT) break;
            if (msg.message == kActivateMessage) OnActivate(plat::LoWord(msg.wParam) == 1);
            else if (msg.message == plat::WM_KEYDOWN && _active) OnKeyDown(static_cast<uint16_t>(msg.wParam & 0xFFFF));
            source->DispatchMessage(msg);
            continue;
        }

        const uint32_t dt = clock.TimeGetTime() - last_frame;
        if (dt < g_FramePeriod) {
            // A precise sleep to the frame's start keeps the period without
            // spinning; the messages that came meanwhile are read on waking.
            clock.SleepUntil(last_frame + g_FramePeriod);
            continue;
        }
        // A long stall is given to the game as one frame period.
        const uint32_t frame_ms = dt > 200 ? g_FramePeriod : dt;
        last_frame = clock.TimeGetTime();
        GameClock().Advance(frame_ms);
        core->SetFrameTime(static_cast<float>(frame_ms) / 1000.0f);
        timer.Start(CFrameTimer::kUpdate);
        _running = Update() ? 1 : 0;
        if (!_running) break;
        core->ResetFrameStats();
        timer.Start(CFrameTimer::kRender);
        core->BeginFrame();
        Render();
        core->EndFrame();
        if (timer.Enabled()) timer.Finish(GameClock().Now(), core->GetDrawCalls(), core->GetQuads());
    }
    Exit();
    return 0;
}

int RunApplication(ABaseApp& app) {
    try {
        return app.Run();
    } catch (...) {
        LogCurrentException("WinMain");
        return 1;
    }
}
