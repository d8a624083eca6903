// gxtkGraphics: making surfaces from image files and empty ones for drawing
// into. Decoding is the host's (LoadImageData); textures are made by Bind.
#include "graphics/gl.h"
#include "graphics/renderer.h"
#include "host/game.h"

namespace {
// Beyond any texture size a driver accepts; also keeps w*h*4 inside an int.
const int kMaxSurfaceSide = 16384;
}

gxtkSurface* gxtkGraphics::LoadSurface(String path) {
  gxtkSurface* surface = new gxtkSurface;
  if (!LoadSurface__UNSAFE__(surface, path)) return nullptr;
  surface->Bind();
  return surface;
}

bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, String path) {
  BBGame* game = BBGame::_game;
  if (!surface || !game) return false;
  int w = 0, h = 0, depth = 0;
  unsigned char* pixels = game->LoadImageData(path, &w, &h, &depth);
  if (!pixels) return false;
  return surface->SetData(pixels, w, h, depth);
}

gxtkSurface* gxtkGraphics::CreateSurface(int w, int h) {
  if (w < 1 || h < 1 || w > kMaxSurfaceSide || h > kMaxSurfaceSide) {
    return nullptr;
  }
  gxtkSurface* surface = new gxtkSurface;
  surface->width = w;
  surface->height = h;
  surface->depth = 4;
  surface->format = GL_RGBA;
  surface->Bind();
  return surface;
}
