#include "field/birds.h"

#include <algorithm>
#include <exception>

#include "engine/engine_core_interface.h"
#include "engine/game_math.h"
#include "engine/log_repeat_limit.h"
#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node_list.h"
#include "field/ball_state.h"
#include "field/birds_dissolver.h"
#include "field/birds_owner.h"
#include "field/game_cfg.h"
#include "field/keeper_sprite.h"
#include "field/level_cfg.h"
#include "field/mouse_over.h"
#include "field/sound.h"
#include "field/string_to_point.h"
#include "graphics/explosion.h"
#include "graphics/object_2d.h"
#include "graphics/renderer_keeper.h"

namespace {

// The screen a bird leaves when there is no engine core to ask.
constexpr int kDefaultScreenWidth = 800;
constexpr int kDefaultScreenHeight = 600;
constexpr const char* kEggLabel = "bird_bonus";
constexpr int kEggScoreFlag = 1;

// Birds whose state is below 2 or at least 7 work on the field: they perch,
// drop balls, rest, celebrate; the events name their own exceptions.
bool IsWorking(int state) { return state < CBirds::kColumnFull || state >= CBirds::kStruck; }
// Birds the slow-down may calm: not busy with the column, the level end or the egg.
bool IsCalmable(int state) {
    return !(state >= CBirds::kColumnFull && state <= CBirds::kTrapped) && state != CBirds::kLevelEnd &&
           state != CBirds::kEggFreed;
}
bool IsHammerable(int state) { return state < CBirds::kColumnFull || state >= CBirds::kEggBonus; }
bool AnyState(int) { return true; }
bool IsLanding(int state) { return state == CBirds::kUnsupported || state == CBirds::kPerched; }
bool Contains(const std::vector<int>& cells, int cell) { return std::find(cells.begin(), cells.end(), cell) != cells.end(); }

BirdCondition ParseCondition(const CXMLNode& state_node) {
    const CXMLNode node = state_node.SelectSingleNode("condition");
    BirdCondition condition;
    condition.next_state = node.GetAttributeInt("next_state", 0);
    condition.if_kind = node.GetAttributeInt("if", 0);
    condition.then_action = node.GetAttributeInt("then", 0);
    condition.wait = node.GetAttributeBool("wait", false);
    condition.game_over = node.GetAttributeBool("game_over", false);
    condition.no_user_imput = node.GetAttributeBool("no_user_imput", false);
    condition.flag = node.GetAttributeInt("flag", 0);
    return condition;
}

BirdDesc ParseState(const CXMLNode& node) {
    BirdDesc desc;
    desc.id = node.GetAttributeInt("id", 0);
    desc.graphics = ParseGraphics(node);
    desc.explosion = node.GetAttribute("explosion", "");
    desc.dir = StringToPoint(node.GetAttribute("dir", ""));
    desc.speed = static_cast<int>(node.GetAttributeFloat("speed", 0.0f));
    const CXMLNodeList sounds = node.SelectNodes("sound");
    for (int i = 0; i < sounds.GetLength(); ++i) desc.sounds.push_back(PARSERS::ParseSound(sounds.GetItem(i)));
    desc.condition = ParseCondition(node);
    return desc;
}

void QueueSounds(CSound& sound, const std::vector<SoundDesc>& sounds) {
    for (const SoundDesc& desc : sounds) sound.Enqueue(desc);
}

CVector2 CellTopLeft(int cell) {
    CVector2 pos;
    g_LevelCFG->CellToScr(cell, pos.x, pos.y);
    return pos;
}

}  // namespace

CBirds::CBirds(IBirdsOwner* owner, const std::string& file_name, const std::string& xpath)
    : _owner(owner), _keeper(std::make_unique<CRendererKeeper>()), _dissolver(std::make_unique<CBirdsDissolver>(this)) {
    try {
        const CXMLFile document(file_name);
        LoadDescriptions(document, xpath);
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: Birds of '%s' not loaded: %s", file_name.c_str(), e.what());
    }
}

CBirds::CBirds(IBirdsOwner* owner, const CXMLFile& document, const std::string& xpath)
    : _owner(owner), _keeper(std::make_unique<CRendererKeeper>()), _dissolver(std::make_unique<CBirdsDissolver>(this)) {
    LoadDescriptions(document, xpath);
}

CBirds::~CBirds() { RemoveAllBirds(); }

void CBirds::LoadDescriptions(const CXMLFile& document, const std::string& xpath) {
    const CXMLNode set = document.SelectSingleNode(xpath);
    if (!set.IsValid()) return;
    const CXMLNodeList states = set.SelectNodes("State");
    for (int i = 0; i < states.GetLength(); ++i) _descriptions.push_back(ParseState(states.GetItem(i)));
}

