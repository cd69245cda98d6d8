#pragma once
// A label of the current language whose text size grows from its base size
// to base + range and back, for a number of pulses or without end.
#include <cstdint>
#include <string>

#include "graphics/label_desc.h"

struct PulsingLabelItem {
    std::string alias;  // empty: nothing to show
    float x = 0, y = 0;
    LabelDesc style;    // its text height is what pulses
    int32_t argument = 0;
};

class CPulsingLabel {
public:
    static constexpr int32_t kEndless = -1;

    // count: pulses to run, kEndless for ever. Range and speed count by their size.
    void Start(const PulsingLabelItem& item, int32_t range, float speed, int32_t count);
    // One step; false when there is nothing to animate.
    bool Update();
    void Render();

    float GetSize() const { return _item.style.style.height; }
    float GetBase() const { return _base; }
    int32_t GetCount() const { return _count; }

private:
    PulsingLabelItem _item;
    int32_t _count = 0;
    float _base = 0;
    float _top = 0;
    float _speed = 0;
};
