#include "game/statistics_dialog.h"

#include <cstdio>

#include "engine/keyboard_controller_interface.h"
#include "engine/mouse_controller_interface.h"
#include "engine/random.h"
#include "game/int_counter.h"
#include "game/milliseconds_to_string.h"
#include "game/print_string_1s.h"
#include "game/print_string_2s.h"
#include "game/time_counter.h"
#include "gui/gui_services.h"
#include "gui/menu_label.h"
#include "platform/virtual_keys.h"

namespace {

using namespace ComplexCounter;

constexpr const char* kLineIds[] = {"ID_SCORE_I",       "ID_TIME_S",         "ID_BEST_TIME_S",
                                    "ID_ACE_TIME_S",    "ID_NO_TIME_BONUS",  "ID_BONUS_ACE_TIME_S"};

// The label's alias and place, and the label taken out of the dialog.
bool TakePlacement(CBaseDialog& dialog, const std::string& id, TextPlacement& placement) {
    if (!dialog.HasControl(id)) return false;
    const CBaseControl* control = dialog.FindControl(id);
    const auto* label = dynamic_cast<const CMenuLabel*>(control);
    placement.text = label ? label->GetCaption() : std::string();
    placement.position = CVector2(control->GetX(), control->GetY());
    dialog.RemoveControl(id);
    return true;
}

}  // namespace

bool CStatisticsDialog::Load(const CXMLNode& node) {
    const bool loaded = CBaseDialog::Load(node);
    _placements.clear();
    for (const char* id : kLineIds) {
        TextPlacement placement;
        TakePlacement(*this, id, placement);
        _placements[id] = placement;
    }
    _tips.clear();
    for (int i = 0;; ++i) {
        char id[32];
        std::snprintf(id, sizeof id, "ID_TIPS_%d", i);
        TextPlacement placement;
        if (!TakePlacement(*this, id, placement)) break;
        _tips.push_back(placement);
    }
    return loaded;
}

const TextPlacement& CStatisticsDialog::GetPlacement(const std::string& id) const {
    static const TextPlacement kNone;
    const auto it = _placements.find(id);
    return it != _placements.end() ? it->second : kNone;
}

void CStatisticsDialog::AddLine(std::shared_ptr<CBaseCounter> counter) {
    // Shown at once with its starting value; it counts once started.
    counter->SetVisible(true);
    auto group = std::make_shared<CGroupCounter>();
    group->Add(std::move(counter));
    _groups.push_back(std::move(group));
}

void CStatisticsDialog::Show(const LevelStatistics& statistics) {
    CBaseDialog::Activate();
    _statistics = statistics;
    _skip = 0;
    if (IMouseController* mouse = gui::Mouse()) mouse->ResetButtons();
    _groups.clear();

    const LevelStatistics& s = _statistics;
    AddLine(std::make_shared<CIntCounter>(0, s.score, GetPlacement("ID_SCORE_I"), nullptr));
    AddLine(std::make_shared<CTimeCounter>(0, s.time, GetPlacement("ID_TIME_S"), nullptr));
    AddLine(std::make_shared<CTimeCounter>(0, s.ace_time, GetPlacement("ID_ACE_TIME_S"), nullptr));
    if (s.time_bonus == 0)
        AddLine(std::make_shared<CPrintString1s>(std::string(), GetPlacement("ID_NO_TIME_BONUS"), nullptr));
    else
        AddLine(std::make_shared<CIntCounter>(0, s.time_bonus, GetPlacement("ID_BONUS_ACE_TIME_S"), nullptr));
    AddLine(std::make_shared<CPrintString2s>(MillisecondsToString(static_cast<uint32_t>(s.best_time)), s.best_player,
                                             GetPlacement("ID_BEST_TIME_S"), nullptr));
    ChooseTip();
}

void CStatisticsDialog::ChooseTip() {
    // A dialog without tips shows none.
    if (_tips.empty()) return;
    const TextPlacement& tip = _tips[static_cast<size_t>(fx::Range(0, static_cast<int>(_tips.size())))];
    _tip_text.SetLabel(tip.text, tip.position);
}

void CStatisticsDialog::AdvanceTally() {
    if (_groups.empty()) return;
    if (!_groups.front()->AllStarted()) {
        _groups.front()->StartAll(true);
        return;
    }
    for (size_t i = 1; i < _groups.size(); ++i) {
        CGroupCounter& next = *_groups[i];
        if (next.AllStarted()) continue;
        const CGroupCounter& previous = *_groups[i - 1];
        if (previous.AllStarted() && previous.AllFinished()) next.StartAll(true);
        return;
    }
}

void CStatisticsDialog::Draw(bool skip_update) {
    if (!skip_update) AdvanceTally();
    CBaseDialog::Draw(skip_update);
    for (const auto& group : _groups) group->UpdateAll();
    if (!_tip_text.GetAlias().empty()) _tip_text.Render();

    const IMouseController* mouse = gui::Mouse();
    const IKeyboardController* keyboard = gui::Keyboard();
    const bool skip_pressed = (mouse && mouse->IsButtonPressed(0)) || (keyboard && keyboard->IsKeyPressed(plat::VK_SPACE));
    if (skip_pressed && !_skip && !skip_update)
        for (const auto& group : _groups) group->StartAll(true);
}

void CStatisticsDialog::OnClick(CBaseControl* control) {
    if (control->GetId() == "ID_OK") SetResult(kYes);
}

void CStatisticsDialog::OnKeyDown(int key) {
    CBaseDialog::OnKeyDown(key);
    if (key == 'Y' || key == 'y') SetResult(kYes);
    if (key == 'N' || key == 'n') SetResult(kNo);
}
