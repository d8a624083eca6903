// c_GraphicsContext: the matrix, its stack, and sending it to the renderer.
#include "graphics/context.h"

#include "graphics/graphics.h"

namespace {
// Room for 32 saved matrices before the stack has to grow.
const int kInitialStackFloats = 192;
}

c_GraphicsContext* c_GraphicsContext::m_new() {
  gc_assign(m_matrixStack, Array<float>(kInitialStackFloats));
  return this;
}

void c_GraphicsContext::mark() {
  Object::mark();
  gc_enqueue(m_defaultFont);
  gc_enqueue(m_font);
  gc_enqueue(m_matrixStack);
}

int c_GraphicsContext::p_Validate() {
  if (m_matDirty) {
    bb_graphics_renderDevice->SetMatrix(m_ix, m_iy, m_jx, m_jy, m_tx, m_ty);
    m_matDirty = 0;
  }
  return 0;
}

void c_GraphicsContext::SetMatrix(float ix, float iy, float jx, float jy,
                                  float tx, float ty) {
  m_ix = ix;
  m_iy = iy;
  m_jx = jx;
  m_jy = jy;
  m_tx = tx;
  m_ty = ty;
  m_tformed =
      (ix != 1 || iy != 0 || jx != 0 || jy != 1 || tx != 0 || ty != 0) ? 1 : 0;
  m_matDirty = 1;
}

void c_GraphicsContext::Transform(float a, float b, float c, float d, float e,
                                  float f) {
  SetMatrix(m_ix * a + m_jx * b, m_iy * a + m_jy * b,
            m_ix * c + m_jx * d, m_iy * c + m_jy * d,
            m_ix * e + m_jx * f + m_tx, m_iy * e + m_jy * f + m_ty);
}

void c_GraphicsContext::PushMatrix() {
  int length = m_matrixStack.Length();
  if (m_matrixSp + 6 > length) {
    gc_assign(m_matrixStack, m_matrixStack.Resize(length < 6 ? 6 : length * 2));
  }
  float* top = m_matrixStack.Data() + m_matrixSp;
  top[0] = m_ix;
  top[1] = m_iy;
  top[2] = m_jx;
  top[3] = m_jy;
  top[4] = m_tx;
  top[5] = m_ty;
  m_matrixSp += 6;
}

void c_GraphicsContext::PopMatrix() {
  // Popping more than was pushed would read below the stack.
  if (m_matrixSp < 6) bbError("Matrix stack underflow");
  m_matrixSp -= 6;
  const float* top = m_matrixStack.Data() + m_matrixSp;
  SetMatrix(top[0], top[1], top[2], top[3], top[4], top[5]);
}
