// A floating-point RGBA picture and the pen that draws shapes into one frame
// of it. Shapes are in design units; the pen's scale is the resolution level,
// so the same drawing code makes every level at its own pixel density.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "shape.h"

namespace assetgen {

using Paint = std::function<Color(Vec2)>;

Paint Solid(Color c);
Paint Linear(Vec2 p0, Color c0, Vec2 p1, Color c1);
Paint Radial(Vec2 centre, float radius, Color inner, Color outer);

enum class Blend { Over, Add, Erase };

class Canvas {
 public:
  Canvas(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Premultiplied colour of one pixel.
  float* At(int x, int y) { return &pixels_[(static_cast<size_t>(y) * width_ + x) * 4]; }
  const float* At(int x, int y) const { return &pixels_[(static_cast<size_t>(y) * width_ + x) * 4]; }
  // Straight-alpha 8-bit RGBA, row by row, as PNG wants it.
  std::vector<uint8_t> ToRgba8() const;

 private:
  int width_, height_;
  std::vector<float> pixels_;
};

class Pen {
 public:
  // Draws into the rectangle at pixel (originX, originY) of w x h design units.
  Pen(Canvas& canvas, int originX, int originY, float w, float h, float scale);
  float W() const { return w_; }
  float H() const { return h_; }
  float Scale() const { return scale_; }
  Vec2 Centre() const { return {w_ * 0.5f, h_ * 0.5f}; }

  // feather widens the anti-aliased edge to that many design units (soft shapes).
  void Fill(const Shape& shape, const Paint& paint, Blend blend = Blend::Over, float feather = 0.0f);
  void Fill(const Shape& shape, Color c, Blend blend = Blend::Over, float feather = 0.0f) {
    Fill(shape, Solid(c), blend, feather);
  }
  // A glow: alpha falls off smoothly over `radius` outside the shape.
  void Glow(const Shape& shape, Color c, float radius, Blend blend = Blend::Add);

 private:
  template <class Coverage>
  void Paint_(const Box& box, const Paint& paint, Blend blend, Coverage coverage);

  Canvas& canvas_;
  int ox_, oy_;
  float w_, h_, scale_;
};

}  // namespace assetgen
