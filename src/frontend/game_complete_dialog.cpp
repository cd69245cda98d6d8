#include "frontend/game_complete_dialog.h"

#include <algorithm>

#include "gui/base_control.h"
#include "gui/gui_services.h"
#include "gui/menu_page_control.h"

void CGameCompleteDialog::Activate() {
    CBaseDialog::Activate();
    gui::PlaySample("congratulations");
    SetPage(0);
}

void CGameCompleteDialog::OnClick(CBaseControl* control) {
    const std::string& id = control->GetId();
    // Both leave the panel for the menu: nothing else would take the player on.
    if (id == "ID_CONTINUE" || id == "ID_EXIT") SetResult(1);
    else if (id == "ID_FORWARD") SetPage(_page + 1);
    else if (id == "ID_BACKWARD") SetPage(_page - 1);
}

void CGameCompleteDialog::OnSelChange(CBaseControl* control, int32_t index) {
    // A tab of the page control turned the page: the arrows go on from there.
    if (control && control->GetId() == "ID_PAGES") SetPage(index);
}

void CGameCompleteDialog::SetPage(int32_t page) {
    _page = page;
    auto* pages = HasControl("ID_PAGES") ? dynamic_cast<CMenuPageControl*>(FindControl("ID_PAGES")) : nullptr;
    // A page control without pages has no page to turn to.
    if (!pages || pages->GetPageCount() == 0) return;
    const int32_t last = static_cast<int32_t>(pages->GetPageCount()) - 1;
    _page = std::clamp(_page, 0, last);
    pages->SetPage(static_cast<uint32_t>(_page));
    if (HasControl("ID_FORWARD")) FindControl("ID_FORWARD")->SetEnabled(_page != last);
    if (HasControl("ID_BACKWARD")) FindControl("ID_BACKWARD")->SetEnabled(_page != 0);
}
