// gxtkGraphics: frame set-up, state, the vertex batch and its flushing.
// The primitives themselves live in primitives.cpp.
#include "graphics/renderer.h"

#include <GLFW/glfw3.h>

#include <cstdlib>
#include <cstring>

#include "graphics/gl.h"

unsigned gxtkPackColor(float r, float g, float b, float alpha) {
  // Out-of-range input must not spill into the neighbouring byte.
  auto byte = [](float v) -> unsigned {
    if (!(v > 0)) return 0;
    if (v >= 255) return 255;
    return (unsigned)(int)v;
  };
  return byte(255 * alpha) << 24 | byte(b * alpha) << 16 |
         byte(g * alpha) << 8 | byte(r * alpha);
}

bool gxtkPixelRangeFits(int length, int w, int h, int offset, int pitch) {
  if (w < 0 || h < 0) return false;
  if (w == 0 || h == 0) return true;
  long long last = (long long)(h - 1) * pitch;
  long long lo = offset + (last < 0 ? last : 0);
  long long hi = offset + (last > 0 ? last : 0) + w;
  return lo >= 0 && hi <= length;
}

gxtkGraphics::gxtkGraphics() {
  ReadWindowSize();
  for (int k = 0; k < MAX_QUADS; ++k) {
    unsigned short* q = &quadIndices[k * 6];
    unsigned short first = (unsigned short)(k * 4);
    q[0] = first;
    q[1] = first + 1;
    q[2] = first + 2;
    q[3] = first;
    q[4] = first + 2;
    q[5] = first + 3;
  }
}

void gxtkGraphics::mark() {
  Object::mark();
  gc_enqueue(primSurf);
}

// The size of the framebuffer we draw into: the window whose context is
// current. Without one (no window yet) the last known size stays.
void gxtkGraphics::ReadWindowSize() {
  if (GLFWwindow* window = glfwGetCurrentContext()) {
    glfwGetFramebufferSize(window, &width, &height);
  }
}

int gxtkGraphics::Width() { return width; }
int gxtkGraphics::Height() { return height; }

int gxtkGraphics::BeginRender() {
  gxtkResetFrameStats();
  ReadWindowSize();
  glViewport(0, 0, width, height);

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, height, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].x);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].u);
  glEnableClientState(GL_COLOR_ARRAY);
  glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(gxtkVertex), &vertices[0].color);

  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_TEXTURE_2D);

  vertCount = 0;
  return 1;
}

int gxtkGraphics::EndRender() {
  FlushFor(gxtkFlushEnd);
  return 0;
}

int gxtkGraphics::DiscardGraphics() { return 0; }

int gxtkGraphics::Flush() {
  FlushFor(gxtkFlushCall);
  return 0;
}

void gxtkGraphics::FlushFor(gxtkFlushCause cause) {
  if (vertCount == 0) return;
  gxtkCountFlush(cause);
  if (primSurf) {
    glEnable(GL_TEXTURE_2D);
    primSurf->Bind();
  }
  DrawBatch();
  if (primSurf) glDisable(GL_TEXTURE_2D);
  vertCount = 0;
}

void gxtkGraphics::DrawBatch() {
  switch (primType) {
    case KIND_POINTS:
      glDrawArrays(GL_POINTS, 0, vertCount);
      gxtkCountDraw(vertCount, false);
      return;
    case KIND_LINES:
      glDrawArrays(GL_LINES, 0, vertCount);
      gxtkCountDraw(vertCount, false);
      return;
    case KIND_TRIANGLES:
      glDrawArrays(GL_TRIANGLES, 0, vertCount);
      gxtkCountDraw(vertCount, false);
      return;
    case KIND_QUADS:
      glDrawElements(GL_TRIANGLES, vertCount / 4 * 6, GL_UNSIGNED_SHORT,
                     quadIndices);
      gxtkCountDraw(vertCount, true);
      return;
    default:
      // Each polygon is its own fan; they cannot share one draw call.
      for (int first = 0; first < vertCount; first += primType) {
        glDrawArrays(GL_TRIANGLE_FAN, first, primType);
        gxtkCountDraw(primType, false);
      }
  }
}

