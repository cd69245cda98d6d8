#include "graphics/textured_rect.h"

#include <vector>

#include "graphics/polygon.h"
#include "engine/engine_core_interface.h"
#include "engine/graphics_device.h"

void CTexturedRect::Init(const CFloatRect& rect, const CAnimation& animation) {
    ATexturedRect::SetRects(rect, CFloatRect());
    _rotation = plat::Matrix::Identity();
    _translation = plat::Matrix::Identity();
    _scaling = plat::Matrix::Identity();
    _animation = animation;
    // Polygons come in texels of the frame: scale them to the quad and make
    // them relative to its centre, the pivot they turn about.
    _animation.FitPolygons(rect);
    _animation.SetPolygonsRotationCenter(rect.Width() / 2, rect.Height() / 2);
}

void CTexturedRect::SetRotationCenter(float x, float y) {
    ATexturedRect::SetRotationCenter(x, y);
    _animation.SetPolygonsRotationCenter(x, y);
}

CPolygon* CTexturedRect::GetPolygon() { return _animation.GetCurrentPolygon(); }

void CTexturedRect::Inflate(float dw, float dh) {
    const float w = GetWidth(), h = GetHeight();
    if (w == 0 || h == 0 || w + dw < 0 || h + dh < 0) return;
    ATexturedRect::Inflate(dw, dh);
    _scaling = plat::Matrix::Scaling((w + dw) / w, (h + dh) / h, 1);
    if (_animation.HasPolygons()) _animation.ScalePolygons(_scaling);
}

bool CTexturedRect::UpdateAnimation() {
    if (!_animation.Update()) return false;
    _dirty |= kDirtyTexCoords;
    return true;
}

void CTexturedRect::UpdateVertices() {
    if (_dirty & kDirtyGeometry) {
        const CVector2 p = Pivot();
        _rotated_rect = CFloatRect(_rect.left - p.x, _rect.top - p.y, _rect.right - p.x, _rect.bottom - p.y);
        _translation = plat::Matrix::Translation(p.x, p.y, 0);
        _rotation = plat::Matrix::RotationZ(_angle * 0.017453292f);
        const plat::Matrix m = _rotation * _translation;
        const float xs[4] = {_rotated_rect.left, _rotated_rect.right, _rotated_rect.left, _rotated_rect.right};
        const float ys[4] = {_rotated_rect.top, _rotated_rect.top, _rotated_rect.bottom, _rotated_rect.bottom};
        for (int i = 0; i < 4; ++i) {
            // Row vector (x, y, z, 1) times the matrix.
            const float x = xs[i], y = ys[i], z = _z;
            _vertices[i].x = x * m(0, 0) + y * m(1, 0) + z * m(2, 0) + m(3, 0) - 0.5f;
            _vertices[i].y = x * m(0, 1) + y * m(1, 1) + z * m(2, 1) + m(3, 1) - 0.5f;
            _vertices[i].z = x * m(0, 2) + y * m(1, 2) + z * m(2, 2) + m(3, 2);
        }
        if (_animation.HasPolygons()) _animation.TransformCurrentPolygon(_rotation, _scaling, _translation);
    }
    if (_dirty & kDirtyTexCoords) FillTexCoords(_animation.GetCurrentTexRect());
    if (_dirty & kDirtyColors) FillColors();
    _dirty = 0;
}

void CTexturedRect::DrawPolygon(uint32_t color) {
    if (!_animation.HasPolygons()) return;
    const CPolygon* polygon = _animation.GetCurrentPolygon();
    plat::RenderDevice* device = EngineDevice();
    if (!polygon || !device) return;
    // Each edge of the closed outline as a one-pixel-wide untextured quad.
    const std::vector<CVector2>& points = polygon->GetScreenVertices();
    std::vector<plat::Vertex> vertices;
    vertices.reserve(points.size() * 6);
    for (size_t i = 1; i < points.size(); ++i) {
        const CVector2 a = points[i - 1], b = points[i];
        CVector2 n(a.y - b.y, b.x - a.x);
        const float len = n.Length();
        if (len <= 0) continue;
        n /= 2 * len;
        const plat::Vertex q[4] = {{a.x - n.x, a.y - n.y, 0, color, 0, 0}, {b.x - n.x, b.y - n.y, 0, color, 0, 0},
                                   {a.x + n.x, a.y + n.y, 0, color, 0, 0}, {b.x + n.x, b.y + n.y, 0, color, 0, 0}};
        for (int k : {0, 1, 2, 3, 2, 1}) vertices.push_back(q[k]);
    }
    if (vertices.empty()) return;
    device->SetTexture(0, nullptr);
    device->DrawTriangleListUP(static_cast<uint32_t>(vertices.size() / 3), vertices.data(), sizeof(plat::Vertex));
}
