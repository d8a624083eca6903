// 16-bit PCM WAV files.
#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

// Interleaved samples in -1..1 (clipped) to a RIFF/WAVE byte image.
std::vector<uint8_t> EncodeWav(const std::vector<float>& samples, int channels, int rate);
// Float to 16-bit with rounding and clipping, shared with the Ogg encoder's tests.
int16_t ToPcm16(float v);

}  // namespace assetgen
