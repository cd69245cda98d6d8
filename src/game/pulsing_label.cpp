#include "game/pulsing_label.h"

#include <cmath>
#include <cstdlib>

#include "graphics/font_keeper.h"

void CPulsingLabel::Start(const PulsingLabelItem& item, int32_t range, float speed, int32_t count) {
    _item = item;
    _count = count;
    _base = _item.style.style.height;
    _top = static_cast<float>(std::abs(range)) + _base;
    _speed = std::fabs(speed);
}

bool CPulsingLabel::Update() {
    if (_item.alias.empty() || _count == 0) return false;
    float& size = _item.style.style.height;
    size += _speed;
    if (size > _base) {
        if (size >= _top) {
            size = _top;
            _speed = -_speed;
        }
    } else {
        // Back at the base: one pulse done.
        size = _base;
        _speed = -_speed;
        if (_count != kEndless) --_count;
    }
    return true;
}

void CPulsingLabel::Render() {
    if (_item.alias.empty()) return;
    CFontKeeper& fonts = CFontKeeper::Instance();
    fonts.EnableStyleOverride(true);
    fonts.SetLabelStyle(_item.style.style);
    fonts.PrintLabel(_item.x, _item.y, _item.alias, _item.argument);
    fonts.EnableStyleOverride(false);
}
