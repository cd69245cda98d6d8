#include "game/dying_dialog.h"

#include "engine/engine_core_interface.h"
#include "engine/xml_node.h"
#include "field/birds.h"
#include "game/bird_placements.h"
#include "game/remains_lives_message.h"
#include "gui/base_control.h"
#include "profiles/app_params.h"

CDyingDialog::CDyingDialog() = default;

CDyingDialog::~CDyingDialog() = default;

bool CDyingDialog::Load(const CXMLNode& node) {
    const bool loaded = CBaseDialog::Load(node);
    _placements = ReadBirdPlacements(node);
    if (!_placements.empty())
        _bird_delay = static_cast<uint32_t>(node.SelectSingleNode("Birds").GetAttributeInt("delay", 0));
    const CXMLNode message = node.SelectSingleNode("Message");
    _banner_duration = static_cast<uint32_t>(message.GetAttributeInt("delay", 0));
    _banner_speed = message.GetAttributeFloat("speed", 0.0f);
    if (CBaseControl* lives = FindControl("ID_LIVES_NUM")) {
        _lives_position = CVector2(lives->GetX(), lives->GetY());
        lives->SetVisible(false);
    } else {
        // Without its place the banner stands in the middle of the game screen.
        _lives_position = CVector2(static_cast<float>(g_AppParams.centre),
                                   static_cast<float>((g_EngineCore ? g_EngineCore->GetScreenHeight() : 600) / 2));
    }
    return loaded;
}

void CDyingDialog::Show(uint32_t /*unused*/, uint32_t lives) {
    CBaseDialog::Activate();
    _lives = lives;
    _banner.reset();
    RebuildBirds();
}

void CDyingDialog::RebuildBirds() {
    _bird_index = 0;
    _bird_countdown.Set(0);
    if (_placements.empty()) return;
    if (_birds) _birds->Clear();
    _birds = std::make_shared<CBirds>(nullptr, "Settings\\birds.xml", "//Birds/DyingDialog/Bird");
    _birds->AddBirds(_placements, true);
}

void CDyingDialog::Draw(bool skip_update) {
    CBaseDialog::Draw(skip_update);
    if (_birds) {
        _birds->Render();
        _birds->Update();
    }
    if (_banner) _banner->Render();
    if (!skip_update) Step();
}

bool CDyingDialog::Step() {
    if (_bird_index < _placements.size()) {
        _bird_countdown.Decrement();
        if (_bird_countdown.IsZero()) {
            if (_birds) _birds->SetBirdStateAt(_bird_index, kLanding);
            ++_bird_index;
            _bird_countdown.Set(_bird_delay);
        }
        return true;
    }
    if (!_banner) {
        _banner = std::make_shared<CRemainsLivesMessage>();
        _banner->Init();
        _banner->SetDuration(_banner_duration);
        _banner->SetSpeed(_banner_speed);
        _banner->Show(static_cast<int32_t>(_lives), _lives_position);
    }
    return false;
}

void CDyingDialog::OnClick(CBaseControl* control) {
    if (control->GetId() == "ID_OK") SetResult(kContinue);
}

void CDyingDialog::Clear() {
    if (_birds) _birds->Clear();
    _birds.reset();
    _banner.reset();
    CBaseDialog::Clear();
}
