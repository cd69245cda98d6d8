#include "field/game_field.h"

#include <algorithm>
#include <cstdint>

#include "engine/logger.h"
#include "engine/sound_keeper_interface.h"
#include "engine/xml_node.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/birds.h"
#include "field/compress_and_fall_balls.h"
#include "field/field_bonus_list.h"
#include "field/field_praise.h"
#include "field/field_services.h"
#include "field/field_state.h"
#include "field/game_cfg.h"
#include "field/game_scene_link.h"
#include "field/generators.h"
#include "field/glove.h"
#include "field/level_cfg.h"
#include "field/salute.h"
#include "field/tiles_field.h"
#include "field/tool_carriers.h"
#include "graphics/explosion.h"
#include "gui/sample_queue.h"

namespace {

constexpr const char* kBirdsFile = "Settings\\birds.xml";
constexpr const char* kBirdsPath = "//Birds/Bird";

}  // namespace

CGameField::CGameField()
    : _field_flags(std::make_shared<CFieldFlags>()),
      _balls_field(std::make_shared<CBallsField>(_field_flags.get())),
      _tiles_field(std::make_shared<CTilesField>()),
      _path(std::make_shared<CPath>()),
      _field_state(std::make_shared<CFieldState>()),
      _balls_exploder(std::make_shared<CBallsExploder>(this)),
      _generators(std::make_shared<CGenerators>(this)),
      _compress_and_fall(std::make_shared<CCompressAndFallBalls>(this, _generators.get())),
      _rows_falling(std::make_shared<CRowsFalling>(_compress_and_fall.get(), _balls_field.get(), this)),
      _birds(std::make_shared<CBirds>(this, kBirdsFile, kBirdsPath)),
      _salute(std::make_shared<CSalute>(this)),
      _match_finder(_balls_field.get()) {
    _bonus_list.SetDataSource(this);
    CreateToolParts();
}

CGameField::~CGameField() = default;

// ---------------------------------------------------------------- level

bool CGameField::LoadConfig(const CXMLNode& level) {
    g_LevelCFG->LoadLevelFieldConfig(level);
    if (g_LevelCFG->GetCellCount() == 0) {
        CLogger::Instance().Log(2, "Error: The level has no field that could be played.");
        return false;
    }
    const CXMLNode config = level.SelectSingleNode("Config");
    const CXMLNode node = config.IsValid() ? config.SelectSingleNode("State") : CXMLNode();
    ASSERT(node.IsValid());
    // A level without puzzle tiles is won by points: its goal is "target".
    _score_target = node.IsValid() ? node.GetAttributeInt("target", 0) : 0;
    _balls_field->LoadConfig(level);
    _balls_field->PrepareLevel();
    if (config.IsValid()) _tiles_field->LoadConfig(config);
    _generators_delay = _generators->Load(_tiles_field->GetGenerators());
    _cursor_frame.Create();
    _paused_faded = false;
    _row_delay_factor = 1.0f;
    return true;
}

void CGameField::ClearLevel() {
    // The pointer must not stay a hammer in the menu after the level.
    if (_field_flags->Get(CFieldFlags::ffHammerTaken) == 1) ReturnHammer(false);
    if (_carriers) _carriers->StopEmitters();
    if (_praise) _praise->Clear();
    ClearBonuses();
    _balls_field->Clear();
    _tiles_field->Clear();
    _path->Reset();
    _rows_falling->Reset();
    HideAvailableMove();
    _birds->Clear();
    _end_steps.clear();
}

LevelStatistics CGameField::GetLevelStatistics() const {
    LevelStatistics copy = _statistics;
    copy.time = static_cast<int32_t>(level_timer.GetElapsed());
    return copy;
}

// ---------------------------------------------------------------- matches

void CGameField::FindMatches(std::vector<int>& cells_to_delete, int from, int to, std::vector<int>* combo_cells,
                             std::vector<int>* match4_cells, std::vector<int>* match5_cells) {
    _match_finder.FindMatches(cells_to_delete, from, to, combo_cells, match4_cells, match5_cells);
}

int CGameField::ResolveSwapMatches(int from, int to) {
    FindMatches(_to_delete, from, to, &_combo_cells, &_match4_cells, &_match5_cells);
    if (_to_delete.empty()) return 0;
    DeleteMatchedCells(_to_delete, _combo_cells, _match4_cells, _match5_cells);
    if (from != CELL_ERROR && to != CELL_ERROR) {
        for (int cell : _to_delete)
            if (cell == from || cell == to) return 1;
    }
    return 2;
}

