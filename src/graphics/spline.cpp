#include "graphics/spline.h"

#include "engine/logger.h"

void CSpline::AddKey(const CVector2& point) {
    _keys.push_back(point);
    _tangents_ready = false;
}

void CSpline::BuildTangents() {
    size_t n = _keys.size();
    _out.assign(n, CVector2());
    _in.assign(n, CVector2());
    for (size_t i = 1; i + 1 < n; ++i) {
        CVector2 d0 = (1.0f + bias) * (_keys[i] - _keys[i - 1]);
        CVector2 d1 = (1.0f - bias) * (_keys[i + 1] - _keys[i]);
        CVector2 t = (1.0f - tension) * ((1.0f - continuity) / 2.0f * d0 + (1.0f + continuity) / 2.0f * d1);
        _out[i] = t;
        _in[i] = t;
    }
    if (n >= 2) {
        _out[0] = _keys[1] - _keys[0];
        _in[n - 1] = _keys[n - 1] - _keys[n - 2];
    }
    _tangents_ready = true;
}

bool CSpline::Evaluate(float t, CVector2& out) {
    if (!ASSERT((t >= 0) && (t <= GetKeyCount()))) return false;
    int n = GetKeyCount();
    if (n == 0) return false;
    if (!_tangents_ready) BuildTangents();
    int k = static_cast<int>(t);
    if (k >= n - 1) {  // the end of the curve
        out = _keys[static_cast<size_t>(n - 1)];
        return true;
    }
    float s = t - static_cast<float>(k);
    float s2 = s * s, s3 = s2 * s;
    float h00 = 2 * s3 - 3 * s2 + 1, h10 = s3 - 2 * s2 + s, h01 = -2 * s3 + 3 * s2, h11 = s3 - s2;
    size_t a = static_cast<size_t>(k), b = a + 1;
    out = h00 * _keys[a] + h10 * _out[a] + h01 * _keys[b] + h11 * _in[b];
    return true;
}
