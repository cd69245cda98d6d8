#include "field/res_ferryman.h"

#include <cmath>
#include <exception>
#include <vector>

#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "field/bonus_data_source.h"
#include "field/field_flags.h"
#include "field/fly_particles.h"
#include "field/game_cfg.h"
#include "field/game_scene_link.h"
#include "graphics/explosion.h"
#include "gui/sample_queue.h"

namespace {

// The carrier's path bows sideways by this part of its length.
constexpr float kBow = 0.25f;

const char* FirstEpisodeVariable(int tool) {
    switch (tool) {
        case kToolHammer: return "first_episode_for_hammer";
        case kToolFeather: return "first_episode_for_feather";
        case kToolEgg: return "first_episode_for_egg";
        default: return nullptr;
    }
}

const char* AppearSample(int tool) {
    switch (tool) {
        case kToolHammer: return "hammer_appear";
        case kToolFeather: return "feather_appear";
        default: return "egg_appear";
    }
}

}  // namespace

CResFerryman::CResFerryman(IBonusDataSource* owner) : _owner(owner) {
    try {
        const CXMLFile document(kConfigFile);
        const CXMLNode config = document.SelectSingleNode(kConfigPath);
        if (!config.IsValid())
            CLogger::Instance().Log(2, "Error: No tool carriers described at '%s' of '%s'!", kConfigPath, kConfigFile);
        LoadConfig(config);
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: Tool carriers not configured: %s", e.what());
    }
}

CResFerryman::CResFerryman(IBonusDataSource* owner, const CXMLNode& config) : _owner(owner) { LoadConfig(config); }

void CResFerryman::LoadConfig(const CXMLNode& config) {
    if (!config.IsValid()) return;
    _emitter_hammer = config.GetAttribute("emitter_hammer", "");
    _emitter_feather = config.GetAttribute("emitter_feather", "");
    _emitter_egg = config.GetAttribute("emitter_egg", "");
    _speed = config.GetAttributeFloat("speed", 0.0f);
}

const std::string& CResFerryman::GetEmitterName(int tool) const {
    static const std::string kNone;
    switch (tool) {
        case kToolHammer: return _emitter_hammer;
        case kToolFeather: return _emitter_feather;
        case kToolEgg: return _emitter_egg;
        default: return kNone;
    }
}

void CResFerryman::OnCredit(const ResCredit& credit, const CVector2& ball, const CVector2& bar) {
    IGameSceneLink* scene = GetGameSceneLink();
    if (!scene || scene->IsToolAvailable(credit.tool)) return;
    // A credit that could not count is not flown either.
    if (!Accepts(credit)) return;
    if (!Launch(credit, ball, bar)) ApplyCredit(credit);
}

bool CResFerryman::Accepts(const ResCredit& credit) const {
    const char* variable = FirstEpisodeVariable(credit.tool);
    IGameSceneLink* scene = GetGameSceneLink();
    if (!variable || !scene) return false;
    int first_episode = 0;
    GetGameCfgInt(variable, first_episode);
    if (scene->GetEpisodeNumber() < first_episode) return false;
    if (credit.tool == kToolHammer) {
        // No flags to read counts as the hammer being in the hand.
        const CFieldFlags* flags = _owner ? _owner->GetFieldFlags() : nullptr;
        if (!flags || flags->Get(CFieldFlags::ffHammerTaken) != 0) return false;
    }
    return true;
}

void CResFerryman::ApplyCredit(const ResCredit& credit) {
    if (Accepts(credit)) FillBar(credit);
}

void CResFerryman::FillBar(const ResCredit& credit, const char* appear_sample) {
    IGameSceneLink* scene = GetGameSceneLink();
    if (!scene || !FirstEpisodeVariable(credit.tool)) return;
    if (!scene->AddToolProgress(credit.tool, credit.amount)) return;
    if (scene->IsToolAvailable(credit.tool)) return;
    g_SampleQueue.Add(appear_sample ? appear_sample : AppearSample(credit.tool));
    scene->EnableTool(credit.tool, true);
}

bool CResFerryman::Launch(const ResCredit& credit, const CVector2& from, const CVector2& to) {
    const std::string& emitter = GetEmitterName(credit.tool);
    if (emitter.empty() || !(_speed > 0.0f)) return false;
    const CVector2 d(to.x - from.x, to.y - from.y);
    const float length = std::sqrt(d.x * d.x + d.y * d.y);
    const float frames = length / _speed;
    if (!(frames >= 1.0f)) return false;  // already there
    // Through a point beside the middle of the way, so the carrier swings.
    const CVector2 mid(from.x + d.x * 0.5f + d.y * kBow, from.y + d.y * 0.5f - d.x * kBow);
    auto path = std::make_shared<CCurve>();
    if (!path->BuildPath({from, mid, to}, 2.0f / frames)) return false;
    // Without its emitter (the effect library lacks it) nothing would show
    // the flight: the credit is delivered at once instead.
    const uint32_t emitter_id = explosion::GetExplosionManager()->StartEmitter(emitter, from.x, from.y);
    if (emitter_id == explosion::kNoEmitter) return false;
    ItemCarrier carrier;
    carrier.credit = credit;
    carrier.path = std::move(path);
    carrier.emitter = emitter_id;
    _carriers.push_back(std::move(carrier));
    return true;
}

void CResFerryman::Update() {
    if (_fly_particles) _fly_particles->Update();
    if (_carriers.empty()) return;
    explosion::IExplosionManager* manager = explosion::GetExplosionManager();
    for (auto it = _carriers.begin(); it != _carriers.end();) {
        ItemCarrier& carrier = *it;
        if (carrier.step < carrier.path->GetPathPointCount()) {
            float x = 0, y = 0;
            carrier.path->GetPathPoint(static_cast<float>(carrier.step), x, y);
            manager->SetEmitterPos(carrier.emitter, x, y);
            ++carrier.step;
            ++it;
            continue;
        }
        manager->StopEmitter(carrier.emitter);
        const ResCredit credit = carrier.credit;
        it = _carriers.erase(it);
        ApplyCredit(credit);
    }
}

void CResFerryman::Render() {
    if (_fly_particles) _fly_particles->Render();
    if (_carriers.empty()) return;
    explosion::IExplosionManager* manager = explosion::GetExplosionManager();
    for (const ItemCarrier& carrier : _carriers) manager->RenderEmitter(carrier.emitter);
}

void CResFerryman::DeliverAll() {
    std::list<ItemCarrier> carriers;
    carriers.swap(_carriers);
    for (const ItemCarrier& carrier : carriers) {
        explosion::GetExplosionManager()->StopEmitter(carrier.emitter);
        ApplyCredit(carrier.credit);
    }
}

void CResFerryman::Reset() {
    for (const ItemCarrier& carrier : _carriers) explosion::GetExplosionManager()->StopEmitter(carrier.emitter);
    _carriers.clear();
}

void CResFerryman::StopEmitters() {
    Reset();
    if (_fly_particles) _fly_particles->Clear();
}

bool CResFerryman::IsIdle() const { return _carriers.empty() && (!_fly_particles || _fly_particles->IsEmpty()); }