void CGameField::DeleteMatchedCells(const std::vector<int>& cells_to_delete, const std::vector<int>& combo_cells,
                                    const std::vector<int>& match4_cells, const std::vector<int>& match5_cells) {
    if (!ASSERT(!cells_to_delete.empty())) return;
    for (int cell : cells_to_delete) {
        SendToolCredit(cell);
        KillBall(cell, bsDEAD);
    }
    AddScore(cells_to_delete[cells_to_delete.size() / 2], kMatchScore, "Score_small", 0);
    g_SampleQueue.Add("bll_dead");
    for (int cell : combo_cells) {
        AddScore(cell, kComboScore, "Score_combo", 1);
        g_SampleQueue.Add("combo_bonus");
    }
    for (int cell : match4_cells) {
        AddScore(cell, kMatch4Score, "Match4_bonus", 1);
        g_SampleQueue.Add("match_bonus");
    }
    for (int cell : match5_cells) {
        AddScore(cell, kMatch5Score, "Match5_bonus", 1);
        g_SampleQueue.Add("match_bonus");
    }
}

void CGameField::SendToolCredit(int cell) {
    ASSERT_THROW_IF_FAILED(g_LevelCFG->IsValidCell(cell));
    if (_balls_field->IsCellEmpty(cell)) return;
    const BallDesc& desc = _balls_field->GetBall(cell);
    if (desc.credit_type == 0 || !_carriers) return;
    CVector2 from, to;
    g_LevelCFG->CellCenterToScr(cell, from.x, from.y);
    // Without a bar point on the panel the credit has no way to fly: it
    // starts where it ends and is applied at once.
    IGameSceneLink* scene = GetGameSceneLink();
    if (!scene || !scene->GetToolProgressPoint(desc.credit_type, to)) to = from;
    _carriers->Send(desc.credit_type, desc.credit_amount, from, to);
}

bool CGameField::AddScore(int cell, int points, const char* label, int flag) {
    float x = 0, y = 0;
    g_LevelCFG->CellCenterToScr(cell, x, y);
    AddScoreAtPos(x, y, points, label, flag);
    if (IsScoreGoal()) _field_state->Add(points);
    return points != 0;
}

bool CGameField::IsScoreGoal() const { return _tiles_field->GetTotalLayers() == 0; }

// ---------------------------------------------------------------- data source

void CGameField::SetBallState(int cell, int state) { _balls_field->SetBallState(cell, state); }

bool CGameField::GetBallState(int cell, int& state) {
    if (!g_LevelCFG->IsValidCell(cell) || _balls_field->IsCellEmpty(cell)) return false;
    return _balls_field->GetBallState(cell, state);
}

void CGameField::RestartRowsFallCountdown(int value) {
    _rows_countdown.Set(_rows_countdown.GetStart());
    _rows_pause = value;
}

int CGameField::GetBallBonusType(int cell) {
    if (!g_LevelCFG->IsValidCell(cell) || _balls_field->IsCellEmpty(cell)) return 0;
    return _balls_field->GetBonusType(cell);
}

void CGameField::AddBonus(int type, int cell) { StartBonus(type, cell, false); }

bool CGameField::IsVovaroCell(int cell) { return g_LevelCFG->IsValidCell(cell) && _tiles_field->IsActiveCell(cell); }

void CGameField::KillBall(int cell_index, int state_type) {
    ASSERT_THROW_IF_FAILED(g_LevelCFG->IsValidCell(cell_index));
    ASSERT(state_type == bsDEAD || state_type == bsDYING);
    if (_balls_field->IsCellEmpty(cell_index)) return;
    const bool locked = _balls_field->IsCellLocked(cell_index);
    const int old_state = _balls_field->GetCellBallState(cell_index);
    if (_balls_field->IsFragmentBall(cell_index)) return;
    if (locked) {
        // The lock takes the kill; the ball lives on once it breaks.
        if (!_balls_field->HitLockAt(cell_index, state_type)) return;
    } else {
        _balls_field->SetBallState(cell_index, state_type);
    }
    if (old_state == bsDYING) return;
    std::string explosion = g_GameCFG->GetString("ball_explosion");
    if (!locked && _tiles_field->HasCell(cell_index)) {
        _tiles_field->DamageTile(cell_index);
        _field_state->Add(1);
        PlayNow("pzl_ball_dead");
        explosion = g_GameCFG->GetString("vovaro_explosion");
    }
    float x = 0, y = 0;
    g_LevelCFG->CellCenterToScr(cell_index, x, y);
    explosion::GetExplosionManager()->StartExplosion(explosion, x, y);
}

