#pragma once
// The game-over dialog: once shown it answers 3 when its delay has passed on
// the tick count, or at once while a mouse button is down. The answer is set
// again every frame while either holds.
#include <cstdint>
#include <functional>

#include "gui/base_dialog.h"

class CTimeOutDialog : public CBaseDialog {
public:
    static constexpr int kDone = 3;
    using TickSource = std::function<uint32_t()>;

    // The platform's tick count by default.
    CTimeOutDialog();

    // Activates the dialog and starts its delay (milliseconds).
    void Show(uint32_t delay_ms);
    void Draw(bool skip_update) override;

    // Tests drive the delay with their own clock.
    void SetTickSource(TickSource ticks) { _ticks = std::move(ticks); }
    uint32_t GetDelay() const { return _delay; }

private:
    TickSource _ticks;
    uint32_t _start_tick = 0;
    uint32_t _delay = 0;
};
