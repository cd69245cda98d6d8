// The level's start: loading the level file, the set-up that runs at every
// level start and after a lost life, the simulated first rows that choose the
// types of their balls, and the field's drawing.
#include <algorithm>
#include <exception>

#include "engine/engine_core_interface.h"
#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "field/balls_field.h"
#include "field/birds.h"
#include "field/compress_and_fall_balls.h"
#include "field/debug_tools.h"
#include "field/end_level_effects.h"
#include "field/field_praise.h"
#include "field/field_state.h"
#include "field/game_field.h"
#include "field/game_scene_link.h"
#include "field/generators.h"
#include "field/glove.h"
#include "field/level_cfg.h"
#include "field/level_limits.h"
#include "field/praise.h"
#include "field/salute.h"
#include "field/tiles_field.h"
#include "field/tool_carriers.h"
#include "gui/menu_progress_bar.h"

namespace {

// A row number and a place in its drop list share one 16-bit tag.
constexpr int kMaxStartRows = 255;

}  // namespace

bool CGameField::LoadLevel(const std::string& path, const std::function<void(const CXMLNode&)>& load_background) {
    try {
        const CXMLFile file(path);
        const CXMLNode level = file.SelectSingleNode("//Level");
        if (!level.IsValid()) {
            CLogger::Instance().Log(2, "Error: Level file '%s' has no Level node", path.c_str());
            return false;
        }
        if (load_background) load_background(file.SelectSingleNode("//Level/Background"));
        if (!LoadConfig(level)) {
            CLogger::Instance().Log(2, "Error: Level file '%s' has no playable field", path.c_str());
            return false;
        }
        if (_play_textures.empty()) _play_textures = HoldFieldTextures();
        const IGameSceneLink* scene = GetGameSceneLink();
        show_begin_episode = scene && scene->GetLevelNumber() == 0 ? 1 : 0;
        SetupLevel();
        return true;
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: Failed to load level '%s': %s", path.c_str(), e.what());
        return false;
    }
}

void CGameField::SetPraiseArea(const CFloatRect& area) {
    _praise_area = area;
    UpdatePraiseArea();
}

void CGameField::UpdatePraiseArea() {
    if (!_praise_labels) return;
    CFloatRect area = _praise_area;
    if (area == CFloatRect()) {
        area.right = static_cast<float>(g_EngineCore ? g_EngineCore->GetScreenWidth() : level_limits::kScreenWidth);
        area.bottom = static_cast<float>(g_EngineCore ? g_EngineCore->GetScreenHeight() : level_limits::kScreenHeight);
    }
    // The progress bar runs across the top: the popups rise no higher than its foot.
    if (const CMenuProgressBar* bar = _field_state->GetBar()) area.top = std::max(area.top, bar->GetY() + bar->GetHeight());
    _praise_labels->SetArea(area);
}

void CGameField::ResetMoveState() {
    _swap_back = false;
    _swap_done = false;
    _game_flag.swap_balls_on_field = sbNone;
    _selection_state = 0;
}

void CGameField::SetupLevel() {
    _rows_falling->Reset();
    _rows_falling->SetValue(2);
    ReturnHammer(false);
    ResetMoveState();
    level_is_starting = true;
    _frozen = false;
    _move_check = 0;
    _stage = 0;
    num_fragments_at_the_level = 1;
    num_fragments_fallen = 0;
    _rows_pause = 0;
    _field_flags->ResetAll();
    _end_level_started = false;

    _field_state->Reset();
    UpdatePraiseArea();
    if (_praise) _praise->Clear();
    _path->Reset();
    _statistics = LevelStatistics {};
    PrepareEndLevelStuff();
    if (_end_level) _end_level->Reset();
    _selection_marker.Set(this, CELL_ERROR);
    _cursor_frame.Hide();

    _tiles_field->Build();
    _balls_field->PrepareLevel();
    const int layers = _tiles_field->GetTotalLayers();
    _field_state->SetTarget(layers > 0 ? layers : _score_target);

    _generators_delay = _generators->Load(_tiles_field->GetGenerators());
    _birds->SetupLevelBirds();

    level_timer.Stop();
    level_timer.Start();
    _rows_countdown.Set(0);
    _timer.Stop();
    _hint_countdown.Set(kHintDelay);

    // The artefact panel slides in once the level has started.
    CGlove::Instance().SetArtefactShown(false);
    StartFill();
    _salute->Init();
    if (IGameSceneLink* scene = GetGameSceneLink()) scene->EnableToolBlinks(true);
    _path->Reset();
    if (_carriers) _carriers->Reset();
    HideAvailableMove();
}

