// gxtkSurface: pixel copy, premultiplication and lazy texture creation.
#include "graphics/surface.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "graphics/gl.h"
#include "graphics/render_stats.h"

int gxtkPowerOfTwoAbove(int n) {
  int p = 1;
  while (p < n && p < (1 << 30)) p <<= 1;
  return p;
}

int gxtkFormatForDepth(int depth) {
  switch (depth) {
    case 1: return GL_LUMINANCE;
    case 2: return GL_LUMINANCE_ALPHA;
    case 3: return GL_RGB;
    case 4: return GL_RGBA;
    default: return 0;
  }
}

void gxtkPremultiply(unsigned char* p, int count, int depth) {
  if (depth == 2) {
    for (int i = 0; i < count; ++i, p += 2) p[0] = p[0] * p[1] / 255;
  } else if (depth == 4) {
    for (int i = 0; i < count; ++i, p += 4) {
      int a = p[3];
      p[0] = p[0] * a / 255;
      p[1] = p[1] * a / 255;
      p[2] = p[2] * a / 255;
    }
  }
}

gxtkSurface::gxtkSurface() {}

gxtkSurface::~gxtkSurface() { Release(); }

// Names from an earlier context died with it; deleting them would hit
// whatever the new context handed out under the same number.
void gxtkSurface::DeleteTexture(unsigned name, int nameSeq) {
  if (nameSeq != -1 && nameSeq == glfwGraphicsSeq) glDeleteTextures(1, &name);
}

void gxtkSurface::Release() {
  DeleteTexture(texture, seq);
  DeleteTexture(staleTexture, staleSeq);
  seq = staleSeq = -1;
  free(data);
  data = nullptr;
}

int gxtkSurface::Discard() {
  Release();
  return 0;
}

int gxtkSurface::Width() { return width; }
int gxtkSurface::Height() { return height; }
bool gxtkSurface::Loaded() { return true; }

int gxtkSurface::OnUnsafeLoadComplete() {
  Bind();
  return 0;
}

bool gxtkSurface::SetData(unsigned char* pixels, int w, int h, int d) {
  int fmt = gxtkFormatForDepth(d);
  if (!pixels || fmt == 0 || w < 0 || h < 0 ||
      (long long)w * h * d > INT_MAX) {
    free(pixels);
    return false;
  }
  // New pixels for a surface that already has a texture: the texture is
  // remade from them at the next Bind rather than left showing the old ones.
  // (Bind cleared any earlier stale name when it made the current texture.)
  if (seq != -1) {
    staleTexture = texture;
    staleSeq = seq;
    seq = -1;
  }
  free(data);
  data = pixels;
  width = w;
  height = h;
  depth = d;
  format = fmt;
  gxtkPremultiply(data, w * h, d);
  return true;
}

void gxtkSurface::SetSubData(int x, int y, int w, int h, const unsigned* src,
                             int pitch) {
  if (format != GL_RGBA || !src) return;
  // Clip to the surface so a careless rectangle cannot write outside the copy.
  long long x0 = x < 0 ? 0 : x, y0 = y < 0 ? 0 : y;
  long long x1 = (long long)x + w, y1 = (long long)y + h;
  if (x1 > width) x1 = width;
  if (y1 > height) y1 = height;
  if (x0 >= x1 || y0 >= y1) return;
  src += (y0 - y) * pitch + (x0 - x);
  if (!data) {
    data = (unsigned char*)calloc((size_t)width * height, 4);
    if (!data) return;
  }
  for (long long row = y0; row < y1; ++row, src += pitch) {
    unsigned char* dst = data + (row * width + x0) * 4;
    for (long long col = 0; col < x1 - x0; ++col, dst += 4) {
      unsigned argb = src[col];
      unsigned a = argb >> 24;
      dst[0] = ((argb >> 16) & 255) * a / 255;
      dst[1] = ((argb >> 8) & 255) * a / 255;
      dst[2] = (argb & 255) * a / 255;
      dst[3] = (unsigned char)a;
    }
  }
  if (seq != -1 && seq == glfwGraphicsSeq) {
    glBindTexture(GL_TEXTURE_2D, texture);
    UploadRows((int)x0, (int)y0, (int)(x1 - x0), (int)(y1 - y0));
  }
}

// Sends rows of the pixel copy to the bound texture: one call when they are
// whole rows (contiguous in the copy), else one per row.
void gxtkSurface::UploadRows(int x, int y, int w, int h) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  size_t stride = (size_t)width * depth;
  if (w == width) {
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, y, w, h, format, GL_UNSIGNED_BYTE,
                    data + y * stride);
    gxtkCountTextureUpload();
    return;
  }
  for (int row = 0; row < h; ++row) {
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y + row, w, 1, format,
                    GL_UNSIGNED_BYTE, data + (y + row) * stride + (size_t)x * depth);
    gxtkCountTextureUpload();
  }
}

void gxtkSurface::Bind() {
  if (glfwGraphicsSeq == 0) return;
  if (seq == glfwGraphicsSeq) {
    glBindTexture(GL_TEXTURE_2D, texture);
    return;
  }
  seq = glfwGraphicsSeq;
  glGenTextures(1, &texture);
  DeleteTexture(staleTexture, staleSeq);
  staleSeq = -1;
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  DefineTexture();
  gxtkCountTextureMade();
  if (data) UploadRows(0, 0, width, height);
}

// Defines level 0 at the picture's size, or padded to powers of two when the
// driver refuses that; the pixels then sit in the top-left corner and the
// scales keep pixel coordinates mapping onto them.
void gxtkSurface::DefineTexture() {
  // An error left over from earlier GL work must not look like a refusal.
  for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
  }
  int texw = width, texh = height;
  glTexImage2D(GL_TEXTURE_2D, 0, format, texw, texh, 0, format,
               GL_UNSIGNED_BYTE, nullptr);
  if (glGetError() != GL_NO_ERROR) {
    texw = gxtkPowerOfTwoAbove(width);
    texh = gxtkPowerOfTwoAbove(height);
    glTexImage2D(GL_TEXTURE_2D, 0, format, texw, texh, 0, format,
                 GL_UNSIGNED_BYTE, nullptr);
  }
  uscale = texw > 0 ? 1.0f / texw : 0.0f;
  vscale = texh > 0 ? 1.0f / texh : 0.0f;
}
