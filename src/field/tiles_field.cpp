#include "field/tiles_field.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "engine/helpers.h"
#include "engine/log_repeat_limit.h"
#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "field/game_cfg.h"
#include "field/graph_obj.h"
#include "field/graph_obj_manager.h"
#include "field/level_cfg.h"
#include "field/level_limits.h"
#include "field/tiles_appearer.h"
#include "field/tiles_dissolver.h"
#include "field/tiles_fire.h"

namespace {

// With this many puzzle cells left or fewer, they all animate.
constexpr size_t kLastCells = 6;

// An entry cell's delay is added to the level's row delay; one beyond the
// limit is logged and held to it. A negative delay (the cell takes part in
// every falling row) adds nothing and stays.
int CheckedGeneratorDelay(int delay, int x, int y) {
    if (delay <= level_limits::kMaxGeneratorDelay) return delay;
    CLogger::Instance().Log(2, "Error: the entry cell (%d; %d) has the delay %d, above %d; %d is used.", x, y, delay,
                            level_limits::kMaxGeneratorDelay, level_limits::kMaxGeneratorDelay);
    return level_limits::kMaxGeneratorDelay;
}

}  // namespace

CTilesField::CTilesField()
    : _ren_keeper(std::make_shared<CRendererKeeper>()),
      _appearer(std::make_shared<CTilesAppearer>(this)),
      _dissolver(std::make_shared<CTilesDissolver>(this)),
      _fire(std::make_unique<CTilesFire>(*this)) {}

CTilesField::~CTilesField() {
    // The fire and the tiles leave the keeper's batches before it goes.
    _fire.reset();
    _vovaro_cells.clear();
    _cells.clear();
}

// ---------------------------------------------------------------- loading

bool CTilesField::LoadConfig(const CXMLNode& config) {
    const CXMLNode field = config.SelectSingleNode("Field");
    if (!field.IsValid()) return false;
    if (!_cells.empty()) Clear();
    _multi_layer = false;
    _records.clear();
    _generators.clear();
    _layered_cells.clear();
    _cells.assign(static_cast<size_t>(g_LevelCFG->GetCellCount()), CCellTile {});

    std::vector<bool> seen(_cells.size(), false);
    const CLogRepeatLimit repeats;
    const CXMLNodeList nodes = field.SelectNodes("Cell");
    for (int i = 0; i < nodes.GetLength(); ++i) {
        const CXMLNode node = nodes.GetItem(i);
        const int x = node.GetAttributeInt("x", 0), y = node.GetAttributeInt("y", 0);
        const int cell = g_LevelCFG->PosToCell(x, y);
        if (cell == CELL_ERROR) {
            CLogger::Instance().Log(2, "Error: Invalid cell pos (%d; %d)", x, y);
            continue;
        }
        // A second description of a cell would leave a stray tile under the first.
        if (seen[static_cast<size_t>(cell)]) {
            CLogger::Instance().Log(2, "Error: Cell (%d; %d) is described twice, the first one is kept", x, y);
            continue;
        }
        seen[static_cast<size_t>(cell)] = true;

        const bool active = node.GetAttributeBool("active", true);
        const CXMLNodeList groups = node.SelectNodes("Group");
        const int n = groups.GetLength();
        if (node.GetAttribute("type", "") == "GENERATOR") {
            _generators.push_back({cell, CheckedGeneratorDelay(node.GetAttributeInt("delay", 0), x, y)});
        } else if (n >= 2) {
            CLayeredCell layered {cell, {}};
            for (int g = n - 1; g >= 1; --g) layered.layers.push_back(groups.GetItem(g).GetAttributeInt("tile", 0));
            if (n > 2) _multi_layer = true;
            _layered_cells.push_back(std::move(layered));
        }
        const CXMLNode base = groups.GetItem(0);
        _records.push_back({cell, active, base.GetAttributeInt("rotate", 0), base.GetAttributeInt("tile", 0)});
    }
    return true;
}

// ---------------------------------------------------------------- building

void CTilesField::Build() {
    BuildTiles();
    _fire->Build();
    StartAppear();
}

void CTilesField::BuildTiles() {
    for (const CTileRecord& record : _records) {
        if (static_cast<size_t>(record.cell) >= _cells.size()) continue;
        CCellTile new_cell {record.active, CreateTileObject(record.cell, record.tile, 0)};
        ASSERT_THROW_IF_FAILED(new_cell.object.get() != NULL);
        new_cell.object->SetAngle(static_cast<float>(record.rotate));
        _cells[static_cast<size_t>(record.cell)] = std::move(new_cell);
    }
    BuildLayers(_layered_cells);
}

