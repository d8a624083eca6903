// Particles and background: the spark pool and the eased background colour
// that starts the round's and the menu's frames.
#include "game/my_app.h"

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
    a = a < 0.0f ? 0.0f : (a > 1.0f ? 1.0f : a);
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

int c_MyApp::p_ThrowParticle(float, float, int, int, float, float) { return 0; }
int c_MyApp::p_DoParticles(float) { return 0; }
int c_MyApp::p_ResetStars(int n) {
  m_StarCount = n;
  p_SeedRnd(-37171650);
  return 0;
}