const BirdDesc* CBirds::FindDesc(int id) const {
    for (const BirdDesc& desc : _descriptions)
        if (desc.id == id) return &desc;
    return nullptr;
}

bool CBirds::GetBird(int id, BirdDesc& desc) const {
    const BirdDesc* found = FindDesc(id);
    if (found) desc = *found;
    return found != nullptr;
}

const BirdDesc& CBirds::RequireDesc(int id) const {
    const BirdDesc* desc = FindDesc(id);
    if (!desc) CLogger::Instance().Log(2, "Error: No bird state %d in the bird descriptions!", id);
    ASSERT_THROW_IF_FAILED(desc != NULL);
    return *desc;
}

// ---------------------------------------------------------------- creation

Bird CBirds::MakeBird(int cell, int state, float x, float y, bool with_sounds) {
    const BirdDesc& desc = RequireDesc(state);
    Bird bird;
    bird.cell = cell;
    bird.state = state;
    bird.active = true;
    bird.obj = CreateKeeperSprite(*_keeper, x, y, desc.graphics);
    bird.sound = std::make_shared<CSound>();
    if (with_sounds) QueueSounds(*bird.sound, desc.sounds);
    bird.sound->Play();
    bird.condition = desc.condition;
    return bird;
}

void CBirds::CreateBirds(const std::vector<std::pair<int, int>>& placements, bool with_sounds) {
    RemoveAllBirds();
    _birds.reserve(placements.size());
    for (const auto& [cell, state] : placements) {
        const CVector2 pos = CellTopLeft(cell);
        _birds.push_back(MakeBird(cell, state, pos.x, pos.y, with_sounds));
    }
    _all_game_over = false;
    _all_no_input = false;
}

void CBirds::SetupLevelBirds() {
    std::vector<int> generators;
    if (_owner) _owner->GetGeneratorCells(generators);
    std::vector<std::pair<int, int>> placements;
    placements.reserve(generators.size());
    for (int cell : generators) placements.emplace_back(cell, kFlyIn);
    CreateBirds(placements, false);
    for (Bird& bird : _birds) EnterFromAbove(bird);
    FullAlpha();
}

void CBirds::AddBirds(const std::vector<BirdPlacement>& placements, bool with_sounds) {
    RemoveAllBirds();
    _birds.reserve(placements.size());
    for (const BirdPlacement& placement : placements)
        _birds.push_back(MakeBird(-1, placement.state, placement.pos.x, placement.pos.y, with_sounds));
    _all_game_over = false;
    _all_no_input = false;
    FullAlpha();
}

void CBirds::PlaceBird(int cell) {
    if (!g_LevelCFG->IsValidCell(cell)) return;
    const CVector2 pos = CellTopLeft(cell);
    _birds.push_back(MakeBird(cell, kUnsupported, pos.x, pos.y, true));
    CheckLanding();
}

void CBirds::FullAlpha() {
    _dissolver->Finish();
    SetAlpha(255);
}

void CBirds::RemoveAllBirds() {
    for (Bird& bird : _birds) ReleaseKeeperSprite(*_keeper, bird.obj);
    _birds.clear();
}

void CBirds::ResetFlags() {
    _all_game_over = false;
    _all_no_input = false;
    _any_wait = false;
}

void CBirds::Clear() {
    RemoveAllBirds();
    // Flags that described the removed birds would otherwise hold until the next update.
    ResetFlags();
}

// ---------------------------------------------------------------- states

void CBirds::SetBirdState(Bird* bird, int state) {
    ASSERT_THROW_IF_FAILED(bird != NULL);
    if (state == bird->state || state == kNoChange) return;
    if (state == kDeactivate || state == kActivate) {
        bird->active = state == kActivate;
        return;
    }
    const BirdDesc& desc = RequireDesc(state);
    bird->state = state;

    CVector2 old_pos;
    int alpha = 255;
    if (bird->obj) {
        old_pos = CVector2(bird->obj->GetLeft(), bird->obj->GetTop());
        alpha = bird->obj->GetAlpha(0);
    }
    const CVector2 pos = bird->cell == -1 ? old_pos : CellTopLeft(bird->cell);
    // The new sprite first: a batch the old one leaves is then never emptied
    // and rebuilt when both share a texture.
    std::shared_ptr<C2DObject> sprite = CreateKeeperSprite(*_keeper, pos.x, pos.y, desc.graphics);
    sprite->SetAlpha(alpha, kAllCorners);
    ReleaseKeeperSprite(*_keeper, bird->obj);
    bird->obj = std::move(sprite);

    if (!desc.explosion.empty()) {
        CVector2 centre;
        if (bird->cell == -1)
            centre = old_pos + CVector2(bird->obj->GetWidth() / 2, bird->obj->GetHeight() / 2);
        else
            g_LevelCFG->CellCenterToScr(bird->cell, centre.x, centre.y);
        explosion::GetExplosionManager()->StartExplosion(desc.explosion, centre.x, centre.y);
    }
    if (!bird->sound) bird->sound = std::make_shared<CSound>();
    QueueSounds(*bird->sound, desc.sounds);
    bird->sound->Play();
    bird->condition = desc.condition;
}

