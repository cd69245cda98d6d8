#include "frontend/load_suspended_dialog.h"

#include "graphics/font_keeper.h"
#include "gui/base_control.h"
#include "gui/menu_label.h"
#include "platform/virtual_keys.h"

void CLoadSuspendedDialog::Setup(int32_t episode, int32_t level, int32_t score, int32_t lives, bool next_episode) {
    CBaseDialog::Activate();
    _episode = episode;
    _level = level;
    _score = score;
    _lives = lives;
    if (next_episode) {
        ++_episode;
        _level = 0;
    }
    for (const char* id : {"ID_MISSION", "ID_LEVEL"})
        if (auto* label = dynamic_cast<CMenuLabel*>(FindControl(id))) label->SetOwnerDraw(true);
}

void CLoadSuspendedDialog::OnClick(CBaseControl* control) {
    const std::string& id = control->GetId();
    if (id == "ID_LOAD") SetResult(kResultLoad);
    else if (id == "ID_BACK") SetResult(kResultNewGame);
}

void CLoadSuspendedDialog::OnCustomDraw(CBaseControl* control, int /*row*/, int x, int y, const std::string& text,
                                        CStaticText* /*text_object*/) {
    const std::string& id = control->GetId();
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    if (id == "ID_MISSION") CFontKeeper::Instance().PrintLabel(fx, fy, text, _episode + 1);
    else if (id == "ID_LEVEL") CFontKeeper::Instance().PrintLabel(fx, fy, text, _level + 1);
}

void CLoadSuspendedDialog::OnKeyDown(int key) {
    if (key == plat::VK_ESCAPE) SetResult(kResultBack);
}
