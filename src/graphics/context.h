// c_GraphicsContext: the drawing state kept between calls (colour, alpha,
// blend, scissor, the current matrix with its stack, the font). The matrix
// lives here on the CPU and reaches the renderer only when something is drawn.
#pragma once

#include "graphics/image.h"
#include "runtime/runtime.h"

class c_GraphicsContext : public Object {
 public:
  c_Image* m_defaultFont = nullptr;
  c_Image* m_font = nullptr;
  int m_firstChar = 0;
  int m_matrixSp = 0;  // floats in use on m_matrixStack, 6 per saved matrix
  float m_ix = 1, m_iy = 0, m_jx = 0, m_jy = 1, m_tx = 0, m_ty = 0;
  int m_tformed = 0;
  int m_matDirty = 0;  // changed since last sent to the render device
  float m_color_r = 0, m_color_g = 0, m_color_b = 0;
  float m_alpha = 0;
  int m_blend = 0;
  float m_scissor_x = 0, m_scissor_y = 0, m_scissor_width = 0,
        m_scissor_height = 0;
  Array<float> m_matrixStack;

  c_GraphicsContext* m_new();
  // Sends a changed matrix to the render device before a draw.
  int p_Validate();
  void mark() override;

  // Matrix operations shared by the module functions.
  void SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
  // Applies (a..f) first, then the current matrix.
  void Transform(float a, float b, float c, float d, float e, float f);
  void PushMatrix();
  void PopMatrix();
};
