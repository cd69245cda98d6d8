#include "game/group_counter.h"

#include <algorithm>

namespace ComplexCounter {

void CGroupCounter::UpdateAll() {
    for (const auto& counter : _counters) counter->Update();
}

bool CGroupCounter::AllStarted() const {
    return std::all_of(_counters.begin(), _counters.end(), [](const auto& c) { return c->IsStarted(); });
}

void CGroupCounter::StartAll(bool start) {
    for (const auto& counter : _counters) counter->Start(start);
}

bool CGroupCounter::AllFinished() const {
    return std::all_of(_counters.begin(), _counters.end(), [](const auto& c) { return c->IsFinished(); });
}

}  // namespace ComplexCounter
