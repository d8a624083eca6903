// BBGlfwGame::LoadImageData: decodes a picture file (PNG and the other
// formats stb_image reads) into 8-bit pixels with the channels it stores.
#include <stb/stb_image.h>

#include <cstdio>

#include "host/glfw_game.h"

namespace {
// Far larger than any sheet the game ships (2048 wide at the highest level);
// a header claiming more is refused before the decoder allocates for it.
const int kMaxImageSide = 16384;
const long long kMaxImageBytes = 256LL << 20;

bool AcceptableSize(int w, int h, int d) {
  return w >= 1 && h >= 1 && d >= 1 && d <= 4 && w <= kMaxImageSide &&
         h <= kMaxImageSide && (long long)w * h * d <= kMaxImageBytes;
}
}  // namespace

unsigned char* BBGlfwGame::LoadImageData(String path, int* width, int* height,
                                         int* depth) {
  FILE* file = OpenFile(path, "rb");
  if (!file) return nullptr;
  int w = 0, h = 0, d = 0;
  unsigned char* pixels = nullptr;
  if (stbi_info_from_file(file, &w, &h, &d) && AcceptableSize(w, h, d)) {
    pixels = stbi_load_from_file(file, &w, &h, &d, 0);
  }
  fclose(file);
  if (!pixels) return nullptr;
  if (!AcceptableSize(w, h, d)) {
    stbi_image_free(pixels);
    return nullptr;
  }
  gc_ext_malloced(w * h * d);
  *width = w;
  *height = h;
  *depth = d;
  return pixels;
}
