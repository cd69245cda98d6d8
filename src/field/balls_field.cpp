#include "field/balls_field.h"

#include <algorithm>
#include <cmath>

#include "engine/engine_core_interface.h"
#include "engine/game_math.h"
#include "engine/logger.h"
#include "engine/sound_keeper_interface.h"
#include "field/alpha_effect.h"
#include "field/debug_tools.h"
#include "field/field_flags.h"
#include "field/game_cfg.h"
#include "field/graph_obj.h"
#include "field/graph_obj_manager.h"
#include "field/level_cfg.h"
#include "field/scale_effect.h"

namespace {

constexpr float kMinSpeed = 1.0f;
constexpr float kMaxSpeed = 18.0f;
constexpr float kSwapSpeed = 4.0f;
constexpr uint32_t kFadeOutTicks = 20;
constexpr uint32_t kScaleOutTicks = 40;

}  // namespace

bool GetBallPosInCell(int cell_index, CVector2& pos) {
    float x = 0, y = 0;
    if (!g_LevelCFG->CellToScr(cell_index, x, y)) {
        ASSERT(false);
        return false;
    }
    pos.x = x + g_GameCFG->GetCellWidth() / 2 - g_GameCFG->GetBallWidth() / 2;
    pos.y = y + g_GameCFG->GetCellHeight() / 2 - g_GameCFG->GetBallHeight() / 2;
    return true;
}

CBallsField::CBallsField(CFieldFlags* flags)
    : _ren_keeper(std::make_unique<CRendererKeeper>()), _dissolver(this), _flags(flags) {
    LoadBalls(kBallsFile);
}

CBallsField::~CBallsField() {
    _field.clear();
    _ren_keeper.reset();
}

// ---------------------------------------------------------------- life cycle

void CBallsField::PrepareLevel() {
    ClearCells();
    // The substrates come first, so that the initial balls find theirs.
    CBall::LoadSubstrates();
    PlaceInitialBalls();
    _bonus_timers.ArmAll();
}

void CBallsField::Clear() {
    ClearCells();
    _bonus_timers.Clear();
}

void CBallsField::ClearCells() {
    _field.clear();
    _field.resize(static_cast<size_t>(g_LevelCFG->GetCellCount()));
    _moves.clear();
    _sequences.clear();
    _dissolver.Finish();
    _generation = 0;
}

void CBallsField::Update() {
    if (_dissolver.IsActive()) _dissolver.Update();
    UpdateMoves();
    for (size_t i = 0; i < _field.size(); ++i) {
        CBall* ball = _field[i].get();
        if (!ball) continue;
        const int cell_index = static_cast<int>(i);
        ball->Update(!_time_paused);
        UpdateBonusExpiry(cell_index, *ball);
        if (ball->GetState() == bsDEAD && !ball->IsBusy()) {
            _field[i].reset();
            SetFieldChanged();
        }
    }
    DEBUG_GAME::FeedFromBallsField(*this);
}

void CBallsField::Render() {
    bool any_lock = false;
    for (const auto& ball : _field) {
        if (!ball) continue;
        ball->DrawSubstrate();
        any_lock = any_lock || ball->IsLocked();
    }
    _ren_keeper->RenderAll();
    // One pass draws the locks of all balls.
    if (any_lock) CBall::DrawLocks();
}

bool CBallsField::SetFieldChanged() { return _flags && _flags->Set(CFieldFlags::ffCompressDue, 1); }

// ---------------------------------------------------------------- types and creation

const BallDesc* CBallsField::FindDesc(int graph_type) const {
    for (const std::vector<BallDesc>* table : {&_palette, &_bonus_types, &_global_types})
        for (const BallDesc& desc : *table)
            if (desc.graph_type == graph_type) return &desc;
    return nullptr;
}

