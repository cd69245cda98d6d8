#include "field/debug_tools.h"

#include <cstdio>
#include <string>

#include "engine/logger.h"
#include "field/balls_field.h"
#include "field/level_cfg.h"

namespace DEBUG_GAME {

std::unique_ptr<CDebugMarker> g_DebugMarker;
std::unique_ptr<CDebugPrintMap> g_DebugPrintMap;
bool g_MarkMoves = false;
bool g_PrintFieldMap = false;

void CreateDebugTools() {
    g_DebugMarker = std::make_unique<CDebugMarker>();
    g_DebugPrintMap = std::make_unique<CDebugPrintMap>();
}

void DestroyDebugTools() {
    g_DebugMarker.reset();
    g_DebugPrintMap.reset();
}

void SetDebugDisplay(bool on) {
    g_MarkMoves = on;
    g_PrintFieldMap = on;
}

void FeedFromBallsField(const CBallsField& balls) {
    if (g_MarkMoves && g_DebugMarker) {
        for (const BallMove& move : balls.GetPendingMoves()) {
            g_DebugMarker->MarkCell(move.from, kMoveFromColor);
            g_DebugMarker->MarkCell(move.to, kMoveToColor);
        }
    }
    if (g_PrintFieldMap && g_DebugPrintMap) {
        std::vector<int> states(static_cast<size_t>(g_LevelCFG->GetCellCount()));
        for (size_t cell = 0; cell < states.size(); ++cell) states[cell] = balls.GetCellBallState(static_cast<int>(cell));
        g_DebugPrintMap->SetMap(states);
    }
}

void RenderDebugTools() {
    if (g_DebugMarker) g_DebugMarker->Render();
    if (g_DebugPrintMap) g_DebugPrintMap->Render();
}

void DumpFieldMap(const std::vector<uint16_t>& field_map, bool high_byte) {
    CLogger& log = CLogger::Instance();
    log.LogSeparator();
    log.Log(2, " ball_inf_v &field_map ");
    const size_t width = g_LevelCFG->GetFieldWidth() > 0 ? static_cast<size_t>(g_LevelCFG->GetFieldWidth()) : field_map.size();
    std::string line;
    char value[16];
    for (size_t i = 0; i < field_map.size(); ++i) {
        const int byte = high_byte ? field_map[i] >> 8 : field_map[i] & 0xFF;
        std::snprintf(value, sizeof(value), " %02d", byte);
        line += value;
        if ((i + 1) % width == 0 || i + 1 == field_map.size()) {
            log.Log(1, "%s", line.c_str());
            line.clear();
        }
    }
    log.LogSeparator();
}

}  // namespace DEBUG_GAME
