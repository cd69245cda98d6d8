#pragma once
// A statistics line counting milliseconds up, shown as "m:ss" or "h:mm:ss".
#include "game/value_counter.h"

namespace ComplexCounter {

class CTimeCounter : public CValueCounter {
public:
    using CValueCounter::CValueCounter;

protected:
    PrintfArg MakeArgument(int32_t value) const override;
};

}  // namespace ComplexCounter
