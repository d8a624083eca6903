// gxtkSurface: a picture kept twice, as premultiplied pixels in memory and as
// an OpenGL texture made from them on first use. The memory copy lets the
// texture be rebuilt after the window, and with it the GL context, reopens.
#pragma once

#include "runtime/runtime.h"

// Counts the windows (and so GL contexts) opened so far; the host bumps it.
// A texture is valid only for the value it was made under; 0 means no window.
extern int glfwGraphicsSeq;

class gxtkSurface : public Object {
 public:
  unsigned char* data = nullptr;  // width*height*depth bytes, rows top down
  int width = 0;
  int height = 0;
  int depth = 0;        // bytes per pixel, 1..4
  int format = 0;       // GL pixel format matching depth
  int seq = -1;         // glfwGraphicsSeq that `texture` belongs to
  unsigned texture = 0;
  float uscale = 0;     // 1 / texture width
  float vscale = 0;     // 1 / texture height

  gxtkSurface();
  ~gxtkSurface() override;

  virtual int Discard();
  virtual int Width();
  virtual int Height();
  virtual bool Loaded();
  virtual int OnUnsafeLoadComplete();

  // Takes ownership of `pixels` (malloc'd) and premultiplies them by alpha.
  // Returns false, freeing `pixels`, when the size or depth make no picture.
  bool SetData(unsigned char* pixels, int w, int h, int d);
  // Writes ARGB pixels into an RGBA surface; `pitch` is in pixels.
  void SetSubData(int x, int y, int w, int h, const unsigned* src, int pitch);
  void Bind();

 private:
  void DefineTexture();
  void UploadRows(int x, int y, int w, int h);
  void DeleteTexture(unsigned name, int nameSeq);
  void Release();

  // A texture replaced by SetData, deleted by the next Bind: SetData may run
  // on a loader thread, where no GL call is allowed.
  unsigned staleTexture = 0;
  int staleSeq = -1;
};

// The smallest power of two not below n (1 for n < 2): the fallback texture
// size for drivers that refuse other sizes.
int gxtkPowerOfTwoAbove(int n);

// The GL format for a pixel depth of 1..4 bytes, 0 for anything else.
int gxtkFormatForDepth(int depth);

// Multiplies colour by alpha in place: 2 bytes (L, A) or 4 (R, G, B, A) per
// pixel; other depths have no alpha and are left alone.
void gxtkPremultiply(unsigned char* pixels, int count, int depth);