BallDesc CBallsField::GetDesc(int graph_type) const {
    const BallDesc* desc = FindDesc(graph_type);
    if (!desc) {
        CLogger::Instance().Log(2, "Error: Invalid graph type desc requested! graph_type=%d", graph_type);
        ASSERT_THROW_IF_FAILED(false);
    }
    return *desc;
}

std::unique_ptr<CGraphOBJ> CBallsField::CreateBallGraph(int cell_index, int graph_type) {
    const CGraphStateDesc* state = g_BallsGraphBase->FindStateDesc(graph_type, 0);
    if (!state) {
        ASSERT(false);
        return nullptr;
    }
    auto graph = std::make_unique<CGraphOBJ>(*state, g_GameCFG->GetBallWidth(), g_GameCFG->GetBallHeight(),
                                             _ren_keeper.get());
    if (g_LevelCFG->IsValidCell(cell_index)) {
        CVector2 ball_pos;
        if (VERIFY(GetBallPosInCell(cell_index, ball_pos))) graph->SetPosition(ball_pos.x, ball_pos.y);
    }
    return graph;
}

std::shared_ptr<CBall> CBallsField::CreateBall(int cell_index, int graph_type) {
    const BallDesc desc = GetDesc(graph_type);
    std::unique_ptr<CGraphOBJ> new_graph_obj = CreateBallGraph(cell_index, graph_type);
    ASSERT_THROW_IF_FAILED(new_graph_obj.get() != NULL);
    auto ball = std::make_shared<CBall>(desc, std::move(new_graph_obj));
    if (g_LevelCFG->IsValidCell(cell_index)) StoreBall(cell_index, ball);
    return ball;
}

void CBallsField::StoreBall(int cell_index, std::shared_ptr<CBall> ball) {
    if (static_cast<size_t>(cell_index) >= _field.size()) {
        ASSERT(false);
        return;
    }
    std::shared_ptr<CBall>& slot = _field[static_cast<size_t>(cell_index)];
    // A ball that leaves its slot on the way to it ends its move.
    if (slot && slot->GetState() == bsMOVE) OnMoveEnd(cell_index);
    slot = std::move(ball);
}

void CBallsField::ReplaceWithDifferentBall(int cell_index) {
    ASSERT_THROW_IF_FAILED(g_LevelCFG->IsValidCell(cell_index));
    const int old = IsCellEmpty(cell_index) ? 0 : GetBall(cell_index).graph_type;
    int others = 0;
    for (const BallDesc& desc : _palette) others += desc.graph_type != old;
    if (others == 0) {
        CLogger::Instance().Log(2, "Error: CBallsField: no palette type other than %d for cell %d, the ball is kept.",
                                old, cell_index);
        return;
    }
    // The n-th of the palette's entries that differ from the old type.
    int n = RandomRange(0, others);
    for (const BallDesc& desc : _palette) {
        if (desc.graph_type == old) continue;
        if (n-- == 0) {
            CreateBall(cell_index, desc.graph_type);
            return;
        }
    }
}

bool CBallsField::ChangeType(int cell_index, const BallDesc& desc) {
    int action_type = -1;
    VERIFY(GetBallState(cell_index, action_type));
    std::unique_ptr<CGraphOBJ> new_graph_obj = CreateBallGraph(cell_index, desc.graph_type);
    ASSERT_THROW_IF_FAILED(new_graph_obj.get() != NULL);
    CBall& ball = BallOrThrow(cell_index);
    // The new picture stands where the old one stood (a swapping ball keeps its place).
    if (const CGraphOBJ* old = ball.GetGraphObj()) new_graph_obj->SetPosition(old->GetLeft(0), old->GetTop(0));
    ball.ChangeType(desc, std::move(new_graph_obj));
    return true;
}

bool CBallsField::ChangeBallGraph(int cell, int graph_type) {
    ASSERT_THROW_IF_FAILED(!IsCellEmpty(cell));
    return ChangeType(cell, GetDesc(graph_type));
}

