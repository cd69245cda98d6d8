#include "game/label_counter.h"

#include <cmath>

#include "engine/logger.h"
#include "gui/gui_services.h"

namespace {
const char* const kTickSample = "int_label_counter";
}

CLabelCounter::CLabelCounter(int32_t min_n, int32_t max_n)
    : _min(static_cast<float>(min_n)),
      _max(static_cast<float>(max_n)),
      _value(_min),
      _step((_max - _min) / 50.0f) {
    ASSERT(min_n <= max_n);
    gui::LoadSample(kTickSample);
}

// The step is compared by its size, so that a counter built with min above
// max still arrives at max instead of running past it for ever.
bool CLabelCounter::IsFinished() const { return std::fabs(_max - _value) <= std::fabs(_step); }

int32_t CLabelCounter::Update() {
    if (!IsFinished()) {
        _value += _step;
        gui::PlaySample(kTickSample);
    } else {
        _value = _max;
    }
    return GetValue();
}
