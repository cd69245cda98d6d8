#pragma once
// Procedural drawing on assetgen::Image: shapes as signed distance functions
// (negative inside, in pixels) filled with anti-aliased edges, paints
// (solid, gradients, sphere shading), bevels, outlines, blur and drop shadows.
// Pixel (x, y) is sampled at its centre (x + 0.5, y + 0.5).
#include <functional>
#include <vector>

#include "image.h"

namespace assetgen {

struct Vec2 {
    float x = 0, y = 0;
};

using Sdf = std::function<float(float x, float y)>;
using Paint = std::function<Rgba(float x, float y)>;

// Shapes.
Sdf Circle(float cx, float cy, float r);
Sdf Ellipse(float cx, float cy, float rx, float ry);
Sdf Box(float left, float top, float right, float bottom);
Sdf RoundedBox(float left, float top, float right, float bottom, float radius);
// A closed polygon (any winding, may be concave; even-odd inside test).
Sdf Polygon(std::vector<Vec2> points);
// A segment with round caps, `half_width` on each side.
Sdf Capsule(float ax, float ay, float bx, float by, float half_width);
Sdf Union(Sdf a, Sdf b);
Sdf Intersect(Sdf a, Sdf b);
Sdf Subtract(Sdf a, Sdf b);
// The shape grown by `amount` pixels (shrunk when negative).
Sdf Offset(Sdf s, float amount);
// The shape rotated by `degrees` (clockwise on screen) about (cx, cy).
Sdf Rotate(Sdf s, float cx, float cy, float degrees);

// Paints.
Paint Solid(const Rgba& c);
// From c0 at (x0, y0) to c1 at (x1, y1), constant across the direction.
Paint LinearGradient(float x0, float y0, const Rgba& c0, float x1, float y1, const Rgba& c1);
// From `inner` at the centre to `outer` at radius r and beyond.
Paint RadialGradient(float cx, float cy, float r, const Rgba& inner, const Rgba& outer);
// A lit sphere of colour `base` at (cx, cy) radius r; light from the upper
// left, a diffuse term, an ambient floor and a white specular spot.
Paint SphereShade(float cx, float cy, float r, const Rgba& base, float ambient = 0.35f, float specular = 0.6f);

// Fills the shape with anti-aliased edges (a one-pixel ramp across the edge).
void FillShape(Image& img, const Sdf& shape, const Paint& paint);
void FillShape(Image& img, const Sdf& shape, const Rgba& color);
// A line of `width` pixels centred on the shape's edge.
void StrokeShape(Image& img, const Sdf& shape, float width, const Rgba& color);

// Lightens the edges of the shape that face the light (upper left) and
// darkens the others, over `width` pixels inward; `strength` 0..1.
void Bevel(Image& img, const Sdf& shape, float width, float strength);

// Box blur of every channel (alpha-weighted colour), `radius` pixels, run
// three times for a near-Gaussian result.
Image Blur(const Image& img, int radius);
// Composites a blurred, offset silhouette of the image's content beneath it.
void DropShadow(Image& img, int dx, int dy, int blur, const Rgba& shadow);
// Draws an outline of `width` pixels (anti-aliased) around the image's
// opaque content, beneath it.
void Outline(Image& img, float width, const Rgba& color);

}  // namespace assetgen
