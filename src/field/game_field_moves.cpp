// The player's side of the field: selecting a ball by click or drag, the
// swap with an orthogonal neighbour, its animation, the check that follows
// and the swap back, and the hammer.
#include <cstdlib>

#include "engine/engine_core_interface.h"
#include "engine/keyboard_controller_interface.h"
#include "engine/logger.h"
#include "engine/mouse_controller_interface.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/birds.h"
#include "field/field_state.h"
#include "field/game_cfg.h"
#include "field/game_field.h"
#include "field/game_scene_link.h"
#include "field/level_cfg.h"
#include "field/tiles_field.h"
#include "graphics/explosion.h"
#include "gui/gui_services.h"
#include "gui/sample_queue.h"
#include "platform/virtual_keys.h"
#include "profiles/app_params.h"

namespace {

constexpr int kLeft = 0;
constexpr int kRight = 1;

IMouseController* Mouse() { return g_EngineCore ? g_EngineCore->GetMouse() : nullptr; }

int SceneState() {
    const IGameSceneLink* scene = GetGameSceneLink();
    return scene ? scene->GetState() : gsDefault;
}

void SetMouseCursor(const char* name) {
    IMouseController* mouse = Mouse();
    if (mouse && !mouse->SetCursor(name)) CLogger::Instance().Log(1, "Warning: The mouse cursor '%s' is missing", name);
}

}  // namespace

bool CGameField::GetMousePos(float& x, float& y) {
    const IMouseController* mouse = Mouse();
    if (!mouse) return false;
    x = static_cast<float>(mouse->GetX());
    y = static_cast<float>(mouse->GetY());
    return true;
}

// ---------------------------------------------------------------- input

bool CGameField::IsInputBlocked() const {
    return SceneState() != gsDefault || _stage == 2 || _stage == 3 || _birds->IsInputBlocked() || level_is_starting ||
           IsBonusActive(kMixerBonus);
}

bool CGameField::IsMovable(int cell) const {
    return g_LevelCFG->IsValidCell(cell) && !_balls_field->IsCellEmpty(cell) && _balls_field->CellPredicate(cell);
}

bool CGameField::IsPathValid() const {
    const int from = _path->GetFrom();
    const int to = _path->GetTo();
    return (from == CELL_ERROR || IsMovable(from)) && (to == CELL_ERROR || IsMovable(to));
}

void CGameField::OnBallMove() {
    if (IsInputBlocked()) return;
    IMouseController* mouse = Mouse();
    if (!mouse) return;
    float x = 0, y = 0;
    GetMousePos(x, y);
    if (_tiles_field->IsAppearing() && mouse->IsButtonPressed(kLeft)) _tiles_field->FinishAppear();
    if (mouse->IsAnyButtonDown()) {
        HideAvailableMove();
        _hint_countdown.Set(kHintDelay);
    }
    // A selected ball that has died, fallen or been locked meanwhile.
    if (_path->GetStage() == 0 && !IsPathValid()) {
        _path->Reset();
        _selection_state = 0;
    }
    // Dragging the selected ball onto another cell.
    if (gui::IsLeftButtonHeld(*mouse) && _selection_state == 1 && g_LevelCFG->ScrToCell(x, y) != _path->GetFrom()) {
        if (TrySwap(x, y)) {
            _game_flag.swap_balls_on_field = sbSwapping;
            g_SampleQueue.Add("ball_move");
        }
        _selection_state = 0;
        _selection_marker.Set(this, CELL_ERROR);
    }
    IGameSceneLink* scene = GetGameSceneLink();
    if (mouse->IsButtonPressed(kRight) && scene && scene->IsToolAvailable(kToolHammer)) {
        if (_field_flags->Get(CFieldFlags::ffHammerTaken) == 1)
            ReturnHammer(true);
        else
            TakeHammer();
    }
    const IKeyboardController* keyboard = g_EngineCore->GetKeyboard();
    if (g_AppParams.keys && keyboard && keyboard->IsKeyPressed(plat::VK_INSERT)) _field_state->Add(1);
    // Every left press in order, where it happened: a ball chosen and its
    // partner clicked within one frame still swap, and both clicks of a fast
    // double click count.
    for (const MouseButtonEvent& e : mouse->GetButtonEvents()) {
        if (e.button != kLeft || !e.down) continue;
        HandleMouseButtons(static_cast<float>(e.x), static_cast<float>(e.y));
        if (e.double_click) HandleDoubleClick(static_cast<float>(e.x), static_cast<float>(e.y));
    }
    if (mouse->IsButtonDown(kRight) && _selection_state == 1) {
        _selection_marker.Set(this, CELL_ERROR);
        _selection_state = 0;
        _path->Reset();
    }
}

