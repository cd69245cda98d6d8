#pragma once
// The debug overlay that writes a number on every cell of the field (a field
// map handed over by the field), drawn once and then forgotten.
#include <vector>

#include "field/debug.h"
#include "graphics/static_text.h"

namespace DEBUG_GAME {

class CDebugPrintMap : public ADebug {
public:
    // The label the numbers are written with.
    static constexpr const char* kLabel = "debug_d";

    // One value per cell in cell order; arms the tool.
    void SetMap(const std::vector<int>& map);
    // Writes every value on its cell, then empties the list.
    void Render() override;

    const std::vector<int>& GetMap() const { return _map; }

private:
    std::vector<int> _map;
    CStaticText _text;
};

}  // namespace DEBUG_GAME
