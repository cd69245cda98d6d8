#include "field/lightning_bonus.h"

#include <algorithm>
#include <string>

#include "engine/helpers.h"
#include "engine/logger.h"
#include "engine/xml_node.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/bonus_data_source.h"
#include "field/level_cfg.h"
#include "field/tiles_field.h"

namespace {

// A range written "lo hi"; a malformed one keeps `range` (logged), negative
// ends count as 0 and reversed ends are swapped, so a countdown never wraps.
CLightningBonus::Range ReadRange(const CXMLNode& node, const char* name, CLightningBonus::Range range) {
    const std::string text = node.GetAttribute(name, "");
    if (text.empty()) return range;
    std::vector<int> values;
    if (TokenizeInts(&values, text, " ,\t") < 2) {
        CLogger::Instance().Log(2, "Error: Lightning: the range %s=\"%s\" needs two numbers; %d %d kept.", name,
                                text.c_str(), range.lo, range.hi);
        return range;
    }
    range.lo = std::max(0, values[0]);
    range.hi = std::max(0, values[1]);
    if (range.hi < range.lo) std::swap(range.lo, range.hi);
    return range;
}

CLightningBonus::KillCounts ReadCounts(const CXMLNode& node) {
    CLightningBonus::KillCounts counts;
    if (!node.IsValid()) return counts;
    counts.max_kill = std::max(0, node.GetAttributeInt("max_kill", counts.max_kill));
    counts.vovaro_kill = std::max(0, node.GetAttributeInt("vovaro_kill", counts.vovaro_kill));
    return counts;
}

// The sprite centred on the cell's centre; none without a picture.
void CreateCentred(C2DObject& sprite, int cell, const CLightningBonus::Picture& picture) {
    const CGraphicsDesc& graphics = picture.graphics;
    if (graphics.texture.empty()) return;
    float x = 0, y = 0;
    g_LevelCFG->CellCenterToScr(cell, x, y);
    sprite.Create(x - static_cast<float>(graphics.width / 2), y - static_cast<float>(graphics.height / 2), graphics,
                  picture.animation, true);
}

}  // namespace

// ---------------------------------------------------------------- target

CLightningBonus::Picture::Picture(const CGraphicsDesc& desc) : graphics(desc) {
    if (!graphics.texture.empty()) animation = C2DObject::SpriteAnimation(graphics);
}

CLightningBonus::CTarget::CTarget(IBonusDataSource* data_source, int cell, const Picture& bolt, const Picture& joint)
    : _cell(cell), _data_source(data_source) {
    CreateCentred(_bolt, cell, bolt);
    CreateCentred(_joint, cell, joint);
    _data_source->HitCell(cell, 3);
}

void CLightningBonus::CTarget::SetTiming(int wait, int offset, int life) {
    _wait = wait;
    _life = life;
    _bolt_phase = kWaiting;
    _joint_phase = kWaiting;
    _bolt_countdown.Set(static_cast<uint32_t>(std::max(0, wait)));
    _joint_countdown.Set(static_cast<uint32_t>(std::max(0, wait + offset)));
}

void CLightningBonus::CTarget::Update() {
    if (_bolt_phase == kUnset) return;
    _bolt_countdown.Decrement();
    _joint_countdown.Decrement();
    if (_bolt_countdown.IsZero()) {
        if (_bolt_phase == kWaiting) {
            _bolt_countdown.Set(static_cast<uint32_t>(std::max(0, _life)));
            _bolt_phase = kShowing;
        } else if (_bolt_phase == kShowing) {
            _bolt_phase = kDone;
        }
    }
    if (_joint_countdown.IsZero()) {
        if (_joint_phase == kWaiting) {
            _joint_countdown.Set(static_cast<uint32_t>(std::max(0, _life)));
            _joint_phase = kShowing;
        } else if (_joint_phase == kShowing) {
            if (const int bonus_type = _data_source->GetBallBonusType(_cell)) _data_source->AddBonus(bonus_type, _cell);
            _data_source->KillBall(_cell, bsDEAD);
            _joint_phase = kDone;
        }
    }
}

