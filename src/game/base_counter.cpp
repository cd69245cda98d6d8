#include "game/base_counter.h"

#include "gui/base_control.h"

namespace ComplexCounter {

void CBaseCounter::SetVisible(bool visible) {
    _visible = visible ? 1 : 0;
    if (_control) _control->SetVisible(visible);
}

void CBaseCounter::Start(bool start) {
    _started = start ? 1 : 0;
    if (_started && !_visible) SetVisible(true);
}

}  // namespace ComplexCounter
