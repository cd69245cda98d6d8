#pragma once
// The current level's grid, its place on the screen and a few per-level
// tuning values: a registry of named integers filled from the level file at
// every level start, plus the conversions between cell indexes, grid
// positions and screen points that all of the field goes through.
//
// Cells are numbered row by row from the top left: row * field_width + column.
// CELL_ERROR is no cell; taken as unsigned it exceeds every cell count, so
// every validity test rejects it. Conversions never throw.
#include <string_view>

#include "engine/variables.h"
#include "field/field_global.h"

class CGameCfg;
class CXMLNode;

constexpr int CELL_ERROR = -1;

class CLevelCfg : public CVariables {
public:
    // Registers every level key with its default. The cell size comes from
    // `game_cfg`, which must outlive this object.
    explicit CLevelCfg(const CGameCfg& game_cfg);

    // Loads the keys from the level element's "Config", then "Config/Field",
    // then "Field" (each when present; a later one overrides), and recomputes
    // the cached grid size. Keys no element names keep their values. A field
    // larger than the screen shows is logged and makes no grid (0 cells); a
    // position that puts the field off the screen is logged and moved onto it.
    // A row delay or an ace time outside its range (level_limits.h) is logged
    // and held to it.
    void LoadLevelFieldConfig(const CXMLNode& level);

    int GetFieldWidth() const { return _field_width; }
    int GetFieldHeight() const { return _field_height; }
    int GetCellCount() const { return _cell_count; }

    bool IsValidCell(int cell) const { return static_cast<unsigned>(cell) < static_cast<unsigned>(_cell_count); }
    int PosToCell(int column, int row) const;
    // False (outputs untouched) for an invalid cell.
    bool CellToPos(int cell, int& column, int& row) const;
    // The cell under a screen point, CELL_ERROR outside the grid.
    int ScrToCell(float x, float y) const;
    // The cell's top-left corner on the screen; false for an invalid cell.
    bool CellToScr(int cell, float& x, float& y) const;
    // The cell's centre on the screen; false for an invalid cell.
    bool CellCenterToScr(int cell, float& x, float& y) const;

private:
    void ClampPosition(std::string_view name, double field_px, int screen_px);
    void ClampKey(std::string_view name, int min, int max);

    const CGameCfg& _game_cfg;
    int _field_width = 0;
    int _field_height = 0;
    int _cell_count = 0;
};

extern CFieldGlobal<CLevelCfg> g_LevelCFG;

// The integer key of g_LevelCFG into `out`; an unregistered name logs and
// throws (out then keeps its value).
void GetLevelCfgInt(std::string_view name, int& out);
