#include "game/help_dialog.h"

#include "game/dialog_controls.h"
#include "gui/menu_page_control.h"

bool CHelpDialog::Load(const CXMLNode& node) {
    const bool loaded = CBaseDialog::Load(node);
    _page_control = FindControlAs<CMenuPageControl>(*this, "ID_PAGES");
    UpdateArrows();
    return loaded;
}

void CHelpDialog::Clear() {
    _page_control = nullptr;
    CBaseDialog::Clear();
}

void CHelpDialog::Activate() {
    if (!_page_control) return;
    _page_control->SetPage(0);
    UpdateArrows();
}

void CHelpDialog::UpdateArrows() {
    if (!_page_control) return;
    const uint32_t page = _page_control->GetPage();
    const uint32_t count = _page_control->GetPageCount();
    _arrows_page = page;
    if (CBaseControl* forward = FindControl("ID_FORWARD")) forward->SetEnabled(page + 1 < count);
    if (CBaseControl* backward = FindControl("ID_BACKWARD")) backward->SetEnabled(page > 0);
}

void CHelpDialog::OnClick(CBaseControl* control) {
    const std::string& id = control->GetId();
    if (id == "ID_BACK") {
        SetResult(kBack);
        return;
    }
    if (id == "ID_CREDITS") {
        SetResult(kCredits);
        return;
    }
    if (_page_control) {
        const uint32_t page = _page_control->GetPage();
        if (id == "ID_FORWARD" && page + 1 < _page_control->GetPageCount()) _page_control->SetPage(page + 1);
        if (id == "ID_BACKWARD" && page > 0) _page_control->SetPage(page - 1);
    }
    // After an arrow too: its own state follows the page it turned to.
    UpdateArrows();
}

void CHelpDialog::Draw(bool skip_update) {
    CBaseDialog::Draw(skip_update);
    if (_page_control && _page_control->GetPage() != _arrows_page) UpdateArrows();
}
