#include "field/glove.h"

#include <algorithm>
#include <exception>

#include "engine/logger.h"
#include "engine/sound_keeper_interface.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "field/artefact_blink.h"
#include "field/artefact_fader.h"
#include "field/ball.h"
#include "field/field_services.h"
#include "field/flying_fragment.h"
#include "field/keeper_sprite.h"
#include "graphics/explosion.h"
#include "graphics/object_2d.h"
#include "gui/menu_page_control.h"
#include "gui/sample_queue.h"

namespace {

// The panel fades in and out this much alpha per frame while it slides.
constexpr float kPanelFadeSpeed = 12.0f;
// The completed picture fades in over the grey one this much per frame.
constexpr float kColorFadeSpeed = 5.0f;

void PlayAtOnce(const std::string& alias) {
    if (alias.empty()) return;
    if (ISoundKeeper* keeper = field::SoundKeeper()) keeper->PlaySample(alias);
}

std::shared_ptr<C2DObject> OwnSprite(const CVector2& at, const CGraphicsDesc& graphics) {
    auto sprite = std::make_shared<C2DObject>();
    sprite->Create(at.x, at.y, graphics, true);
    return sprite;
}

}  // namespace

CGlove& CGlove::Instance() {
    static CGlove glove(kFileName);
    return glove;
}

CGlove::CGlove(const std::string& file_name) { Load(file_name); }

CGlove::~CGlove() {
    // The flights and sprites leave the keepers' batches before the keepers go.
    _flying.clear();
    _records.clear();
    _panel.clear();
    _trophies.clear();
}

void CGlove::Load(const std::string& file_name) {
    try {
        const CXMLFile document(file_name);
        const CXMLNodeList nodes = document.SelectNodes("//Base/Artefacts/Artefact");
        for (int i = 0; i < nodes.GetLength(); ++i) _descs.push_back(ParseArtefactDesc(nodes.GetItem(i)));
        const CXMLNode control = document.SelectSingleNode("//Base/TrophyRoom/Control");
        if (control.IsValid()) {
            _page_control = std::make_unique<CMenuPageControl>(nullptr);
            _page_control->Load(control);
        } else {
            CLogger::Instance().Log(2, "Warning: '%s' describes no trophy room page control.", file_name.c_str());
        }
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: The artefacts could not be read from '%s': %s", file_name.c_str(), e.what());
    }
    _records.resize(_descs.size());
}

bool CGlove::IsValidBase(int base_id) const { return base_id >= 0 && base_id < GetBaseCount(); }

const ArtefactDesc& CGlove::GetDesc(int base_id) const {
    ASSERT_THROW_IF_FAILED(IsValidBase(base_id));
    return _descs[static_cast<size_t>(base_id)];
}

// ---------------------------------------------------------------- panel

void CGlove::SetActiveArtefact(int base_id) {
    ASSERT_THROW_IF_FAILED(IsValidBase(base_id));
    if (base_id == _active) return;
    if (IsValidBase(_active)) AttachCells(_active, false);
    _active = base_id;
    AttachCells(_active, true);
    _slider.SetOrigin(GetDesc(_active).slide_offset);
    BuildPanel();
    SetArtefactShown(_shown);
}

void CGlove::BuildPanel() {
    _panel.clear();
    const ArtefactDesc& desc = GetDesc(_active);
    for (const ArtefactPicture* picture : {&desc.background, &desc.base_grey}) {
        if (picture->graphics.texture.empty()) continue;
        _panel.push_back(OwnSprite(desc.pos + picture->offset, picture->graphics));
    }
}

void CGlove::AttachCells(int base_id, bool attach) {
    const ArtefactDesc& desc = GetDesc(base_id);
    ArtefactRecord& record = Record(base_id);
    for (size_t i = 0; i < record.cells.size(); ++i) {
        C2DObject& sprite = *record.cells[i];
        if (attach) {
            sprite.SetRenderer(_ren_keeper.GetRenderer(desc.cells[i].graphics.texture));
        } else if (CTexturedRectsList* renderer = sprite.GetRenderer()) {
            sprite.DetachRenderer();
            _ren_keeper.ReleaseRenderer(renderer);
        }
    }
}

void CGlove::ShowArtefact(bool show) {
    if (show == _shown || !IsValidBase(_active)) return;
    const ArtefactDesc& desc = GetDesc(_active);
    _shown = show;
    if (show) {
        _slider.Start(desc.slide_end, desc.slide_begin, desc.slide_speed);
        _fader.SetSpeed(kPanelFadeSpeed);
        _fader.FadeUp(0, 255);
    } else {
        _slider.Start(desc.slide_begin, desc.slide_end, desc.slide_speed);
        _fader.SetSpeed(kPanelFadeSpeed);
        _fader.FadeDown(0, 255);
    }
    // A speed of 0 would never arrive: the panel jumps.
    if (desc.slide_speed <= 0) _slider.SetState(CDialogSlider2::ssIdle);
    _pending_sound = show ? desc.sound_show : desc.sound_hide;
    ApplyPanelAlpha();
}