bool CBallsField::ChangeBallDesc(int cell_index, const BallDesc& desc) {
    ASSERT_THROW_IF_FAILED(!IsCellEmpty(cell_index));
    return ChangeType(cell_index, desc);
}

std::shared_ptr<CBall> CBallsField::DetachBall(int cell_index) {
    if (!g_LevelCFG->IsValidCell(cell_index) || IsCellEmpty(cell_index)) return nullptr;
    std::shared_ptr<CBall>& slot = _field[static_cast<size_t>(cell_index)];
    std::shared_ptr<CBall> ball = std::move(slot);
    slot.reset();
    if (ball->GetState() == bsMOVE) OnMoveEnd(cell_index);
    return ball;
}

void CBallsField::RemoveBall(int cell_index) { DetachBall(cell_index); }

void CBallsField::PlaceInitialBalls() {
    for (const InitialCell& initial : _initial_cells) {
        std::shared_ptr<CBall> ball = CreateBall(initial.cell, initial.graph_type);
        SetBallState(initial.cell, bsDEFAULT);
        if (initial.lock != 0) ball->SetLock(initial.lock);
    }
}

const BallDesc& CBallsField::RandomPaletteDesc() const {
    return _palette[static_cast<size_t>(RandomRange(0, static_cast<int>(_palette.size())))];
}

int CBallsField::RandomPaletteType() const { return RandomPaletteDesc().graph_type; }

// ---------------------------------------------------------------- queries

CBall* CBallsField::Ball(int cell_index) const {
    return static_cast<size_t>(cell_index) < _field.size() ? _field[static_cast<size_t>(cell_index)].get() : nullptr;
}

CBall& CBallsField::BallOrThrow(int cell_index) const {
    ASSERT_THROW_IF_FAILED(!IsCellEmpty(cell_index));
    return *_field[static_cast<size_t>(cell_index)];
}

bool CBallsField::IsCellEmpty(int cell) const {
    // Negative indexes count as huge.
    const size_t cell_index = static_cast<size_t>(static_cast<unsigned>(cell));
    ASSERT_THROW_IF_FAILED(cell_index < _field.size());
    return !_field[cell_index];
}

const BallDesc& CBallsField::GetBall(int cell_index) const { return BallOrThrow(cell_index).GetDesc(); }

const CBall* CBallsField::GetBallAt(int cell_index) const { return Ball(cell_index); }

bool CBallsField::GetBallState(int cell_index, int& state) const {
    const CBall* ball = g_LevelCFG->IsValidCell(cell_index) ? Ball(cell_index) : nullptr;
    if (!ball) return false;
    state = ball->GetState();
    return true;
}

int CBallsField::GetCellBallState(int cell_index) const {
    int state = -1;
    return GetBallState(cell_index, state) ? state : -1;
}

bool CBallsField::IsRestingBall(int cell_index) const { return GetCellBallState(cell_index) == bsDEFAULT; }

bool CBallsField::CellPredicate(int cell_index) const { return IsRestingBall(cell_index) && !IsCellLocked(cell_index); }

bool CBallsField::IsCellLocked(int cell_index) const {
    const CBall* ball = g_LevelCFG->IsValidCell(cell_index) ? Ball(cell_index) : nullptr;
    return ball && ball->IsLocked();
}

bool CBallsField::IsLockStrong(int cell_index) const {
    return IsCellLocked(cell_index) && Ball(cell_index)->GetLockSolidity() > 1;
}

bool CBallsField::IsFragmentBall(int cell_index) const { return GetBall(cell_index).life == -1; }

bool CBallsField::IsBonusBall(int cell_index) const { return GetBall(cell_index).bonus_type != 0; }

int CBallsField::GetBonusType(int cell_index) const {
    if (!g_LevelCFG->IsValidCell(cell_index)) {
        ASSERT(false);
        return 0;
    }
    const CBall* ball = Ball(cell_index);
    return ball ? ball->GetBonusType() : 0;
}