void CLightningBonus::CTarget::Draw() {
    if (_bolt_phase == kShowing) _bolt.Render();
    if (_joint_phase == kShowing) _joint.Render();
}

// ---------------------------------------------------------------- bonus

void CLightningBonus::LoadConfig(const CXMLNode& node) {
    CBaseBonusImpl::LoadConfig(node);
    if (!node.IsValid()) return;
    _default_counts = ReadCounts(node.SelectSingleNode("DefaultCfg"));
    _intensive_counts = ReadCounts(node.SelectSingleNode("IntensiveCfg"));
    _wait = ReadRange(node, "wait", _wait);
    _life = ReadRange(node, "life", _life);
    _wait_offset = node.GetAttributeInt("wait_offset", 0);
    _lightning = Picture(ParseGraphics(node.SelectSingleNode("Lightning")));
    _joint = Picture(ParseGraphics(node.SelectSingleNode("Joint")));
}

bool CLightningBonus::Activate(int cell) {
    if (!CBaseBonusImpl::Activate(cell)) return false;
    _cell = cell;
    GetDataSource()->KillBall(cell, bsDEAD);
    ChooseTargets();
    return true;
}

void CLightningBonus::ChooseTargets() {
    const KillCounts& counts = _intensive ? _intensive_counts : _default_counts;
    IBonusDataSource& field = *GetDataSource();
    const CBallsField* balls = field.GetBallsField();
    const CTilesField* tiles = field.GetTilesField();
    _targets.clear();
    _puzzle_candidates.clear();
    _plain_candidates.clear();
    if (!balls) return;
    const int cell_count = g_LevelCFG->GetCellCount();
    for (int cell = 0; cell < cell_count; ++cell) {
        if (cell == _cell || balls->IsCellEmpty(cell)) continue;
        if (balls->GetCellBallState(cell) != bsDEFAULT || balls->IsFragmentBall(cell)) continue;
        (tiles && tiles->HasCell(cell) ? _puzzle_candidates : _plain_candidates).push_back(cell);
    }
    const int first = std::min(counts.PuzzleCount(), static_cast<int>(_puzzle_candidates.size()));
    DrawTargets(_puzzle_candidates, first);
    // Puzzle balls not drawn first stay in the running, after the others.
    _plain_candidates.insert(_plain_candidates.end(), _puzzle_candidates.begin(), _puzzle_candidates.end());
    DrawTargets(_plain_candidates, std::min(counts.max_kill - first, static_cast<int>(_plain_candidates.size())));
    for (const auto& target : _targets) {
        const int wait = DrawInRange(_wait);
        const int life = DrawInRange(_life);
        target->SetTiming(wait, _wait_offset, life);
    }
}

void CLightningBonus::DrawTargets(std::vector<int>& candidates, int count) {
    for (int i = 0; i < count && !candidates.empty(); ++i) {
        uint32_t index = _random(0, static_cast<uint32_t>(candidates.size() - 1));
        index = std::min(index, static_cast<uint32_t>(candidates.size() - 1));
        const int cell = candidates[index];
        candidates.erase(candidates.begin() + index);
        _targets.push_back(std::make_shared<CTarget>(GetDataSource(), cell, _lightning, _joint));
    }
}

int CLightningBonus::DrawInRange(const Range& range) {
    return static_cast<int>(_random(static_cast<uint32_t>(range.lo), static_cast<uint32_t>(range.hi)));
}

void CLightningBonus::Update() {
    if (!IsActive()) return;
    for (const auto& target : _targets) target->Update();
    std::erase_if(_targets, [](const auto& target) { return target->IsDone(); });
    if (!_targets.empty()) return;
    SetActive(false);
    RequestCompress();
}

void CLightningBonus::Draw() {
    if (!IsActive()) return;
    for (const auto& target : _targets) target->Draw();
}
