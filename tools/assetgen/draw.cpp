#include "draw.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

float Len(float x, float y) { return std::sqrt(x * x + y * y); }

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
    const float vx = bx - ax, vy = by - ay;
    const float l2 = vx * vx + vy * vy;
    float t = l2 > 0 ? ((px - ax) * vx + (py - ay) * vy) / l2 : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    return Len(px - (ax + vx * t), py - (ay + vy * t));
}

}  // namespace

Sdf Circle(float cx, float cy, float r) {
    return [=](float x, float y) { return Len(x - cx, y - cy) - r; };
}

Sdf Ellipse(float cx, float cy, float rx, float ry) {
    return [=](float x, float y) {
        const float nx = (x - cx) / rx, ny = (y - cy) / ry;
        const float k = Len(nx, ny);
        // First-order distance: the implicit value over its gradient length.
        const float gx = nx / rx, gy = ny / ry;
        const float g = Len(gx, gy);
        return g > 1e-6f ? (k - 1) * k / g : -std::min(rx, ry);
    };
}

Sdf Box(float left, float top, float right, float bottom) {
    return RoundedBox(left, top, right, bottom, 0);
}

Sdf RoundedBox(float left, float top, float right, float bottom, float radius) {
    const float cx = (left + right) / 2, cy = (top + bottom) / 2;
    const float hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
    return [=](float x, float y) {
        const float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
        const float outside = Len(std::max(qx, 0.0f), std::max(qy, 0.0f));
        const float inside = std::min(std::max(qx, qy), 0.0f);
        return outside + inside - radius;
    };
}

Sdf Polygon(std::vector<Vec2> pts) {
    return [pts = std::move(pts)](float x, float y) {
        const size_t n = pts.size();
        if (n < 3) return 1e9f;
        float d = 1e9f;
        bool inside = false;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const Vec2 a = pts[j], b = pts[i];
            d = std::min(d, SegmentDistance(x, y, a.x, a.y, b.x, b.y));
            if ((b.y > y) != (a.y > y) && x < (a.x - b.x) * (y - b.y) / (a.y - b.y) + b.x) inside = !inside;
        }
        return inside ? -d : d;
    };
}

Sdf Capsule(float ax, float ay, float bx, float by, float half_width) {
    return [=](float x, float y) { return SegmentDistance(x, y, ax, ay, bx, by) - half_width; };
}