void CTilesField::BuildLayers(const std::vector<CLayeredCell>& cells) {
    _vovaro_cells.clear();
    _vovaro_index.assign(_cells.size(), -1);
    for (const CLayeredCell& layered : cells) {
        const size_t cell = static_cast<size_t>(layered.cell);
        if (layered.layers.empty() || cell >= _cells.size() || _vovaro_index[cell] >= 0) {
            CLogger::Instance().Log(
                2, "Error: Puzzle cell %d skipped: not a cell of the field, no layers or given twice", layered.cell);
            continue;
        }
        _vovaro_index[cell] = static_cast<int>(_vovaro_cells.size());
        _vovaro_cells.push_back({layered.cell, CreateLayerObject(layered.cell, layered.layers[0]), 0, layered.layers});
    }
}

std::shared_ptr<CGraphOBJ> CTilesField::CreateTileObject(int cell, int graph_type, int state) {
    const CGraphStateDesc* desc = g_TilesGraphBase->FindStateDesc(graph_type, state);
    if (!desc) return {};
    auto object =
        std::make_shared<CGraphOBJ>(*desc, g_GameCFG->GetCellWidth(), g_GameCFG->GetCellHeight(), _ren_keeper.get());
    float x = 0, y = 0;
    g_LevelCFG->CellToScr(cell, x, y);
    object->SetPosition(x, y);
    return object;
}

std::shared_ptr<CGraphOBJ> CTilesField::CreateLayerObject(int cell, int graph_type) {
    std::shared_ptr<CGraphOBJ> object = CreateTileObject(cell, graph_type, 0);
    // The cell still takes its hits; it only has no picture.
    if (!object) {
        CLogger::Instance().Log(2, "Error: Puzzle layer %d of cell %d is not in the tiles base", graph_type, cell);
        return object;
    }
    object->SetAnimationRunning(false);
    return object;
}

void CTilesField::Clear() {
    _cells.clear();
    _vovaro_cells.clear();
    _vovaro_index.clear();
    _fire->Clear();
    // An appearance of the old level has nothing left to show.
    _appearer = std::make_shared<CTilesAppearer>(this);
}

// ---------------------------------------------------------------- play

void CTilesField::Update() {
    if (_appearer->IsRunning()) _appearer->Update();
    AnimateLastCells();
    if (_dissolver->IsActive()) _dissolver->Update();
}

void CTilesField::AnimateLastCells() {
    if (_vovaro_cells.size() > kLastCells) return;
    for (CVovaroCell& vovaro : _vovaro_cells)
        if (vovaro.object) vovaro.object->SetAnimationRunning(true);
}

void CTilesField::Render() {
    _ren_keeper->RenderAll();
    _fire->Render();
}

int CTilesField::DamageTile(int cell) {
    CVovaroCell* vovaro = FindVovaroCell(cell);
    if (!vovaro) return 0;
    ++vovaro->removed;
    if (vovaro->removed < static_cast<int>(vovaro->layers.size())) {
        const int alpha = vovaro->object ? vovaro->object->GetAlpha() : 255;
        vovaro->object = CreateLayerObject(cell, vovaro->layers[static_cast<size_t>(vovaro->removed)]);
        // The next layer takes the fade the board is in.
        if (vovaro->object) vovaro->object->SetAlpha(alpha);
        return 1;
    }
    _vovaro_cells.erase(_vovaro_cells.begin() + _vovaro_index[static_cast<size_t>(cell)]);
    IndexVovaroCells();
    return 1;
}

void CTilesField::IndexVovaroCells() {
    _vovaro_index.assign(_cells.size(), -1);
    for (size_t i = 0; i < _vovaro_cells.size(); ++i)
        _vovaro_index[static_cast<size_t>(_vovaro_cells[i].cell)] = static_cast<int>(i);
}

// ---------------------------------------------------------------- queries

bool CTilesField::IsActiveCell(int cell) const {
    return g_LevelCFG->IsValidCell(cell) && static_cast<size_t>(cell) < _cells.size() &&
           _cells[static_cast<size_t>(cell)].active;
}

int CTilesField::GetTotalLayers() const {
    int total = 0;
    for (const CLayeredCell& layered : _layered_cells) total += static_cast<int>(layered.layers.size());
    return total;
}

int CTilesField::GetRemainingLayers() const {
    int remaining = 0;
    for (const CVovaroCell& vovaro : _vovaro_cells)
        remaining += std::max(static_cast<int>(vovaro.layers.size()) - vovaro.removed, 0);
    return remaining;
}

