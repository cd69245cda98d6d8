#include "frontend/main_dialog.h"

#include "engine/mouse_controller_interface.h"
#include "engine/printf_arg.h"
#include "engine/vector2.h"
#include "graphics/static_text.h"
#include "gui/base_control.h"
#include "gui/gui_services.h"
#include "gui/menu_label.h"
#include "profiles/user_profiles.h"

CMainDialog::CMainDialog(CUserProfiles* profiles) : _profiles(profiles) {}

CUserProfiles& CMainDialog::Profiles() const { return _profiles ? *_profiles : g_profiles; }

bool CMainDialog::Load(const CXMLNode& node) {
    const bool loaded = CBaseDialog::Load(node);
    if (auto* label = dynamic_cast<CMenuLabel*>(FindControl("ID_SELECTED_USER"))) label->SetOwnerDraw(true);
    return loaded;
}

void CMainDialog::Activate() {
    CBaseDialog::Activate();
    if (IMouseController* mouse = gui::Mouse()) mouse->ResetButtons();
    _command = kNone;
    _shown_player = kNone;
}

void CMainDialog::OnClick(CBaseControl* control) {
    const std::string& id = control->GetId();
    if (id == "ID_ARCADE") _command = kArcade;
    else if (id == "ID_OPTIONS") _command = kOptions;
    else if (id == "ID_EXIT") _command = kExit;
    else if (id == "ID_SELECT_PROFILE") _command = kSelectProfile;
}

void CMainDialog::OnCustomDraw(CBaseControl* control, int /*row*/, int x, int y, const std::string& text,
                               CStaticText* text_object) {
    if (!text_object || control->GetId() != "ID_SELECTED_USER") return;
    const int32_t active = static_cast<int32_t>(Profiles().GetActivePlayer());
    if (active != _shown_player) {
        _shown_player = active;
        std::string name;
        Profiles().GetPlayerName(name, static_cast<uint32_t>(active));
        text_object->SetLabel(text, CVector2(static_cast<float>(x), static_cast<float>(y)));
        const PrintfArg arg = PrintfArg::MakeString(name);
        text_object->SetArgs(&arg, nullptr);
    }
    text_object->Render();
}
