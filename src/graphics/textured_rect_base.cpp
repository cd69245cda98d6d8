#include "graphics/textured_rect_base.h"

#include <cmath>
#include <stdexcept>

#include "engine/logger.h"

void ATexturedRect::SetRects(const CFloatRect& rect, const CFloatRect& tex_rect) {
    _rect = rect;
    _tex_rect = tex_rect;
    _dirty = kDirtyAll;
}

const plat::Vertex* ATexturedRect::GetVertices() {
    if (_dirty) UpdateVertices();
    return _vertices;
}

void ATexturedRect::SetColor(uint32_t color, int corner) {
    auto apply = [&](int i) { _colors[i] = (_colors[i] & 0xFF000000u) | (color & 0x00FFFFFFu); };
    if (corner >= 0 && corner < 4) {
        apply(corner);
    } else {
        for (int i = 0; i < 4; ++i) apply(i);
    }
    _dirty |= kDirtyColors;
}

uint32_t ATexturedRect::GetColor(int corner) const {
    const unsigned vertex = static_cast<unsigned>(corner);
    ASSERT_THROW_IF_FAILED(vertex < 4);
    return _colors[vertex];
}

void ATexturedRect::SetAlpha(int alpha, int corner) {
    if (alpha < 0 || alpha > 255) alpha = 255;
    const uint32_t a = static_cast<uint32_t>(alpha) << 24;
    auto apply = [&](int i) { _colors[i] = (_colors[i] & 0x00FFFFFFu) | a; };
    if (corner >= 0 && corner < 4) {
        apply(corner);
    } else {
        for (int i = 0; i < 4; ++i) apply(i);
    }
    _dirty |= kDirtyColors;
}

int ATexturedRect::GetAlpha(int corner) const {
    const unsigned vertex = static_cast<unsigned>(corner);
    ASSERT_THROW_IF_FAILED(vertex < 4);
    return static_cast<int>(_colors[vertex] >> 24);
}

void ATexturedRect::SetAngle(float degrees) {
    _angle = degrees;
    _dirty |= kDirtyGeometry;
}

void ATexturedRect::SetPosition(float x, float y) {
    const float w = _rect.right - _rect.left, h = _rect.bottom - _rect.top;
    _rect = CFloatRect(x, y, x + w, y + h);
    _dirty |= kDirtyGeometry;
}

void ATexturedRect::Inflate(float dw, float dh) {
    const float w = _rect.right - _rect.left, h = _rect.bottom - _rect.top;
    if (w == 0 || h == 0 || w + dw < 0 || h + dh < 0) return;
    _rect.left -= dw / 2;
    _rect.right += dw / 2;
    _rect.top -= dh / 2;
    _rect.bottom += dh / 2;
    _dirty |= kDirtyGeometry;
}

void ATexturedRect::SetTextureSize(float width, float height) {
    if (width == 0 || height == 0) {
        CLogger::Instance().Log(2, "Error: Object texture not defined! (%s)", "ATexturedRect::SetTextureSize");
        _inv_tex_width = 1.0f;
        _inv_tex_height = 1.0f;
        return;
    }
    _inv_tex_width = 1.0f / width;
    _inv_tex_height = 1.0f / height;
    _dirty |= kDirtyTexCoords;
}

CVector2 ATexturedRect::Pivot() const {
    return CVector2(_rect.left + (_rect.right - _rect.left) / 2 + _rotation_center.x,
                    _rect.top + (_rect.bottom - _rect.top) / 2 + _rotation_center.y);
}

void ATexturedRect::FillTexCoords(const CFloatRect& t) {
    const float l = t.left * _inv_tex_width, r = t.right * _inv_tex_width;
    const float top = t.top * _inv_tex_height, b = t.bottom * _inv_tex_height;
    _vertices[0].u = l;
    _vertices[0].v = top;
    _vertices[1].u = r;
    _vertices[1].v = top;
    _vertices[2].u = l;
    _vertices[2].v = b;
    _vertices[3].u = r;
    _vertices[3].v = b;
}

void ATexturedRect::FillColors() {
    for (int i = 0; i < 4; ++i) _vertices[i].color = _colors[i];
}

void ATexturedRect::UpdateVertices() {
    if (_dirty & kDirtyGeometry) {
        if (_angle == 0) {
            const float xs[4] = {_rect.left, _rect.right, _rect.left, _rect.right};
            const float ys[4] = {_rect.top, _rect.top, _rect.bottom, _rect.bottom};
            for (int i = 0; i < 4; ++i) {
                _vertices[i].x = xs[i] - 0.5f;
                _vertices[i].y = ys[i] - 0.5f;
                _vertices[i].z = 0;
            }
        } else {
            const CVector2 p = Pivot();
            _rotated_rect = CFloatRect(_rect.left - p.x, _rect.top - p.y, _rect.right - p.x, _rect.bottom - p.y);
            const float a = _angle * 3.1415927f / 180.0f;
            const float c = std::cos(a), s = std::sin(a);
            const float xs[4] = {_rotated_rect.left, _rotated_rect.right, _rotated_rect.left, _rotated_rect.right};
            const float ys[4] = {_rotated_rect.top, _rotated_rect.top, _rotated_rect.bottom, _rotated_rect.bottom};
            for (int i = 0; i < 4; ++i) {
                _vertices[i].x = xs[i] * c - ys[i] * s + p.x - 0.5f;
                _vertices[i].y = xs[i] * s + ys[i] * c + p.y - 0.5f;
                _vertices[i].z = 0;
            }
        }
    }
    if (_dirty & kDirtyTexCoords) FillTexCoords(_tex_rect);
    if (_dirty & kDirtyColors) FillColors();
    _dirty = 0;
}
