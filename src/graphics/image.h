// c_Image and c_Frame: a surface cut into equal frames, with the handle (the
// point of a frame that lands on the drawing position).
#pragma once

#include "graphics/surface.h"
#include "runtime/runtime.h"

class c_Frame : public Object {
 public:
  int m_x = 0;  // top-left pixel of the frame on the surface
  int m_y = 0;

  c_Frame* m_new(int x, int y);
  c_Frame* m_new2();
};

class c_Image : public Object {
 public:
  // Flag bits of LoadImage/CreateImage and m_flags.
  enum {
    MidHandle = 1,   // handle in the middle of the frame (not kept in m_flags)
    XPadding = 2,    // each frame has a 1 pixel border left and right
    YPadding = 4,    // ... top and bottom
    FullFrame = 65536  // one frame covering the whole surface
  };

  gxtkSurface* m_surface = nullptr;
  int m_width = 0;   // size of one frame
  int m_height = 0;
  Array<c_Frame*> m_frames;
  int m_flags = 0;
  float m_tx = 0;    // handle
  float m_ty = 0;
  c_Image* m_source = nullptr;

  c_Image* m_new();
  // A horizontal strip of frameCount frames filling the surface.
  c_Image* p_Init(gxtkSurface* surface, int frameCount, int flags);
  // Frames of frameWidth x frameHeight taken row by row from the srcw x srch
  // rectangle at (srcx, srcy), starting at (x, y) inside it.
  c_Image* p_Init2(gxtkSurface* surface, int x, int y, int frameWidth,
                   int frameHeight, int frameCount, int flags, c_Image* source,
                   int srcx, int srcy, int srcw, int srch);
  int p_ApplyFlags(int flags);
  int p_SetHandle(float tx, float ty);
  int p_Width();
  int p_Height();
  int p_Frames();
  void mark() override;

 private:
  void CheckUninitialised(int frameCount);
};
