#include "field/flying_fragment.h"

#include <algorithm>
#include <cmath>

#include "field/artefact_emitters.h"
#include "field/ball.h"
#include "field/game_cfg.h"
#include "field/graph_obj.h"
#include "field/level_cfg.h"
#include "graphics/object_2d.h"

namespace {

float Distance(const CVector2& a, const CVector2& b) {
    const float dx = std::fabs(b.x - a.x), dy = std::fabs(b.y - a.y);
    return std::sqrt(dx * dx + dy * dy);
}

// The screen corner of column 0 in the row under the one that holds `from`
// (a point below the field counts from its last row).
CVector2 RowStartUnder(const CVector2& from, float cell_w, float cell_h) {
    CVector2 origin(0, 0);
    g_LevelCFG->CellToScr(0, origin.x, origin.y);
    int column = 0, row = g_LevelCFG->GetFieldHeight() - 1;
    const int cell = g_LevelCFG->ScrToCell(from.x + cell_w / 2, from.y + cell_h / 2);
    if (cell != CELL_ERROR) g_LevelCFG->CellToPos(cell, column, row);
    return CVector2(origin.x, origin.y + cell_h * static_cast<float>(row + 1));
}

// The offset of a ball drawable's first layer from the point it is placed at.
CVector2 LayerOffset(const CGraphOBJ& graph) {
    const auto& layers = graph.GetGraphics().layers;
    return layers.empty() ? CVector2(0, 0) : layers.front().offset;
}

}  // namespace

std::vector<CVector2> CFlyingFragment::FlightPoints(const CVector2& from, const CVector2& to, bool straight) {
    if (straight || Distance(from, to) < kNearDistance) return {from, to};
    const float cell_w = g_GameCFG->GetCellWidth(), cell_h = g_GameCFG->GetCellHeight();
    const CVector2 row_start = RowStartUnder(from, cell_w, cell_h);
    return {from, CVector2(from.x - cell_w, from.y + cell_h), CVector2(row_start.x - cell_w, row_start.y), to};
}

bool CFlyingFragment::BuildFlightPath(CCurve& path, const CVector2& from, const CVector2& to, bool straight) {
    const float distance = Distance(from, to);
    const float step = distance == 0.0f ? 1.0f : kPixelsPerPoint / distance;
    return path.BuildPath(FlightPoints(from, to, straight), step);
}

CFlyingFragment::CFlyingFragment(int base_id, int cell, std::shared_ptr<CBall> ball, const CVector2& target,
                                 const CVector2& target_size, CRendererKeeper* keeper, const std::string& trail)
    : _base_id(base_id), _cell(cell), _ball(std::move(ball)), _target_size(target_size) {
    CVector2 from(0, 0);
    if (CGraphOBJ* graph = _ball ? _ball->GetGraphObj() : nullptr) {
        graph->MoveToKeeper(keeper);
        const CVector2 offset = LayerOffset(*graph);
        from = CVector2(graph->GetLeft() - offset.x, graph->GetTop() - offset.y);
        _start_size = CVector2(graph->GetWidth(), graph->GetHeight());
    }
    if (_target_size.x <= 0 || _target_size.y <= 0) _target_size = _start_size;
    BuildFlightPath(_path, from, target, false);
    _trail = CArtefactEmitters::Start(trail, from.x + _start_size.x / 2, from.y + _start_size.y / 2);
}

CFlyingFragment::CFlyingFragment(int base_id, std::shared_ptr<C2DObject> sprite, const CVector2& target)
    : _base_id(base_id), _sprite(std::move(sprite)) {
    _start_size = _target_size = CVector2(_sprite->GetWidth(), _sprite->GetHeight());
    BuildFlightPath(_path, CVector2(_sprite->GetLeft(), _sprite->GetTop()), target, true);
}

CFlyingFragment::~CFlyingFragment() = default;

void CFlyingFragment::StopTrail() {
    CArtefactEmitters::Stop(_trail);
    _trail = 0;
}

bool CFlyingFragment::Step() {
    if (_arrived) return true;
    const int last = _path.GetPathPointCount() - 1;
    _index = std::min(_index + 1, std::max(last, 0));
    PlaceAt(static_cast<float>(_index));
    _arrived = _index >= last;
    if (_arrived) StopTrail();
    return _arrived;
}

void CFlyingFragment::PlaceAt(float t) {
    float x = 0, y = 0;
    if (_path.GetPathPointCount() == 0 || !_path.GetPathPoint(t, x, y)) return;
    const int last = std::max(_path.GetPathPointCount() - 1, 1);
    const float k = std::min(t / static_cast<float>(last), 1.0f);
    const float w = _start_size.x + (_target_size.x - _start_size.x) * k;
    const float h = _start_size.y + (_target_size.y - _start_size.y) * k;
    if (_sprite) {
        _sprite->SetPosition(x, y);
        return;
    }
    if (CGraphOBJ* graph = _ball ? _ball->GetGraphObj() : nullptr) {
        graph->SetSize(w, h);
        graph->SetPosition(x, y);
    }
    CArtefactEmitters::Move(_trail, x + w / 2, y + h / 2);
}

void CFlyingFragment::Render() {
    if (_sprite) _sprite->Render();
}

CVector2 CFlyingFragment::GetPosition() const {
    float x = 0, y = 0;
    if (_path.GetPathPointCount() > 0) _path.GetPathPoint(static_cast<float>(_index), x, y);
    return CVector2(x, y);
}