void CBirds::SetBirdStateAt(size_t index, int state) {
    if (index < _birds.size()) SetBirdState(&_birds[index], state);
}

// ---------------------------------------------------------------- per tick

void CBirds::Update() {
    _all_game_over = true;
    _all_no_input = true;
    _any_wait = false;
    bool any_active = false;
    // By index: a met condition may run a landing check that changes other birds.
    for (size_t i = 0; i < _birds.size(); ++i) {
        Bird& bird = _birds[i];
        if (!bird.active) {
            _all_game_over = false;
            continue;
        }
        any_active = true;
        if (bird.sound) bird.sound->Update();
        if (!bird.condition.game_over) _all_game_over = false;
        if (!bird.condition.no_user_imput) _all_no_input = false;
        if (bird.condition.wait) _any_wait = true;
        if (TestCondition(bird)) ApplyCondition(bird);
    }
    // Without a bird that is active nothing is lost and nothing is blocked:
    // a level without birds must not lose a life every tick.
    if (!any_active) {
        _all_game_over = false;
        _all_no_input = false;
    }
}

bool CBirds::TestCondition(Bird& bird) {
    switch (bird.condition.if_kind) {
        case BirdCondition::kReachCell:
            return MoveToCell(bird);
        case BirdCondition::kLeaveScreen:
            return FlyAway(bird);
        case BirdCondition::kAnimationOver:
            return IsAnimationOver(bird);
        default:
            return false;
    }
}

bool CBirds::MoveToCell(Bird& bird) {
    ASSERT_THROW_IF_FAILED(bird.obj.get());
    C2DObject& sprite = *bird.obj;
    const CVector2 here(sprite.GetLeft(), sprite.GetTop());
    // A bird at a screen point has no cell to reach: it is there.
    if (!g_LevelCFG->IsValidCell(bird.cell)) return true;
    const CVector2 target = CellTopLeft(bird.cell);
    const CVector2 d = target - here;
    const BirdDesc* desc = FindDesc(bird.state);
    const float speed = desc ? static_cast<float>(desc->speed) : 0.0f;
    if (speed < Length(d)) {
        const CVector2 step = Normalize(d) * speed;
        sprite.Move(step.x, step.y);
        return false;
    }
    sprite.SetPosition(target.x, target.y);
    return true;
}

bool CBirds::FlyAway(Bird& bird) {
    ASSERT_THROW_IF_FAILED(bird.obj.get());
    C2DObject& sprite = *bird.obj;
    if (const BirdDesc* desc = FindDesc(bird.state)) {
        const CVector2 step = Normalize(desc->dir) * static_cast<float>(desc->speed);
        sprite.Move(step.x, step.y);
    }
    const float width = static_cast<float>(g_EngineCore ? g_EngineCore->GetScreenWidth() : kDefaultScreenWidth);
    const float height = static_cast<float>(g_EngineCore ? g_EngineCore->GetScreenHeight() : kDefaultScreenHeight);
    return sprite.GetLeft() > width || sprite.GetTop() > height || sprite.GetRight() < 0 || sprite.GetBottom() < 0;
}

bool CBirds::IsAnimationOver(Bird& bird) {
    ASSERT_THROW_IF_FAILED(bird.obj.get());
    return !bird.obj->IsAnimationRunning();
}

void CBirds::ApplyCondition(Bird& bird) {
    const BirdCondition old = bird.condition;
    if (old.next_state == 0) return;
    SetBirdState(&bird, old.next_state);
    if (old.then_action == BirdCondition::kEnterFromAbove) EnterFromAbove(bird);
    if (old.if_kind == BirdCondition::kAnimationOver) CheckLanding();
}

