#include "field/available_move.h"

#include <cstdlib>
#include <exception>

#include "engine/logger.h"
#include "engine/random.h"
#include "engine/vector2.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "field/level_cfg.h"

CAvailableMove::CAvailableMove() {
    try {
        LoadConfig(CXMLFile(kConfigFile));
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: The available-move marker could not be read from '%s': %s", kConfigFile,
                                e.what());
    }
}

CAvailableMove::CAvailableMove(const CXMLFile& config) { LoadConfig(config); }

void CAvailableMove::LoadConfig(const CXMLFile& config) {
    _vertical = ParseGraphics(config.SelectSingleNode("//GameCFG/AvailableMove/Vertical"));
    _horizontal = ParseGraphics(config.SelectSingleNode("//GameCFG/AvailableMove/Horizontal"));
}

void CAvailableMove::Show(const std::vector<MoveRecord>& moves) {
    if (moves.empty()) return;
    const MoveRecord& move = moves[RandomInt(0, static_cast<uint32_t>(moves.size() - 1))];
    CVector2 a, b;
    if (!g_LevelCFG->CellCenterToScr(move.from, a.x, a.y) || !g_LevelCFG->CellCenterToScr(move.to, b.x, b.y)) {
        CLogger::Instance().Log(2, "Error: No available move between cells %d and %d!", move.from, move.to);
        return;
    }
    // Neighbours in one row differ by 1: the bar stands upright between them.
    const CGraphicsDesc& desc = std::abs(move.from - move.to) <= 1 ? _vertical : _horizontal;
    const CVector2 middle((a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f);
    _sprite.Create(middle.x - static_cast<float>(desc.width) * 0.5f, middle.y - static_cast<float>(desc.height) * 0.5f,
                   desc, true);
    _move = move;
    _shown = true;
}

void CAvailableMove::Draw() {
    if (_shown) _sprite.Render();
}