// A left press: select, strike with the hammer, or pick the swap's partner.
void CGameField::HandleMouseButtons(float x, float y) {
    if (_selection_state == 0) {
        if (_game_flag.swap_balls_on_field != sbNone) return;
        if (_field_flags->Get(CFieldFlags::ffHammerTaken) == 1)
            StrikeHammer();
        else if (SelectBallAt(x, y))
            _selection_state = 1;
        return;
    }
    _selection_marker.Set(this, CELL_ERROR);
    if (TrySwap(x, y)) {
        _game_flag.swap_balls_on_field = sbSwapping;
        _selection_state = 0;
    } else {
        SelectBallAt(x, y);
    }
}

void CGameField::HandleDoubleClick(float x, float y) {
    const int cell = g_LevelCFG->ScrToCell(x, y);
    if (!IsMovable(cell)) return;
    const int kind = _balls_field->GetBonusType(cell);
    if (kind == 0) return;
    _selection_marker.Set(this, CELL_ERROR);
    StartBonus(kind, cell, false);
    _selection_state = 0;
}

bool CGameField::SelectBallAt(float x, float y) {
    const int cell = g_LevelCFG->ScrToCell(x, y);
    if (cell == CELL_ERROR || !IsVovaroCell(cell) || _balls_field->IsCellEmpty(cell)) return false;
    if (IsMovable(cell) && !_balls_field->IsFragmentBall(cell)) {
        _path->SetFrom(cell);
        ASSERT_THROW_IF_FAILED(_game_flag.swap_balls_on_field == sbNone);
        _selection_marker.Set(this, cell);
        g_SampleQueue.Add("ball_select");
        return true;
    }
    PlayNow("mismatch");
    return false;
}

bool CGameField::TrySwap(float x, float y) {
    const int to = g_LevelCFG->ScrToCell(x, y);
    if (to == CELL_ERROR || !IsVovaroCell(to)) {
        _path->Reset();
        return false;
    }
    if (!g_GameCFG->GetBool("enable_empty_swap")) {
        if (!IsMovable(to)) {
            PlayNow("mismatch");
            return false;
        }
    } else if (_balls_field->IsCellEmpty(to)) {
        // Nothing to exchange with: refused like any other unusable target.
        _path->Reset();
        return false;
    }
    if (_balls_field->IsFragmentBall(to)) {
        _path->Reset();
        return false;
    }
    const int from = _path->GetFrom();
    if (from == CELL_ERROR || from == to) {
        _path->Reset();
        return false;
    }
    if (!g_LevelCFG->IsValidCell(from) || _balls_field->IsCellEmpty(from)) {
        ASSERT(false);
        _path->Reset();
        return false;
    }
    int from_col = 0, from_row = 0, to_col = 0, to_row = 0;
    g_LevelCFG->CellToPos(from, from_col, from_row);
    g_LevelCFG->CellToPos(to, to_col, to_row);
    const int dc = std::abs(from_col - to_col);
    const int dr = std::abs(from_row - to_row);
    if ((dc == 1 && dr == 1) || dc >= 2 || dr >= 2) return false;
    _path->SetTo(to);
    _balls_field->SetBallState(from, bsSWAP);
    _balls_field->SetBallState(to, bsSWAP);
    return true;
}

// ---------------------------------------------------------------- the swap

int CGameField::AnimateSwap(bool back) {
    int a = _path->GetFrom();
    int b = _path->GetTo();
    if (back) std::swap(a, b);
    ASSERT_THROW_IF_FAILED(g_LevelCFG->IsValidCell(a));
    ASSERT_THROW_IF_FAILED(g_LevelCFG->IsValidCell(b));
    if (_balls_field->GetCellBallState(a) != bsSWAP || _balls_field->GetCellBallState(b) != bsSWAP) {
        // A bonus took one of the two on the way: the other stops where it belongs.
        for (int cell : {a, b}) {
            if (_balls_field->GetCellBallState(cell) != bsSWAP) continue;
            _balls_field->SetBallState(cell, bsDEFAULT);
            _balls_field->ResetBallPos(cell);
        }
        _swap_done = false;
        _swap_back = false;
        _path->Reset();
        _field_flags->Set(CFieldFlags::ffCompressDue, 1);
        return 2;
    }
    const bool a_moving = _balls_field->StepSwapBall(a, b);
    const bool b_moving = _balls_field->StepSwapBall(b, a);
    if (a_moving || b_moving) return 1;
    _balls_field->SwapBalls(a, b);
    _balls_field->SetBallState(a, bsDEFAULT);
    _balls_field->SetBallState(b, bsDEFAULT);
    return 0;
}

