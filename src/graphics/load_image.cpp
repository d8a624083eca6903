// Image loading and creation for the API, and the font selection with its
// built-in default font.
#include <climits>

#include "graphics/graphics.h"
#include "host/game.h"
#include "host/paths.h"

namespace {
// The default font: one row of 96 padded cells for the codes 32 to 127.
const char* const kDefaultFontFile = "kiln_font.png";
const int kDefaultFontFrames = 96;
const int kDefaultFontFirstChar = 32;

gxtkSurface* LoadSurface(String path) {
  if (!bb_graphics_device) return nullptr;
  return bb_graphics_device->LoadSurface(bb_data_FixDataPath(path));
}
}  // namespace

c_Image* bb_graphics_LoadImage(String path, int frameCount, int flags) {
  gxtkSurface* surface = LoadSurface(path);
  if (!surface) return nullptr;
  return (new c_Image)->m_new()->p_Init(surface, frameCount, flags);
}

c_Image* bb_graphics_LoadImage2(String path, int frameWidth, int frameHeight,
                                int frameCount, int flags) {
  gxtkSurface* surface = LoadSurface(path);
  if (!surface) return nullptr;
  return (new c_Image)->m_new()->p_Init2(
      surface, 0, 0, frameWidth, frameHeight, frameCount, flags, nullptr, 0, 0,
      surface->Width(), surface->Height());
}

c_Image* bb_graphics_CreateImage(int width, int height, int frameCount,
                                 int flags) {
  if (!bb_graphics_device) return nullptr;
  long long surfaceWidth = (long long)width * frameCount;
  if (frameCount < 1 || surfaceWidth > INT_MAX) return nullptr;
  gxtkSurface* surface =
      bb_graphics_device->CreateSurface((int)surfaceWidth, height);
  if (!surface) return nullptr;
  return (new c_Image)->m_new()->p_Init(surface, frameCount, flags);
}

int bb_graphics_SetFont(c_Image* font, int firstChar) {
  bb_graphics_Init();
  c_GraphicsContext* ctx = bb_graphics_context;
  if (!font) {
    if (!ctx->m_defaultFont) {
      gc_assign(ctx->m_defaultFont,
                bb_graphics_LoadImage(kDefaultFontFile, kDefaultFontFrames,
                                      c_Image::XPadding));
    }
    font = ctx->m_defaultFont;
    firstChar = kDefaultFontFirstChar;
  }
  gc_assign(ctx->m_font, font);
  ctx->m_firstChar = firstChar;
  return 0;
}
