#pragma once
// A statistics line counting a number up.
#include "game/value_counter.h"

namespace ComplexCounter {

class CIntCounter : public CValueCounter {
public:
    using CValueCounter::CValueCounter;

protected:
    PrintfArg MakeArgument(int32_t value) const override { return PrintfArg(value); }
};

}  // namespace ComplexCounter