void CGameField::UpdateMove() {
    if (_game_flag.swap_balls_on_field == sbSwapping) {
        const bool back = _swap_back;
        const int result = AnimateSwap(back);
        _game_flag.swap_balls_on_field = result == 1 ? sbSwapping : sbNone;
        if (result == 0) {
            _swap_done = !back;
            _swap_back = false;
            if (back) {
                _path->Reset();
                _field_flags->Set(CFieldFlags::ffCompressDue, 1);
            }
        }
    }
    if (_game_flag.swap_balls_on_field == sbNone && _swap_done) SwapBackOrFinish();
    if (!_swap_done && _field_flags->Get(CFieldFlags::ffSettled) == 1) ScanSettledField();
}

// The swap has arrived: its bonuses start, its matches die, or it goes back.
void CGameField::SwapBackOrFinish() {
    bool bonus = false;
    const int from = _path->GetFrom();
    const int to = _path->GetTo();
    if (const int kind = GetBallBonusType(from); kind != 0) {
        AddBonus(kind, from);
        _path->SetFrom(CELL_ERROR);
        bonus = true;
    }
    if (const int kind = GetBallBonusType(to); kind != 0) {
        StartBonus(kind, to, false);
        _path->SetTo(CELL_ERROR);
        bonus = true;
    }
    const int result = ResolveSwapMatches(_path->GetFrom(), _path->GetTo());
    if (result != 1 && !bonus) {
        _swap_back = true;
        _game_flag.swap_balls_on_field = sbSwapping;
        PlayNow("mismatch");
        _balls_field->SetBallState(from, bsSWAP);
        _balls_field->SetBallState(to, bsSWAP);
        return;
    }
    _swap_done = false;
    _swap_back = false;
    _path->Reset();
    _field_flags->Set(CFieldFlags::ffCompressDue, 1);
}

// The falls are done: the whole field is searched for matches.
void CGameField::ScanSettledField() {
    if (!_balls_field->NoPendingMoves()) return;
    if (ResolveSwapMatches(CELL_ERROR, CELL_ERROR) != 0) {
        _field_flags->Set(CFieldFlags::ffCompressDue, 1);
        if (!IsPathValid()) _selection_marker.Set(this, CELL_ERROR);
    } else {
        if (_field_flags->Get(CFieldFlags::ffCompressDue) == 0 && _rows_falling->GetValue() == 2)
            _rows_falling->SetValue(1);
        _field_flags->Set(CFieldFlags::ffSaluteCheck, 1);
    }
    _field_flags->Set(CFieldFlags::ffSettled, 0);
}

// ---------------------------------------------------------------- the hammer

void CGameField::TakeHammer() {
    if (_field_flags->Get(CFieldFlags::ffHammerTaken) == 1) {
        ReturnHammer(true);
        return;
    }
    if (level_is_starting || _stage == 2 || _stage == 3 || SceneState() != gsDefault) return;
    _field_flags->Set(CFieldFlags::ffHammerTaken, 1);
    SetMouseCursor("hammer");
    PlayNow("hammer_take");
    if (IGameSceneLink* scene = GetGameSceneLink()) scene->ShowToolImage(kToolHammer, false);
}

void CGameField::ReturnHammer(bool play_sound) {
    _field_flags->Set(CFieldFlags::ffHammerTaken, 0);
    SetMouseCursor("default");
    IGameSceneLink* scene = GetGameSceneLink();
    if (!scene || !scene->IsToolAvailable(kToolHammer)) return;
    if (play_sound) PlayNow("hammer_return");
    scene->ShowToolImage(kToolHammer, true);
}

void CGameField::StrikeHammer() {
    if (_birds->HitByHammer()) return;
    float x = 0, y = 0;
    if (!GetMousePos(x, y)) return;
    const int cell = g_LevelCFG->ScrToCell(x, y);
    if (cell == CELL_ERROR || _balls_field->IsCellEmpty(cell)) return;
    const int state = _balls_field->GetCellBallState(cell);
    if (state >= bsMOVE && state <= bsSWAP) return;
    if (_balls_field->IsFragmentBall(cell)) {
        PlayNow(g_GameCFG->GetString("hammer_mismatch_immortal"));
        return;
    }
    const int kind = _balls_field->GetBonusType(cell);
    if (kind != 0 && IsMovable(cell)) {
        _selection_marker.Set(this, CELL_ERROR);
        StartBonus(kind, cell, true);
        _selection_state = 0;
    } else {
        KillBall(cell, bsDEAD);
    }
    const std::string explosion_name = g_GameCFG->GetString("hammer_explosion");
    if (!explosion_name.empty()) {
        float cx = 0, cy = 0;
        g_LevelCFG->CellCenterToScr(cell, cx, cy);
        explosion::GetExplosionManager()->StartExplosion(explosion_name, cx, cy);
    }
    ReturnHammer(false);
    IGameSceneLink* scene = GetGameSceneLink();
    if (scene) scene->EnableTool(kToolHammer, false);
    PlayNow("bll_dead_hammer");
    if (scene) scene->ResetToolProgress(kToolHammer);
}