Sdf Union(Sdf a, Sdf b) {
    return [a = std::move(a), b = std::move(b)](float x, float y) { return std::min(a(x, y), b(x, y)); };
}
Sdf Intersect(Sdf a, Sdf b) {
    return [a = std::move(a), b = std::move(b)](float x, float y) { return std::max(a(x, y), b(x, y)); };
}
Sdf Subtract(Sdf a, Sdf b) {
    return [a = std::move(a), b = std::move(b)](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}
Sdf Offset(Sdf s, float amount) {
    return [s = std::move(s), amount](float x, float y) { return s(x, y) - amount; };
}
Sdf Rotate(Sdf s, float cx, float cy, float degrees) {
    const float a = -degrees * 3.14159265f / 180.0f;
    const float c = std::cos(a), sn = std::sin(a);
    return [s = std::move(s), cx, cy, c, sn](float x, float y) {
        const float dx = x - cx, dy = y - cy;
        return s(cx + dx * c - dy * sn, cy + dx * sn + dy * c);
    };
}

Paint Solid(const Rgba& c) {
    return [c](float, float) { return c; };
}

Paint LinearGradient(float x0, float y0, const Rgba& c0, float x1, float y1, const Rgba& c1) {
    const float vx = x1 - x0, vy = y1 - y0, l2 = vx * vx + vy * vy;
    return [=](float x, float y) {
        const float t = l2 > 0 ? Clamp01(((x - x0) * vx + (y - y0) * vy) / l2) : 0;
        return Mix(c0, c1, t);
    };
}

Paint RadialGradient(float cx, float cy, float r, const Rgba& inner, const Rgba& outer) {
    return [=](float x, float y) { return Mix(inner, outer, r > 0 ? Clamp01(Len(x - cx, y - cy) / r) : 1); };
}

Paint SphereShade(float cx, float cy, float r, const Rgba& base, float ambient, float specular) {
    // Light direction: up, left and toward the viewer.
    const float lx = -0.45f, ly = -0.55f, lz = 0.70f;
    const float ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    return [=](float x, float y) {
        const float nx = (x - cx) / r, ny = (y - cy) / r;
        const float q = nx * nx + ny * ny;
        const float nz = q < 1 ? std::sqrt(1 - q) : 0;
        const float diffuse = std::max(0.0f, (nx * lx + ny * ly + nz * lz) / ll);
        const float light = ambient + (1 - ambient) * diffuse;
        Rgba c {base.r * light, base.g * light, base.b * light, base.a};
        // Blinn highlight with the half vector between light and view (0, 0, 1).
        float hx = lx / ll, hy = ly / ll, hz = lz / ll + 1;
        const float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
        hx /= hl;
        hy /= hl;
        hz /= hl;
        const float highlight = std::pow(std::max(0.0f, nx * hx + ny * hy + nz * hz), 40.0f) * specular;
        c.r = Clamp01(c.r + highlight);
        c.g = Clamp01(c.g + highlight);
        c.b = Clamp01(c.b + highlight);
        return c;
    };
}

void FillShape(Image& img, const Sdf& shape, const Paint& paint) {
    for (int y = 0; y < img.Height(); ++y) {
        for (int x = 0; x < img.Width(); ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float cover = Clamp01(0.5f - shape(px, py));
            if (cover > 0) img.Blend(x, y, paint(px, py), cover);
        }
    }
}

void FillShape(Image& img, const Sdf& shape, const Rgba& color) { FillShape(img, shape, Solid(color)); }

void StrokeShape(Image& img, const Sdf& shape, float width, const Rgba& color) {
    const float half = width / 2;
    FillShape(img, [&](float x, float y) { return std::fabs(shape(x, y)) - half; }, color);
}

void Bevel(Image& img, const Sdf& shape, float width, float strength) {
    const float lx = -0.7071f, ly = -0.7071f;
    for (int y = 0; y < img.Height(); ++y) {
        for (int x = 0; x < img.Width(); ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float d = shape(px, py);
            if (d >= 0.5f || -d > width) continue;
            // Outward normal from the distance field's gradient.
            const float gx = shape(px + 0.5f, py) - shape(px - 0.5f, py);
            const float gy = shape(px, py + 0.5f) - shape(px, py - 0.5f);
            const float gl = Len(gx, gy);
            if (gl < 1e-6f) continue;
            const float facing = (gx * lx + gy * ly) / gl;
            const float falloff = 1 - Clamp01(-d / width);
            Rgba& p = img.At(x, y);
            const float a = p.a;
            p = Shade(p, facing * falloff * strength);
            p.a = a;
        }
    }
}

Image Blur(const Image& img, int radius) {
    if (radius <= 0) return img;
    const int w = img.Width(), h = img.Height();
    // Colour is carried premultiplied so that transparent pixels add no tint.
    std::vector<Rgba> a(static_cast<size_t>(w) * h), b(a.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba& p = img.At(x, y);
            a[static_cast<size_t>(y) * w + x] = {p.r * p.a, p.g * p.a, p.b * p.a, p.a};
        }
    auto pass = [&](std::vector<Rgba>& src, std::vector<Rgba>& dst, bool horizontal) {
        const int n = horizontal ? w : h, lines = horizontal ? h : w;
        for (int l = 0; l < lines; ++l) {
            for (int i = 0; i < n; ++i) {
                Rgba s;
                for (int k = -radius; k <= radius; ++k) {
                    const int j = i + k;
                    if (j < 0 || j >= n) continue;
                    const Rgba& q = horizontal ? src[static_cast<size_t>(l) * w + j] : src[static_cast<size_t>(j) * w + l];
                    s.r += q.r;
                    s.g += q.g;
                    s.b += q.b;
                    s.a += q.a;
                }
                const float inv = 1.0f / (2 * radius + 1);
                Rgba& o = horizontal ? dst[static_cast<size_t>(l) * w + i] : dst[static_cast<size_t>(i) * w + l];
                o = {s.r * inv, s.g * inv, s.b * inv, s.a * inv};
            }
        }
    };
    for (int it = 0; it < 3; ++it) {
        pass(a, b, true);
        pass(b, a, false);
    }
    Image out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba& p = a[static_cast<size_t>(y) * w + x];
            out.At(x, y) = p.a > 1e-6f ? Rgba {p.r / p.a, p.g / p.a, p.b / p.a, p.a} : Rgba {};
        }
    return out;
}

void DropShadow(Image& img, int dx, int dy, int blur, const Rgba& shadow) {
    Image silhouette(img.Width(), img.Height());
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x)
            if (img.Contains(x - dx, y - dy))
                silhouette.At(x, y) = {shadow.r, shadow.g, shadow.b, img.At(x - dx, y - dy).a * shadow.a};
    Image result = Blur(silhouette, blur);
    result.Draw(img, 0, 0);
    img = std::move(result);
}

void Outline(Image& img, float width, const Rgba& color) {
    const int w = img.Width(), h = img.Height();
    const int r = static_cast<int>(std::ceil(width)) + 1;
    Image ring(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // Coverage of the grown silhouette: the strongest neighbour within
            // the width, faded over the last pixel.
            float best = 0;
            for (int j = -r; j <= r; ++j)
                for (int i = -r; i <= r; ++i) {
                    if (!img.Contains(x + i, y + j)) continue;
                    const float a = img.At(x + i, y + j).a;
                    if (a <= 0) continue;
                    const float fall = Clamp01(width + 0.5f - Len(static_cast<float>(i), static_cast<float>(j)));
                    best = std::max(best, a * fall);
                }
            ring.At(x, y) = {color.r, color.g, color.b, best * color.a};
        }
    }
    ring.Draw(img, 0, 0);
    img = std::move(ring);
}

}  // namespace assetgen
