// Helpers for the asset checks; stb_image decodes the pictures just as the
// game's renderer will.
#include "assets/asset_support.h"

#include <stb/stb_image.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace assets_test {

std::string DataDir() {
  const char* bin = std::getenv("LARKSPIN_BINARY_DIR");
  return std::string(bin ? bin : ".") + "/data";
}

std::string DataPath(const std::string& relative) { return DataDir() + "/" + relative; }

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

bool SamePixels(const Picture& a, const FrameRect& ra, const Picture& b, const FrameRect& rb) {
  for (int y = 0; y < ra.h; ++y)
    if (std::memcmp(a.At(ra.x, ra.y + y), b.At(rb.x, rb.y + y), static_cast<size_t>(ra.w) * 4) != 0) return false;
  return true;
}

double LevelDifference(const Picture& low, const FrameRect& rl, const Picture& high, const FrameRect& rh, int level) {
  double total = 0;
  for (int y = 0; y < rl.h; ++y) {
    for (int x = 0; x < rl.w; ++x) {
      double sum = 0;
      for (int v = 0; v < level; ++v)
        for (int u = 0; u < level; ++u) sum += high.At(rh.x + x * level + u, rh.y + y * level + v)[3];
      total += std::fabs(sum / (level * level) - low.At(rl.x + x, rl.y + y)[3]) / 255.0;
    }
  }
  return total / (rl.w * rl.h);
}

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

}  // namespace

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Wav ReadWav(const std::string& path) {
  Wav w;
  std::vector<uint8_t> b = ReadBytes(path);
  if (b.size() < 44 || std::memcmp(&b[0], "RIFF", 4) || std::memcmp(&b[8], "WAVE", 4)) w.error = "not RIFF/WAVE";
  else if (std::memcmp(&b[12], "fmt ", 4)) w.error = "fmt is not the first chunk";
  else if (U16(b, 20) != 1) w.error = "not PCM";
  if (!w.error.empty()) return w;
  w.channels = U16(b, 22);
  w.rate = static_cast<int>(U32(b, 24));
  w.bits = U16(b, 34);
  for (size_t at = 20 + U32(b, 16); at + 8 <= b.size(); at += 8 + U32(b, at + 4) + (U32(b, at + 4) & 1)) {
    if (std::memcmp(&b[at], "data", 4) != 0) continue;
    uint32_t size = U32(b, at + 4);
    if (at + 8 + size > b.size()) {
      w.error = "data chunk runs past the end";
      return w;
    }
    w.samples.resize(size / 2);
    std::memcpy(w.samples.data(), &b[at + 8], w.samples.size() * 2);
    w.ok = true;
    return w;
  }
  w.error = "no data chunk";
  return w;
}

double DominantFrequency(const std::vector<int16_t>& mono, int rate, int from, int to) {
  // Hann-windowed DFT magnitude scanned in steps of half a percent.
  int n = to - from;
  double bestHz = 0, bestPower = -1;
  for (double hz = 80; hz < 4000; hz *= 1.005) {
    double re = 0, im = 0, w = 2 * 3.141592653589793 * hz / rate;
    for (int i = 0; i < n; ++i) {
      double window = 0.5 - 0.5 * std::cos(2 * 3.141592653589793 * i / (n - 1));
      re += mono[from + i] * window * std::cos(w * i);
      im += mono[from + i] * window * std::sin(w * i);
    }
    double power = re * re + im * im;
    if (power > bestPower) {
      bestPower = power;
      bestHz = hz;
    }
  }
  return bestHz;
}

}  // namespace assets_test
