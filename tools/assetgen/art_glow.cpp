// Rings, circles and soft lights (banks 85 and 86), white so they tint.
#include <cmath>

#include "art.h"

namespace assetgen {

namespace {

// Soft light: alpha falls from the centre like a lamp's glow.
Paint Falloff(Vec2 c, float r, float power) {
  return [c, r, power](Vec2 p) {
    float t = Clamp(1.0f - (p - c).Length() / r, 0.0f, 1.0f);
    return Color(1, 1, 1, std::pow(t, power));
  };
}

void DialRing(Pen& pen) {
  Vec2 c = pen.Centre();
  // A translucent band under the mode icons, its edges bright, ticks turning with it.
  pen.Fill(Ring(c, 75, 30), Hex(0x0a1430, 0.55f));
  pen.Fill(Ring(c, 60, 2.2f), Hex(0xffffff, 0.85f));
  pen.Fill(Ring(c, 90, 2.2f), Hex(0xffffff, 0.85f));
  pen.Fill(Ring(c, 96, 1.0f), Hex(0xffffff, 0.35f));
  for (int k = 0; k < 45; ++k) {
    float a = k * 8.0f;
    bool major = k % 4 == 0;
    pen.Fill(Capsule(Polar(c, major ? 79 : 84, a), Polar(c, 88, a), major ? 1.1f : 0.6f),
             Hex(0xffffff, major ? 0.8f : 0.45f));
  }
  for (int k = 0; k < 24; ++k) pen.Fill(Arc(c, 53, k * 15.0f, k * 15.0f + 7.0f, 1.4f), Hex(0xffffff, 0.4f));
}

}  // namespace

void PaintCircle(Pen& pen, int frame) {
  Vec2 c = pen.Centre();
  switch (frame) {
    case 0: pen.Fill(Circle(c, 124), Hex(0xffffff)); break;
    case 1: pen.Fill(Ring(c, 120, 6), Hex(0xffffff)); break;
    case 2:  // a ring with a soft halo
      pen.Glow(Ring(c, 112, 4), Hex(0xffffff, 0.45f), 12, Blend::Over);
      pen.Fill(Ring(c, 112, 4), Hex(0xffffff));
      break;
    default: DialRing(pen); break;
  }
}

void PaintLight(Pen& pen, int frame) {
  Vec2 c = pen.Centre();
  switch (frame) {
    case 0: pen.Fill(Circle(c, 15.5f), Falloff(c, 15.5f, 1.5f)); break;
    case 1:
      pen.Fill(Circle(c, 15.5f), Falloff(c, 15.5f, 3.0f));
      pen.Fill(Circle(c, 3.5f), Hex(0xffffff), Blend::Over, 2.0f);
      break;
    case 2:  // a four-pointed flare
      pen.Fill(Circle(c, 12), Falloff(c, 12, 3.0f));
      pen.Fill(Star(c, 15, 1.6f, 4, 0), Falloff(c, 15, 1.2f));
      break;
    default:
      pen.Fill(Ring(c, 10, 5), [c](Vec2 p) {
        float d = std::fabs((p - c).Length() - 10) / 4.0f;
        return Color(1, 1, 1, Clamp(1.0f - d, 0, 1));
      });
      break;
  }
}

}  // namespace assetgen