gxtkVertex* gxtkGraphics::Begin(int type, int count, gxtkSurface* surface) {
  if (count < 1 || count > MAX_VERTS) return nullptr;
  if (type != primType || surface != primSurf ||
      vertCount + count > MAX_VERTS) {
    gxtkFlushCause cause = type != primType      ? gxtkFlushKind
                           : surface != primSurf ? gxtkFlushTexture
                                                 : gxtkFlushFull;
    FlushFor(cause);
    primType = type;
    gc_assign(primSurf, surface);
  }
  gxtkVertex* v = &vertices[vertCount];
  vertCount += count;
  return v;
}

void gxtkGraphics::Put(gxtkVertex* v, float x, float y) {
  if (tformed) {
    v->x = x * ix + y * jx + tx;
    v->y = x * iy + y * jy + ty;
  } else {
    v->x = x;
    v->y = y;
  }
  v->color = color;
}

void gxtkGraphics::UpdateColor() { color = gxtkPackColor(r, g, b, alpha); }

int gxtkGraphics::SetAlpha(float a) {
  alpha = a;
  UpdateColor();
  return 0;
}

int gxtkGraphics::SetColor(float red, float green, float blue) {
  r = red;
  g = green;
  b = blue;
  UpdateColor();
  return 0;
}

int gxtkGraphics::SetBlend(int blend) {
  FlushFor(gxtkFlushBlend);
  if (blend == 1) {
    glBlendFunc(GL_ONE, GL_ONE);
  } else {
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  }
  return 0;
}

int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
  FlushFor(gxtkFlushScissor);
  if (x == 0 && y == 0 && w == Width() && h == Height()) {
    glDisable(GL_SCISSOR_TEST);
    return 0;
  }
  // A negative extent is a GL error that would leave the old box in force.
  if (w < 0) w = 0;
  if (h < 0) h = 0;
  glEnable(GL_SCISSOR_TEST);
  glScissor(x, Height() - y - h, w, h);
  return 0;
}

int gxtkGraphics::SetMatrix(float nix, float niy, float njx, float njy,
                            float ntx, float nty) {
  ix = nix;
  iy = niy;
  jx = njx;
  jy = njy;
  tx = ntx;
  ty = nty;
  tformed = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
  return 0;
}

int gxtkGraphics::Cls(float red, float green, float blue) {
  gxtkCountDropped(vertCount);
  vertCount = 0;
  glClearColor(red / 255.0f, green / 255.0f, blue / 255.0f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  return 0;
}

int gxtkGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h,
                             int offset, int pitch) {
  if (!gxtkPixelRangeFits(pixels.Length(), w, h, offset, pitch)) return 0;
  FlushFor(gxtkFlushRead);
  if (w == 0 || h == 0) return 0;
  unsigned* rows = (unsigned*)malloc((size_t)w * h * 4);
  if (!rows) return 0;
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(x, height - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, rows);
  // OpenGL's rows run bottom up; ours top down.
  int* out = pixels.Data();
  for (int row = 0; row < h; ++row) {
    memcpy(out + offset + (long long)row * pitch, rows + (size_t)(h - 1 - row) * w,
           (size_t)w * 4);
  }
  free(rows);
  return 0;
}

int gxtkGraphics::WritePixels2(gxtkSurface* surface, Array<int> pixels, int x,
                               int y, int w, int h, int offset, int pitch) {
  if (!surface || w <= 0 || h <= 0) return 0;
  if (!gxtkPixelRangeFits(pixels.Length(), w, h, offset, pitch)) return 0;
  surface->SetSubData(x, y, w, h, (const unsigned*)pixels.Data() + offset,
                      pitch);
  return 0;
}