void CBirds::EnterFromAbove(Bird& bird) {
    const int r = RandomRange(0, static_cast<int>(_birds.size()));
    // The bird's own copy of the state's sounds: the first one waits r times
    // its delay, in step with the height the bird falls from. The shared
    // description stays as loaded, and a state without sounds has none to delay.
    if (const BirdDesc* desc = FindDesc(bird.state); desc && !desc->sounds.empty()) {
        std::vector<SoundDesc> sounds = desc->sounds;
        sounds.front().delay *= r;
        if (!bird.sound) bird.sound = std::make_shared<CSound>();
        QueueSounds(*bird.sound, sounds);
    }
    if (bird.obj) {
        const float cell_h = g_GameCFG ? g_GameCFG->GetCellHeight() : 0.0f;
        bird.obj->SetPosition(bird.obj->GetLeft(), -(cell_h * static_cast<float>(r)));
    }
}

void CBirds::Render() {
    if (_dissolver->IsActive()) _dissolver->Update();
    _keeper->RenderAll();
}

// ---------------------------------------------------------------- fade

void CBirds::SetAlpha(int alpha) {
    for (Bird& bird : _birds)
        if (bird.obj) bird.obj->SetAlpha(alpha, kAllCorners);
}

void CBirds::DissolveOut(int frames) { _dissolver->DissolveOut(frames); }
void CBirds::DissolveIn(int frames) { _dissolver->DissolveIn(frames); }
bool CBirds::IsDissolving() const { return _dissolver->IsActive(); }

// ---------------------------------------------------------------- events

void CBirds::OnRowFallen(const std::vector<int>& cells) {
    for (Bird& bird : _birds)
        if (IsLanding(bird.state) && Contains(cells, bird.cell)) SetBirdState(&bird, kColumnFull);
}

void CBirds::AddDropCells(std::vector<DropCell>& cells, const std::vector<int>* among) const {
    const bool blocked = HasBirdInState(kResting) || HasBirdInState(kWaking);
    for (const Bird& bird : _birds) {
        if (among && !Contains(*among, bird.cell)) continue;
        if (bird.state == kPerched || bird.state == kEggBonus || bird.state == kUnsupported)
            cells.push_back({bird.cell, DropCell::kOrdinary});
        else if (bird.state == kTrapped && !blocked)
            cells.push_back({bird.cell, DropCell::kSpecial});
    }
}

void CBirds::GetDropCells(std::vector<DropCell>& cells) const { AddDropCells(cells, nullptr); }

void CBirds::GetDropCellsAmong(int delay, std::vector<DropCell>& cells) const {
    if (!_owner) return;
    std::vector<int> generators;
    _owner->GetGeneratorCellsWithDelay(generators, delay);
    if (generators.empty()) return;
    AddDropCells(cells, &generators);
}

void CBirds::CheckLanding() {
    if (!_owner) return;
    const int stage = _owner->GetLevelEndStage();
    if (stage == 2 || stage == 3) return;
    const int width = g_LevelCFG->GetFieldWidth();
    for (Bird& bird : _birds) {
        if (!bird.active || !IsLanding(bird.state)) continue;
        const int below = bird.cell + width;
        if (!g_LevelCFG->IsValidCell(below)) continue;
        int ball_state = 0;
        const bool resting = _owner->GetBallState(below, ball_state) && ball_state != bsMOVE;
        SetBirdState(&bird, resting ? kPerched : kUnsupported);
    }
}

Bird* CBirds::BirdUnderMouse(bool (*eligible)(int state)) {
    for (Bird& bird : _birds)
        if (eligible(bird.state) && bird.obj && IsMouseOverObject(bird.obj.get())) return &bird;
    return nullptr;
}

bool CBirds::HitByHammer() {
    Bird* bird = BirdUnderMouse(IsHammerable);
    if (bird) SetBirdState(bird, kStruck);
    return bird != nullptr;
}

void CBirds::SetStateUnderMouse(int state) {
    if (Bird* bird = BirdUnderMouse(AnyState)) SetBirdState(bird, state);
}

void CBirds::OnSlowDown(bool started) {
    for (Bird& bird : _birds)
        if (IsCalmable(bird.state)) SetBirdState(&bird, started ? kResting : kWaking);
    if (!started) CheckLanding();
}

void CBirds::OnLevelEnd() {
    for (Bird& bird : _birds)
        if (IsWorking(bird.state) && bird.state != kLevelEnd) SetBirdState(&bird, kLevelEnd);
}

int CBirds::ColumnOf(const Bird& bird) const {
    int column = -1, row = -1;
    g_LevelCFG->CellToPos(bird.cell, column, row);
    return column;
}

