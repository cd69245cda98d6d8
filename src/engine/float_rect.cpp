#include "engine/float_rect.h"

void CFloatRect::Offset(float dx, float dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
}

CFloatRect CFloatRect::Inflate(float w, float h) {
    left -= w / 2;
    right += w / 2;
    top -= h / 2;
    bottom += h / 2;
    return *this;
}

bool CFloatRect::Contains(float x, float y) const {
    return left <= x && x <= right && top <= y && y <= bottom;
}

bool CFloatRect::Intersects(const CFloatRect& other) const {
    return other.right >= left && other.left <= right && other.bottom >= top && other.top <= bottom;
}