void CGlove::SetArtefactShown(bool show) {
    _shown = show;
    _fader.SetSpeed(kPanelFadeSpeed);  // stops a running fade
    if (!IsValidBase(_active)) return;
    const ArtefactDesc& desc = GetDesc(_active);
    const CVector2& at = show ? desc.slide_begin : desc.slide_end;
    _slider.Start(at, at, desc.slide_speed);
    _slider.SetState(CDialogSlider2::ssIdle);
    ApplyPanelAlpha();
}

bool CGlove::IsPanelMoving() const { return _slider.GetState() != CDialogSlider2::ssIdle; }

CVector2 CGlove::SlideShift() const {
    return IsValidBase(_active) ? GetDesc(_active).slide_offset + _slider.GetCurrent() : CVector2(0, 0);
}

void CGlove::ApplyPanelAlpha() {
    // Once a fade is over: opaque when shown, transparent for the rest of a slide out.
    const int alpha = _fader.IsActive() ? static_cast<int>(_fader.GetValue()) : (_shown ? 255 : 0);
    for (const auto& sprite : _panel) sprite->SetAlpha(alpha, kAllCorners);
    if (!IsValidBase(_active)) return;
    for (const auto& sprite : Record(_active).cells) sprite->SetAlpha(alpha, kAllCorners);
}

void CGlove::PlayPendingSound() {
    if (_pending_sound.empty()) return;
    PlayAtOnce(_pending_sound);
    _pending_sound.clear();
}

// ---------------------------------------------------------------- fragments

int CGlove::NextFragmentGraphType() const {
    if (!IsValidBase(_active)) return -1;
    const ArtefactDesc& desc = GetDesc(_active);
    const size_t taken = static_cast<size_t>(GetPlacedCount(_active) + GetFlyingCount(_active));
    return taken >= desc.cells.size() ? -1 : desc.fragment_graph_type;
}

void CGlove::FlyFragmentToArtefact(std::shared_ptr<CBall> ball) {
    ASSERT_THROW_IF_FAILED(IsValidBase(_active));
    if (!ball) {
        CLogger::Instance().Log(2, "Error: CGlove: no fragment ball to fly.");
        return;
    }
    const ArtefactDesc& desc = GetDesc(_active);
    int cell_index = GetPlacedCount(_active) + GetFlyingCount(_active);
    if (static_cast<size_t>(cell_index) >= desc.cells.size()) cell_index = -1;
    ASSERT_THROW_IF_FAILED(cell_index != -1);
    const ArtefactCellDesc& cell = desc.cells[static_cast<size_t>(cell_index)];
    const CVector2 target = desc.pos + SlideShift() + cell.offset;
    const CVector2 size(static_cast<float>(cell.graphics.width), static_cast<float>(cell.graphics.height));
    _flying.push_back(std::make_unique<CFlyingFragment>(_active, cell_index, std::move(ball), target, size,
                                                        &_fly_keeper, desc.fragment_plume));
    g_SampleQueue.Add("arte_fly");
}

void CGlove::StartTreasureFlight(bool out) {
    if (!IsValidBase(_active) || !Record(_active).color) {
        CLogger::Instance().Log(2, "Error: CGlove: no completed artefact to fly to the trophy room.");
        return;
    }
    const ArtefactDesc& desc = GetDesc(_active);
    // The icon leaves from (or lands on) the middle of the artefact picture.
    const CGraphicsDesc& color = desc.base_color.graphics;
    const CVector2 centre = desc.pos + desc.base_color.offset +
                            CVector2(static_cast<float>(color.width - desc.ico.width) / 2,
                                     static_cast<float>(color.height - desc.ico.height) / 2);
    const CVector2 from = out ? centre : desc.ico_pos;
    const CVector2 to = out ? desc.ico_pos : centre;
    _flying.push_back(std::make_unique<CFlyingFragment>(_active, OwnSprite(from, desc.ico), to));
    PlayAtOnce(out ? "treasure_fly_out" : "treasure_fly_in");
}

bool CGlove::UpdateFlyingFragments() {
    if (_flying.empty()) return false;
    bool landed_any = false;
    for (auto& flight : _flying) landed_any = flight->Step() || landed_any;
    if (!landed_any) return false;
    LandArrived();
    return _flying.empty();
}

