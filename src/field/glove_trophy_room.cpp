// The trophy room of the glove: one trophy per episode's artefact, drawn in
// the episode selector with a page control that describes the trophy under
// the mouse, and the arrival of a newly completed artefact.
#include <algorithm>

#include "engine/log_repeat_limit.h"
#include "engine/logger.h"
#include "engine/mouse_controller_interface.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "field/artefact_blink.h"
#include "field/flying_fragment.h"
#include "field/glove.h"
#include "graphics/object_2d.h"
#include "gui/gui_services.h"
#include "gui/menu_page_control.h"

namespace {

// The trophy's picture covers the point (edges excluded, as the controls test).
bool IsUnderMouse(const ArtefactDesc& desc, float x, float y) {
    const CVector2& at = desc.ico_pos;
    return x > at.x && x < at.x + static_cast<float>(desc.ico.width) && y > at.y &&
           y < at.y + static_cast<float>(desc.ico.height);
}

std::shared_ptr<C2DObject> TrophySprite(const ArtefactDesc& desc) {
    auto sprite = std::make_shared<C2DObject>();
    sprite->Create(desc.ico_pos.x, desc.ico_pos.y, desc.ico, true);
    return sprite;
}

std::shared_ptr<IArtefactEffect> ArrivalBlink(const ArtefactDesc& desc) {
    const ArtefactBlinkDesc& blink = desc.blinking;
    return std::make_shared<CArtefactBlink>(desc.ico_pos.x, desc.ico_pos.y, desc.ico, std::max(blink.num_blink, 1),
                                            blink.speed > 0 ? blink.speed : 10.0f, blink.sound);
}

}  // namespace

Trophy* CGlove::FindTrophy(int id) {
    for (Trophy& trophy : _trophies)
        if (trophy.id == id) return &trophy;
    return nullptr;
}

void CGlove::AddTrophy(int base_id) {
    ASSERT_THROW_IF_FAILED(IsValidBase(base_id));
    ASSERT_THROW_IF_FAILED(!FindTrophy(base_id));
    const ArtefactDesc& desc = GetDesc(base_id);
    Trophy trophy;
    trophy.id = base_id;
    trophy.page = desc.page;
    _trophies.push_back(std::move(trophy));
}

void CGlove::ShowTrophies(int n) {
    for (size_t i = 0; i < _trophies.size(); ++i) {
        const bool shown = static_cast<int>(i) < n;
        _trophies[i].collected = shown;
        _trophies[i].visible = shown;
    }
}

void CGlove::ResetTrophyRoom() {
    for (Trophy& trophy : _trophies) {
        trophy.collected = false;
        trophy.visible = false;
        trophy.effect.reset();
    }
    if (_page_control && _page_control->GetPageCount() > 0) _page_control->SetPage(0);
}

void CGlove::DeserializeTrophyRoom(const CXMLNode& node) {
    ResetTrophyRoom();
    if (!node.IsValid()) {
        CLogger::Instance().Log(1, "Warning: CGlove: no saved player data for the trophy room; it stays empty.");
        return;
    }
    const CXMLNodeList entries = node.SelectNodes("TrophyRoom/Trophy");
    const CLogRepeatLimit repeats;
    for (int i = 0; i < entries.GetLength(); ++i) {
        const int id = entries.GetItem(i).GetAttributeInt("id", -1);
        Trophy* trophy = FindTrophy(id);
        if (!trophy) {
            CLogger::Instance().Log(2, "Warning: CGlove: saved trophy %d is not in the trophy room; ignored.", id);
            continue;
        }
        trophy->collected = true;
        trophy->visible = true;
    }
}

uint32_t CGlove::GetTrophyPage() const { return _page_control ? _page_control->GetPage() : 0; }

void CGlove::UpdatePageUnderMouse() {
    if (!_page_control || _page_control->GetPageCount() == 0) return;
    uint32_t page = 0;
    if (const IMouseController* mouse = gui::Mouse()) {
        const float x = static_cast<float>(mouse->GetX()), y = static_cast<float>(mouse->GetY());
        for (const Trophy& trophy : _trophies) {
            if (trophy.visible && IsUnderMouse(GetDesc(trophy.id), x, y)) {
                page = static_cast<uint32_t>(trophy.page);
                break;
            }
        }
    }
    // A page the control lacks shows the room's own page.
    _page_control->SetPage(page < _page_control->GetPageCount() ? page : 0);
}

void CGlove::RenderTrophyRoom() {
    for (Trophy& trophy : _trophies) {
        if (!trophy.visible) continue;
        // The picture is made when the trophy is first drawn.
        if (!trophy.object) trophy.object = TrophySprite(GetDesc(trophy.id));
        trophy.object->Render();
        if (trophy.effect) trophy.effect->Render();
    }
    UpdatePageUnderMouse();
    if (_page_control) _page_control->Draw(false);
    RenderFlyingFragments();
}

void CGlove::UpdateTrophyRoom() {
    for (Trophy& trophy : _trophies) {
        if (!trophy.visible || !trophy.effect) continue;
        trophy.effect->Update();
        if (!trophy.effect->IsActive()) trophy.effect.reset();
    }
    if (UpdateFlyingFragments()) OnTreasureArrived();
    if (_flying.empty() && IsColored(_active)) StartTreasureFlight(true);
}

void CGlove::OnTreasureArrived() {
    if (!IsValidBase(_active)) return;
    ArtefactRecord& record = Record(_active);
    if (!ASSERT(record.color.get())) return;
    if (Trophy* trophy = FindTrophy(_active)) {
        const ArtefactDesc& desc = GetDesc(_active);
        trophy->object = TrophySprite(desc);
        trophy->effect = ArrivalBlink(desc);
        trophy->collected = true;
        trophy->visible = true;
    }
    ReleaseColor(record);
}

bool CGlove::IsTrophyRoomIdle() const {
    for (const Trophy& trophy : _trophies)
        if (trophy.effect && trophy.effect->IsActive()) return false;
    // A completed artefact still waits to fly in.
    return _flying.empty() && !IsColored(_active);
}
