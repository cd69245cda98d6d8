#include "game/print_string_counter.h"

namespace ComplexCounter {

CPrintStringCounter::CPrintStringCounter(const std::string* first, const std::string* second,
                                         const TextPlacement& placement, CBaseControl* control)
    : CBaseCounter(control) {
    if (placement.text.empty()) return;  // a missing placement draws nothing
    _text.SetLabel(placement.text, placement.position);
    const PrintfArg a = PrintfArg::MakeString(first ? *first : std::string());
    const PrintfArg b = second ? PrintfArg::MakeString(*second) : PrintfArg();
    _text.SetArgs(&a, second ? &b : nullptr);
}

void CPrintStringCounter::Update() {
    if (_visible && !_text.GetAlias().empty()) _text.Render();
}

}  // namespace ComplexCounter
