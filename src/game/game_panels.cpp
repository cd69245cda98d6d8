#include "game/game_panels.h"

#include <algorithm>
#include <stdexcept>

#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "field/string_to_point.h"
#include "game/game_state_source.h"
#include "gui/base_control.h"
#include "gui/menu_progress_bar.h"

const std::array<CGamePanels::ToolSlot, 3> CGamePanels::kSlots {{
    {kToolHammer, "ID_HAMMER", "ID_HAMMER_IMAGE", "ID_HAMMER_PROGRESS", 0},
    {kToolEgg, "ID_EGG", "ID_EGG_IMAGE", "ID_EGG_PROGRESS", 2},
    {kToolFeather, "ID_FEATHER", "ID_FEATHER_IMAGE", "ID_FEATHER_PROGRESS", 1},
}};

CGamePanels::CGamePanels() : _rings {&_hammer_ring, &_egg_ring, &_feather_ring} {}

CGamePanels::~CGamePanels() = default;

int CGamePanels::SlotOf(int32_t tool) {
    for (size_t i = 0; i < kSlots.size(); ++i)
        if (kSlots[i].tool == tool) return static_cast<int>(i);
    return -1;
}

void CGamePanels::OnClick(CBaseControl* control) {
    const std::string& id = control->GetId();
    if (id == "ID_MENU")
        SetResult(kResultMenu);
    else if (id == "ID_HAMMER")
        SetResult(kResultHammer);
    else if (id == "ID_EGG")
        SetResult(kResultEgg);
    else if (id == "ID_FEATHER")
        SetResult(kResultFeather);
}

bool CGamePanels::LoadFromDialogs() {
    const CXMLFile file("Settings\\Dialogs.xml");
    return Load(file.SelectSingleNode("//Dialogs/GameDialog"));
}

bool CGamePanels::Load(const CXMLNode& node) {
    const bool loaded = CBaseDialog::Load(node);
    LoadIndicators();
    LoadRings();
    LoadBlinks(node);
    _blinks_enabled = 0;
    return loaded;
}

void CGamePanels::LoadIndicators() {
    if (!_indicators.empty())
        CLogger::Instance().Log(3, "Assert failed: '%s', File=%s, Line=%d", "_indicators.empty()", __FILE__, __LINE__);
    const CXMLFile file("Settings\\GameScreenPanel.xml");
    const CXMLNodeList nodes = file.SelectNodes("//GameScreenPanel/Indicators/Indicator");
    for (int i = 0; i < nodes.GetLength(); ++i) {
        auto indicator = std::make_shared<CGameStateIndicator>();
        indicator->Load(nodes.GetItem(i));
        _indicators.push_back(std::move(indicator));
    }
}

void CGamePanels::LoadRings() {
    const CXMLFile file("Settings\\Bases\\Common.xml");
    _hammer_ring.Load(file.SelectSingleNode("//Common/HammerRing"));
    _egg_ring.Load(file.SelectSingleNode("//Common/EggRing"));
    _feather_ring.Load(file.SelectSingleNode("//Common/FeatherRing"));
    _life_indicator.Load(file.SelectSingleNode("//Common/Life"));
}

void CGamePanels::LoadBlinks(const CXMLNode& node) {
    const CXMLNodeList blinks = node.SelectNodes("Blinks/Blink");
    if (blinks.GetLength() == 0) {
        CLogger::Instance().Log(3, "Assert failed: '%s', File=%s, Line=%d", "BlinkNode.IsValid()", __FILE__, __LINE__);
        throw std::runtime_error("Assertion failed");
    }
    for (int i = 0; i < blinks.GetLength(); ++i) {
        const CXMLNode blink = blinks.GetItem(i);
        ToolBlinkDesc desc;
        desc.pos = StringToPoint(blink.GetAttribute("pos", ""));
        desc.num_blink = blink.GetAttributeInt("num_blink", 0);
        desc.speed = blink.GetAttributeFloat("speed", 0.0f);
        desc.sound = blink.GetAttribute("sound", "");
        desc.graphics = ParseGraphics(blink);
        desc.delay = blink.GetAttributeInt("delay", 0);
        _blink_desc.push_back(std::move(desc));
    }
}

void CGamePanels::Render(bool skip_update) {
    Draw(skip_update);
    _life_indicator.Update();
    _life_indicator.SetNoLifeLeft(_source && _source->GetLives() <= 0);
    _life_indicator.Render();
    for (const auto& indicator : _indicators) indicator->Render(_source);
    for (CToolRing* ring : _rings) {
        ring->Update();
        ring->Render();
    }
    for (size_t i = 0; i < kSlots.size(); ++i) {
        const ToolSlot& slot = kSlots[i];
        if (!_rings[i]->TakeFinished()) continue;
        // The ring has grown: the tool is ready.
        SetToolButtonVisible(slot.tool, true);
        ShowToolImage(slot.tool, true);
        SetToolProgressVisible(slot.tool, false);
        const int32_t delay = slot.blink_desc < _blink_desc.size() ? _blink_desc[slot.blink_desc].delay : 0;
        _countdowns[i].Set(static_cast<uint32_t>(std::max(0, delay)));
    }
    for (auto& blink : _blinks) {
        if (!blink) continue;
        blink->Update();
        blink->Render();
    }
    for (size_t i = 0; i < kSlots.size(); ++i) {
        _countdowns[i].Decrement();
        if (_countdowns[i].IsZero()) StartToolBlink(kSlots[i].tool);
    }
}

