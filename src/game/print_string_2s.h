#pragma once
// A statistics line printing two texts.
#include "game/print_string_counter.h"

namespace ComplexCounter {

class CPrintString2s : public CPrintStringCounter {
public:
    CPrintString2s(const std::string& first, const std::string& second, const TextPlacement& placement,
                   CBaseControl* control)
        : CPrintStringCounter(&first, &second, placement, control) {}
};

}  // namespace ComplexCounter
