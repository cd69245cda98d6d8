#include "field/level_cfg.h"

#include <algorithm>

#include "engine/engine_core_interface.h"
#include "engine/logger.h"
#include "engine/xml_node.h"
#include "field/game_cfg.h"
#include "field/level_limits.h"

CFieldGlobal<CLevelCfg> g_LevelCFG("g_LevelCFG");

CLevelCfg::CLevelCfg(const CGameCfg& game_cfg) : _game_cfg(game_cfg) {
    Register("field_width", 0);
    Register("field_height", 0);
    Register("field_pos_x", 100);
    Register("field_pos_y", 100);
    Register("rows_to_fall_at_start", 3);
    Register("rows_fall_delay", 0);
    Register("bonus_probability_min", 10);
    Register("bonus_probability_max", 10);
    Register("ace_time", 60);
    Register("fragment_fall_range_left", 0);
    Register("fragment_fall_range_right", 20);
    Register("step_generate_special", 1);
}

void CLevelCfg::LoadLevelFieldConfig(const CXMLNode& level) {
    // The level files keep the grid under Config; a Field beside Config is read too.
    for (const char* path : {"Config", "Config/Field", "Field"}) LoadFromXml(level.SelectSingleNode(path));
    // The row delay is added to an entry cell's delay and grows with every
    // lost life; the ace time is counted in milliseconds.
    ClampKey("rows_fall_delay", 0, level_limits::kMaxRowsFallDelay);
    ClampKey("ace_time", 0, level_limits::kMaxAceTime);
    _field_width = GetInt("field_width");
    _field_height = GetInt("field_height");
    const int screen_w = g_EngineCore ? g_EngineCore->GetScreenWidth() : level_limits::kScreenWidth;
    const int screen_h = g_EngineCore ? g_EngineCore->GetScreenHeight() : level_limits::kScreenHeight;
    const double cell_w = _game_cfg.GetCellWidth(), cell_h = _game_cfg.GetCellHeight();
    // A field the screen cannot show makes no grid: its cells could never be
    // drawn or reached, and a huge one would only eat memory and time.
    if (!level_limits::FieldFitsScreen(_field_width, _field_height, cell_w, cell_h, screen_w, screen_h)) {
        CLogger::Instance().Log(2, "Error: invalid field size %d x %d: the screen shows at most %d x %d cells!",
                                _field_width, _field_height, cell_w > 0 ? static_cast<int>(screen_w / cell_w) : 0,
                                cell_h > 0 ? static_cast<int>(screen_h / cell_h) : 0);
        _field_width = _field_height = _cell_count = 0;
        return;
    }
    _cell_count = _field_width * _field_height;
    ClampPosition("field_pos_x", _field_width * cell_w, screen_w);
    ClampPosition("field_pos_y", _field_height * cell_h, screen_h);
}

void CLevelCfg::ClampKey(std::string_view name, int min, int max) {
    const int value = GetInt(name);
    if (level_limits::InRange(value, min, max)) return;
    const int used = std::clamp(value, min, max);
    CLogger::Instance().Log(2, "Error: the level's %.*s %d is not %d to %d; %d is used.", static_cast<int>(name.size()),
                            name.data(), value, min, max, used);
    Set(name, used);
}

void CLevelCfg::ClampPosition(std::string_view name, double field_px, int screen_px) {
    const int pos = GetInt(name);
    const int clamped = level_limits::ClampFieldEdge(pos, field_px, screen_px);
    if (clamped == pos) return;
    CLogger::Instance().Log(2, "Warning: %.*s %d puts the field off the screen; %d is used.", static_cast<int>(name.size()),
                            name.data(), pos, clamped);
    Set(name, clamped);
}

int CLevelCfg::PosToCell(int column, int row) const {
    if (static_cast<unsigned>(column) >= static_cast<unsigned>(_field_width) ||
        static_cast<unsigned>(row) >= static_cast<unsigned>(_field_height))
        return CELL_ERROR;
    const int cell = row * _field_width + column;
    return IsValidCell(cell) ? cell : CELL_ERROR;
}

bool CLevelCfg::CellToPos(int cell, int& column, int& row) const {
    if (!IsValidCell(cell)) return false;
    row = cell / _field_width;
    column = cell % _field_width;
    return true;
}

int CLevelCfg::ScrToCell(float x, float y) const {
    const float cell_w = _game_cfg.GetCellWidth(), cell_h = _game_cfg.GetCellHeight();
    if (cell_w == 0 || cell_h == 0) return CELL_ERROR;
    const float left = static_cast<float>(GetInt("field_pos_x"));
    const float top = static_cast<float>(GetInt("field_pos_y"));
    // Written so that a NaN coordinate falls outside too.
    if (!(x >= left) || !(y >= top)) return CELL_ERROR;
    const float column = (x - left) / cell_w, row = (y - top) / cell_h;
    // Far-away points (or negative cell sizes) are rejected before they are
    // truncated to integers that could not hold them.
    if (!(column < static_cast<float>(_field_width)) || !(row < static_cast<float>(_field_height)) || column < 0 ||
        row < 0)
        return CELL_ERROR;
    return PosToCell(static_cast<int>(column), static_cast<int>(row));
}

bool CLevelCfg::CellToScr(int cell, float& x, float& y) const {
    int column = 0, row = 0;
    if (!CellToPos(cell, column, row)) return false;
    x = _game_cfg.GetCellWidth() * static_cast<float>(column) + static_cast<float>(GetInt("field_pos_x"));
    y = _game_cfg.GetCellHeight() * static_cast<float>(row) + static_cast<float>(GetInt("field_pos_y"));
    return true;
}

bool CLevelCfg::CellCenterToScr(int cell, float& x, float& y) const {
    if (!CellToScr(cell, x, y)) return false;
    x += _game_cfg.GetCellWidth() / 2;
    y += _game_cfg.GetCellHeight() / 2;
    return true;
}

void GetLevelCfgInt(std::string_view name, int& out) { g_LevelCFG->GetInt(name, &out); }
