// The field from the player's side: the swaps that would make a line, the
// marker that shows one of them, and where on the screen a hint points.
#include <array>
#include <utility>

#include "engine/engine_core.h"
#include "engine/logger.h"
#include "engine/random.h"
#include "field/available_move.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/birds.h"
#include "field/compress_and_fall_balls.h"
#include "field/game_cfg.h"
#include "field/game_field.h"
#include "field/game_scene_link.h"
#include "field/glove.h"
#include "field/hint_info.h"
#include "field/level_cfg.h"
#include "field/tiles_field.h"

namespace {

using Kind = CCompressAndFallBalls::Kind;

// Directions in the order down, right, up, left, as (column, row) steps.
constexpr std::array<std::pair<int, int>, 4> kSteps {{{0, 1}, {1, 0}, {0, -1}, {-1, 0}}};
enum Direction { kDown, kRight, kUp, kLeft };

int NeighbourCell(int cell, int direction) {
    int column = 0, row = 0;
    if (!g_LevelCFG->CellToPos(cell, column, row)) return CELL_ERROR;
    const auto [dcol, drow] = kSteps[static_cast<size_t>(direction)];
    return g_LevelCFG->PosToCell(column + dcol, row + drow);
}

int ClassOf(const std::vector<int>& classes, int cell) {
    return classes[static_cast<size_t>(cell)] & ~CCompressAndFallBalls::kMark;
}

// Hint ids and what they look for.
enum HintId : int {
    hiAvailableMove = 0,
    hiBallOnTile = 1,
    hiBallOnLayers = 2,
    hiLockedBall = 3,
    hiStrongLock = 4,
    hiFragment = 5,
    hiBird = 6,
    hiBonusFirst = 100,
    hiBonusLast = 103,
    hiToolFirst = 200,
    hiToolLast = 202,
    hiFeatherCredit = 301,
    hiCreditFirst = 303,
    hiCreditLast = 305,
};
// Bonus types of hints 100 to 103.
constexpr std::array<int, 4> kHintBonusTypes {2, 3, 1, 5};
// The bird state that hint 6 points at.
constexpr int kHintBirdState = 1;
// Tool credits of hints 303 to 305 and the episodes from which they count.
constexpr std::array<const char*, 3> kFirstEpisodeKeys {"first_episode_for_hammer", "first_episode_for_feather",
                                                        "first_episode_for_egg"};

}  // namespace

// ---------------------------------------------------------------- moves

bool CGameField::FindAvailableMoves(std::vector<MoveRecord>& moves) {
    moves.clear();
    _compress_and_fall->BuildCellMap(_move_classes);
    const int count = g_LevelCFG->GetCellCount();
    _move_kinds.assign(static_cast<size_t>(count), 0);
    for (int cell = 0; cell < count; ++cell)
        if (!_balls_field->IsCellEmpty(cell)) _move_kinds[static_cast<size_t>(cell)] = _balls_field->GetBall(cell).graph_type;

    // Cells ascend row by row from the top, each row from the left.
    for (int c = 0; c < count; ++c) {
        if (_move_classes[static_cast<size_t>(c)] != Kind::kBall) continue;
        for (int direction = kDown; direction <= kLeft; ++direction) {
            const int n = NeighbourCell(c, direction);
            if (n == CELL_ERROR || ClassOf(_move_classes, n) != Kind::kBall) continue;
            std::swap(_move_kinds[static_cast<size_t>(c)], _move_kinds[static_cast<size_t>(n)]);
            if (LineFormsAt(n)) moves.push_back({c, n});
            std::swap(_move_kinds[static_cast<size_t>(c)], _move_kinds[static_cast<size_t>(n)]);
        }
    }
    return !moves.empty();
}

bool CGameField::LineFormsAt(int cell) const {
    const int kind = _move_kinds[static_cast<size_t>(cell)];
    // A cell extends the line when it holds a ball of the kind that can
    // match: an idle ball, with or without lock. Moving balls and fragments
    // never do, nor balls that are dying or not yet released.
    const auto extends = [&](int at) {
        if (_move_kinds[static_cast<size_t>(at)] != kind) return false;
        const int cls = ClassOf(_move_classes, at);
        return cls == Kind::kBall || (cls == Kind::kFixedBall && _balls_field->GetCellBallState(at) == bsDEFAULT);
    };
    std::array<int, 4> arms {};
    for (int direction = kDown; direction <= kLeft; ++direction) {
        int arm = 1;
        for (int at = NeighbourCell(cell, direction); at != CELL_ERROR && extends(at); at = NeighbourCell(at, direction))
            ++arm;
        arms[static_cast<size_t>(direction)] = arm;
    }
    const float min_length = g_GameCFG->GetMatchLength();
    for (int arm : arms)
        if (static_cast<float>(arm) >= min_length) return true;
    return static_cast<float>(arms[kRight] + arms[kLeft] - 1) >= min_length ||
           static_cast<float>(arms[kDown] + arms[kUp] - 1) >= min_length;
}

CAvailableMove& CGameField::AvailableMove() {
    if (!_available_move) _available_move = std::make_shared<CAvailableMove>();
    return *_available_move;
}

bool CGameField::ShowAvailableMove() {
    if (!FindAvailableMoves(_moves)) return false;
    AvailableMove().Show(_moves);
    return true;
}

void CGameField::HideAvailableMove() { AvailableMove().Hide(); }

bool CGameField::IsAvailableMoveShown() const { return _available_move && _available_move->IsShown(); }

void CGameField::RenderAvailableMove() {
    if (_available_move) _available_move->Draw();
}

// ---------------------------------------------------------------- hints

