#include "game/episode_dialog.h"

#include "engine/engine_core_interface.h"
#include "engine/mouse_controller_interface.h"
#include "engine/sound_keeper_interface.h"
#include "engine/xml_node.h"
#include "field/birds.h"
#include "game/bird_placements.h"
#include "game/dialog_controls.h"
#include "game/game_services.h"
#include "graphics/font_keeper.h"
#include "gui/gui_services.h"
#include "gui/menu_label.h"
#include "gui/menu_page_control.h"

namespace {

constexpr int32_t kPulseRange = 2;
constexpr float kPulseSpeed = 0.08f;

void Play(const std::string& alias) {
    ISoundKeeper* keeper = game::SoundKeeper();
    if (keeper && !alias.empty()) keeper->PlaySample(alias);
}

}  // namespace

CEpisodeDialog::CEpisodeDialog() = default;

CEpisodeDialog::~CEpisodeDialog() = default;

bool CEpisodeDialog::Load(const CXMLNode& node) {
    const bool loaded = CBaseDialog::Load(node);
    _activate_sample = node.GetAttribute("activate_sample", "");
    _first_draw_pending = 1;
    _placements = ReadBirdPlacements(node);
    if (auto* stage = FindOptionalControlAs<CMenuLabel>(*this, "ID_STAGE")) stage->SetOwnerDraw(true);
    return loaded;
}

void CEpisodeDialog::Show(int32_t episode, const std::string& sample) {
    _episode = episode;
    Activate();
    Play(_activate_sample);
    if (auto* missions = FindControlAs<CMenuPageControl>(*this, "ID_MISSIONS")) {
        if (episode >= 0 && static_cast<uint32_t>(episode) < missions->GetPageCount())
            missions->SetPage(static_cast<uint32_t>(episode));
    }
    _first_draw_sample = sample;
}

void CEpisodeDialog::Activate() {
    CBaseDialog::Activate();
    _first_draw_pending = 1;
    if (IMouseController* mouse = gui::Mouse()) {
        if (g_EngineCore) mouse->SetPosition(g_EngineCore->GetScreenWidth() / 2, g_EngineCore->GetScreenHeight() / 2, 0);
        mouse->ResetButtons();
    }
    StartCongratulation();
    CreateBirds();
}

void CEpisodeDialog::StartCongratulation() {
    // Without the label the line stays empty and draws nothing.
    PulsingLabelItem item;
    if (auto* label = FindOptionalControlAs<CMenuLabel>(*this, "ID_CONGRATULATIONS")) {
        item.alias = label->GetCaption();
        item.style = CFontKeeper::Instance().GetLabel(item.alias);
        item.x = label->GetX();
        item.y = label->GetY();
        label->SetVisible(false);
    }
    item.argument = _episode + 1;
    _congratulation.Start(item, kPulseRange, kPulseSpeed, CPulsingLabel::kEndless);
}

void CEpisodeDialog::CreateBirds() {
    if (_placements.empty()) return;
    _birds = std::make_shared<CBirds>(nullptr, "Settings\\birds.xml", "//Birds/Bird");
    _birds->AddBirds(_placements, true);
}

void CEpisodeDialog::Draw(bool skip_update) {
    CBaseDialog::Draw(skip_update);
    _congratulation.Render();
    _congratulation.Update();
    if (_birds) {
        _birds->Render();
        _birds->Update();
    }
    if (_first_draw_pending) {
        Play(_first_draw_sample);
        _first_draw_pending = 0;
    }
}

void CEpisodeDialog::OnCustomDraw(CBaseControl* control, int /*row*/, int x, int y, const std::string& text,
                                  CStaticText* /*text_object*/) {
    if (control && control->GetId() == "ID_STAGE")
        CFontKeeper::Instance().PrintLabel(static_cast<float>(x), static_cast<float>(y), text, _episode + 1);
}

void CEpisodeDialog::OnClick(CBaseControl* control) {
    if (control->GetId() == "ID_OK") SetResult(kContinue);
}

void CEpisodeDialog::Clear() {
    CBaseDialog::Clear();
    if (_birds) _birds->Clear();
    _birds.reset();
}
