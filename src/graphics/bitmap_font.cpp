#include "graphics/bitmap_font.h"

#include <algorithm>

#include "engine/logger.h"
#include "graphics/textured_rects_list.h"

CBitmapFont::CBitmapFont() { ResetStyle(); }

CBitmapFont::~CBitmapFont() { CBitmapFont::Clear(); }

void CBitmapFont::Clear() {
    CBaseBitmapFont::Clear();
    _batches.clear();
}

FontResult CBitmapFont::AddFont(const FontDesc& desc, uint32_t* index) {
    uint32_t slot = 0;
    const FontResult result = CBaseBitmapFont::AddFont(desc, &slot);
    if (result != kFontOk) return result;
    if (index) *index = slot;
    auto batch = std::make_unique<CTexturedRectsList>();
    batch->SetTextureByName(desc.texture);
    // Glyphs never animate.
    batch->SetAnimated(false);
    _batches.resize(slot + 1);
    _batches[slot] = std::move(batch);
    return kFontOk;
}

void CBitmapFont::ResetStyle() {
    _color = 0xFFFFFFFF;
    _z = 0;
    _shadow_offset = CVector2(1.0f, 1.0f);
    _shadow_color = 0x645B5B5B;
}

void CBitmapFont::SetColor(uint32_t argb) { _color = (_color & 0xFF000000u) | (argb & 0x00FFFFFFu); }

void CBitmapFont::SetAlpha(uint32_t alpha) {
    alpha = std::min<uint32_t>(alpha, 255);
    _color = (_color & 0x00FFFFFFu) | (alpha << 24);
}

void CBitmapFont::BeginText(CTexturedRectsList* target, size_t length) {
    if (_active_font < 0 || _active_font >= GetFontCount()) return;
    if (target) {
        target->Release();
        target->SetTextureByName(_fonts[_active_font]->texture);
        target->SetAnimated(false);
    } else {
        const size_t quads = std::min(length, static_cast<size_t>(MAX_QUADS_IN_STRING)) * (_shadow ? 2 : 1);
        _batches[_active_font]->Clear(quads);
    }
}

void CBitmapFont::AddText(CTexturedRectsList* target, float x, float y, std::string_view text) {
    if (_active_font < 0 || _active_font >= GetFontCount()) return;
    CTexturedRectsList* batch = target ? target : _batches[_active_font].get();
    const int quads = BuildString(x, y, text);
    const float z = static_cast<float>(_z);
    for (int i = 0; i < quads; ++i) {
        if (_shadow) {
            CFloatRect r = _screen_rects[i];
            r.left += _shadow_offset.x;
            r.right += _shadow_offset.x;
            r.top += _shadow_offset.y;
            r.bottom += _shadow_offset.y;
            ATexturedRect* quad = batch->GetRect(batch->AddRect(r, _texture_rects[i]));
            if (quad) {
                quad->SetColor(_shadow_color, 4);
                quad->SetAlpha(static_cast<int>(_shadow_color >> 24), 4);
                quad->SetZ(z);
            }
        }
        ATexturedRect* quad = batch->GetRect(batch->AddRect(_screen_rects[i], _texture_rects[i]));
        if (quad) {
            quad->SetColor(_color, 4);
            quad->SetAlpha(static_cast<int>(_color >> 24), 4);
            quad->SetZ(z);
        }
    }
}

void CBitmapFont::RenderText() {
    const int nActiveFont = _active_font;
    ASSERT_THROW_IF_FAILED(nActiveFont < MAX_FONTS_IN_CONTAINER);
    if (nActiveFont < 0 || nActiveFont >= static_cast<int>(_batches.size())) return;
    _batches[nActiveFont]->Render();
}

FontResult CBitmapFont::PrintText(float x, float y, std::string_view text) {
    BeginText(nullptr, text.size());
    AddText(nullptr, x, y, text);
    RenderText();
    return kFontOk;
}
