// Small value types shared by the asset generator: points, colours, boxes.
#pragma once

#include <algorithm>
#include <cmath>

namespace assetgen {

constexpr float kPi = 3.14159265358979f;

inline float Radians(float degrees) { return degrees * kPi / 180.0f; }
inline float Clamp(float v, float lo, float hi) { return std::min(std::max(v, lo), hi); }
inline float Mix(float a, float b, float t) { return a + (b - a) * t; }
inline float Smooth(float e0, float e1, float x) {
  float t = Clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

struct Vec2 {
  float x = 0, y = 0;
  Vec2() = default;
  Vec2(float x_, float y_) : x(x_), y(y_) {}
  Vec2 operator+(Vec2 o) const { return {x + o.x, y + o.y}; }
  Vec2 operator-(Vec2 o) const { return {x - o.x, y - o.y}; }
  Vec2 operator*(float s) const { return {x * s, y * s}; }
  float Dot(Vec2 o) const { return x * o.x + y * o.y; }
  float Length() const { return std::sqrt(x * x + y * y); }
};

// Point on a circle; angle 0 is straight up, growing clockwise on screen.
inline Vec2 Polar(Vec2 c, float r, float degrees) {
  float a = Radians(degrees);
  return {c.x + r * std::sin(a), c.y - r * std::cos(a)};
}

// Straight (not premultiplied) colour, components 0..1.
struct Color {
  float r = 0, g = 0, b = 0, a = 0;
  Color() = default;
  Color(float r_, float g_, float b_, float a_ = 1.0f) : r(r_), g(g_), b(b_), a(a_) {}
  Color WithAlpha(float alpha) const { return {r, g, b, a * alpha}; }
  Color Scaled(float k) const { return {r * k, g * k, b * k, a}; }
};

inline Color Mix(Color a, Color b, float t) {
  return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t), Mix(a.a, b.a, t)};
}
inline Color Hex(unsigned rgb, float alpha = 1.0f) {
  return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, alpha};
}

struct Box {
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  static Box Around(Vec2 c, float r) { return {c.x - r, c.y - r, c.x + r, c.y + r}; }
  Box Grown(float d) const { return {x0 - d, y0 - d, x1 + d, y1 + d}; }
  Box Union(const Box& o) const {
    return {std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
  }
  Box Intersect(const Box& o) const {
    return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
  }
};

}  // namespace assetgen

namespace assetgen {

// Deterministic random numbers for art and music (same sequence every run).
class Rng {
 public:
  explicit Rng(unsigned seed) : state_(seed * 2654435761u + 12345u) {}
  unsigned Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  float Unit() { return (Next() >> 8) / 16777216.0f; }  // [0, 1)
  float Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }
  int Below(int n) { return static_cast<int>(Next() % static_cast<unsigned>(n)); }

 private:
  unsigned state_;
};

}  // namespace assetgen
