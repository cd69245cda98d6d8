#include "game/background.h"

#include <exception>

#include "engine/logger.h"
#include "engine/xml_file.h"

uint32_t g_BackgroundFrame = 0;

std::shared_ptr<CBackground> CreateBackground() { return std::make_shared<CBackground>(); }

CBackground::~CBackground() { Clear(); }

bool CBackground::Load(const CBackgroundDesc& desc, uint32_t start_frame) {
    Clear();
    g_BackgroundFrame = start_frame;

    BackgroundCatalogue catalogue;
    try {
        const CXMLFile file("Settings\\TileBase.xml");
        catalogue = ReadBackgroundCatalogue(file);
    } catch (const std::exception& e) {
        // The XML layer has logged the file; the background stays empty.
        CLogger::Instance().Log(2, "Error: Background not built: %s", e.what());
        return false;
    }
    _low_keeper = std::make_unique<CRendererKeeper>();
    _high_keeper = std::make_unique<CRendererKeeper>();

    // The late-start shift divides by the bounds' size.
    const CFloatRect& bounds = desc.bounds_rect;
    const bool late_start = bounds.Width() != 0.0f && bounds.Height() != 0.0f;
    if (!late_start)
        CLogger::Instance().Log(2, "Error: Background bounds %g %g %g %g have no area; late tiles start unshifted.",
                                bounds.left, bounds.top, bounds.right, bounds.bottom);

    for (size_t i = 0; i < desc.layers.size(); ++i) {
        const bool low = desc.top_layer != CBackgroundDesc::kNoTopLayer && static_cast<int64_t>(i) < desc.top_layer;
        CRendererKeeper& keeper = low ? *_low_keeper : *_high_keeper;
        auto layer = std::make_unique<CBackgroundLayer>(keeper, desc.layers[i].speed, bounds);
        layer->Build(catalogue, desc.layers[i], late_start);
        (low ? _low_layers : _high_layers).push_back(std::move(layer));
    }
    UpdateLayers(_low_layers);
    UpdateLayers(_high_layers);
    return true;
}

void CBackground::Clear() {
    // Tiles leave their batches before the keepers destroy them.
    _low_layers.clear();
    _high_layers.clear();
    if (_low_keeper) _low_keeper->ReleaseAll();
    if (_high_keeper) _high_keeper->ReleaseAll();
    _low_keeper.reset();
    _high_keeper.reset();
}

void CBackground::RenderLow(uint32_t update, uint32_t frame) { Render(_low_keeper.get(), _low_layers, update, frame); }

void CBackground::RenderHigh(uint32_t update, uint32_t frame) {
    Render(_high_keeper.get(), _high_layers, update, frame);
}

void CBackground::UpdateLayers(LayerList& layers) {
    for (auto& layer : layers) layer->Update();
}

void CBackground::Render(CRendererKeeper* keeper, LayerList& layers, uint32_t update, uint32_t frame) {
    g_BackgroundFrame = frame;
    if (keeper) keeper->RenderAll();
    for (auto& layer : layers) layer->RenderEmitters();
    if (update == 1) UpdateLayers(layers);
}
