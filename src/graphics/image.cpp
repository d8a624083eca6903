// c_Image and c_Frame: cutting a surface into frames and applying the flags.
#include "graphics/image.h"

c_Frame* c_Frame::m_new(int x, int y) {
  m_x = x;
  m_y = y;
  return this;
}

c_Frame* c_Frame::m_new2() { return this; }

c_Image* c_Image::m_new() { return this; }

void c_Image::mark() {
  Object::mark();
  gc_enqueue(m_surface);
  gc_enqueue(m_frames);
  gc_enqueue(m_source);
}

int c_Image::p_Width() { return m_width; }
int c_Image::p_Height() { return m_height; }
int c_Image::p_Frames() { return m_frames.Length(); }

void c_Image::CheckUninitialised(int frameCount) {
  if (m_surface) bbError("Image already initialized");
  // A strip of no frames would divide by zero; say so instead.
  if (frameCount < 1) bbError("Image frame count must be at least 1");
}

c_Image* c_Image::p_Init(gxtkSurface* surface, int frameCount, int flags) {
  CheckUninitialised(frameCount);
  gc_assign(m_surface, surface);
  m_width = surface->Width() / frameCount;
  m_height = surface->Height();
  gc_assign(m_frames, Array<c_Frame*>(frameCount));
  for (int i = 0; i < frameCount; ++i) {
    gc_assign(m_frames[i], (new c_Frame)->m_new(i * m_width, 0));
  }
  p_ApplyFlags(flags);
  return this;
}

c_Image* c_Image::p_Init2(gxtkSurface* surface, int x, int y, int frameWidth,
                          int frameHeight, int frameCount, int flags,
                          c_Image* source, int srcx, int srcy, int srcw,
                          int srch) {
  CheckUninitialised(frameCount);
  gc_assign(m_surface, surface);
  gc_assign(m_source, source);
  m_width = frameWidth;
  m_height = frameHeight;
  gc_assign(m_frames, Array<c_Frame*>(frameCount));
  for (int i = 0; i < frameCount; ++i) {
    if ((long long)x + m_width > srcw) {
      x = 0;
      y += m_height;
      if (m_width > srcw) bbError("Image frame outside surface");
    }
    if ((long long)y + m_height > srch) bbError("Image frame outside surface");
    gc_assign(m_frames[i], (new c_Frame)->m_new(x + srcx, y + srcy));
    x += m_width;
  }
  p_ApplyFlags(flags);
  return this;
}

int c_Image::p_ApplyFlags(int flags) {
  m_flags = flags;
  int count = m_frames.Length();
  if (flags & XPadding) {
    for (int i = 0; i < count; ++i) m_frames[i]->m_x += 1;
    m_width -= 2;
  }
  if (flags & YPadding) {
    for (int i = 0; i < count; ++i) m_frames[i]->m_y += 1;
    m_height -= 2;
  }
  if (flags & MidHandle) p_SetHandle(m_width * 0.5f, m_height * 0.5f);
  if (count == 1 && m_frames[0]->m_x == 0 && m_frames[0]->m_y == 0 &&
      m_surface && m_width == m_surface->Width() &&
      m_height == m_surface->Height()) {
    m_flags |= FullFrame;
  }
  return 0;
}

int c_Image::p_SetHandle(float tx, float ty) {
  m_tx = tx;
  m_ty = ty;
  m_flags &= ~MidHandle;
  return 0;
}