void CGameField::RestartLevel() {
    SetupLevel();
    level_timer.Stop();
    level_timer.Start();
    _timer.Stop();
    _rows_countdown.Set(kRestartRowDelay);
    OnGameStateChanged(gsDefault);
}

// The first row falls at once (the row countdown starts at 0); each further
// row falls while the row-fall test fires on the settled field, as the live
// field does while it starts. The tags follow the simulated balls to where
// they come to rest.
void CGameField::StartFill() {
    _compress_and_fall->BuildCellMap(_fill_map);
    _fill_tags.assign(_fill_map.size(), 0);
    int rows = 0;
    const int max_passes = 4 * static_cast<int>(_fill_map.size()) + 64;
    for (int pass = 0; pass < max_passes; ++pass) {
        int produced = 0;
        if (rows < kMaxStartRows && _generators->AreAllOpenInMap(_fill_map)) {
            bool row_due = rows == 0;
            if (!row_due) {
                _fill_test_map = _fill_map;
                row_due = _rows_falling->TestWithMap(_fill_test_map);
            }
            if (row_due) produced = MarkStartRow(rows + 1);
            if (produced > 0) ++rows;
        }
        // The planner leaves the falls of tagged balls out of its answer, so
        // a pass in which only the start rows moved counts by the map.
        _fill_before = _fill_map;
        const bool planned = _compress_and_fall->PlanStep(_fill_map, &_fill_tags);
        if (!planned && produced == 0 && _fill_map == _fill_before) break;
    }
    // The test starts a drop when it fires; the live field starts its own.
    _rows_falling->Reset();
    _rows_falling->SetValue(2);
    if (rows > 0)
        _balls_field->PrepareSequences(_fill_tags, rows, static_cast<int>(_generators->GetCells().size()));
}

// The birds drop a row at the entry cells in the entry cells' order, so a
// ball's place in its drop list is its entry cell's place in the list.
int CGameField::MarkStartRow(int row) {
    const std::vector<GeneratorCell>& entries = _generators->GetCells();
    int marked = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const int cell = entries[i].cell;
        if (!g_LevelCFG->IsValidCell(cell)) continue;
        const size_t at = static_cast<size_t>(cell);
        if ((_fill_map[at] & 0xFF) != CCompressAndFallBalls::kEmptyGenerator) continue;
        const int below = cell + g_LevelCFG->GetFieldWidth();
        if (g_LevelCFG->IsValidCell(below) && (_fill_map[static_cast<size_t>(below)] & 0xFF) != CCompressAndFallBalls::kEmpty)
            continue;
        _fill_map[at] = CCompressAndFallBalls::kBall;
        _fill_tags[at] = static_cast<uint16_t>(row | (static_cast<int>(i) << 8));
        ++marked;
    }
    return marked;
}

void CGameField::Render() {
    _field_state->Render();
    _tiles_field->Render();
    const bool end_started = _end_level && _end_level->IsStarted();
    if (!_tiles_field->IsAppearing()) {
        if (!_frozen) _cursor_frame.Draw();
        _balls_field->Render();
        _salute->Render();
        _birds->Render();
        if (_praise) _praise->Render();
        if (!_frozen) DrawBonuses();
        const IGameSceneLink* scene = GetGameSceneLink();
        if (!end_started && (!_frozen || (scene && scene->GetState() == gsHint))) RenderAvailableMove();
        if (_carriers) _carriers->Render();
    }
    if (end_started) _end_level->Render();
    // The debug overlay, over everything of the field; it draws only what
    // its switches fed it.
    DEBUG_GAME::RenderDebugTools();
}

bool CGameField::NeedShowBeginEpisode() const {
    return show_begin_episode == 2 && !_tiles_field->IsAppearing() && !_birds->IsWaiting();
}

void CGameField::SetShowBeginEpisode(bool show) { show_begin_episode = show ? 2 : 0; }
