// One tick of the field: its parts step, rows fall in on the row countdown,
// the swap runs, the field looks for a move when it is still, a lost life is
// reported, and the level's goal leads through the fragment to the level's
// end.
#include <algorithm>

#include "engine/logger.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/birds.h"
#include "field/compress_and_fall_balls.h"
#include "field/end_level_effects.h"
#include "field/field_state.h"
#include "field/game_field.h"
#include "field/game_scene_link.h"
#include "field/generators.h"
#include "field/glove.h"
#include "field/level_cfg.h"
#include "field/salute.h"
#include "field/tiles_field.h"
#include "field/tool_carriers.h"
#include "gui/sample_queue.h"

bool CGameField::IsAnyBallMoving() const { return !_balls_field->NoPendingMoves(); }

bool CGameField::HasAnyBall() const {
    for (int cell = 0; cell < g_LevelCFG->GetCellCount(); ++cell)
        if (!_balls_field->IsCellEmpty(cell)) return true;
    return false;
}

void CGameField::Update() {
    g_SampleQueue.PlayAll();
    _selection_marker.Update();
    _field_state->Update();
    _tiles_field->Update();
    _balls_field->Update();
    if (_frozen) return;
    _balls_field->TickBonusTimers();

    if (!_tiles_field->IsAppearing()) {
        _birds->Update();
        CGlove& glove = CGlove::Instance();
        if (!_birds->IsWaiting() && !glove.IsArtefactShown() && !level_is_starting && show_begin_episode == 0 &&
            _stage == 0)
            glove.ShowArtefact(true);
    }
    if (_field_flags->Get(CFieldFlags::ffCompressDue) == 1 && _rows_falling->GetValue() == 0) _rows_falling->SetValue(2);
    if (_move_check == 0 &&
        (_field_flags->Get(CFieldFlags::ffCompressDue) == 1 || _field_flags->Get(CFieldFlags::ffSettled) == 1))
        _move_check = 1;
    if (_field_flags->Get(CFieldFlags::ffSaluteDone) == 1) {
        _rows_falling->Start();
        _field_flags->Set(CFieldFlags::ffSaluteDone, 0);
    }
    if (level_is_starting) _danger_warning.Reset();
    UpdateBonuses();
    if (_carriers) _carriers->Update();
    if (_end_level && _end_level->IsStarted()) _end_level->Update();

    const bool ending = _stage == 2 || _stage == 3;
    if (ShouldGo()) {
        UpdateFallingRows();
        UpdateHoverFrame();
        UpdateMove();
        if (_rows_pause == 0 && !level_is_starting)
            _danger_warning.Update(_generators->GetFreeDepth(_rows_falling->IsFalling()));
        if (_move_check == 1 && !IsAnyBallMoving() && _field_flags->Get(CFieldFlags::ffCompressDue) == 0 &&
            _field_flags->Get(CFieldFlags::ffSettled) == 0)
            _move_check = 2;
        CheckLostLife();
        if (level_is_starting) {
            if (HasAnyBall() && !IsAnyBallMoving()) level_is_starting = false;
        } else if (!ending) {
            UpdateHint();
            CheckEndOfSwap();
            // Bonus balls come only in play: not in the start fill nor the
            // level's end; a bonus that fell due meanwhile comes now.
            if (_balls_field->PlaceDueBonusBalls()) PlayNow("on_bonus_add");
            if (_move_check == 2) CheckNoMoves();
        }
        if (show_begin_episode == 1) show_begin_episode = 2;
    }
    if (!ending && _rows_pause == 0) _rows_countdown.Decrement();
    if (_rows_pause != 0) --_rows_pause;
    if (IsLevelComplete()) {
        IGameSceneLink* scene = GetGameSceneLink();
        if (scene && scene->GetState() != gsNextLevel) scene->SetState(gsNextLevel);
    }
}

bool CGameField::ShouldGo() const {
    if (_tiles_field->IsAppearing()) return false;
    switch (show_begin_episode) {
        case 0: return !level_is_starting || !_birds->IsWaiting();
        case 1: return !_birds->IsWaiting();
        default: return false;
    }
}

// ---------------------------------------------------------------- rows