void CGlove::LandArrived() {
    for (auto it = _flying.begin(); it != _flying.end();) {
        if (!(*it)->HasArrived()) {
            ++it;
            continue;
        }
        const int base_id = (*it)->GetBaseId();
        const bool lands = (*it)->Lands();
        it = _flying.erase(it);
        // A fragment that arrives after the artefact was completed does not land.
        if (lands && !IsColored(base_id)) LandFragment(base_id, true);
    }
}

void CGlove::LandFragment(int base_id, bool with_effects) {
    const ArtefactDesc& desc = GetDesc(base_id);
    ArtefactRecord& record = Record(base_id);
    if (!ASSERT(record.cells.size() < desc.cells.size())) return;
    const ArtefactCellDesc& cell = desc.cells[record.cells.size()];
    const CVector2 at = desc.pos + cell.offset;
    std::shared_ptr<C2DObject> sprite = CreateKeeperSprite(_ren_keeper, at.x, at.y, cell.graphics);
    if (base_id != _active) {
        CTexturedRectsList* renderer = sprite->GetRenderer();
        sprite->DetachRenderer();
        if (renderer) _ren_keeper.ReleaseRenderer(renderer);
    }
    record.cells.push_back(std::move(sprite));
    if (with_effects) {
        g_SampleQueue.Add("arte_cell");
        _explosions.Add(cell.explosion, at.x + static_cast<float>(cell.graphics.width) / 2,
                        at.y + static_cast<float>(cell.graphics.height) / 2);
    }
    if (record.cells.size() < desc.cells.size()) return;
    if (with_effects)
        _color_pending = true;
    else
        ColorArtefact(base_id, false);
}

void CGlove::ColorArtefact(int base_id, bool with_effects) {
    const ArtefactDesc& desc = GetDesc(base_id);
    ArtefactRecord& record = Record(base_id);
    if (!ASSERT(!record.color.get())) return;
    record.color = OwnSprite(desc.pos + desc.base_color.offset, desc.base_color.graphics);
    if (with_effects) {
        record.color_effect = std::make_shared<CArtefactFader>(record.color, kColorFadeSpeed);
        _effect_pending = true;
        _explosions.Add(desc.color_explosion, desc.pos.x + desc.expl_offset.x, desc.pos.y + desc.expl_offset.y);
        PlayAtOnce(desc.color_sound);
    }
    if (Trophy* trophy = FindTrophy(base_id)) {
        trophy->collected = true;
        trophy->visible = false;
    }
}

void CGlove::StartEffects(int base_id) {
    const ArtefactDesc& desc = GetDesc(base_id);
    ArtefactRecord& record = Record(base_id);
    for (const ArtefactBlinkDesc* blink : {&desc.blinking, &desc.glow}) {
        if (blink->picture.graphics.texture.empty() || blink->num_blink <= 0) continue;
        const CVector2 at = desc.pos + blink->picture.offset;
        record.effects.push_back(std::make_shared<CArtefactBlink>(at.x, at.y, blink->picture.graphics,
                                                                  blink->num_blink, blink->speed, blink->sound));
    }
}

// ---------------------------------------------------------------- frame

void CGlove::Update() {
    if (_color_pending) {
        _color_pending = false;
        if (IsValidBase(_active)) ColorArtefact(_active, true);
    }
    if (_effect_pending) {
        _effect_pending = false;
        if (IsValidBase(_active)) StartEffects(_active);
    }
    if (IsValidBase(_active)) {
        ArtefactRecord& record = Record(_active);
        if (record.color_effect) {
            record.color_effect->Update();
            if (!record.color_effect->IsActive()) record.color_effect.reset();
        }
        for (const auto& effect : record.effects) effect->Update();
        std::erase_if(record.effects, [](const auto& effect) { return !effect->IsActive(); });
    }
    // Effects on a panel that is not drawn would never be seen to end.
    if (!_shown && !IsPanelMoving()) _explosions.Clear();
    _explosions.DropFinished();
    if (_fader.IsActive()) {
        _fader.Update();
        ApplyPanelAlpha();
    }
}

void CGlove::Render() {
    if (IsValidBase(_active) && (_shown || IsPanelMoving())) {
        ArtefactRecord& record = Record(_active);
        _slider.BeginDraw();
        for (const auto& sprite : _panel) sprite->Render();
        _ren_keeper.RenderAll();
        if (record.color) record.color->Render();
        for (const auto& effect : record.effects) effect->Render();
        _explosions.Render();
        _slider.EndDraw();
    }
    PlayPendingSound();
}

void CGlove::RenderFlyingFragments() {
    if (_flying.empty()) return;
    _fly_keeper.RenderAll();
    _trails.clear();
    for (const auto& flight : _flying) {
        flight->Render();
        if (flight->GetTrail() != 0) _trails.push_back(flight->GetTrail());
    }
    if (!_trails.empty()) explosion::GetExplosionManager()->RenderEmitters(_trails);
}

