#pragma once
// Statistics lines that run together: updated, started and asked as one.
#include <memory>
#include <vector>

#include "game/base_counter.h"

namespace ComplexCounter {

class CGroupCounter {
public:
    void Add(std::shared_ptr<CBaseCounter> counter) { _counters.push_back(std::move(counter)); }
    void UpdateAll();
    // True for an empty group.
    bool AllStarted() const;
    void StartAll(bool start);
    // True for an empty group.
    bool AllFinished() const;

    const std::vector<std::shared_ptr<CBaseCounter>>& GetCounters() const { return _counters; }

private:
    std::vector<std::shared_ptr<CBaseCounter>> _counters;
};

}  // namespace ComplexCounter
