#pragma once
// Bitmap fonts that draw: one sprite batch per font bound to the font's texture,
// the text colour, depth and an optional drop shadow. A laid-out string becomes
// quads in a batch: the font's own one (printed at once) or a caller's (a static
// text keeps its glyphs and draws them every frame).
#include <memory>
#include <vector>

#include "engine/vector2.h"
#include "graphics/base_bitmap_font.h"

class CTexturedRectsList;

class CBitmapFont : public CBaseBitmapFont {
public:
    CBitmapFont();
    ~CBitmapFont() override;

    void Clear() override;
    // The container's AddFont, then a batch bound to the font's texture.
    FontResult AddFont(const FontDesc& desc, uint32_t* index = nullptr) override;

    // Colour 0xFFFFFFFF, depth 0, shadow offset (1, 1), shadow colour 0x645B5B5B.
    void ResetStyle();
    // Replaces red, green and blue; the alpha stays.
    void SetColor(uint32_t argb);
    // Replaces the alpha byte; above 255 counts as 255.
    void SetAlpha(uint32_t alpha);
    void SetShadowColor(uint32_t argb) { _shadow_color = argb; }
    void SetZ(uint32_t z) { _z = z; }
    void SetShadow(bool on) { _shadow = on ? 1 : 0; }
    void SetShadowOffset(const CVector2& offset) { _shadow_offset = offset; }
    uint32_t GetColor() const { return _color; }
    uint32_t GetAlpha() const { return _color >> 24; }

    // With a target: rebinds it to the active font's texture, empty. Without:
    // empties the active font's own batch, room for `length` quads.
    void BeginText(CTexturedRectsList* target, size_t length);
    // Lays the text out and appends its quads (each glyph's shadow first).
    void AddText(CTexturedRectsList* target, float x, float y, std::string_view text);
    // Draws the active font's own batch.
    void RenderText();
    FontResult PrintText(float x, float y, std::string_view text);

    CTexturedRectsList* GetBatch(int font) const { return _batches[font].get(); }

private:
    std::vector<std::unique_ptr<CTexturedRectsList>> _batches;  // one per font, in slot order
    uint32_t _color = 0xFFFFFFFF;
    uint32_t _z = 0;
    uint32_t _shadow_color = 0x645B5B5B;
    CVector2 _shadow_offset {1.0f, 1.0f};
};
