#include "game/leave_game_dialog.h"

#include "gui/base_control.h"
#include "platform/virtual_keys.h"

void CLeaveGameDialog::OnClick(CBaseControl* control) {
    const std::string& id = control->GetId();
    if (id == "ID_LEAVE")
        SetResult(kLeave);
    else if (id == "ID_CONCEL")
        SetResult(kStay);
}

void CLeaveGameDialog::OnKeyDown(int key) {
    CBaseDialog::OnKeyDown(key);
    if (key == plat::VK_ESCAPE) SetResult(kStay);
}
