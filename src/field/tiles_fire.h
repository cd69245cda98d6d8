#pragma once
// The row of fire over the lowest row of the playing field: one animated
// sprite on every active cell of the lowest row that holds an active cell,
// drawn by a renderer keeper of its own.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/graphics_desc.h"
#include "graphics/renderer_keeper.h"

class C2DObject;
class CTilesField;

class CTilesFire {
public:
    static constexpr const char* kFileName = "Settings\\bases\\common.xml";

    // Reads the fire's "graphics" from "//Common/TilesFire" of kFileName; a
    // missing node logs a failed check and throws "Assertion failed", a
    // missing file throws the XML layer's error. `field` outlives the fire.
    explicit CTilesFire(const CTilesField& field);
    ~CTilesFire();
    CTilesFire(const CTilesFire&) = delete;
    CTilesFire& operator=(const CTilesFire&) = delete;

    // Lays the fire anew over the field's lowest row with an active cell.
    void Build();
    void Clear();
    void Render() { _keeper.RenderAll(); }
    void SetAlpha(int alpha);

    // The first cell of the lowest row holding an active cell, or -1 when no
    // cell is active.
    int FindRowStart() const;
    size_t GetCount() const { return _fire.size(); }
    // The cell and the sprite of one fire, in row order.
    int GetCell(size_t i) const { return _fire[i].first; }
    const C2DObject& GetSprite(size_t i) const { return *_fire[i].second; }
    const CGraphicsDesc& GetGraphics() const { return _graphics; }

private:
    static CGraphicsDesc ReadGraphics();

    const CTilesField& _field;
    // Declared before the sprites, so that they leave its batches first.
    CRendererKeeper _keeper;
    std::vector<std::pair<int, std::unique_ptr<C2DObject>>> _fire;
    CGraphicsDesc _graphics;
};