bool CBallsField::HasBallOfGraphType(int graph_type) const {
    return std::any_of(_field.begin(), _field.end(),
                       [graph_type](const auto& ball) { return ball && ball->GetDesc().graph_type == graph_type; });
}

bool CBallsField::IsAnyBallBusy() const {
    return std::any_of(_field.begin(), _field.end(), [](const auto& ball) { return ball && ball->IsBusy(); });
}

bool CBallsField::AllMovingBallsMarked() const {
    return std::all_of(_moves.begin(), _moves.end(), [this](const BallMove& move) {
        const CBall* ball = Ball(move.to);
        return ball && ball->GetMark();
    });
}

bool CBallsField::GetMark(int cell_index) const { return BallOrThrow(cell_index).GetMark(); }

// ---------------------------------------------------------------- states, movement and looks

bool CBallsField::SetBallState(int cell_index, int state) {
    ASSERT_THROW_IF_FAILED(g_LevelCFG->IsValidCell(cell_index));
    CBall* ball = Ball(cell_index);
    if (!ball) {
        ASSERT(false);
        return false;
    }
    if (ball->GetState() == state) return true;
    if (ball->GetState() == bsMOVE) OnMoveEnd(cell_index);
    ball->SetState(state);
    InitBallPhysics(cell_index, state);
    if (state == bsDYING || state == bsDEAD) {
        auto effect = std::make_shared<CAlphaEffect>();
        effect->Start(ball->GetGraphObj(), 0, kFadeOutTicks);
        ball->GetGraphObj()->SetEffect(std::move(effect));
    }
    return true;
}

void CBallsField::OnMoveEnd(int cell_index) {
    std::erase_if(_moves, [cell_index](const BallMove& move) { return move.to == cell_index; });
    // Also a ball that ends a move no list holds: the field must look at it again.
    if (_moves.empty()) SetFieldChanged();
}

void CBallsField::InitBallPhysics(int cell_index, int state) {
    ASSERT_THROW_IF_FAILED(g_LevelCFG->IsValidCell(cell_index));
    CBall* ball = Ball(cell_index);
    if (!ball) return;
    ball->SetSpeedBounds(kMinSpeed, kMaxSpeed);
    if (state == bsMOVE) {
        ball->SetSpeed(g_GameCFG->GetFloat("ball_speed"));
        ball->SetAcceleration(0);
    } else if (state == bsSWAP) {
        ball->SetSpeed(kSwapSpeed);
        ball->SetAcceleration(0);
    }
}

void CBallsField::StartMoves(const std::vector<BallMove>& moves) {
    for (const BallMove& move : moves) {
        // A planner's move always leads from a ball into an empty cell.
        if (!ASSERT(g_LevelCFG->IsValidCell(move.from) && g_LevelCFG->IsValidCell(move.to) &&
                    !IsCellEmpty(move.from) && IsCellEmpty(move.to)))
            continue;
        SetBallState(move.from, bsMOVE);
        _moves.push_back(move);
        _field[static_cast<size_t>(move.to)] = std::move(_field[static_cast<size_t>(move.from)]);
    }
    for (size_t i = 0; i < _field.size(); ++i) {
        CBall* ball = _field[i].get();
        if (!ball || !ball->GetMark()) continue;
        const int cell = static_cast<int>(i);
        const bool moving = std::any_of(_moves.begin(), _moves.end(), [cell](const BallMove& m) { return m.to == cell; });
        if (!moving) ball->SetMark(false);
    }
}

void CBallsField::UpdateMoves() {
    size_t i = 0;
    while (i < _moves.size()) {
        const BallMove move = _moves[i];
        if (StepMovingBall(move.from, move.to)) {
            ++i;
            continue;
        }
        if (!VERIFY(SetBallState(move.to, bsDEFAULT))) ThrowAssertionFailed();
        // A ball that was not moving any more still ends this move.
        OnMoveEnd(move.to);
        ResetBallPos(move.to);
    }
}

