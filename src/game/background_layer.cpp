#include "game/background_layer.h"

CBackgroundLayer::CBackgroundLayer(CRendererKeeper& keeper, float speed, const CFloatRect& bounds)
    : _speed(speed), _bounds(bounds), _keeper(keeper) {}

void CBackgroundLayer::Build(const BackgroundCatalogue& catalogue, const CBackgroundLayerDesc& desc, bool late_start) {
    _tiles.reserve(desc.tiles.size());
    for (const CBackgroundTileDesc& tile_desc : desc.tiles) {
        auto tile = std::make_unique<CBackgroundTile>();
        if (tile->Init(catalogue, _keeper, desc, tile_desc, _bounds, late_start)) _tiles.push_back(std::move(tile));
    }
}

void CBackgroundLayer::Update() {
    for (auto& tile : _tiles) tile->Update();
}

void CBackgroundLayer::RenderEmitters() {
    for (auto& tile : _tiles)
        if (tile->HasEmitter()) tile->RenderEmitter();
}
