// Distance functions for the generator's shapes. Exact where cheap, and
// always exact near the edge, which is all anti-aliasing needs.
#include "shape.h"

#include <cmath>
#include <utility>

namespace assetgen {

namespace {

float SegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
  Vec2 pa = p - a, ba = b - a;
  float len2 = ba.Dot(ba);
  float h = len2 > 0 ? Clamp(pa.Dot(ba) / len2, 0.0f, 1.0f) : 0.0f;
  return (pa - ba * h).Length();
}

Box BoundsOf(const std::vector<Vec2>& pts) {
  Box b{pts[0].x, pts[0].y, pts[0].x, pts[0].y};
  for (const Vec2& p : pts) b = b.Union({p.x, p.y, p.x, p.y});
  return b;
}

}  // namespace

Shape Circle(Vec2 c, float r) {
  return {[c, r](Vec2 p) { return (p - c).Length() - r; }, Box::Around(c, r)};
}

Shape Ring(Vec2 c, float r, float thickness) {
  float h = thickness * 0.5f;
  return {[c, r, h](Vec2 p) { return std::fabs((p - c).Length() - r) - h; }, Box::Around(c, r + h)};
}

Shape RoundBox(Vec2 c, Vec2 half, float radius) {
  return {[c, half, radius](Vec2 p) {
            float qx = std::fabs(p.x - c.x) - half.x + radius;
            float qy = std::fabs(p.y - c.y) - half.y + radius;
            float outside = Vec2(std::max(qx, 0.0f), std::max(qy, 0.0f)).Length();
            return outside + std::min(std::max(qx, qy), 0.0f) - radius;
          },
          {c.x - half.x, c.y - half.y, c.x + half.x, c.y + half.y}};
}

Shape Capsule(Vec2 a, Vec2 b, float r) {
  Box bounds = Box{a.x, a.y, a.x, a.y}.Union({b.x, b.y, b.x, b.y}).Grown(r);
  return {[a, b, r](Vec2 p) { return SegmentDistance(p, a, b) - r; }, bounds};
}

Shape Polygon(std::vector<Vec2> pts) {
  Box bounds = BoundsOf(pts);
  return {[pts = std::move(pts)](Vec2 p) {
            float best = 1e30f;
            bool inside = false;
            size_t n = pts.size();
            for (size_t i = 0, j = n - 1; i < n; j = i++) {
              const Vec2& a = pts[i];
              const Vec2& b = pts[j];
              best = std::min(best, SegmentDistance(p, a, b));
              if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
            }
            return inside ? -best : best;
          },
          bounds};
}

Shape RegularPolygon(Vec2 c, float r, int sides, float rotationDeg) {
  std::vector<Vec2> pts;
  for (int i = 0; i < sides; ++i) pts.push_back(Polar(c, r, rotationDeg + 360.0f * i / sides));
  return Polygon(std::move(pts));
}

Shape Star(Vec2 c, float outer, float inner, int points, float rotationDeg) {
  std::vector<Vec2> pts;
  for (int i = 0; i < points * 2; ++i)
    pts.push_back(Polar(c, i % 2 ? inner : outer, rotationDeg + 180.0f * i / points));
  return Polygon(std::move(pts));
}

Shape Arc(Vec2 c, float r, float a0, float a1, float thickness) {
  float h = thickness * 0.5f;
  Vec2 e0 = Polar(c, r, a0), e1 = Polar(c, r, a1);
  return {[c, r, h, a0, a1, e0, e1](Vec2 p) {
            Vec2 d = p - c;
            // Screen angle of p with 0 up and clockwise positive, as Polar uses.
            float ang = std::atan2(d.x, -d.y) * 180.0f / kPi;
            float rel = std::fmod(ang - a0 + 720.0f, 360.0f);
            if (rel <= a1 - a0) return std::fabs(d.Length() - r) - h;
            return std::min((p - e0).Length(), (p - e1).Length()) - h;
          },
          Box::Around(c, r + h)};
}

Shape Gear(Vec2 c, float rootR, float tipR, int teeth, float rotationDeg) {
  std::vector<Vec2> pts;
  float step = 360.0f / teeth;
  for (int i = 0; i < teeth; ++i) {
    float a = rotationDeg + step * i;
    pts.push_back(Polar(c, rootR, a - step * 0.30f));
    pts.push_back(Polar(c, tipR, a - step * 0.17f));
    pts.push_back(Polar(c, tipR, a + step * 0.17f));
    pts.push_back(Polar(c, rootR, a + step * 0.30f));
  }
  return Polygon(std::move(pts));
}

Shape Union(Shape a, Shape b) {
  Box bounds = a.bounds.Union(b.bounds);
  return {[a = std::move(a.dist), b = std::move(b.dist)](Vec2 p) { return std::min(a(p), b(p)); }, bounds};
}

Shape Subtract(Shape a, Shape b) {
  Box bounds = a.bounds;
  return {[a = std::move(a.dist), b = std::move(b.dist)](Vec2 p) { return std::max(a(p), -b(p)); }, bounds};
}

Shape Intersect(Shape a, Shape b) {
  Box bounds = a.bounds.Intersect(b.bounds);
  return {[a = std::move(a.dist), b = std::move(b.dist)](Vec2 p) { return std::max(a(p), b(p)); }, bounds};
}

Shape Offset(Shape a, float d) {
  Box bounds = a.bounds.Grown(std::max(d, 0.0f));
  return {[a = std::move(a.dist), d](Vec2 p) { return a(p) - d; }, bounds};
}

Shape Outline(Shape a, float width) {
  float h = width * 0.5f;
  Box bounds = a.bounds.Grown(h);
  return {[a = std::move(a.dist), h](Vec2 p) { return std::fabs(a(p)) - h; }, bounds};
}

Shape Rotated(Shape a, Vec2 centre, float degrees) {
  float s = std::sin(Radians(degrees)), co = std::cos(Radians(degrees));
  // A rotated box stays inside the circle around the centre through its far corner.
  const Box& b = a.bounds;
  float r = 0;
  for (Vec2 corner : {Vec2(b.x0, b.y0), Vec2(b.x1, b.y0), Vec2(b.x0, b.y1), Vec2(b.x1, b.y1)})
    r = std::max(r, (corner - centre).Length());
  return {[a = std::move(a.dist), centre, s, co](Vec2 p) {
            Vec2 d = p - centre;
            return a(Vec2(centre.x + d.x * co + d.y * s, centre.y - d.x * s + d.y * co));
          },
          Box::Around(centre, r)};
}

Shape Moved(Shape a, Vec2 delta) {
  Box b = a.bounds;
  return {[a = std::move(a.dist), delta](Vec2 p) { return a(p - delta); },
          {b.x0 + delta.x, b.y0 + delta.y, b.x1 + delta.x, b.y1 + delta.y}};
}

Shape Scaled(Shape a, Vec2 centre, float k) {
  Box b = a.bounds;
  Box nb{centre.x + (b.x0 - centre.x) * k, centre.y + (b.y0 - centre.y) * k,
         centre.x + (b.x1 - centre.x) * k, centre.y + (b.y1 - centre.y) * k};
  return {[a = std::move(a.dist), centre, k](Vec2 p) { return a(centre + (p - centre) * (1.0f / k)) * k; }, nb};
}

}  // namespace assetgen