void CGameField::HitCell(int cell, int kind) {
    ASSERT_THROW_IF_FAILED(g_LevelCFG->IsValidCell(cell));
    if (_balls_field->IsCellLocked(cell)) _balls_field->HitLockAt(cell, kind);
    if (!_balls_field->IsCellEmpty(cell)) KillBall(cell, kind);
    if (!_tiles_field->HasCell(cell)) return;
    int removed = 0;
    for (int hit = _tiles_field->DamageTile(cell); hit > 0; hit = _tiles_field->DamageTile(cell)) removed += hit;
    _field_state->Add(removed);
}

void CGameField::AddScoreAtPos(float x, float y, int points, const char* label, int flag) {
    if (_praise) _praise->ShowScore(x, y, points, label, flag);
    _statistics.score = std::max(0, _statistics.score + points);
    if (IGameSceneLink* scene = GetGameSceneLink()) scene->AddScore(points);
}

void CGameField::ScaleOutBall(int cell) {
    if (g_LevelCFG->IsValidCell(cell) && !_balls_field->IsCellEmpty(cell)) _balls_field->ScaleOutBall(cell);
}

bool CGameField::IsAnyBallBusy() { return _balls_field->IsAnyBallBusy(); }

void CGameField::SetFreeBirdsState(bool flag) { _birds->OnSlowDown(flag); }

void CGameField::GetGeneratorCells(std::vector<int>& cells) { _generators->GetAllCells(cells); }

void CGameField::GetGeneratorCellsWithDelay(std::vector<int>& cells, int delay) {
    _generators->GetCellsWithDelay(cells, delay);
}

void CGameField::GetFloodStartCells(std::vector<int>& cells) const {
    for (const CVovaroCell& vovaro : _tiles_field->GetVovaroCells()) cells.push_back(vovaro.cell);
}

bool CGameField::HasCell(int cell) const { return _tiles_field->HasCell(cell); }

void CGameField::PlayNow(const std::string& alias) {
    if (alias.empty()) return;
    if (ISoundKeeper* keeper = field::SoundKeeper()) keeper->PlaySample(alias);
}

// ---------------------------------------------------------------- bonuses

bool CGameField::IsBonusActive(int type) const { return _bonuses && _bonuses->IsBonusActive(type); }

void CGameField::FinishBonus(int type) {
    if (_bonuses) _bonuses->FinishBonus(type);
}

void CGameField::ClearBonuses() {
    if (_bonuses) _bonuses->Clear();
}

void CGameField::StartBonus(int type, int cell, bool intensive) {
    if (_bonuses)
        _bonuses->AddBonus(type, cell, intensive);
    else
        CLogger::Instance().Log(2, "Bonus %d at cell %d dropped: the field has no bonus list", type, cell);
}

void CGameField::UpdateBonuses() {
    if (_bonuses) _bonuses->Update();
}

void CGameField::DrawBonuses() {
    if (_bonuses) _bonuses->Draw();
}

// ---------------------------------------------------------------- end steps

void CGameField::QueueLevelEndSteps() {
    _end_steps.assign({esClearSelection, esResetDanger, esEndSound, esExplodeStart, esExplodeFinish, esCarriersIdle,
                       esDissolveOut, esDissolved});
}

void CGameField::QueueLifeLostSteps() { _end_steps.assign({esCarriersIdle, esExplodeStart, esExplodeFinish}); }

bool CGameField::ProcessEndIteration() {
    if (_end_steps.empty()) return true;
    if (DoEndStep(_end_steps.front())) _end_steps.pop_front();
    return _end_steps.empty();
}

bool CGameField::DoEndStep(int code) {
    switch (code) {
        case esExplodeStart: _balls_exploder->Start(); return true;
        case esExplodeFinish: return _balls_exploder->Finish();
        case esClearSelection: _selection_marker.Set(this, CELL_ERROR); return true;
        case esResetDanger: _danger_warning.Reset(); return true;
        case esEndSound: g_SampleQueue.Add("end_iter"); return true;
        case esCarriersIdle: return !_carriers || _carriers->IsIdle();
        case esHideArtefact: CGlove::Instance().ShowArtefact(false); return true;
        case esArtefactIdle: return CGlove::Instance().IsPanelIdle();
        case esDissolveOut: DissolveOut(); return true;
        case esDissolveIn: DissolveIn(); return true;
        case esDissolved: return !IsDissolving();
        default:
            CLogger::Instance().Log(3, "Unknown end step: %d", code);
            return true;
    }
}

