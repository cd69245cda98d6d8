#pragma once
// A statistics line whose number counts from one value to another in 50
// steps with a tick per step; the derived lines say how a value is printed
// (CIntCounter, CTimeCounter).
#include <cstdint>

#include "engine/printf_arg.h"
#include "game/base_counter.h"
#include "game/label_counter.h"
#include "game/text_placement.h"
#include "graphics/static_text.h"

namespace ComplexCounter {

class CValueCounter : public CBaseCounter {
public:
    CValueCounter(int32_t from, int32_t to, const TextPlacement& placement, CBaseControl* control);

    void Update() override;
    // Within one step of the end.
    bool IsFinished() const override { return _counter.IsFinished(); }

    int32_t GetValue() const { return _counter.GetValue(); }
    const CStaticText& GetText() const { return _text; }

protected:
    // The label's argument for a shown value.
    virtual PrintfArg MakeArgument(int32_t value) const = 0;

private:
    CLabelCounter _counter;
    CStaticText _text;
    uint8_t _changed = 1;  // the text needs its argument again
};

}  // namespace ComplexCounter
