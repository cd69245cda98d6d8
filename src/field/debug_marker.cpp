#include "field/debug_marker.h"

#include "engine/graphics_desc.h"
#include "engine/logger.h"
#include "field/level_cfg.h"

namespace DEBUG_GAME {

CDebugMarker::CDebugMarker() {
    CGraphicsDesc desc;
    desc.texture = kTexture;
    desc.width = 36;
    desc.height = 36;
    desc.color = 0x80FFFFFF;
    desc.tex_rect = CFloatRect(0, 0, 8, 8);
    _square.Create(0, 0, desc, true);
}

void CDebugMarker::MarkCell(int cell_index, uint32_t color) {
    if (!g_LevelCFG->IsValidCell(cell_index)) {
        LogFailedCheck("Assert", "g_LevelCFG.IsValidCell(cell_index)", __FILE__, __LINE__);
        ThrowAssertionFailed();
    }
    Mark mark;
    mark.color = color;
    g_LevelCFG->CellToScr(cell_index, mark.pos.x, mark.pos.y);
    _marks.push_back(mark);
    Arm();
}

void CDebugMarker::Render() {
    if (!IsArmed()) return;
    for (const Mark& mark : _marks) {
        _square.SetPosition(mark.pos.x, mark.pos.y);
        _square.SetColor(mark.color, kAllCorners);
        _square.SetAlpha(static_cast<int>(mark.color >> 24), kAllCorners);
        _square.Render();
    }
    _marks.clear();
}

}  // namespace DEBUG_GAME
