#include "field/debug_print_map.h"

#include "engine/formatter.h"
#include "field/level_cfg.h"

namespace DEBUG_GAME {

void CDebugPrintMap::SetMap(const std::vector<int>& map) {
    _map = map;
    Arm();
}

void CDebugPrintMap::Render() {
    if (!IsArmed()) return;
    for (size_t i = 0; i < _map.size(); ++i) {
        CVector2 pos;
        if (!g_LevelCFG->CellToScr(static_cast<int>(i), pos.x, pos.y)) break;
        const PrintfArg value(_map[i]);
        _text.SetLabel(kLabel, pos);
        _text.SetArgs(&value, nullptr);
        _text.Render();
    }
    _map.clear();
}

}  // namespace DEBUG_GAME
