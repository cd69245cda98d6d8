// The field's part of a suspended game: the tiles, the balls, the birds and
// the artefacts, each in its own block, then the field's own "GameField"
// element with the level's progress, a swap under way and the tool charges
// ("ResCredit").
#include <algorithm>
#include <cstdlib>
#include <exception>

#include "engine/log_repeat_limit.h"
#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/birds.h"
#include "field/field_state.h"
#include "field/game_field.h"
#include "field/game_scene_link.h"
#include "field/glove.h"
#include "field/level_cfg.h"
#include "field/path.h"
#include "field/res_ferryman.h"
#include "field/tiles_field.h"

namespace {

constexpr int kFirstTool = 1;  // hammer
constexpr int kLastTool = 3;   // egg
constexpr int kLastStage = 3;

// A saved number outside [min, max] is logged and clamped; false then.
bool CheckRange(const char* name, int& value, int min, int max) {
    if (value >= min && value <= max) return true;
    CLogger::Instance().Log(2, "Error: saved field: '%s' = %d outside %d..%d; clamped.", name, value, min, max);
    value = std::clamp(value, min, max);
    return false;
}

bool HasBlock(const CXMLNode& node, const char* name) {
    if (node.SelectSingleNode(name).IsValid()) return true;
    CLogger::Instance().Log(2, "Error: saved field: the block '%s' is missing.", name);
    return false;
}

// Restores one block of the board; a block that is missing or throws is
// logged and gives false, and the blocks after it are read all the same.
template <class Restore>
bool RestoreBlock(const CXMLNode& node, const char* name, Restore restore) {
    if (!HasBlock(node, name)) return false;
    try {
        return restore();
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: saved field: the block '%s' could not be restored: %s", name, e.what());
        return false;
    }
}

// Before the goal is reached its count stays short of it: a count at the
// target would win the level at once. With the board restored, what its
// puzzle tiles still hold is yet to be cleared; otherwise (a goal of points,
// or a level that starts afresh) the count stays below the target.
bool CheckGoalCount(const CFieldState& state, const CTilesField& tiles, bool board_restored, int& count) {
    const int target = state.GetTarget();
    int limit = target - 1;
    if (board_restored && tiles.GetTotalLayers() > 0) limit = target - tiles.GetRemainingLayers();
    return CheckRange("kill_vovaro_cell", count, 0, std::max(limit, 0));
}

}  // namespace

bool CGameField::Serialize(CXMLFile& document, CXMLNode& parent) {
    // Credits still flying to their bars count in the charges written below.
    _res_ferryman->DeliverAll();
    bool ok = true;
    _tiles_field->Serialize(parent, document);
    ok = VERIFY(parent.SelectSingleNode("VovaroCells").IsValid()) && ok;
    ok = VERIFY(_balls_field->Serialize(document, parent)) && ok;
    ok = VERIFY(_birds->Serialize(document, parent)) && ok;
    ok = VERIFY(CGlove::Instance().Serialize(document, parent)) && ok;

    IGameSceneLink* scene = GetGameSceneLink();
    // A game saved right after a lost life resumes with the level starting afresh.
    if (scene && scene->GetState() == gsLifeLost) level_is_starting = true;
    CXMLNode field = document.CreateNode("GameField");
    field.SetAttributeBool("level_is_starting", level_is_starting);
    field.SetAttributeInt("level_timer", static_cast<int>(level_timer.GetElapsed()));
    field.SetAttributeInt("num_fragments_at_the_level", num_fragments_at_the_level);
    field.SetAttributeInt("num_fragments_fallen", num_fragments_fallen);
    field.SetAttributeInt("kill_vovaro_cell", _field_state->GetValue());
    field.SetAttributeInt("stage", _stage);
    field.SetAttributeInt("show_begin_episode", show_begin_episode);
    // A swap under way is written with its cells (its balls rest in the slots
    // they hold) and runs again on resume: a matching swap still scores and
    // starts its cascade, a refused one still goes back.
    const int swap_from = _path->GetFrom();
    const int swap_to = _path->GetTo();
    if (_game_flag.swap_balls_on_field == sbSwapping && g_LevelCFG->IsValidCell(swap_from) &&
        g_LevelCFG->IsValidCell(swap_to) && _balls_field->GetCellBallState(swap_from) == bsSWAP &&
        _balls_field->GetCellBallState(swap_to) == bsSWAP) {
        field.SetAttributeInt("swap_from", swap_from);
        field.SetAttributeInt("swap_to", swap_to);
        field.SetAttributeBool("swap_back", _swap_back);
    }
    for (int tool = kFirstTool; scene && tool <= kLastTool; ++tool) {
        int amount = 0;
        if (!scene->GetToolProgress(tool, amount)) continue;
        CXMLNode credit = document.CreateNode("ResCredit");
        credit.SetAttributeInt("type", tool);
        credit.SetAttributeInt("amount", amount);
        field.AppendChild(credit);
    }
    ok = VERIFY(parent.AppendChild(field)) && ok;
    return ok;
}

