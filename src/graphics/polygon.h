#pragma once
// The collision outline of a sprite's frame: local vertices that follow the
// sprite's scale, rotation centre and placement, and a point-in-polygon test.
#include <vector>

#include "engine/vector2.h"
#include "platform/render_device.h"

class CPolygon {
public:
    CPolygon() = default;
    // The outline is closed: the first vertex is repeated at the end.
    explicit CPolygon(const std::vector<CVector2>& vertices);

    // Remembers the centre and moves every local and screen vertex by -(x, y).
    void SetRotationCenter(float x, float y);
    // Remembers the matrix and transforms every local and screen vertex (x, y, 0).
    void Scale(const plat::Matrix& matrix);
    // Screen vertices := local ones rotated by `rotation` (its elements (0,0) and
    // (0,1) as cosine and sine) and moved by the translation of `translation`.
    // Scaling was already applied to the local vertices by Scale.
    void Transform(const plat::Matrix& rotation, const plat::Matrix& scaling, const plat::Matrix& translation);

    // Inside, on an edge or on a vertex of the screen outline; never for an empty one.
    bool IsPointInside(float x, float y) const;
    // The number of distinct vertices (0 for an empty polygon).
    int GetVertexCount() const { return pVerticesScr.empty() ? 0 : static_cast<int>(pVerticesScr.size()) - 1; }
    const std::vector<CVector2>& GetScreenVertices() const { return pVerticesScr; }
    const std::vector<CVector2>& GetLocalVertices() const { return pVertices; }

private:
    std::vector<CVector2> pVertices;
    std::vector<CVector2> pVerticesScr;
    plat::Matrix _matrix;
    CVector2 _rotation_center;
};
