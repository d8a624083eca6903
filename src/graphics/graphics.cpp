// The drawing API: module globals, frame begin/end, state setters and the
// matrix functions. Drawing and image loading are in draw.cpp and
// load_image.cpp.
#include "graphics/graphics.h"

#include <cmath>

gxtkGraphics* bb_graphics_device = nullptr;
gxtkGraphics* bb_graphics_renderDevice = nullptr;
c_GraphicsContext* bb_graphics_context = nullptr;

namespace {
void MarkRoots() {
  gc_enqueue(bb_graphics_device);
  gc_enqueue(bb_graphics_renderDevice);
  gc_enqueue(bb_graphics_context);
}

// The render device, or a runtime error: state that goes to OpenGL can only
// be set while a frame is being rendered.
gxtkGraphics* RenderDevice() {
  if (!bb_graphics_renderDevice) {
    bbError("Drawing is only possible while a frame is being rendered");
  }
  return bb_graphics_renderDevice;
}

c_GraphicsContext* Context() {
  if (!bb_graphics_context) bb_graphics_Init();
  return bb_graphics_context;
}
}  // namespace

int bb_graphics_Init() {
  static bool registered = false;
  if (!registered) {
    registered = true;
    gc_register_roots(MarkRoots);
  }
  if (!bb_graphics_context) {
    gc_assign(bb_graphics_context, (new c_GraphicsContext)->m_new());
  }
  return 0;
}

int bb_graphics_SetGraphicsDevice(gxtkGraphics* device) {
  gc_assign(bb_graphics_device, device);
  return 0;
}

int bb_graphics_BeginRender() {
  gc_assign(bb_graphics_renderDevice, bb_graphics_device);
  if (!bb_graphics_renderDevice) return 0;
  c_GraphicsContext* ctx = Context();
  ctx->m_matrixSp = 0;
  ctx->SetMatrix(1, 0, 0, 1, 0, 0);
  bb_graphics_SetColor(255, 255, 255);
  bb_graphics_SetAlpha(1);
  bb_graphics_SetBlend(0);
  // The renderer read the window size as the frame began; a scissor of the
  // whole of it switches scissoring off.
  bb_graphics_SetScissor(0, 0, (float)bb_graphics_renderDevice->Width(),
                         (float)bb_graphics_renderDevice->Height());
  return 0;
}

int bb_graphics_EndRender() {
  gc_assign(bb_graphics_renderDevice, (gxtkGraphics*)nullptr);
  return 0;
}

int bb_graphics_SetColor(float r, float g, float b) {
  c_GraphicsContext* ctx = Context();
  ctx->m_color_r = r;
  ctx->m_color_g = g;
  ctx->m_color_b = b;
  RenderDevice()->SetColor(r, g, b);
  return 0;
}

int bb_graphics_SetAlpha(float alpha) {
  Context()->m_alpha = alpha;
  RenderDevice()->SetAlpha(alpha);
  return 0;
}

int bb_graphics_SetBlend(int blend) {
  Context()->m_blend = blend;
  RenderDevice()->SetBlend(blend);
  return 0;
}

int bb_graphics_SetScissor(float x, float y, float width, float height) {
  c_GraphicsContext* ctx = Context();
  ctx->m_scissor_x = x;
  ctx->m_scissor_y = y;
  ctx->m_scissor_width = width;
  ctx->m_scissor_height = height;
  RenderDevice()->SetScissor((int)x, (int)y, (int)width, (int)height);
  return 0;
}

int bb_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx,
                          float ty) {
  Context()->SetMatrix(ix, iy, jx, jy, tx, ty);
  return 0;
}

int bb_graphics_SetMatrix2(Array<float> m) {
  return bb_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int bb_graphics_Transform(float ix, float iy, float jx, float jy, float tx,
                          float ty) {
  Context()->Transform(ix, iy, jx, jy, tx, ty);
  return 0;
}

int bb_graphics_Transform2(Array<float> m) {
  return bb_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int bb_graphics_Translate(float x, float y) {
  return bb_graphics_Transform(1, 0, 0, 1, x, y);
}

int bb_graphics_Scale(float x, float y) {
  return bb_graphics_Transform(x, 0, 0, y, 0, 0);
}

int bb_graphics_Rotate(float angle) {
  float radians = angle * 0.0174532924f;
  float c = std::cos(radians), s = std::sin(radians);
  return bb_graphics_Transform(c, -s, s, c, 0, 0);
}

int bb_graphics_PushMatrix() {
  Context()->PushMatrix();
  return 0;
}

int bb_graphics_PopMatrix() {
  Context()->PopMatrix();
  return 0;
}