void CGameField::UpdateFallingRows() {
    CompressColumns();
    if (_stage == 2 || _stage == 3) {
        _rows_falling->Reset();
        return;
    }
    GatherDropCells();
    if (!_drop_cells.empty()) DropRow();
}

void CGameField::CompressColumns() {
    if (IsAnyBallMoving() || _field_flags->Get(CFieldFlags::ffCompressDue) != 1) return;
    _compress_and_fall->Compress();
    _birds->CheckLanding();
    _field_flags->Set(CFieldFlags::ffCompressDue, 0);
    if (!IsAnyBallMoving())
        _field_flags->Set(CFieldFlags::ffSettled, 1);
    else if (!IsPathValid())
        _selection_marker.Set(this, CELL_ERROR);
}

// The cells where the birds release the next row: at once while a drop of
// rows runs, else when the row countdown has run out.
void CGameField::GatherDropCells() {
    _drop_cells.clear();
    if (IsAnyBallMoving()) return;
    const bool mixer = IsBonusActive(kMixerBonus);
    if (_generators->AreAllOpen()) {
        if (_rows_falling->GetValue() == 1 && !_rows_falling->IsFalling() && !mixer && !_rows_falling->Test())
            _rows_falling->SetValue(0);
        if (_rows_falling->IsFalling()) {
            _rows_countdown.Set(0);
            _birds->GetDropCellsAmong(_rows_falling->GetCurrent(), _drop_cells);
        } else if (_rows_countdown.IsZero() && !mixer) {
            _birds->GetDropCells(_drop_cells);
        }
    } else if (_rows_countdown.IsZero() && !_generators->IsAnyFeeding() && !mixer) {
        _birds->GetDropCells(_drop_cells);
    }
}

void CGameField::DropRow() {
    _balls_field->GenerateBalls(_drop_cells);
    if (!_rows_falling->IsFalling()) {
        // The birds whose column had no room for their ball.
        _unfilled_cells.clear();
        for (const DropCell& drop : _drop_cells) _unfilled_cells.push_back(drop.cell);
        _birds->OnRowFallen(_unfilled_cells);
    }
    const int delay = GetRowDelay();
    if (_rows_falling->IsFalling()) _rows_falling->Advance();
    PlayNow("row_falling");
    _rows_countdown.Set(static_cast<uint32_t>(std::max(delay, 0)));
    HideAvailableMove();
    _hint_countdown.Set(kHintDelay);
    _balls_field->SettleNewBalls();
    _field_flags->Set(CFieldFlags::ffCompressDue, 1);
    CompressColumns();
}

// ---------------------------------------------------------------- checks

void CGameField::UpdateHoverFrame() {
    float x = 0, y = 0;
    const int cell = GetMousePos(x, y) ? g_LevelCFG->ScrToCell(x, y) : CELL_ERROR;
    const IGameSceneLink* scene = GetGameSceneLink();
    const bool shown = cell != CELL_ERROR && IsVovaroCell(cell) && !_balls_field->IsCellEmpty(cell) &&
                       !(_end_level && _end_level->IsStarted()) && (!scene || scene->GetState() == gsDefault) &&
                       !level_is_starting;
    if (!shown) {
        _cursor_frame.Hide();
        return;
    }
    _cursor_frame.SetCell(cell);
    _cursor_frame.Show();
}

// After a quiet while the field shows one of the moves left.
void CGameField::UpdateHint() {
    if (IsAvailableMoveShown()) return;
    _hint_countdown.Decrement();
    if (!_hint_countdown.IsZero() || IsAnyBallMoving() || _field_flags->Get(CFieldFlags::ffCompressDue) != 0 ||
        _field_flags->Get(CFieldFlags::ffSettled) != 0)
        return;
    ShowAvailableMove();
}

void CGameField::CheckEndOfSwap() {
    if (_field_flags->Get(CFieldFlags::ffSaluteCheck) != 1 || _field_flags->Get(CFieldFlags::ffCompressDue) != 0) return;
    if (IsAnyBallMoving()) return;
    _salute->Check();
    _field_flags->Set(CFieldFlags::ffSaluteCheck, 0);
}

