// Particles and background: the spark pool and the eased background colour
// that starts the round's and the menu's frames, and the round start's
// reseed of the generator.
#include <cmath>

#include "game/round_records.h"

namespace {

const float kRandom = -3717.0f;  // angle or speed "pick one at random"

}  // namespace

int c_MyApp::p_DoBG(int r, int g, int b, float alpha) {
  if (r >= -122) m_BgTargetR = float(r);
  if (g >= -122) m_BgTargetG = float(g);
  if (b >= -122) m_BgTargetB = float(b);
  m_BgR -= (m_BgR - m_BgTargetR) * 0.125f;
  m_BgG -= (m_BgG - m_BgTargetG) * 0.125f;
  m_BgB -= (m_BgB - m_BgTargetB) * 0.125f;
  float a = alpha;
  if (alpha == -123.0f)
    a = 1.0f;
  else
    a = lk_clamp(a, 0.0f, 1.0f);
  p_CLS2D(m_BgR, m_BgG, m_BgB, a);
  return 0;
}

int c_MyApp::p_FreeParticle() {
  const int top = m_ParticleMax < 509 ? m_ParticleMax : 509;
  for (int r = top; r >= 0; --r)
    if (m_Particles[10 * r] == 0.0f) return 10 * r;
  return -1;
}

int c_MyApp::p_ResetParticles(int n) {
  if (n >= 1 && n <= 499) m_ParticleMax = n;
  if (m_ParticleMax < 0) return 0;
  for (int r = 0; r <= m_ParticleMax && r < 510; ++r) m_Particles[10 * r] = 0.0f;
  return 0;
}

int c_MyApp::p_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed) {
  using lk_round::Rnd;
  if (angle == kRandom) angle = Rnd(360.0f);
  if (speed == kRandom) speed = 3.0f + Rnd(5.0f);
  const int at = p_FreeParticle();
  if (at < 0) return 0;
  float* p = m_Particles.Data() + at;
  p[0] = float(kind);
  p[1] = x;
  p[2] = y;
  const float a = angle * LK_DEG_TO_RAD;
  p[3] = std::sin(a) * speed;
  p[4] = -std::cos(a) * speed;
  p[5] = Rnd(360.0f);
  p[6] = Rnd(16.0f) - 8.0f;
  p[7] = 0.7f + Rnd(0.6f);
  p[8] = float(colour);
  p[9] = std::floor(Rnd(255.99f));
  return 0;
}

int c_MyApp::p_DoParticles(float scale) {
  p_ResetDraw();
  const int top = m_ParticleMax < 509 ? m_ParticleMax : 509;
  for (int r = 0; r <= top; ++r) {
    float* p = m_Particles.Data() + 10 * r;
    if (p[0] <= 0.0f) continue;
    p[1] += p[3];
    p[2] += p[4];
    p[5] += p[6];
    m_Rot = -p[5];
    const bool spark = p[0] == 4.0f;
    if (spark) {  // sparks slow down as they fade
      p[3] *= 0.96f;
      p[4] *= 0.96f;
    }
    m_Alpha = p[7] > 1.0f ? 1.0f : p[7];
    m_SizeX = m_SizeY = scale;
    p_Ink(lk_trunc(p[8]), 1.0f);
    p_DrawImg(96, p[1], p[2], p[9]);
    p[7] -= 0.01f;
    if (spark) p[7] -= 0.01f;
    if (p[7] < 0.0f) p[0] = 0.0f;
  }
  p_ResetDraw();
  return 0;
}

int c_MyApp::p_ResetStars(int n) {
  if (n >= 1 && n <= 499)
    m_StarCount = n;
  else if (m_StarCount < 0)
    return 0;
  p_SeedRnd(-37171650);
  return 0;
}
