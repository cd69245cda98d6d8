#pragma once
// The debug overlay that shows which cells an internal search marked: a
// tinted square over each marked cell, drawn once and then forgotten.
#include <cstdint>
#include <vector>

#include "engine/vector2.h"
#include "field/debug.h"
#include "graphics/object_2d.h"

namespace DEBUG_GAME {

class CDebugMarker : public ADebug {
public:
    static constexpr const char* kTexture = "Textures\\Common\\square.tga";

    struct Mark {
        CVector2 pos;
        uint32_t color = 0;  // ARGB
    };

    CDebugMarker();

    // Marks the cell in the colour and arms the tool; a cell outside the
    // level is a failed check that throws "Assertion failed".
    void MarkCell(int cell_index, uint32_t color);
    // Draws the square on every mark, then empties the list.
    void Render() override;

    const std::vector<Mark>& GetMarks() const { return _marks; }

private:
    C2DObject _square;
    std::vector<Mark> _marks;
};

}  // namespace DEBUG_GAME
