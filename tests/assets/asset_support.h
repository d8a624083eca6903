// Shared helpers for the asset checks: where the data folder is, and the
// game's view of each picture file (the loader's frame grid).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets_test {

std::string DataPath(const std::string& relative);  // under the build's data folder
std::vector<uint8_t> ReadBytes(const std::string& path);

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;  // straight alpha, row by row
  bool Loaded() const { return width > 0; }
  const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};
Picture LoadPicture(const std::string& path);  // stb_image, four channels; empty on failure

// A frame of a sheet cut the way the game's loader cuts a grid: row by row,
// wrapping when the next frame would pass the right edge.
struct FrameRect {
  int x = 0, y = 0, w = 0, h = 0;
};
// False when the frames do not all fit on the surface.
bool CutGrid(int surfaceW, int surfaceH, int frameW, int frameH, int frames, std::vector<FrameRect>& out);

// Summary of one frame's pixels.
struct FrameStats {
  int opaque = 0;                                            // pixels with alpha above 1/4
  int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;  // bounds of those pixels
  int borderAlpha = 0;                                       // strongest alpha on the outermost ring
};
FrameStats Measure(const Picture& p, const FrameRect& r);
std::vector<uint8_t> Pixels(const Picture& p, const FrameRect& r);

}  // namespace assets_test