bool CGameField::Deserialize(const CXMLNode& node) {
    // Credits still in flight count before the saved field takes over.
    _res_ferryman->DeliverAll();
    try {
        bool ok = VERIFY(CGlove::Instance().Deserialize(node));
        int kill_count = 0;
        ok = DeserializeFieldElement(node, kill_count) && ok;

        _rows_countdown.Set(0);
        if (const int layers = _tiles_field->GetTotalLayers(); layers > 0) _field_state->SetTarget(layers);
        if (!level_is_starting) {
            int rows_fall_delay = 0;
            GetLevelCfgInt("rows_fall_delay", rows_fall_delay);
            _rows_countdown.Set(static_cast<uint32_t>(std::max(rows_fall_delay + _generators_delay, 0)));
            ok = DeserializeBoard(node) && ok;
            ok = RestoreSwap(node.SelectSingleNode("GameField")) && ok;
        }
        if (_stage == 0) ok = CheckGoalCount(*_field_state, *_tiles_field, !level_is_starting, kill_count) && ok;
        _field_state->SetValue(kill_count);
        if (_stage != 0) {
            // The goal was reached before the save: it stays reached, without its blink.
            _field_state->SetValue(std::max(kill_count, _field_state->GetTarget()));
            _field_state->SkipBlink();
        }
        if (_stage > 1)
            if (IGameSceneLink* scene = GetGameSceneLink()) scene->SwitchMood();
        return ok;
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: the saved field could not be restored: %s", e.what());
        return false;
    }
}

bool CGameField::DeserializeFieldElement(const CXMLNode& node, int& kill_count) {
    const CXMLNode field = node.SelectSingleNode("GameField");
    bool ok = field.IsValid();
    if (!ok) CLogger::Instance().Log(2, "Error: saved field: the element 'GameField' is missing.");
    level_is_starting = field.GetAttributeBool("level_is_starting", false);
    int timer = field.GetAttributeInt("level_timer", 0);
    num_fragments_at_the_level = field.GetAttributeInt("num_fragments_at_the_level", 0);
    num_fragments_fallen = field.GetAttributeInt("num_fragments_fallen", 0);
    _stage = field.GetAttributeInt("stage", 0);
    show_begin_episode = field.GetAttributeInt("show_begin_episode", 0);
    kill_count = field.GetAttributeInt("kill_vovaro_cell", 0);
    ok = CheckRange("level_timer", timer, 0, INT32_MAX) && ok;
    ok = CheckRange("num_fragments_at_the_level", num_fragments_at_the_level, 0, INT32_MAX) && ok;
    ok = CheckRange("num_fragments_fallen", num_fragments_fallen, 0, INT32_MAX) && ok;
    ok = CheckRange("stage", _stage, 0, kLastStage) && ok;
    ok = CheckRange("show_begin_episode", show_begin_episode, 0, 2) && ok;
    ok = CheckRange("kill_vovaro_cell", kill_count, 0, INT32_MAX) && ok;

    // The time runs on once the field is not frozen.
    level_timer.SetPaused(static_cast<uint32_t>(timer));
    if (!_frozen) level_timer.Resume();

    IGameSceneLink* scene = GetGameSceneLink();
    const CXMLNodeList credits = field.SelectNodes("ResCredit");
    const CLogRepeatLimit repeats;
    for (int i = 0; i < credits.GetLength(); ++i) {
        const CXMLNode credit = credits.GetItem(i);
        const int type = credit.GetAttributeInt("type", 0);
        const int amount = credit.GetAttributeInt("amount", 0);
        if (type < kFirstTool || type > kLastTool) {
            CLogger::Instance().Log(2, "Error: saved field: tool credit of unknown tool %d ignored.", type);
            ok = false;
            continue;
        }
        if (scene) scene->SetToolProgress(type, amount);
    }
    return ok;
}

bool CGameField::RestoreSwap(const CXMLNode& field) {
    const int from = field.GetAttributeInt("swap_from", CELL_ERROR);
    const int to = field.GetAttributeInt("swap_to", CELL_ERROR);
    // No swap was under way (older saves never write one).
    if (from == CELL_ERROR && to == CELL_ERROR) return true;
    int from_col = 0, from_row = 0, to_col = 0, to_row = 0;
    const bool usable = IsMovable(from) && IsMovable(to) && !_balls_field->IsFragmentBall(from) &&
                        !_balls_field->IsFragmentBall(to) && g_LevelCFG->CellToPos(from, from_col, from_row) &&
                        g_LevelCFG->CellToPos(to, to_col, to_row) &&
                        std::abs(from_col - to_col) + std::abs(from_row - to_row) == 1;
    if (!usable) {
        CLogger::Instance().Log(2, "Error: saved field: the swap of cells %d and %d cannot be made; it is dropped.", from,
                                to);
        return false;
    }
    _path->SetFrom(from);
    _path->SetTo(to);
    _swap_back = field.GetAttributeBool("swap_back", false);
    _swap_done = false;
    _balls_field->SetBallState(from, bsSWAP);
    _balls_field->SetBallState(to, bsSWAP);
    _game_flag.swap_balls_on_field = sbSwapping;
    return true;
}

bool CGameField::DeserializeBoard(const CXMLNode& node) {
    // A missing block keeps the freshly set-up part rather than emptying it.
    bool ok = RestoreBlock(node, "VovaroCells", [&] { return VERIFY(_tiles_field->Deserialize(node)); });
    // Only while the fragment is in the field (stage 1) may a fragment ball be on it.
    const int fragments_due = _stage == 1 ? 1 : 0;
    ok = RestoreBlock(node, "BallsField", [&] { return VERIFY(_balls_field->Deserialize(node, fragments_due)); }) && ok;
    ok = RestoreBlock(node, "Birds", [&] { return VERIFY(_birds->Deserialize(node)); }) && ok;
    return ok;
}
