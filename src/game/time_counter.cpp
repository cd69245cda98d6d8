#include "game/time_counter.h"

#include "game/milliseconds_to_string.h"

namespace ComplexCounter {

PrintfArg CTimeCounter::MakeArgument(int32_t value) const {
    return PrintfArg::MakeString(MillisecondsToString(static_cast<uint32_t>(value)));
}

}  // namespace ComplexCounter
