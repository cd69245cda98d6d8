#pragma once
// A statistics line printing one text.
#include "game/print_string_counter.h"

namespace ComplexCounter {

class CPrintString1s : public CPrintStringCounter {
public:
    CPrintString1s(const std::string& text, const TextPlacement& placement, CBaseControl* control)
        : CPrintStringCounter(&text, nullptr, placement, control) {}
};

}  // namespace ComplexCounter