bool CBallsField::StepBallToward(CBall& ball, int to) {
    ASSERT(ball.GetState() == bsMOVE || ball.GetState() == bsSWAP);  // logged; the step goes on
    const CGraphOBJ* graph = ball.GetGraphObj();
    ASSERT_THROW_IF_FAILED(graph != NULL);
    const CVector2 p(graph->GetLeft(0), graph->GetTop(0));
    CVector2 dest_pos;
    VERIFY(GetBallPosInCell(to, dest_pos));
    const float s = ball.GetSpeed();
    CVector2 way = dest_pos - p;
    if (way.Length() > s) {
        way.Normalize();
        const CVector2 next = p + way * s;
        ball.SetPos(next.x, next.y);
        return true;
    }
    ball.SetPos(dest_pos.x, dest_pos.y);
    return false;
}

bool CBallsField::StepMovingBall(int from, int to) {
    (void)from;
    ASSERT_THROW_IF_FAILED(!IsCellEmpty(to));
    return StepBallToward(*Ball(to), to);
}

bool CBallsField::StepSwapBall(int from, int to) {
    ASSERT_THROW_IF_FAILED(!IsCellEmpty(from));
    return StepBallToward(*Ball(from), to);
}

bool CBallsField::SwapBalls(int a, int b) {
    if (!g_LevelCFG->IsValidCell(a) || !g_LevelCFG->IsValidCell(b) || IsCellEmpty(a) || IsCellEmpty(b)) {
        ASSERT(false);
        return false;
    }
    std::swap(_field[static_cast<size_t>(a)], _field[static_cast<size_t>(b)]);
    ResetBallPos(a);
    ResetBallPos(b);
    return true;
}

void CBallsField::ResetBallPos(int cell_index) {
    if (!ASSERT(g_LevelCFG->IsValidCell(cell_index) && !IsCellEmpty(cell_index))) return;
    CVector2 ball_pos;
    if (VERIFY(GetBallPosInCell(cell_index, ball_pos))) Ball(cell_index)->SetPos(ball_pos.x, ball_pos.y);
}

bool CBallsField::SetBallAngle(int cell_index, float degrees) {
    if (!g_LevelCFG->IsValidCell(cell_index)) {
        ASSERT(false);
        return false;
    }
    if (!ASSERT(!IsCellEmpty(cell_index))) return false;
    CBall& ball = *Ball(cell_index);
    const int state = ball.GetState();
    if (!VERIFY(state == bsDEFAULT)) ThrowAssertionFailed();
    ball.SetAngle(degrees);
    return true;
}

bool CBallsField::ScaleOutBall(int cell) {
    if (!g_LevelCFG->IsValidCell(cell) || IsCellEmpty(cell)) return false;
    CGraphOBJ* graph = Ball(cell)->GetGraphObj();
    if (!graph) return false;
    auto effect = std::make_shared<CScaleEffect>();
    effect->Start(graph, 0, 0, kScaleOutTicks);
    graph->SetEffect(std::move(effect));
    return true;
}

void CBallsField::SetAlpha(int alpha) {
    for (const auto& ball : _field)
        if (ball) ball->SetAlpha(alpha);
}

// ---------------------------------------------------------------- locks

bool CBallsField::HitLockAt(int cell_index, int state) {
    if (IsCellLocked(cell_index)) {
        if (g_EngineCore)
            if (ISoundKeeper* sounds = g_EngineCore->GetSoundKeeper()) sounds->PlaySample("remove_lock");
        if (!Ball(cell_index)->HitLock()) return false;
        SetFieldChanged();
        return SetBallState(cell_index, bsDEFAULT);
    }
    return SetBallState(cell_index, state);
}

bool CBallsField::BreakLock(int cell_index) {
    if (!IsCellLocked(cell_index)) return false;
    CBall& ball = *Ball(cell_index);
    while (!ball.HitLock()) {
    }
    return SetFieldChanged();
}
