#include "field/salute.h"

#include <algorithm>
#include <exception>

#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node_list.h"
#include "field/bonus_data_source.h"
#include "field/field_flags.h"
#include "field/keeper_sprite.h"
#include "field/level_cfg.h"
#include "field/string_to_point.h"
#include "graphics/explosion.h"
#include "graphics/object_2d.h"
#include "graphics/renderer_keeper.h"
#include "gui/sample_queue.h"

namespace {

constexpr int kScoreFlag = 1;

}  // namespace

CSalute::CSalute(IBonusDataSource* owner) : _owner(owner), _keeper(std::make_unique<CRendererKeeper>()) {
    try {
        const CXMLFile document(kFileName);
        const CXMLNode description = document.SelectSingleNode(kNodePath);
        if (!description.IsValid())
            CLogger::Instance().Log(2, "Error: No salute described at '%s' of '%s'!", kNodePath, kFileName);
        Load(description);
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: Salute not loaded: %s", e.what());
    }
}

CSalute::CSalute(IBonusDataSource* owner, const CXMLNode& description)
    : _owner(owner), _keeper(std::make_unique<CRendererKeeper>()) {
    Load(description);
}

CSalute::~CSalute() { ReleaseSprites(); }

void CSalute::Load(const CXMLNode& description) {
    _expl_alias = description.GetAttribute("expl_alias", "");
    _offset_plume = StringToPoint(description.GetAttribute("offset_plume", ""));
    _sound = description.GetAttribute("sound", "");
    _score = description.GetAttributeInt("score", 0);
    _label_name = description.GetAttribute("label_name", "");
    const CXMLNodeList layers = description.SelectNodes("Layer");
    for (int i = 0; i < layers.GetLength(); ++i) {
        const CXMLNode node = layers.GetItem(i);
        SaluteLayer layer;
        layer.offset = StringToPoint(node.GetAttribute("offset", ""));
        layer.graphics = ParseGraphics(node);
        _layers.push_back(std::move(layer));
    }
}

void CSalute::ReleaseSprites() {
    for (WatchedCell& watched : _watched)
        for (auto& sprite : watched.sprites) ReleaseKeeperSprite(*_keeper, sprite);
}

void CSalute::Init() {
    ReleaseSprites();
    _watched.clear();
    _running = 0;
    if (!_owner) return;
    const CLevelCfg& level = *g_LevelCFG;
    int last = -1;
    for (int cell = level.GetCellCount() - 1; cell >= 0; --cell) {
        if (_owner->IsVovaroCell(cell)) {
            last = cell;
            break;
        }
    }
    int column = 0, row = 0;
    if (!level.CellToPos(last, column, row)) return;
    const int start = level.PosToCell(0, row);
    for (int cell = start; cell < start + level.GetFieldWidth(); ++cell) {
        if (!_owner->IsVovaroCell(cell)) continue;
        WatchedCell watched;
        watched.cell = cell;
        _watched.push_back(std::move(watched));
    }
}

bool CSalute::Check() {
    if (!_owner) return false;
    bool fired = false;
    for (WatchedCell& watched : _watched) {
        int state = 0;
        const bool has_ball = _owner->GetBallState(watched.cell, state);
        if (!watched.filled) {
            watched.filled = has_ball;
        } else if (!has_ball) {
            watched.filled = false;
            Fire(watched);
            fired = true;
        }
    }
    return fired;
}

void CSalute::Fire(WatchedCell& watched) {
    CVector2 top_left;
    g_LevelCFG->CellToScr(watched.cell, top_left.x, top_left.y);
    if (!_expl_alias.empty()) {
        const CVector2 at = top_left + _offset_plume;
        explosion::GetExplosionManager()->StartExplosion(_expl_alias, at.x, at.y);
    }
    for (const SaluteLayer& layer : _layers) {
        const CVector2 at = top_left + layer.offset;
        watched.sprites.push_back(CreateKeeperSprite(*_keeper, at.x, at.y, layer.graphics));
    }
    g_SampleQueue.Add(_sound);
    CVector2 centre;
    g_LevelCFG->CellCenterToScr(watched.cell, centre.x, centre.y);
    _owner->AddScoreAtPos(centre.x, centre.y, _score, _label_name.c_str(), kScoreFlag);
    _running = 1;
}

void CSalute::Render() {
    bool any_sprite = false;
    for (WatchedCell& watched : _watched) {
        auto& sprites = watched.sprites;
        for (auto& sprite : sprites)
            if (!sprite->IsAnimationRunning()) ReleaseKeeperSprite(*_keeper, sprite);
        sprites.erase(std::remove(sprites.begin(), sprites.end(), nullptr), sprites.end());
        any_sprite = any_sprite || !sprites.empty();
    }
    if (!any_sprite && _running == 1) {
        if (_owner)
            if (CFieldFlags* flags = _owner->GetFieldFlags()) flags->Set(CFieldFlags::ffSaluteDone, 1);
        _running = 0;
    }
    _keeper->RenderAll();
}
