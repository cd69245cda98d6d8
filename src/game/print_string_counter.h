#pragma once
// A statistics line that prints fixed texts as its label's arguments: done as
// soon as it starts (CPrintString1s, CPrintString2s).
#include <string>

#include "engine/printf_arg.h"
#include "game/base_counter.h"
#include "game/text_placement.h"
#include "graphics/static_text.h"

namespace ComplexCounter {

class CPrintStringCounter : public CBaseCounter {
public:
    void Update() override;
    const CStaticText& GetText() const { return _text; }

protected:
    // `second` is null for a label of one argument.
    CPrintStringCounter(const std::string* first, const std::string* second, const TextPlacement& placement,
                        CBaseControl* control);

private:
    CStaticText _text;
};

}  // namespace ComplexCounter
