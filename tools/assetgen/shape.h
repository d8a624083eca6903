// Resolution-independent shapes as signed distance functions in design units.
// Negative inside, positive outside; the canvas turns the distance into
// anti-aliased coverage at whatever pixel density it is drawing.
#pragma once

#include <functional>
#include <vector>

#include "geometry.h"

namespace assetgen {

struct Shape {
  std::function<float(Vec2)> dist;
  Box bounds;  // everything inside lies within this box
};

Shape Circle(Vec2 c, float r);
Shape Ring(Vec2 c, float r, float thickness);
Shape RoundBox(Vec2 c, Vec2 half, float radius);
Shape Capsule(Vec2 a, Vec2 b, float r);
// Any simple or self-touching polygon (even-odd rule).
Shape Polygon(std::vector<Vec2> pts);
Shape RegularPolygon(Vec2 c, float r, int sides, float rotationDeg);
Shape Star(Vec2 c, float outer, float inner, int points, float rotationDeg);
// Stroke along a circular arc from a0 to a1 degrees (0 = up, clockwise), round caps.
Shape Arc(Vec2 c, float r, float a0, float a1, float thickness);
// Gear outline: teeth alternating between radii with trapezoid flanks.
Shape Gear(Vec2 c, float rootR, float tipR, int teeth, float rotationDeg);

Shape Union(Shape a, Shape b);
Shape Subtract(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
Shape Offset(Shape a, float d);        // grow (d > 0) or shrink
Shape Outline(Shape a, float width);   // a band of the given width on the edge
// Rotate a shape by degrees about a centre and move it.
Shape Rotated(Shape a, Vec2 centre, float degrees);
Shape Moved(Shape a, Vec2 delta);
Shape Scaled(Shape a, Vec2 centre, float k);

}  // namespace assetgen
