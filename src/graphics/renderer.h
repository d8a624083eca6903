// gxtkGraphics: the batched 2D renderer on OpenGL 1.x fixed function.
// Primitives are collected into one batch of up to 1024 vertices that goes to
// OpenGL only when the primitive kind or texture changes, the batch is full,
// blending or scissoring changes, pixels are read back, or the frame ends.
// Colour and matrix are applied per vertex on the CPU, so changing them costs
// no GL call.
#pragma once

#include "graphics/render_stats.h"
#include "graphics/surface.h"
#include "runtime/runtime.h"

// One vertex as OpenGL reads it from the interleaved client arrays.
struct gxtkVertex {
  float x, y;
  float u, v;       // left unwritten for untextured primitives
  unsigned color;   // bytes R, G, B, A in memory (premultiplied)
};
static_assert(sizeof(gxtkVertex) == 20, "vertex layout is shared with OpenGL");

class gxtkGraphics : public Object {
 public:
  enum { MAX_VERTS = 1024, MAX_QUADS = MAX_VERTS / 4 };
  // Batch kinds; a polygon of n >= 5 vertices uses n as its kind.
  enum { KIND_POINTS = 1, KIND_LINES = 2, KIND_TRIANGLES = 3, KIND_QUADS = 4 };

  int width = 0;
  int height = 0;
  unsigned color = 0;
  float r = 0, g = 0, b = 0;
  float alpha = 0;
  float ix = 1, iy = 0, jx = 0, jy = 1, tx = 0, ty = 0;
  bool tformed = false;
  gxtkVertex vertices[MAX_VERTS];
  unsigned short quadIndices[MAX_QUADS * 6];
  int primType = 0;
  int vertCount = 0;
  gxtkSurface* primSurf = nullptr;

  gxtkGraphics();
  void mark() override;

  virtual int Width();
  virtual int Height();
  virtual int BeginRender();
  virtual int EndRender();
  virtual int DiscardGraphics();
  virtual gxtkSurface* LoadSurface(String path);
  virtual gxtkSurface* CreateSurface(int width, int height);
  virtual bool LoadSurface__UNSAFE__(gxtkSurface* surface, String path);
  virtual int Cls(float r, float g, float b);
  virtual int SetAlpha(float alpha);
  virtual int SetColor(float r, float g, float b);
  virtual int SetBlend(int blend);
  virtual int SetScissor(int x, int y, int w, int h);
  virtual int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
  virtual int DrawPoint(float x, float y);
  virtual int DrawRect(float x, float y, float w, float h);
  virtual int DrawLine(float x1, float y1, float x2, float y2);
  virtual int DrawOval(float x, float y, float w, float h);
  virtual int DrawPoly(Array<float> verts);
  virtual int DrawPoly2(Array<float> verts, gxtkSurface* surface, int srcx, int srcy);
  virtual int DrawSurface(gxtkSurface* surface, float x, float y);
  virtual int DrawSurface2(gxtkSurface* surface, float x, float y, int srcx,
                           int srcy, int srcw, int srch);
  virtual int ReadPixels(Array<int> pixels, int x, int y, int w, int h,
                         int offset, int pitch);
  virtual int WritePixels2(gxtkSurface* surface, Array<int> pixels, int x,
                           int y, int w, int h, int offset, int pitch);

  // Reserves `count` vertices of kind `type` drawn with `surface` (null for
  // untextured), sending the pending batch first when it cannot take them.
  gxtkVertex* Begin(int type, int count, gxtkSurface* surface);
  int Flush();

 private:
  void FlushFor(gxtkFlushCause cause);
  void DrawBatch();
  void ReadWindowSize();
  void UpdateColor();
  // Writes one vertex at (x, y) mapped through the matrix, in the current colour.
  void Put(gxtkVertex* v, float x, float y);
  void Prepare(gxtkSurface* surface);
  void PutQuad(gxtkVertex* v, float x0, float y0, float x1, float y1);
};

// The number of segments DrawOval uses for an ellipse with radii xr, yr under
// the matrix (ix, iy, jx, jy) (tformed false: the identity, not applied).
int gxtkOvalSegments(float xr, float yr, bool tformed, float ix, float iy,
                     float jx, float jy);

// The packed premultiplied vertex colour for r, g, b in 0..255 and alpha 0..1.
unsigned gxtkPackColor(float r, float g, float b, float alpha);

// True when a pixel rectangle (offset, rows of `pitch` starting `w` wide, h
// rows) lies inside an array of `length` elements.
bool gxtkPixelRangeFits(int length, int w, int h, int offset, int pitch);
