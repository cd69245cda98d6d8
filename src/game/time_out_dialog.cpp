#include "game/time_out_dialog.h"

#include "engine/mouse_controller_interface.h"
#include "gui/gui_services.h"
#include "platform/system.h"

CTimeOutDialog::CTimeOutDialog() : _ticks(&plat::GetTickCount) {}

void CTimeOutDialog::Show(uint32_t delay_ms) {
    CBaseDialog::Activate();
    _start_tick = _ticks();
    _delay = delay_ms;
}

void CTimeOutDialog::Draw(bool skip_update) {
    CBaseDialog::Draw(skip_update);
    // Unsigned difference: the tick count may wrap while the dialog waits.
    if (_ticks() - _start_tick > _delay) SetResult(kDone);
    const IMouseController* mouse = gui::Mouse();
    if (!skip_update && mouse && mouse->IsAnyButtonDown()) SetResult(kDone);
}
