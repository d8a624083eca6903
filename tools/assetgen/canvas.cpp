// Coverage from signed distance: a pixel whose centre is d pixels inside an
// edge is covered 0.5 + d, clamped; this gives one-pixel anti-aliasing at any
// resolution without supersampling.
#include "canvas.h"

#include <cmath>

namespace assetgen {

Paint Solid(Color c) {
  return [c](Vec2) { return c; };
}

Paint Linear(Vec2 p0, Color c0, Vec2 p1, Color c1) {
  Vec2 d = p1 - p0;
  float len2 = d.Dot(d);
  return [=](Vec2 p) { return Mix(c0, c1, Clamp((p - p0).Dot(d) / len2, 0.0f, 1.0f)); };
}

Paint Radial(Vec2 centre, float radius, Color inner, Color outer) {
  return [=](Vec2 p) { return Mix(inner, outer, Clamp((p - centre).Length() / radius, 0.0f, 1.0f)); };
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height * 4, 0.0f) {}

std::vector<uint8_t> Canvas::ToRgba8() const {
  std::vector<uint8_t> out(static_cast<size_t>(width_) * height_ * 4);
  for (size_t i = 0; i < out.size(); i += 4) {
    const float* p = &pixels_[i];
    float a = Clamp(p[3], 0.0f, 1.0f);
    auto byte = [](float v) { return static_cast<uint8_t>(std::lround(Clamp(v, 0.0f, 1.0f) * 255.0f)); };
    // Fully transparent pixels keep black so the file compresses and stays stable.
    out[i + 3] = byte(a);
    if (out[i + 3] == 0) continue;
    out[i + 0] = byte(p[0] / a);
    out[i + 1] = byte(p[1] / a);
    out[i + 2] = byte(p[2] / a);
  }
  return out;
}

Pen::Pen(Canvas& canvas, int originX, int originY, float w, float h, float scale)
    : canvas_(canvas), ox_(originX), oy_(originY), w_(w), h_(h), scale_(scale) {}

template <class Coverage>
void Pen::Paint_(const Box& box, const Paint& paint, Blend blend, Coverage coverage) {
  // Clip to the frame so nothing bleeds into a neighbour.
  Box clip = box.Intersect({0, 0, w_, h_});
  int px0 = static_cast<int>(std::floor(clip.x0 * scale_));
  int py0 = static_cast<int>(std::floor(clip.y0 * scale_));
  int px1 = static_cast<int>(std::ceil(clip.x1 * scale_));
  int py1 = static_cast<int>(std::ceil(clip.y1 * scale_));
  float inv = 1.0f / scale_;
  // Coarse levels average 3 x 3 samples per pixel, so details smaller than
  // a pixel keep their true weight instead of the one-pixel edge's guess.
  int sub = scale_ < 2.0f ? 3 : 1;
  float subScale = scale_ * sub;
  for (int py = py0; py < py1; ++py) {
    for (int px = px0; px < px1; ++px) {
      Vec2 p((px + 0.5f) * inv, (py + 0.5f) * inv);
      float cov = 0.0f;
      for (int sy = 0; sy < sub; ++sy)
        for (int sx = 0; sx < sub; ++sx)
          cov += coverage(Vec2((px + (sx + 0.5f) / sub) * inv, (py + (sy + 0.5f) / sub) * inv), subScale);
      cov /= static_cast<float>(sub * sub);
      if (cov <= 0.0f) continue;
      Color c = paint(p);
      float a = Clamp(c.a * cov, 0.0f, 1.0f);
      float* d = canvas_.At(ox_ + px, oy_ + py);
      if (blend == Blend::Erase) {
        for (int k = 0; k < 4; ++k) d[k] *= 1.0f - a;
      } else if (blend == Blend::Add) {
        d[0] += c.r * a; d[1] += c.g * a; d[2] += c.b * a;
        d[3] = std::min(1.0f, d[3] + a);
      } else {
        float keep = 1.0f - a;
        d[0] = c.r * a + d[0] * keep; d[1] = c.g * a + d[1] * keep;
        d[2] = c.b * a + d[2] * keep; d[3] = a + d[3] * keep;
      }
    }
  }
}

void Pen::Fill(const Shape& shape, const Paint& paint, Blend blend, float feather) {
  Box box = shape.bounds.Grown(std::max(1.0f / scale_, feather) + 1.0f / scale_);
  Paint_(box, paint, blend, [&](Vec2 p, float pixelsPerUnit) {
    float edge = std::max(1.0f, feather * pixelsPerUnit);  // edge width in (sub)pixels
    return Clamp(0.5f - shape.dist(p) * pixelsPerUnit / edge, 0.0f, 1.0f);
  });
}

void Pen::Glow(const Shape& shape, Color c, float radius, Blend blend) {
  Box box = shape.bounds.Grown(radius + 1.0f / scale_);
  Paint_(box, Solid(c), blend, [&](Vec2 p, float) {
    float d = shape.dist(p);
    if (d <= 0.0f) return 1.0f;
    float t = 1.0f - d / radius;
    return t <= 0.0f ? 0.0f : t * t;
  });
}

}  // namespace assetgen
