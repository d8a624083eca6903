// gxtkGraphics drawing operations: how each primitive becomes batch vertices.
// Points and lines sit on pixel centres (+0.5); filled shapes do not, so a
// rectangle covers exactly the pixels inside its edges.
#include <cmath>

#include "graphics/renderer.h"

int gxtkOvalSegments(float xr, float yr, bool tformed, float ix, float iy,
                     float jx, float jy) {
  float s;
  if (tformed) {
    s = std::sqrt((xr * ix) * (xr * ix) + (xr * iy) * (xr * iy)) +
        std::sqrt((yr * jx) * (yr * jx) + (yr * jy) * (yr * jy));
  } else {
    s = std::fabs(std::trunc(xr)) + std::fabs(std::trunc(yr));
  }
  // Compared as a float so a huge or non-finite radius cannot overflow an int.
  if (!(s >= 12)) return 12;
  if (s > 1024) return 1024;
  return (int)s & ~3;
}

// Texture coordinates are worked out from the texture's real size, which is
// only known once the texture exists: a surface drawn before it was ever
// bound in this context gets its texture now rather than at the flush.
void gxtkGraphics::Prepare(gxtkSurface* surface) {
  if (surface && surface->seq != glfwGraphicsSeq) surface->Bind();
}

void gxtkGraphics::PutQuad(gxtkVertex* v, float x0, float y0, float x1,
                           float y1) {
  Put(&v[0], x0, y0);
  Put(&v[1], x1, y0);
  Put(&v[2], x1, y1);
  Put(&v[3], x0, y1);
}

int gxtkGraphics::DrawPoint(float x, float y) {
  gxtkVertex* v = Begin(KIND_POINTS, 1, nullptr);
  Put(v, x, y);
  v->x += 0.5f;
  v->y += 0.5f;
  return 0;
}

int gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
  gxtkVertex* v = Begin(KIND_LINES, 2, nullptr);
  Put(&v[0], x1, y1);
  Put(&v[1], x2, y2);
  for (int i = 0; i < 2; ++i) {
    v[i].x += 0.5f;
    v[i].y += 0.5f;
  }
  return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float w, float h) {
  PutQuad(Begin(KIND_QUADS, 4, nullptr), x, y, x + w, y + h);
  return 0;
}

int gxtkGraphics::DrawOval(float x, float y, float w, float h) {
  float xr = w * 0.5f, yr = h * 0.5f;
  float cx = x + xr, cy = y + yr;
  int count = gxtkOvalSegments(xr, yr, tformed, ix, iy, jx, jy);
  gxtkVertex* v = Begin(count, count, nullptr);
  for (int i = 0; i < count; ++i) {
    float th = (float)i * 6.2831855f / (float)count;
    Put(&v[i], cx + std::cos(th) * xr, cy - std::sin(th) * yr);
  }
  return 0;
}

int gxtkGraphics::DrawPoly(Array<float> verts) {
  int n = verts.Length() / 2;
  if (n < 1 || n > MAX_VERTS) return 0;
  gxtkVertex* v = Begin(n, n, nullptr);
  const float* p = verts.Data();
  for (int i = 0; i < n; ++i) Put(&v[i], p[i * 2], p[i * 2 + 1]);
  return 0;
}

int gxtkGraphics::DrawPoly2(Array<float> verts, gxtkSurface* surface, int srcx,
                            int srcy) {
  int n = verts.Length() / 4;
  if (n < 1 || n > MAX_VERTS) return 0;
  gxtkVertex* v = Begin(n, n, surface);
  Prepare(surface);
  const float* p = verts.Data();
  float us = surface ? surface->uscale : 0, vs = surface ? surface->vscale : 0;
  for (int i = 0; i < n; ++i, p += 4) {
    Put(&v[i], p[0], p[1]);
    v[i].u = (p[2] + srcx) * us;
    v[i].v = (p[3] + srcy) * vs;
  }
  return 0;
}

int gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
  if (!surface) return 0;
  float w = surface->Width(), h = surface->Height();
  gxtkVertex* v = Begin(KIND_QUADS, 4, surface);
  Prepare(surface);
  PutQuad(v, x, y, x + w, y + h);
  float u1 = w * surface->uscale, v1 = h * surface->vscale;
  v[0].u = 0;  v[0].v = 0;
  v[1].u = u1; v[1].v = 0;
  v[2].u = u1; v[2].v = v1;
  v[3].u = 0;  v[3].v = v1;
  return 0;
}

int gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcx,
                               int srcy, int srcw, int srch) {
  if (!surface) return 0;
  gxtkVertex* v = Begin(KIND_QUADS, 4, surface);
  Prepare(surface);
  PutQuad(v, x, y, x + srcw, y + srch);
  float u0 = srcx * surface->uscale, u1 = (srcx + srcw) * surface->uscale;
  float v0 = srcy * surface->vscale, v1 = (srcy + srch) * surface->vscale;
  v[0].u = u0; v[0].v = v0;
  v[1].u = u1; v[1].v = v0;
  v[2].u = u1; v[2].v = v1;
  v[3].u = u0; v[3].v = v1;
  return 0;
}