bool CTilesField::HasMoreLayers(int cell) const {
    // What the cell still holds counts, not what the level gave it: a cell
    // restored from a saved game or worn down to its last layer has no more.
    const CVovaroCell* vovaro = FindVovaroCell(cell);
    if (!vovaro) return false;
    return vovaro->layers.size() > static_cast<size_t>(vovaro->removed) + 1;
}

const CVovaroCell* CTilesField::FindVovaroCell(int cell) const {
    if (static_cast<size_t>(cell) >= _vovaro_index.size()) return nullptr;
    const int index = _vovaro_index[static_cast<size_t>(cell)];
    return index < 0 ? nullptr : &_vovaro_cells[static_cast<size_t>(index)];
}

CVovaroCell* CTilesField::FindVovaroCell(int cell) {
    return const_cast<CVovaroCell*>(static_cast<const CTilesField*>(this)->FindVovaroCell(cell));
}

const CGraphOBJ* CTilesField::GetTileObject(int cell) const {
    return static_cast<size_t>(cell) < _cells.size() ? _cells[static_cast<size_t>(cell)].object.get() : nullptr;
}

const CGraphOBJ* CTilesField::GetLayerObject(int cell) const {
    const CVovaroCell* vovaro = FindVovaroCell(cell);
    return vovaro ? vovaro->object.get() : nullptr;
}

// ---------------------------------------------------------------- appearance and fades

void CTilesField::StartAppear() { _appearer->Start(); }
bool CTilesField::IsAppearing() const { return _appearer->IsRunning(); }
void CTilesField::FinishAppear() { _appearer->Finish(); }

void CTilesField::DissolveOut(int speed) { _dissolver->DissolveOut(speed); }
void CTilesField::DissolveIn(int speed) { _dissolver->DissolveIn(speed); }
bool CTilesField::IsDissolving() const { return _dissolver->IsActive(); }

// ---------------------------------------------------------------- data source

bool CTilesField::IsCellEmpty(int cell) const {
    ASSERT_THROW_IF_FAILED(g_LevelCFG->IsValidCell(cell));
    return GetTileObject(cell) == nullptr;
}

bool CTilesField::HasCell(int cell) const { return FindVovaroCell(cell) != nullptr; }

void CTilesField::SetAlpha(int alpha) {
    for (CCellTile& tile : _cells)
        if (tile.object) tile.object->SetAlpha(alpha);
    _fire->SetAlpha(alpha);
}

CGraphOBJ* CTilesField::CheckedLayerObject(int cell) {
    CVovaroCell* vovaro = FindVovaroCell(cell);
    if (!vovaro) {
        ASSERT(false);
        return nullptr;
    }
    return vovaro->object.get();
}

void CTilesField::SetVisible(int cell, bool visible) {
    if (CGraphOBJ* object = CheckedLayerObject(cell)) object->SetVisible(visible);
}

void CTilesField::SetCellAlpha(int cell, int alpha) {
    if (CGraphOBJ* object = CheckedLayerObject(cell)) object->SetAlpha(alpha);
}

// ---------------------------------------------------------------- saved game

void CTilesField::Serialize(CXMLNode& parent, CXMLFile& document) const {
    CXMLNode block = document.CreateNode("VovaroCells");
    for (const CVovaroCell& vovaro : _vovaro_cells) {
        // The layers still on the cell, the one it shows first.
        std::string ids;
        for (size_t i = static_cast<size_t>(vovaro.removed); i < vovaro.layers.size(); ++i) {
            if (!ids.empty()) ids += ", ";
            ids += IntToStr(vovaro.layers[i]);
        }
        CXMLNode node = document.CreateNode("Cell");
        node.SetAttributeInt("index", vovaro.cell);
        node.SetAttribute("graph_types", ids);
        block.AppendChild(node);
    }
    parent.AppendChild(block);
}

bool CTilesField::Deserialize(const CXMLNode& node) {
    const CLogRepeatLimit repeats;
    std::vector<CLayeredCell> cells;
    const CXMLNodeList nodes = node.SelectNodes("VovaroCells/Cell");
    for (int i = 0; i < nodes.GetLength(); ++i) {
        const CXMLNode cell_node = nodes.GetItem(i);
        CLayeredCell layered {cell_node.GetAttributeInt("index", 0), {}};
        TokenizeInts(&layered.layers, cell_node.GetAttribute("graph_types", ""), " ,");
        cells.push_back(std::move(layered));
    }
    BuildLayers(cells);
    StartAppear();
    FinishAppear();
    return true;
}
