#include "field/tiles_fire.h"

#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "field/level_cfg.h"
#include "field/tiles_field.h"
#include "graphics/object_2d.h"

CTilesFire::CTilesFire(const CTilesField& field) : _field(field), _graphics(ReadGraphics()) {}

CTilesFire::~CTilesFire() = default;

CGraphicsDesc CTilesFire::ReadGraphics() {
    CXMLFile file(kFileName);
    const CXMLNode FireNode = file.SelectSingleNode("//Common/TilesFire");
    ASSERT_THROW_IF_FAILED(FireNode.IsValid());
    return ParseGraphics(FireNode);
}

void CTilesFire::Clear() { _fire.clear(); }

int CTilesFire::FindRowStart() const {
    for (int cell = g_LevelCFG->GetCellCount() - 1; cell >= 0; --cell) {
        if (!_field.IsActiveCell(cell)) continue;
        int column = 0, row = 0;
        g_LevelCFG->CellToPos(cell, column, row);
        return g_LevelCFG->PosToCell(0, row);
    }
    return -1;
}

void CTilesFire::Build() {
    Clear();
    const int start = FindRowStart();
    if (start < 0) return;
    const int width = g_LevelCFG->GetFieldWidth();
    for (int cell = start; cell < start + width; ++cell) {
        if (!_field.IsActiveCell(cell)) continue;
        float x = 0, y = 0;
        g_LevelCFG->CellToScr(cell, x, y);
        auto sprite = std::make_unique<C2DObject>();
        sprite->Create(x, y, _graphics, false);
        sprite->SetRenderer(_keeper.GetRenderer(_graphics.texture));
        _fire.emplace_back(cell, std::move(sprite));
    }
}

void CTilesFire::SetAlpha(int alpha) {
    for (auto& [cell, sprite] : _fire) sprite->SetAlpha(alpha, kAllCorners);
}
