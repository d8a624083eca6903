// PNG encoding of 8-bit RGBA pictures (zlib for the deflate stream).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

std::vector<uint8_t> EncodePng(const std::vector<uint8_t>& rgba, int width, int height);
// Writes the bytes to path, creating parent folders; false on failure.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace assetgen
