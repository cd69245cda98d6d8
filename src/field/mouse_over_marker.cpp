#include "field/mouse_over_marker.h"

#include "engine/logger.h"
#include "engine/vector2.h"
#include "field/level_cfg.h"

void CMouseOverMarker::Create() {
    CGraphicsDesc desc;
    desc.texture = kTexture;
    desc.width = static_cast<int>(kSize);
    desc.height = static_cast<int>(kSize);
    desc.color = 0xFFFFFFFF;
    desc.tex_rect = CFloatRect(0, 0, kSize, kSize);
    _sprite.Create(-kSize, -kSize, desc, true);
    _cell = -1;
}

void CMouseOverMarker::SetCell(int selected_cell) {
    if (selected_cell == _cell) return;
    CVector2 new_obj_pos;
    if (g_LevelCFG->CellToScr(selected_cell, new_obj_pos.x, new_obj_pos.y))
        _sprite.SetPosition(new_obj_pos.x, new_obj_pos.y);
    else
        LogFailedCheck("Verify", "g_LevelCFG.CellToScr( selected_cell, new_obj_pos.x, new_obj_pos.y )", __FILE__,
                       __LINE__);
    _cell = selected_cell;
}

void CMouseOverMarker::Draw() {
    if (_visible) _sprite.Render();
}
