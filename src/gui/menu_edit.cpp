#include "gui/menu_edit.h"

#include "graphics/font_keeper.h"
#include "platform/system.h"

CMenuEdit::CMenuEdit(CEventHolder* owner) : CBaseMenuEdit(owner) {}

CMenuEdit::~CMenuEdit() = default;

std::string CMenuEdit::GetShownText(uint32_t ticks) const {
    std::string shown = _text;
    if (_active && ticks % 500 > 250) shown += "_";
    return shown;
}

void CMenuEdit::Draw(bool /*skip_update*/) {
    if (!_visible) return;
    CBaseMenuEdit::Draw(false);
    if (_label.empty()) return;
    const std::string shown = GetShownText(plat::GetTickCount());
    CFontKeeper::Instance().PrintLabel(_left, _top, _label, shown);
}
