// Shared helpers for the asset checks: where the data folder is, and the
// game's view of each picture file (the loader's frame grid).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets_test {

std::string DataDir();
std::string DataPath(const std::string& relative);

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;  // straight alpha, row by row
  bool Loaded() const { return width > 0; }
  const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

// Decodes with stb_image, forcing four channels; empty on failure.
Picture LoadPicture(const std::string& path);

// A frame of a sheet cut the way the game's loader cuts a grid: row by row,
// wrapping when the next frame would pass the right edge.
struct FrameRect {
  int x = 0, y = 0, w = 0, h = 0;
};
// False when the frames do not all fit on the surface.
bool CutGrid(int surfaceW, int surfaceH, int frameW, int frameH, int frames, std::vector<FrameRect>& out);

// Summary of one frame's pixels.
struct FrameStats {
  int opaque = 0;          // pixels with alpha above 1/4
  int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;  // bounds of those pixels
  int borderAlpha = 0;     // strongest alpha on the frame's outermost ring
};
FrameStats Measure(const Picture& p, const FrameRect& r);
bool SamePixels(const Picture& a, const FrameRect& ra, const Picture& b, const FrameRect& rb);

// Mean absolute alpha difference (0..1) between a level-1 frame and the
// matching frame of a higher level shrunk by box averaging.
double LevelDifference(const Picture& low, const FrameRect& rl, const Picture& high, const FrameRect& rh, int level);

struct Wav {
  bool ok = false;
  int channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;  // interleaved
  std::string error;
};
// Reads a WAV the way the game's decoder does: RIFF/WAVE, "fmt " first, then
// chunks until "data".
Wav ReadWav(const std::string& path);

// The strongest frequency in Hz (80 to 4000) of mono samples [from, to).
double DominantFrequency(const std::vector<int16_t>& mono, int rate, int from, int to);

std::vector<uint8_t> ReadBytes(const std::string& path);

}  // namespace assets_test