void CBirds::GetBirdColumns(std::vector<int>& columns) const {
    std::vector<int> found;
    for (const Bird& bird : _birds)
        if (IsWorking(bird.state) && bird.state != kEggFreed && g_LevelCFG->IsValidCell(bird.cell))
            found.push_back(ColumnOf(bird));
    std::sort(found.begin(), found.end());
    columns.insert(columns.end(), found.begin(), found.end());
}

void CBirds::SendBirdInColumn(int column) {
    for (Bird& bird : _birds) {
        if (IsWorking(bird.state) && g_LevelCFG->IsValidCell(bird.cell) && ColumnOf(bird) == column) {
            SetBirdState(&bird, kSentOff);
            return;
        }
    }
}

void CBirds::UseEgg() {
    if (HasBirdInState(kTrapped)) {
        for (Bird& bird : _birds)
            if (bird.state == kTrapped) SetBirdState(&bird, kEggFreed);
        return;
    }
    for (Bird& bird : _birds) {
        if (!IsWorking(bird.state) || bird.state == kEggFreed) continue;
        CVector2 centre;
        if (_owner && g_LevelCFG->CellCenterToScr(bird.cell, centre.x, centre.y))
            _owner->AddScoreAtPos(centre.x, centre.y, kEggPoints, kEggLabel, kEggScoreFlag);
        SetBirdState(&bird, kEggBonus);
    }
}

bool CBirds::HasBirdInState(int state) const {
    return std::any_of(_birds.begin(), _birds.end(), [state](const Bird& bird) { return bird.state == state; });
}

bool CBirds::GetBirdsInState(int state, std::vector<int>& cells) const {
    bool none = true;
    for (const Bird& bird : _birds) {
        if (bird.state != state) continue;
        cells.push_back(bird.cell);
        none = false;
    }
    return none;
}

void CBirds::SetStateAtCells(const std::vector<int>& cells, int state) {
    for (Bird& bird : _birds)
        if (Contains(cells, bird.cell)) SetBirdState(&bird, state);
}

// ---------------------------------------------------------------- saved game

bool CBirds::Serialize(CXMLFile& xml, CXMLNode& node) const {
    CXMLNode block = xml.CreateNode("Birds");
    node.AppendChild(block);
    for (const Bird& bird : _birds) {
        CXMLNode entry = xml.CreateNode("Bird");
        entry.SetAttributeInt("cell_index", bird.cell);
        // A bird whose column was full comes back trapped; every other one
        // comes back unsupported and lands again with the next landing check.
        const bool trapped = bird.state == kColumnFull || bird.state == kTrapped;
        entry.SetAttributeInt("state", trapped ? kTrapped : kUnsupported);
        block.AppendChild(entry);
    }
    return true;
}

bool CBirds::Deserialize(const CXMLNode& node) {
    const CXMLNodeList entries = node.SelectNodes("Birds/Bird");
    if (entries.GetLength() == 0) return true;
    bool all = true;
    const CLogRepeatLimit repeats;
    // The level has a bird for each entry cell; a save with more gets that
    // many back, since every bird is drawn and run in every frame.
    std::vector<int> entry_cells;
    if (_owner) _owner->GetGeneratorCells(entry_cells);
    const size_t most = entry_cells.size();
    std::vector<std::pair<int, int>> placements;
    placements.reserve(std::min(most, static_cast<size_t>(entries.GetLength())));
    for (int i = 0; i < entries.GetLength(); ++i) {
        const CXMLNode entry = entries.GetItem(i);
        const int cell = entry.GetAttributeInt("cell_index", CELL_ERROR);
        if (!g_LevelCFG->IsValidCell(cell)) {
            CLogger::Instance().Log(2, "Error: CBirds: saved bird %d in cell %d outside the field; skipped.", i, cell);
            all = false;
            continue;
        }
        if (placements.size() == most) {
            CLogger::Instance().Log(2, "Error: CBirds: the saved game has more birds than the level's %d entry cells; "
                                    "the birds from %d on are left out.", static_cast<int>(most), i);
            break;
        }
        placements.emplace_back(cell, SavedState(i, entry.GetAttributeInt("state", 0)));
    }
    CreateBirds(placements, false);
    return all;
}

int CBirds::SavedState(int index, int state) const {
    // Only these two are ever written; anything else comes back as a bird
    // that lands again with the next landing check, as most saved birds do.
    if ((state == kTrapped || state == kUnsupported) && FindDesc(state)) return state;
    CLogger::Instance().Log(2, "Error: CBirds: saved bird %d has the unknown state %d; it comes back settled.", index,
                            state);
    return kUnsupported;
}
