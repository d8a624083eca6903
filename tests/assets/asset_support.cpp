// Helpers for the asset checks; stb_image decodes the pictures just as the
// game's renderer will.
#include "assets/asset_support.h"

#include <stb/stb_image.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace assets_test {

std::string DataPath(const std::string& relative) {
  const char* bin = std::getenv("LARKSPIN_BINARY_DIR");
  return std::string(bin ? bin : ".") + "/data/" + relative;
}

Picture LoadPicture(const std::string& path) {
  Picture p;
  int channels = 0;
  std::vector<uint8_t> file = ReadBytes(path);
  unsigned char* pixels =
      stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &p.width, &p.height, &channels, 4);
  if (pixels) p.rgba.assign(pixels, pixels + static_cast<size_t>(p.width) * p.height * 4);
  else p.width = p.height = 0;
  stbi_image_free(pixels);
  return p;
}

bool CutGrid(int surfaceW, int surfaceH, int frameW, int frameH, int frames, std::vector<FrameRect>& out) {
  out.clear();
  int x = 0, y = 0;
  for (int i = 0; i < frames; ++i) {
    if (x + frameW > surfaceW) {
      if (frameW > surfaceW) return false;
      x = 0;
      y += frameH;
    }
    if (y + frameH > surfaceH) return false;
    out.push_back({x, y, frameW, frameH});
    x += frameW;
  }
  return true;
}

FrameStats Measure(const Picture& p, const FrameRect& r) {
  FrameStats s;
  for (int y = r.y; y < r.y + r.h; ++y) {
    for (int x = r.x; x < r.x + r.w; ++x) {
      int a = p.At(x, y)[3];
      bool edge = x == r.x || y == r.y || x == r.x + r.w - 1 || y == r.y + r.h - 1;
      if (edge && a > s.borderAlpha) s.borderAlpha = a;
      if (a <= 64) continue;
      ++s.opaque;
      s.minX = std::min(s.minX, x - r.x); s.maxX = std::max(s.maxX, x - r.x);
      s.minY = std::min(s.minY, y - r.y); s.maxY = std::max(s.maxY, y - r.y);
    }
  }
  return s;
}

std::vector<uint8_t> Pixels(const Picture& p, const FrameRect& r) {
  std::vector<uint8_t> out;
  for (int y = r.y; y < r.y + r.h; ++y) out.insert(out.end(), p.At(r.x, y), p.At(r.x, y) + r.w * 4);
  return out;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace assets_test
