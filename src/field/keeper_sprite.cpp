#include "field/keeper_sprite.h"

#include "engine/graphics_desc.h"
#include "field/animation_cache.h"
#include "graphics/object_2d.h"
#include "graphics/renderer_keeper.h"

std::shared_ptr<C2DObject> CreateKeeperSprite(CRendererKeeper& keeper, float x, float y, const CGraphicsDesc& graphics) {
    auto sprite = std::make_shared<C2DObject>();
    // The cache reads each animation file once per run (a file it cannot read
    // leaves the still picture); without the cache (a dialog built before the
    // field's start-up) the sprite reads the file itself.
    if (!graphics.animation_file.empty() && g_AnimationCache) {
        const float w = static_cast<float>(graphics.width), h = static_cast<float>(graphics.height);
        if (const CAnimation* animation = g_AnimationCache->GetAnimation(graphics.animation_file))
            sprite->Init(x, y, w, h, *animation);
        else
            sprite->InitFromTexRect(x, y, w, h, graphics.tex_rect);
        sprite->SetColor(graphics.color, kAllCorners);
        sprite->SetAlpha(static_cast<int>(graphics.color >> 24), kAllCorners);
    } else {
        sprite->Create(x, y, graphics, false);
    }
    sprite->SetRenderer(keeper.GetRenderer(graphics.texture));
    return sprite;
}

void ReleaseKeeperSprite(CRendererKeeper& keeper, std::shared_ptr<C2DObject>& sprite) {
    if (!sprite) return;
    CTexturedRectsList* renderer = sprite->GetRenderer();
    sprite->DetachRenderer();
    sprite.reset();
    if (renderer) keeper.ReleaseRenderer(renderer);
}
