// Formulas follow the published references: IEC 61966-2-1 for sRGB, CIE
// 15 for CIELAB (D65 white), Sharma, Wu and Dalal's statement of CIEDE2000,
// and the severity 1.0 matrices of Machado et al., applied in linear RGB.
#include "colour.h"

#include <cmath>

namespace assetgen {

namespace {

constexpr double kPiD = 3.14159265358979323846;

double Deg(double radians) { return radians * 180.0 / kPiD; }
double Rad(double degrees) { return degrees * kPiD / 180.0; }

double LabF(double t) {
  const double e = 216.0 / 24389.0, k = 24389.0 / 27.0;
  return t > e ? std::cbrt(t) : (k * t + 16.0) / 116.0;
}

// Hue angle in degrees 0..360; zero for a grey.
double Hue(double b, double a) {
  if (a == 0 && b == 0) return 0;
  double h = Deg(std::atan2(b, a));
  return h < 0 ? h + 360.0 : h;
}

}  // namespace

float SrgbToLinear(float v) {
  return v <= 0.04045f ? v / 12.92f : std::pow((v + 0.055f) / 1.055f, 2.4f);
}

float LinearToSrgb(float v) {
  v = Clamp(v, 0.0f, 1.0f);
  return v <= 0.0031308f ? v * 12.92f : 1.055f * std::pow(v, 1.0f / 2.4f) - 0.055f;
}

Lab LinearToLab(const Color& c) {
  double x = 0.4124564 * c.r + 0.3575761 * c.g + 0.1804375 * c.b;
  double y = 0.2126729 * c.r + 0.7151522 * c.g + 0.0721750 * c.b;
  double z = 0.0193339 * c.r + 0.1191920 * c.g + 0.9503041 * c.b;
  double fx = LabF(x / 0.95047), fy = LabF(y), fz = LabF(z / 1.08883);
  return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

double DeltaE2000(const Lab& x, const Lab& y) {
  double c1 = std::hypot(x.a, x.b), c2 = std::hypot(y.a, y.b);
  double cMean7 = std::pow((c1 + c2) / 2.0, 7.0);
  double g = 0.5 * (1.0 - std::sqrt(cMean7 / (cMean7 + std::pow(25.0, 7.0))));
  double a1 = x.a * (1.0 + g), a2 = y.a * (1.0 + g);
  double cp1 = std::hypot(a1, x.b), cp2 = std::hypot(a2, y.b);
  double hp1 = Hue(x.b, a1), hp2 = Hue(y.b, a2);

  double dL = y.L - x.L, dC = cp2 - cp1, dh = 0;
  if (cp1 * cp2 != 0) {
    dh = hp2 - hp1;
    if (dh > 180) dh -= 360;
    else if (dh < -180) dh += 360;
  }
  double dH = 2.0 * std::sqrt(cp1 * cp2) * std::sin(Rad(dh / 2.0));

  double lMean = (x.L + y.L) / 2.0, cpMean = (cp1 + cp2) / 2.0;
  double hMean = hp1 + hp2;
  if (cp1 * cp2 != 0) {
    if (std::fabs(hp1 - hp2) > 180) hMean += hMean < 360 ? 360 : -360;
    hMean /= 2.0;
  }
  double t = 1.0 - 0.17 * std::cos(Rad(hMean - 30)) + 0.24 * std::cos(Rad(2 * hMean)) +
             0.32 * std::cos(Rad(3 * hMean + 6)) - 0.20 * std::cos(Rad(4 * hMean - 63));
  double l50 = (lMean - 50) * (lMean - 50);
  double sL = 1.0 + 0.015 * l50 / std::sqrt(20.0 + l50);
  double sC = 1.0 + 0.045 * cpMean, sH = 1.0 + 0.015 * cpMean * t;
  double cp7 = std::pow(cpMean, 7.0);
  double rT = -2.0 * std::sqrt(cp7 / (cp7 + std::pow(25.0, 7.0))) *
              std::sin(Rad(60.0 * std::exp(-std::pow((hMean - 275.0) / 25.0, 2.0))));
  double l = dL / sL, c = dC / sC, h = dH / sH;
  return std::sqrt(l * l + c * c + h * h + rT * c * h);
}

const char* VisionName(Vision v) {
  switch (v) {
    case Vision::Deuteranopia: return "deuteranopia";
    case Vision::Protanopia: return "protanopia";
    case Vision::Tritanopia: return "tritanopia";
    default: return "normal vision";
  }
}

Color Simulate(Vision v, const Color& c) {
  static const float kMatrices[3][9] = {
      {0.367322f, 0.860646f, -0.227968f, 0.280085f, 0.672501f, 0.047413f, -0.011820f, 0.042940f, 0.968881f},
      {0.152286f, 1.052583f, -0.204868f, 0.114503f, 0.786281f, 0.099216f, -0.003882f, -0.048116f, 1.051998f},
      {1.255528f, -0.076749f, -0.178779f, -0.078411f, 0.930809f, 0.147602f, 0.004733f, 0.691367f, 0.303900f},
  };
  if (v == Vision::Normal) return c;
  const float* m = kMatrices[static_cast<int>(v) - 1];
  auto row = [&](int i) { return Clamp(m[3 * i] * c.r + m[3 * i + 1] * c.g + m[3 * i + 2] * c.b, 0.0f, 1.0f); };
  return {row(0), row(1), row(2), c.a};
}

}  // namespace assetgen
