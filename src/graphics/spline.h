#pragma once
// A cubic Hermite spline through key points (Kochanek-Bartels tangents; with
// bias, continuity and tension 0 it is Catmull-Rom). The curve builder's work
// object.
#include <vector>

#include "engine/vector2.h"

class CSpline {
public:
    void AddKey(const CVector2& point);
    int GetKeyCount() const { return static_cast<int>(_keys.size()); }
    // The point at parameter t in [0, n - 1); false (with a failed check) outside.
    bool Evaluate(float t, CVector2& out);

    float bias = 0, continuity = 0, tension = 0;

private:
    void BuildTangents();

    std::vector<CVector2> _keys;
    // Per key: the tangent leaving it (toward the next) and entering it.
    std::vector<CVector2> _out, _in;
    bool _tangents_ready = false;
};
