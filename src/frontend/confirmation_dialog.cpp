#include "frontend/confirmation_dialog.h"

#include "gui/base_control.h"
#include "platform/virtual_keys.h"

void CConfirmationDialog::OnClick(CBaseControl* control) {
    const std::string& id = control->GetId();
    if (id == "ID_YES") SetResult(kResultYes);
    else if (id == "ID_NO") SetResult(_no_result);
}

void CConfirmationDialog::OnKeyDown(int key) {
    if (key == plat::VK_ESCAPE) SetResult(_no_result);
}
