#pragma once
// Sprites that draw through the shared batch of a renderer keeper for their
// texture, as the birds and the salute keep them.
#include <memory>

class C2DObject;
class CRendererKeeper;
struct CGraphicsDesc;

// A sprite with its top-left at (x, y), sized, coloured and animated by the
// description (the animation taken from the animation cache while there is
// one), attached to the keeper's batch for its texture.
std::shared_ptr<C2DObject> CreateKeeperSprite(CRendererKeeper& keeper, float x, float y, const CGraphicsDesc& graphics);

// Takes the sprite out of its batch, gives the keeper its reference back and
// drops the sprite; an empty pointer is left alone.
void ReleaseKeeperSprite(CRendererKeeper& keeper, std::shared_ptr<C2DObject>& sprite);
