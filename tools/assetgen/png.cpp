// PNG writer: one IDAT chunk, "up" filtering for every row (smooth art packs
// well with it), and a fixed zlib level so the bytes are identical every run.
#include "png.h"

#include <zlib.h>

#include <cstdio>
#include <filesystem>

namespace assetgen {

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutU32(out, static_cast<uint32_t>(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
  PutU32(out, static_cast<uint32_t>(crc));
}

std::vector<uint8_t> FilterRows(const std::vector<uint8_t>& pixels, int width, int height, int channels) {
  size_t stride = static_cast<size_t>(width) * channels;
  std::vector<uint8_t> raw;
  raw.reserve((stride + 1) * height);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = &pixels[y * stride];
    raw.push_back(y == 0 ? 0 : 2);  // none for the first row, then "up"
    for (size_t i = 0; i < stride; ++i)
      raw.push_back(static_cast<uint8_t>(row[i] - (y == 0 ? 0 : (row - stride)[i])));
  }
  return raw;
}

}  // namespace

std::vector<uint8_t> WrapPng(int width, int height, int bitDepth, int colourType,
                             const std::vector<uint8_t>& deflated) {
  static const uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  std::vector<uint8_t> out(kSignature, kSignature + 8);

  std::vector<uint8_t> header;
  PutU32(header, static_cast<uint32_t>(width));
  PutU32(header, static_cast<uint32_t>(height));
  // deflate, adaptive filtering, no interlace
  header.insert(header.end(), {uint8_t(bitDepth), uint8_t(colourType), 0, 0, 0});
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", deflated);
  PutChunk(out, "IEND", {});
  return out;
}

std::vector<uint8_t> EncodePng(const std::vector<uint8_t>& pixels, int width, int height, int channels) {
  // PNG colour types by channel count: grey, grey + alpha, RGB, RGBA.
  static const int kColourType[5] = {-1, 0, 4, 2, 6};
  std::vector<uint8_t> raw = FilterRows(pixels, width, height, channels);
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6);
  packed.resize(packedSize);
  return WrapPng(width, height, 8, kColourType[channels], packed);
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace assetgen
