// Ogg Vorbis encoding of the tunes.
#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

// Interleaved samples to an Ogg Vorbis stream at the given VBR quality
// (-0.1 .. 1). The stream serial number is fixed so the bytes never vary.
std::vector<uint8_t> EncodeOgg(const std::vector<float>& interleaved, int channels, int rate, float quality,
                               int serial);

}  // namespace assetgen
