#include "frontend/add_user_dialog.h"

#include "gui/base_control.h"
#include "gui/base_menu_edit.h"
#include "platform/virtual_keys.h"
#include "profiles/user_profiles.h"

CAddUserDialog::CAddUserDialog(CUserProfiles* profiles) : _store(profiles) {}

CUserProfiles& CAddUserDialog::Profiles() const { return _store ? *_store : g_profiles; }

CBaseMenuEdit* CAddUserDialog::Edit() const { return dynamic_cast<CBaseMenuEdit*>(FindControl("ID_USER_NAME")); }

void CAddUserDialog::Activate() {
    CBaseDialog::Activate();
    _name.clear();
    if (CBaseMenuEdit* edit = Edit()) {
        edit->SetEnabled(true);
        edit->SetActive(true);
        edit->SetVisible(true);
        edit->ClearText();
    }
}

bool CAddUserDialog::TakeName() {
    CBaseMenuEdit* edit = Edit();
    if (!edit) return false;
    edit->SetActive(true);
    _name = edit->GetText();
    // "ANN " is the player ANN: blanks at the end are not part of a name.
    while (!_name.empty() && _name.back() == ' ') _name.pop_back();
    return !_name.empty();
}

bool CAddUserDialog::AddOrSelectPlayer() {
    CUserProfiles& profiles = Profiles();
    std::string existing;
    for (uint32_t i = 0; i < profiles.GetPlayerCount(); ++i) {
        if (profiles.GetPlayerName(existing, i) == _name) {
            profiles.SetActivePlayer(i);
            return false;
        }
    }
    return profiles.AddPlayer(_name);
}

void CAddUserDialog::OnOk() {
    if (TakeName() && AddOrSelectPlayer()) SetResult(kResultAdded);
}

void CAddUserDialog::OnClick(CBaseControl* control) {
    const std::string& id = control->GetId();
    if (id == "ID_OK") {
        OnOk();
    } else if (id == "ID_BACK") {
        _name.clear();
        SetResult(kResultBack);
    }
}

void CAddUserDialog::OnKeyDown(int key) {
    CBaseDialog::OnKeyDown(key);
    if (key == plat::VK_ESCAPE) SetResult(kResultBack);
}

void CAddUserDialog::Draw(bool skip_update) {
    CBaseDialog::Draw(skip_update);
    const CBaseMenuEdit* edit = HasControl("ID_USER_NAME") ? Edit() : nullptr;
    if (edit && !edit->IsActive()) OnOk();
}