void CGameField::SetFrozen(bool frozen) {
    if (frozen == _frozen) return;
    IGameSceneLink* scene = GetGameSceneLink();
    if (frozen) {
        // The pointer over the dialogs is the normal one.
        if (_field_flags->Get(CFieldFlags::ffHammerTaken) == 1) ReturnHammer(false);
        level_timer.Pause();
        if (scene) scene->EnableToolBlinks(false);
        _timer.Pause();
    } else {
        // Only the pause fades the board; a later hint or help must not blank it.
        if (_paused_faded) DissolveIn();
        _paused_faded = false;
        level_timer.Resume();
        if (scene) scene->EnableToolBlinks(_stage != 2 && _stage != 3);
        _timer.Resume();
    }
    _frozen = frozen;
}

void CGameField::DissolveOut() {
    _tiles_field->DissolveOut(kDissolveSpeed);
    _balls_field->DissolveOut(kDissolveSpeed);
    _birds->DissolveOut(kDissolveSpeed);
}

void CGameField::DissolveIn() {
    _tiles_field->DissolveIn(kDissolveSpeed);
    _balls_field->DissolveIn(kDissolveSpeed);
    _birds->DissolveIn(kDissolveSpeed);
}

bool CGameField::IsDissolving() const {
    return _tiles_field->IsDissolving() || _balls_field->IsDissolving() || _birds->IsDissolving();
}

void CGameField::OnGameStateChanged(int state) {
    // Bonus balls do not age under the dialogs that hold the game.
    if (state >= gsDefault && state <= gsHelp && state != gsGameWon)
        _balls_field->SetTimePaused(state == gsPause || state == gsHint || state == gsHelp);
    switch (state) {
        case gsDefault: SetFrozen(false); break;
        case gsPause:
            DissolveOut();
            _paused_faded = true;
            SetFrozen(true);
            break;
        case gsNextLevel:
        case gsNextEpisode:
        case gsGameOver:
        case gsLifeLost:
        case gsHint:
        case gsHelp: SetFrozen(true); break;
        default: break;
    }
}

// ---------------------------------------------------------------- rows and lives

int CGameField::GetRowDelay() const {
    int rows_fall_delay = 0;
    GetLevelCfgInt("rows_fall_delay", rows_fall_delay);
    // In double: a float product would round 20 * 1.05f up to 21.
    const double base = static_cast<double>(rows_fall_delay + _generators_delay);
    // Every lost life lengthens the delay: however many there were, it stays
    // a count of frames rather than wrapping to a row every frame.
    const double delay = base * static_cast<double>(_row_delay_factor);
    return static_cast<int>(std::clamp(delay, 0.0, static_cast<double>(INT32_MAX)));
}

void CGameField::LoseLife() {
    _row_delay_factor += 0.05f;
    if (IGameSceneLink* scene = GetGameSceneLink()) scene->SetState(gsLifeLost);
    ClearBonuses();
}

int CGameField::FindFragmentEntryCell() const {
    int left = 0, right = 0;
    GetLevelCfgInt("fragment_fall_range_left", left);
    GetLevelCfgInt("fragment_fall_range_right", right);
    left = std::max(left, 0);
    right = std::min(right, g_LevelCFG->GetFieldWidth());
    int taken = CELL_ERROR;
    int taken_depth = 0;
    for (const GeneratorCell& entry : _generators->GetCells()) {
        int col = 0, row = 0;
        if (!g_LevelCFG->CellToPos(entry.cell, col, row) || col < left || col > right) continue;
        const int candidate = g_LevelCFG->PosToCell(col, row + 1);
        if (candidate == CELL_ERROR) continue;
        if (!_tiles_field->IsActiveCell(candidate) || _balls_field->IsCellEmpty(candidate)) {
            taken = candidate;
            taken_depth = 0;
            continue;
        }
        int depth = 0;
        for (int r = row + 1; r < g_LevelCFG->GetFieldHeight(); ++r) {
            const int cell = g_LevelCFG->PosToCell(col, r);
            if (!_tiles_field->IsActiveCell(cell) || _balls_field->IsCellEmpty(cell)) break;
            ++depth;
        }
        if (taken == CELL_ERROR || depth < taken_depth) {
            taken = candidate;
            taken_depth = depth;
        }
    }
    if (taken == CELL_ERROR)
        CLogger::Instance().Log(3, "CGameField::EntryFragmentInField: entry_cell == CELL_ERROR");
    return taken;
}
