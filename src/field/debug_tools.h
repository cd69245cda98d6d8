#pragma once
// The field's debug tools: the marker of cells and the printed field map,
// held from start-up to exit, and the two switches that feed them (both off,
// so players never see them). A developer turns them on with the
// "show_debug_info" setting of Config.xml; the overlay is drawn after the
// field by RenderDebugTools.
#include <cstdint>
#include <memory>
#include <vector>

#include "field/debug_marker.h"
#include "field/debug_print_map.h"

class CBallsField;

namespace DEBUG_GAME {

// Colours of a pending ball move on the marker: where it starts and where it
// goes.
constexpr uint32_t kMoveFromColor = 0x8000FF00;
constexpr uint32_t kMoveToColor = 0x80FF0000;

extern std::unique_ptr<CDebugMarker> g_DebugMarker;
extern std::unique_ptr<CDebugPrintMap> g_DebugPrintMap;
// Mark the balls field's pending moves; print the field map.
extern bool g_MarkMoves;
extern bool g_PrintFieldMap;

void CreateDebugTools();
void DestroyDebugTools();
// Both switches at once.
void SetDebugDisplay(bool on);

// At the end of the balls field's update: its pending moves go to the marker
// and its ball states (-1 for an empty cell) to the printed map, each only
// while its switch is on and its tool exists.
void FeedFromBallsField(const CBallsField& balls);
// The overlay over the drawn field: the marker, then the printed map.
void RenderDebugTools();

// Logs a field map, one line per row of the level, showing the low or the
// high byte of each cell's record.
void DumpFieldMap(const std::vector<uint16_t>& field_map, bool high_byte);

}  // namespace DEBUG_GAME
