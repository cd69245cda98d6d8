#include "game/value_counter.h"

namespace ComplexCounter {

CValueCounter::CValueCounter(int32_t from, int32_t to, const TextPlacement& placement, CBaseControl* control)
    : CBaseCounter(control), _counter(from, to) {
    // A missing placement has no label: the line then draws nothing.
    if (!placement.text.empty()) _text.SetLabel(placement.text, placement.position);
}

void CValueCounter::Update() {
    if (!_visible) return;
    const int32_t shown = _counter.GetValue();
    if (_started && _counter.Update() != shown) _changed = 1;
    if (_changed) {
        const PrintfArg argument = MakeArgument(_counter.GetValue());
        _text.SetArgs(&argument, nullptr);
        _changed = 0;
    }
    if (!_text.GetAlias().empty()) _text.Render();
}

}  // namespace ComplexCounter
