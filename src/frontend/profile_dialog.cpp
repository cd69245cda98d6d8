#include "frontend/profile_dialog.h"

#include "engine/logger.h"
#include "engine/mouse_controller_interface.h"
#include "graphics/font_keeper.h"
#include "gui/base_control.h"
#include "gui/gui_services.h"
#include "gui/menu_list_box.h"
#include "platform/virtual_keys.h"
#include "profiles/store_guard.h"
#include "profiles/user_profiles.h"

namespace {
const char* const kRowLabel = "UserName";
}  // namespace

CProfileDialog::CProfileDialog(CUserProfiles* profiles) : _store(profiles) {}

CUserProfiles& CProfileDialog::Profiles() const { return _store ? *_store : g_profiles; }

CMenuListBox* CProfileDialog::List() const { return dynamic_cast<CMenuListBox*>(FindControl("ID_PROF_LIST")); }

void CProfileDialog::Activate() {
    CBaseDialog::Activate();
    if (IMouseController* mouse = gui::Mouse()) mouse->ResetButtons();
    _marked = -1;
    Refresh();
}

void CProfileDialog::Refresh() {
    CUserProfiles& profiles = Profiles();
    CMenuListBox* list = List();
    _profiles.clear();
    if (list) {
        list->Clear();
        // The rows are printed here, with the names as the label's argument.
        list->SetOwnerDraw(1);
    }
    std::string name;
    for (uint32_t i = 0; i < profiles.GetPlayerCount(); ++i) {
        if (list) list->AddItem(kRowLabel);
        _profiles.push_back(profiles.GetPlayerName(name, i));
    }
    const bool has_active = profiles.HasActivePlayer();
    if (list && has_active) list->SelectAndScroll(profiles.GetActivePlayer());
    for (const char* id : {"ID_BACK", "ID_OK", "ID_DELETE"})
        if (CBaseControl* button = FindControl(id)) button->SetEnabled(has_active);
}

bool CProfileDialog::Choose(int64_t index) {
    if (index < 0 || index >= static_cast<int64_t>(Profiles().GetPlayerCount())) return false;
    Profiles().SetActivePlayer(static_cast<uint32_t>(index));
    SetResult(kResultChosen);
    return true;
}

void CProfileDialog::OnCustomDraw(CBaseControl* control, int row, int x, int y, const std::string& text,
                                  CStaticText* /*text_object*/) {
    if (control->GetId() != "ID_PROF_LIST") return;
    if (!ASSERT(row >= 0 && (size_t)row < _profiles.size())) return;
    CFontKeeper::Instance().PrintLabel(static_cast<float>(x), static_cast<float>(y), text,
                                       _profiles[static_cast<size_t>(row)]);
}

void CProfileDialog::OnItemClick(CBaseControl* control, int32_t index) {
    if (control->GetId() == "ID_PROF_LIST") Choose(index);
}

void CProfileDialog::OnClick(CBaseControl* control) {
    const std::string& id = control->GetId();
    if (id == "ID_BACK") {
        SetResult(kResultBack);
    } else if (id == "ID_OK") {
        CMenuListBox* list = List();
        if (ASSERT(list)) Choose(list->GetSelected());
    } else if (id == "ID_ADD") {
        SetResult(kResultAdd);
    } else if (id == "ID_DELETE") {
        CMenuListBox* list = List();
        if (!list || list->GetSelected() >= Profiles().GetPlayerCount()) return;
        _marked = static_cast<int32_t>(list->GetSelected());
        SetResult(kResultDelete);
    }
}

void CProfileDialog::OnKeyDown(int key) {
    CBaseDialog::OnKeyDown(key);
    // Without an active player there is nothing to go back to.
    if (key == plat::VK_ESCAPE && Profiles().HasActivePlayer()) SetResult(kResultBack);
}

void CProfileDialog::DeleteMarked() {
    if (_marked == -1) return;
    GuardStoreCall("CProfileDialog::DeleteMarked", false,
                   [&] { return Profiles().DeletePlayer(static_cast<uint32_t>(_marked)); });
    // A second confirmation must not delete the player that moved up into the row.
    _marked = -1;
    Refresh();
}