bool CGameField::HasPendingSpecialOrBusyBall() const {
    for (int cell = 0; cell < g_LevelCFG->GetCellCount(); ++cell) {
        if (_balls_field->IsCellEmpty(cell)) continue;
        const int state = _balls_field->GetCellBallState(cell);
        if (_balls_field->IsBonusBall(cell) || (state >= bsMOVE && state <= bsSWAP)) return true;
    }
    return false;
}

// The field is still: without a move left the mixer shuffles it.
void CGameField::CheckNoMoves() {
    if (IsAnyBallMoving() || IsBonusActive(kMixerBonus) || _salute->IsRunning() || HasPendingSpecialOrBusyBall()) return;
    if (!FindAvailableMoves(_moves)) {
        StartBonus(kMixerBonus, 0, false);
        FinishBonus(kSlowDownBonus);
    }
    _move_check = 0;
}

// A life is lost once: the scene freezes the field when it hears of it, and
// until then the same loss must not slow the rows again.
void CGameField::CheckLostLife() {
    const IGameSceneLink* scene = GetGameSceneLink();
    if (_birds->IsGameOver() && (!scene || scene->GetState() != gsLifeLost)) LoseLife();
}

// ---------------------------------------------------------------- the goal

bool CGameField::IsLevelComplete() {
    switch (_stage) {
        case 0:
            if (_field_state->IsComplete()) {
                EnterFragment();
                _stage = 1;
            }
            return false;
        case 1:
            if (ReleaseFragments()) {
                _birds->OnLevelEnd();
                _stage = 2;
                g_SampleQueue.Add("arte_down");
                if (IGameSceneLink* scene = GetGameSceneLink()) {
                    scene->EnableToolBlinks(false);
                    scene->SwitchMood();
                }
                FinishBonus(kSlowDownBonus);
                ReturnHammer(true);
            }
            return false;
        case 2:
            if (EndLevelStage()) _stage = 3;
            return false;
        case 3: return !_birds->IsWaiting();
        default: return true;
    }
}

void CGameField::EnterFragment() {
    if (num_fragments_fallen >= num_fragments_at_the_level) return;
    const int graph_type = CGlove::Instance().NextFragmentGraphType();
    // The artefact is complete: no fragment enters and the level ends.
    if (graph_type == -1) return;
    const int cell = FindFragmentEntryCell();
    if (cell == CELL_ERROR) return;
    _balls_field->CreateBall(cell, graph_type);
    _balls_field->SetBallState(cell, bsDEFAULT);
    ++num_fragments_fallen;
    g_SampleQueue.Add("arte_appear");
    _field_flags->Set(CFieldFlags::ffCompressDue, 1);
    FinishBonus(kSlowDownBonus);
}

bool CGameField::ReleaseFragments() {
    bool waiting = false;
    const int width = g_LevelCFG->GetFieldWidth();
    for (int cell = 0; cell < g_LevelCFG->GetCellCount(); ++cell) {
        if (_balls_field->IsCellEmpty(cell) || !_balls_field->IsFragmentBall(cell)) continue;
        const int below = cell + width;
        if (!IsMovable(cell) || IsVovaroCell(below)) {
            waiting = true;
            continue;
        }
        CGlove::Instance().FlyFragmentToArtefact(_balls_field->DetachBall(cell));
        _field_flags->Set(CFieldFlags::ffCompressDue, 1);
    }
    return !waiting;
}

// The artefact and the carriers have settled: the end-level effects run on
// the birds' columns until they are over.
bool CGameField::EndLevelStage() {
    if (!CGlove::Instance().IsIdle() || (_carriers && !_carriers->IsIdle())) return false;
    if (!_end_level_started) {
        _end_level_started = true;
        _bird_columns.clear();
        _birds->GetBirdColumns(_bird_columns);
        if (_end_level) {
            _end_level->Start(_bird_columns);
        } else {
            for (int column : _bird_columns) _birds->SendBirdInColumn(column);
        }
        ClearBonuses();
        const IGameSceneLink* scene = GetGameSceneLink();
        if (!scene || !scene->IsLastLevel()) CGlove::Instance().ShowArtefact(false);
    }
    return !_end_level || _end_level->IsFinished();
}
