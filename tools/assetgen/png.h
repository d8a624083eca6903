// PNG encoding of 8-bit pictures (zlib for the deflate stream).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// `pixels` holds rows of width x channels bytes: 1 grey, 2 grey and alpha,
// 3 RGB, 4 RGBA.
std::vector<uint8_t> EncodePng(const std::vector<uint8_t>& pixels, int width, int height, int channels = 4);
// A whole PNG file (signature, IHDR, one IDAT, IEND) around an already
// deflated image stream; for pictures EncodePng cannot describe.
std::vector<uint8_t> WrapPng(int width, int height, int bitDepth, int colourType,
                             const std::vector<uint8_t>& deflated);
// Writes the bytes to path, creating parent folders; false on failure.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace assetgen
