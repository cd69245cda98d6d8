#include "graphics/polygon.h"

#include <algorithm>
#include <cmath>

#include "engine/logger.h"

namespace {

constexpr float kEpsilon = 0.00001f;

CVector2 TransformCoord(const CVector2& v, const plat::Matrix& m) {
    return CVector2(v.x * m(0, 0) + v.y * m(1, 0) + m(3, 0), v.x * m(0, 1) + v.y * m(1, 1) + m(3, 1));
}

// The 45-degree sector of (dx, dy), turning from +x toward +y: 1 for [0, 45)
// degrees up to 8 for [315, 360); 0 when both are (nearly) 0. Components within
// the tolerance of 0 count as 0.
int Octant(float dx, float dy) {
    if (std::fabs(dx) < kEpsilon) dx = 0;
    if (std::fabs(dy) < kEpsilon) dy = 0;
    if (dx == 0 && dy == 0) return 0;
    if (dx > 0 && dy >= 0) return dy < dx ? 1 : 2;
    if (dx <= 0 && dy > 0) return -dx < dy ? 3 : 4;
    if (dx < 0 && dy <= 0) return -dy < -dx ? 5 : 6;
    return dx < -dy ? 7 : 8;
}

int Sign(float v) { return (v > 0) - (v < 0); }

}  // namespace

CPolygon::CPolygon(const std::vector<CVector2>& vertices) : pVertices(vertices) {
    if (!pVertices.empty()) pVertices.push_back(pVertices.front());
    pVerticesScr = pVertices;
}

void CPolygon::SetRotationCenter(float x, float y) {
    _rotation_center = CVector2(x, y);
    ASSERT(pVertices.size() == pVerticesScr.size());
    CVector2 shift(x, y);
    for (CVector2& v : pVertices) v -= shift;
    for (CVector2& v : pVerticesScr) v -= shift;
}

void CPolygon::Scale(const plat::Matrix& matrix) {
    _matrix = matrix;
    for (CVector2& v : pVertices) v = TransformCoord(v, matrix);
    for (CVector2& v : pVerticesScr) v = TransformCoord(v, matrix);
}

void CPolygon::Transform(const plat::Matrix& rotation, const plat::Matrix&, const plat::Matrix& translation) {
    if (GetVertexCount() == 0) return;
    const float c = rotation(0, 0), s = rotation(0, 1);
    const float tx = translation(3, 0), ty = translation(3, 1);
    size_t n = std::min(pVertices.size(), pVerticesScr.size());
    for (size_t i = 0; i < n; ++i) {
        const CVector2& v = pVertices[i];
        pVerticesScr[i] = CVector2(c * v.x - s * v.y + tx, c * v.y + s * v.x + ty);
    }
}

bool CPolygon::IsPointInside(float x, float y) const {
    if (pVerticesScr.empty()) return false;
    int total = 0;
    int previous = 0;
    for (size_t i = 0; i < pVerticesScr.size(); ++i) {
        const CVector2& v = pVerticesScr[i];
        int o = Octant(v.x - x, v.y - y);
        if (o == 0) return true;  // the point is a vertex
        if (i > 0) {
            int d = o - previous;
            if (std::abs(d) == 4) {
                // The edge passes on the far side: the cross product tells which way.
                const CVector2& u = pVerticesScr[i - 1];
                float c = (v.y - u.y) * (x - u.x) - (y - u.y) * (v.x - u.x);
                if (std::fabs(c) <= 0.001f) return true;  // on the edge
                d = -4 * Sign(c);
            }
            if (std::abs(d) > 4) d -= 8 * Sign(static_cast<float>(d));
            total += d;
        }
        previous = o;
    }
    return total != 0;
}