bool CGlove::IsIdle() const { return _flying.empty() && IsEffectsDone(); }

bool CGlove::IsEffectsDone() const {
    if (!_explosions.IsEmpty() || _color_pending || _effect_pending) return false;
    if (!IsValidBase(_active)) return true;
    const ArtefactRecord& record = _records[static_cast<size_t>(_active)];
    return !record.color_effect && record.effects.empty();
}

// ---------------------------------------------------------------- state

int CGlove::GetPlacedCount(int base_id) const {
    return IsValidBase(base_id) ? static_cast<int>(_records[static_cast<size_t>(base_id)].cells.size()) : 0;
}

int CGlove::GetFlyingCount(int base_id) const {
    return static_cast<int>(std::count_if(_flying.begin(), _flying.end(), [base_id](const auto& flight) {
        return flight->GetBaseId() == base_id && flight->Lands();
    }));
}

bool CGlove::IsColored(int base_id) const {
    return IsValidBase(base_id) && _records[static_cast<size_t>(base_id)].color != nullptr;
}

const ArtefactRecord* CGlove::GetRecord(int base_id) const {
    return IsValidBase(base_id) ? &_records[static_cast<size_t>(base_id)] : nullptr;
}

void CGlove::ReleaseColor(ArtefactRecord& record) {
    record.color_effect.reset();
    record.color.reset();
    record.effects.clear();
}

void CGlove::ResetArtefacts() {
    for (const auto& flight : _flying) flight->StopTrail();
    _flying.clear();
    for (size_t i = 0; i < _records.size(); ++i) {
        ArtefactRecord& record = _records[i];
        for (auto& sprite : record.cells) {
            if (sprite->GetRenderer())
                ReleaseKeeperSprite(_ren_keeper, sprite);
            else
                sprite.reset();
        }
        record.cells.clear();
        ReleaseColor(record);
    }
    _explosions.Clear();
    _color_pending = false;
    _effect_pending = false;
    _pending_sound.clear();
    // Nothing is attached any more: the batches (and their textures) go.
    _fly_keeper.ReleaseAll();
    _ren_keeper.ReleaseAll();
}

void CGlove::Clear() {
    _active = -1;
    ResetArtefacts();
    _panel.clear();
    _shown = false;
    _slider.SetState(CDialogSlider2::ssIdle);
}

// ---------------------------------------------------------------- saved game

bool CGlove::Serialize(CXMLFile& xml, CXMLNode& node) const {
    CXMLNode artefact = xml.CreateNode("Artefact");
    artefact.SetAttributeInt("active_artefact", _active);
    artefact.SetAttributeInt("fragment", GetPlacedCount(_active) + GetFlyingCount(_active));
    artefact.SetAttributeBool("show", _shown);
    bool ok = node.AppendChild(artefact);
    CXMLNode room = xml.CreateNode("TrophyRoom");
    for (const Trophy& trophy : _trophies) {
        if (!trophy.collected) continue;
        CXMLNode entry = xml.CreateNode("Trophy");
        entry.SetAttributeInt("id", trophy.id);
        room.AppendChild(entry);
    }
    ok = node.AppendChild(room) && ok;
    return ok;
}

bool CGlove::Deserialize(const CXMLNode& node) {
    const CXMLNode artefact = node.SelectSingleNode("Artefact");
    if (!artefact.IsValid()) {
        CLogger::Instance().Log(2, "Error: CGlove: the saved game has no 'Artefact' node.");
        return false;
    }
    bool ok = true;
    const int base_id = artefact.GetAttributeInt("active_artefact", -1);
    if (IsValidBase(base_id)) {
        SetActiveArtefact(base_id);
    } else {
        CLogger::Instance().Log(2, "Error: CGlove: saved active artefact %d is no artefact; ignored.", base_id);
        ok = false;
    }
    // The saved count holds the fragments then in flight.
    for (const auto& flight : _flying) flight->SetLands(false);
    _color_pending = false;
    _effect_pending = false;
    if (IsValidBase(_active)) {
        ArtefactRecord& record = Record(_active);
        AttachCells(_active, false);
        record.cells.clear();
        ReleaseColor(record);
        const int cell_count = static_cast<int>(GetDesc(_active).cells.size());
        int fragments = artefact.GetAttributeInt("fragment", 0);
        if (fragments < 0 || fragments > cell_count) {
            CLogger::Instance().Log(2, "Error: CGlove: saved fragment count %d outside 0..%d; clamped.", fragments,
                                    cell_count);
            fragments = std::clamp(fragments, 0, cell_count);
            ok = false;
        }
        for (int i = 0; i < fragments; ++i) LandFragment(_active, false);
    }
    SetArtefactShown(artefact.GetAttributeBool("show", false));
    return ok;
}
