#include "game/hint_dialog.h"

#include "gui/base_control.h"
#include "platform/virtual_keys.h"

void CHintDialog::ShowAt(float x, float y) {
    CBaseDialog::Activate();
    if (!HasControl("ID_ANCHOR")) return;
    const CBaseControl* anchor = FindControl("ID_ANCHOR");
    Move(x - (anchor->GetX() + anchor->GetWidth() / 2), y - (anchor->GetY() + anchor->GetHeight()));
}

void CHintDialog::OnClick(CBaseControl* control) {
    if (control->GetId() == "ID_CONTINUE") SetResult(kClosed);
}

void CHintDialog::OnKeyDown(int key) {
    if (key == plat::VK_SPACE || key == plat::VK_RETURN) SetResult(kClosed);
}