bool CGameField::GetHintSource(const HintInfo& hint, CVector2& point) {
    if (!IsHintDue(hint)) return false;
    bool found = false;
    if (hint.id == hiAvailableMove) {
        FindAvailableMoves(_moves);
        _hint_cells.clear();
        for (const MoveRecord& move : _moves) _hint_cells.push_back(move.from);
        size_t picked = 0;
        found = PickHintCell(hint, point, picked);
        // The marker shows the move whose "from" cell was picked.
        if (found) AvailableMove().Show({_moves[picked]});
    } else if (hint.id >= hiToolFirst && hint.id <= hiToolLast) {
        const int tool = hint.id - hiToolFirst + 1;
        IGameSceneLink* scene = GetGameSceneLink();
        found = scene && scene->IsToolAvailable(tool) && scene->GetToolButtonPos(tool, point);
    } else {
        if (!CollectHintCells(hint.id)) {
            CLogger::Instance().Log(3, "Unknown hint id: %d", hint.id);
            return false;
        }
        size_t picked = 0;
        found = PickHintCell(hint, point, picked);
    }
    if (found) {
        int delay = 0;
        GetGameCfgInt("hint_delay", delay);
        _timer.Stop();
        _timer.Start(static_cast<uint32_t>(delay));
    }
    return found;
}

bool CGameField::IsHintDue(const HintInfo& hint) const {
    if (_field_flags->Get(CFieldFlags::ffCompressDue) == 1 || level_is_starting) return false;
    // The field is busy while a bird is or while balls fall.
    if (_birds->IsWaiting() || !_balls_field->NoPendingMoves()) return false;
    const IGameSceneLink* scene = GetGameSceneLink();
    if (!scene || scene->GetState() != gsDefault) return false;
    if (!CGlove::Instance().IsPanelIdle() || show_begin_episode != 0) return false;
    if (_balls_field->IsAnyBallBusy()) return false;
    // The delay runs from the last hint shown; a stopped timer holds none.
    if (hint.wait_time_out && _timer.GetState() != CSecondsCounter::csStopped && !_timer.IsElapsed()) return false;
    return true;
}

bool CGameField::CollectHintCells(int id) {
    _hint_cells.clear();
    const int count = g_LevelCFG->GetCellCount();
    const CBallsField& balls = *_balls_field;
    const auto collect = [&](auto&& wanted) {
        for (int cell = 0; cell < count; ++cell)
            if (!balls.IsCellEmpty(cell) && wanted(cell)) _hint_cells.push_back(cell);
    };
    const auto has_credit = [&](int type) {
        return [&balls, type](int cell) { return balls.GetBall(cell).credit_type == type; };
    };
    if (id == hiBallOnTile) {
        collect([&](int cell) { return _tiles_field->HasCell(cell); });
    } else if (id == hiBallOnLayers) {
        if (_tiles_field->HasMultiLayerCells()) collect([&](int cell) { return _tiles_field->HasMoreLayers(cell); });
    } else if (id == hiLockedBall) {
        collect([&](int cell) { return balls.IsCellLocked(cell); });
    } else if (id == hiStrongLock) {
        collect([&](int cell) { return balls.IsLockStrong(cell); });
    } else if (id == hiFragment) {
        collect([&](int cell) { return balls.IsFragmentBall(cell); });
    } else if (id == hiBird) {
        _birds->GetBirdsInState(kHintBirdState, _hint_cells);
    } else if (id >= hiBonusFirst && id <= hiBonusLast) {
        const int type = kHintBonusTypes[static_cast<size_t>(id - hiBonusFirst)];
        collect([&](int cell) { return balls.GetBonusType(cell) == type; });
    } else if (id == hiFeatherCredit) {
        collect(has_credit(2));
    } else if (id >= hiCreditFirst && id <= hiCreditLast) {
        const int tool = id - hiCreditFirst + 1;
        int first_episode = 0;
        GetGameCfgInt(kFirstEpisodeKeys[static_cast<size_t>(tool - 1)], first_episode);
        const IGameSceneLink* scene = GetGameSceneLink();
        if (scene && scene->GetEpisodeNumber() >= first_episode) collect(has_credit(tool));
    } else {
        return false;
    }
    return true;
}

bool CGameField::PickHintCell(const HintInfo& hint, CVector2& point, size_t& picked) {
    const bool boxed = hint.bounds != CFloatRect();
    CFloatRect area = hint.area;
    if (area == CFloatRect()) {
        area.right = static_cast<float>(g_EngineCore ? g_EngineCore->GetScreenWidth() : 800);
        area.bottom = static_cast<float>(g_EngineCore ? g_EngineCore->GetScreenHeight() : 600);
    }
    // Tried positions leave the list, so every cell is tried at most once.
    _hint_order.resize(_hint_cells.size());
    for (size_t i = 0; i < _hint_order.size(); ++i) _hint_order[i] = i;
    while (!_hint_order.empty()) {
        const size_t at = RandomInt(0, static_cast<uint32_t>(_hint_order.size() - 1));
        const size_t index = _hint_order[at];
        _hint_order[at] = _hint_order.back();
        _hint_order.pop_back();
        CVector2 centre;
        if (!g_LevelCFG->CellCenterToScr(_hint_cells[index], centre.x, centre.y)) continue;
        CFloatRect box = hint.bounds;
        box.Offset(centre.x - hint.anchor.x, centre.y - hint.anchor.y);
        if (boxed && (box.left < area.left || box.top < area.top || box.right > area.right || box.bottom > area.bottom))
            continue;
        point = centre;
        picked = index;
        return true;
    }
    return false;
}
