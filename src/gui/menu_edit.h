#pragma once
// The edit box of the dialog files (type "EDIT"): prints its text through a
// label (the text is the label's argument) with a blinking caret while active.
// It polls its keys whenever it is drawn, also in a dialog that only draws.
#include <cstdint>
#include <string>

#include "gui/base_menu_edit.h"

class CMenuEdit : public CBaseMenuEdit {
public:
    explicit CMenuEdit(CEventHolder* owner);
    ~CMenuEdit() override;

    void Clear() override {}
    void Draw(bool skip_update) override;

    // The text as shown at that tick count: with "_" while active in the second
    // half of every 500 ms.
    std::string GetShownText(uint32_t ticks) const;
};
