#pragma once
// A layered, scrolling decorative background: the layers below the
// description's top layer are drawn before the scene (RenderLow), the rest
// over it (RenderHigh). Each list draws its sprites through one renderer
// keeper, one batch per texture.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/noncopyable.h"
#include "game/background_desc.h"
#include "game/background_layer.h"
#include "graphics/renderer_keeper.h"

// The frame number that every background's tiles test their entry against;
// set by Load and by each RenderLow and RenderHigh.
extern uint32_t g_BackgroundFrame;

class CBackground : NonCopyable {
public:
    CBackground() = default;
    ~CBackground();

    // Builds the layers from the description and Settings\TileBase.xml, then
    // steps every tile once. False (logged, nothing built) when the catalogue
    // cannot be read.
    bool Load(const CBackgroundDesc& desc, uint32_t start_frame);
    // Destroys every layer and both keepers.
    void Clear();
    // Draw the list, then (with update 1) step its tiles.
    void RenderLow(uint32_t update, uint32_t frame);
    void RenderHigh(uint32_t update, uint32_t frame);

    const std::vector<std::unique_ptr<CBackgroundLayer>>& GetLowLayers() const { return _low_layers; }
    const std::vector<std::unique_ptr<CBackgroundLayer>>& GetHighLayers() const { return _high_layers; }

private:
    using LayerList = std::vector<std::unique_ptr<CBackgroundLayer>>;

    static void UpdateLayers(LayerList& layers);
    static void Render(CRendererKeeper* keeper, LayerList& layers, uint32_t update, uint32_t frame);

    std::unique_ptr<CRendererKeeper> _low_keeper;
    std::unique_ptr<CRendererKeeper> _high_keeper;
    LayerList _low_layers;
    LayerList _high_layers;
};

std::shared_ptr<CBackground> CreateBackground();
