// Colour science for checking that the player colours stay apart: sRGB
// transfer, CIELAB, the CIEDE2000 difference, and the colour-vision
// deficiency simulations of Machado, Oliveira and Fernandes (2009) at full
// severity. Shared by the preview's contact sheet and the asset tests, so
// both judge the art by the same arithmetic.
#pragma once

#include "geometry.h"

namespace assetgen {

float SrgbToLinear(float v);
float LinearToSrgb(float v);

struct Lab {
  double L = 0, a = 0, b = 0;
};

// Linear RGB (0..1, D65 white) to CIELAB.
Lab LinearToLab(const Color& linear);
double DeltaE2000(const Lab& x, const Lab& y);

enum class Vision { Normal, Deuteranopia, Protanopia, Tritanopia };
constexpr Vision kVisions[] = {Vision::Normal, Vision::Deuteranopia, Vision::Protanopia, Vision::Tritanopia};
const char* VisionName(Vision v);

// A linear RGB colour as seen with that vision, clamped to 0..1.
Color Simulate(Vision v, const Color& linear);

}  // namespace assetgen