void CGamePanels::StartToolBlink(int32_t tool) {
    if (!_blinks_enabled || !IsToolAvailable(tool)) return;
    const int slot = SlotOf(tool);
    const size_t index = kSlots[static_cast<size_t>(slot)].blink_desc;
    if (index >= _blink_desc.size()) {
        CLogger::Instance().Log(3, "Assert failed: '%s', File=%s, Line=%d", "blink_type < _blink_desc.size()",
                                __FILE__, __LINE__);
        throw std::runtime_error("Assertion failed");
    }
    const ToolBlinkDesc& desc = _blink_desc[index];
    _blinks[static_cast<size_t>(slot)] =
        std::make_unique<CArtefactBlink>(desc.pos.x, desc.pos.y, desc.graphics, desc.num_blink, desc.speed, desc.sound);
    _countdowns[static_cast<size_t>(slot)].Set(static_cast<uint32_t>(std::max(0, desc.delay)));
}

CBaseControl* CGamePanels::ToolControl(int32_t tool, const char* ToolSlot::*which) const {
    const int slot = SlotOf(tool);
    if (slot < 0) return nullptr;
    return FindControl(kSlots[static_cast<size_t>(slot)].*which);
}

CMenuProgressBar* CGamePanels::ToolBar(int32_t tool) const {
    return dynamic_cast<CMenuProgressBar*>(ToolControl(tool, &ToolSlot::progress));
}

void CGamePanels::SetControlVisible(int32_t tool, const char* ToolSlot::*which, bool visible) {
    if (CBaseControl* control = ToolControl(tool, which)) control->SetVisible(visible);
}

CToolRing* CGamePanels::GetRing(int32_t tool) {
    const int slot = SlotOf(tool);
    return slot < 0 ? nullptr : _rings[static_cast<size_t>(slot)];
}

const CArtefactBlink* CGamePanels::GetBlink(int32_t tool) const {
    const int slot = SlotOf(tool);
    return slot < 0 ? nullptr : _blinks[static_cast<size_t>(slot)].get();
}

void CGamePanels::ResetToolProgress(int32_t tool) {
    if (CMenuProgressBar* bar = ToolBar(tool)) bar->setValue(0);
}

bool CGamePanels::AddToolProgress(const ToolValue& amount) {
    CMenuProgressBar* bar = ToolBar(amount.tool);
    if (!bar) return false;
    bar->setValue(bar->getTarget() + amount.value);
    return bar->getTarget() >= bar->getMax();
}

bool CGamePanels::GetToolProgress(ToolValue& out) {
    CMenuProgressBar* bar = ToolBar(out.tool);
    if (!bar) return false;
    out.value = bar->getValue();
    return true;
}

bool CGamePanels::SetToolProgress(const ToolValue& value) {
    CMenuProgressBar* bar = ToolBar(value.tool);
    if (!bar) return false;
    bar->setValue(value.value);
    const bool full = bar->getTarget() == bar->getMax();
    SetToolButtonVisible(value.tool, full);
    ShowToolImage(value.tool, full);
    SetToolProgressVisible(value.tool, !full);
    return true;
}

bool CGamePanels::IsToolAvailable(int32_t tool) {
    const CBaseControl* button = ToolControl(tool, &ToolSlot::button);
    return button && button->IsVisible();
}

void CGamePanels::ShowToolImage(int32_t tool, bool show) {
    SetControlVisible(tool, &ToolSlot::image, show);
    if (!show) {
        const int slot = SlotOf(tool);
        if (slot >= 0) _blinks[static_cast<size_t>(slot)].reset();
    }
}

void CGamePanels::SetToolButtonVisible(int32_t tool, bool visible) { SetControlVisible(tool, &ToolSlot::button, visible); }

void CGamePanels::SetToolProgressVisible(int32_t tool, bool visible) {
    SetControlVisible(tool, &ToolSlot::progress, visible);
}

void CGamePanels::EnableTool(int32_t tool, bool on) {
    CToolRing* ring = GetRing(tool);
    if (!ring) return;
    if (on) {
        ring->Start();
        ring->SetDisabled(true);
        return;
    }
    SetToolButtonVisible(tool, false);
    ShowToolImage(tool, false);
    SetToolProgressVisible(tool, true);
    ring->SetDisabled(false);
}

bool CGamePanels::GetToolButtonPos(int32_t tool, CVector2& pos) const {
    const CBaseControl* button = ToolControl(tool, &ToolSlot::button);
    if (!button) return false;
    // The middle of the tool's row: a hint pointing there fits beside the panel's edge.
    pos = CVector2(button->GetX() + button->GetWidth() / 2, button->GetY() + button->GetHeight() / 2);
    return true;
}

bool CGamePanels::GetToolProgressPoint(int32_t tool, CVector2& point) {
    CMenuProgressBar* bar = ToolBar(tool);
    if (!bar) return false;
    point = bar->getIndicatorPoint();
    return true;
}
