#pragma once
// One layer of a background: its tiles, moving at the layer's speed through
// the bounds, drawn by the renderer keeper of the layer's list.
#include <memory>
#include <vector>

#include "engine/float_rect.h"
#include "game/background_tile.h"

class CRendererKeeper;

class CBackgroundLayer {
public:
    CBackgroundLayer(CRendererKeeper& keeper, float speed, const CFloatRect& bounds);

    // Builds a tile for each description; tiles whose Init fails are dropped.
    void Build(const BackgroundCatalogue& catalogue, const CBackgroundLayerDesc& desc, bool late_start);
    void Update();
    void RenderEmitters();

    size_t GetTileCount() const { return _tiles.size(); }
    const CBackgroundTile& GetTile(size_t i) const { return *_tiles[i]; }
    float GetSpeed() const { return _speed; }

private:
    std::vector<std::unique_ptr<CBackgroundTile>> _tiles;
    float _speed;
    CFloatRect _bounds;
    CRendererKeeper& _keeper;
};
