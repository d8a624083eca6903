// The drawing functions of the API: validate the context (send a changed
// matrix), then hand the primitive to the render device.
#include "graphics/graphics.h"

namespace {
gxtkGraphics* Validated() {
  if (!bb_graphics_renderDevice) {
    bbError("Drawing is only possible while a frame is being rendered");
  }
  if (!bb_graphics_context) bb_graphics_Init();
  bb_graphics_context->p_Validate();
  return bb_graphics_renderDevice;
}

// Draws frame f of image with its top-left corner at (x, y) under the
// current matrix.
void DrawFrame(gxtkGraphics* device, c_Image* image, c_Frame* f, float x,
               float y) {
  if (image->m_flags & c_Image::FullFrame) {
    device->DrawSurface(image->m_surface, x, y);
  } else {
    device->DrawSurface2(image->m_surface, x, y, f->m_x, f->m_y,
                         image->m_width, image->m_height);
  }
}
}  // namespace

int bb_graphics_Cls(float r, float g, float b) {
  Validated()->Cls(r, g, b);
  return 0;
}

int bb_graphics_DrawPoint(float x, float y) {
  Validated()->DrawPoint(x, y);
  return 0;
}

int bb_graphics_DrawRect(float x, float y, float w, float h) {
  Validated()->DrawRect(x, y, w, h);
  return 0;
}

int bb_graphics_DrawLine(float x1, float y1, float x2, float y2) {
  Validated()->DrawLine(x1, y1, x2, y2);
  return 0;
}

int bb_graphics_DrawEllipse(float x, float y, float xr, float yr) {
  Validated()->DrawOval(x - xr, y - yr, xr + xr, yr + yr);
  return 0;
}

int bb_graphics_DrawPoly(Array<float> verts) {
  Validated()->DrawPoly(verts);
  return 0;
}

int bb_graphics_DrawPoly2(Array<float> verts, c_Image* image, int frame) {
  c_Frame* f = image->m_frames[frame];
  Validated()->DrawPoly2(verts, image->m_surface, f->m_x, f->m_y);
  return 0;
}

int bb_graphics_DrawImage(c_Image* image, float x, float y, int frame) {
  c_Frame* f = image->m_frames[frame];
  DrawFrame(Validated(), image, f, x - image->m_tx, y - image->m_ty);
  return 0;
}

int bb_graphics_DrawImage2(c_Image* image, float x, float y, float rotation,
                           float scaleX, float scaleY, int frame) {
  c_Frame* f = image->m_frames[frame];
  bb_graphics_PushMatrix();
  bb_graphics_Translate(x, y);
  bb_graphics_Rotate(rotation);
  bb_graphics_Scale(scaleX, scaleY);
  bb_graphics_Translate(-image->m_tx, -image->m_ty);
  DrawFrame(Validated(), image, f, 0, 0);
  bb_graphics_PopMatrix();
  return 0;
}
