// The plain 44-byte header form: "fmt " first, then "data".
#include "wav.h"

#include <cmath>

namespace assetgen {

namespace {

void Put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

int16_t ToPcm16(float v) {
  float c = std::fmax(-1.0f, std::fmin(1.0f, v));
  return static_cast<int16_t>(std::lround(c * 32767.0f));
}

std::vector<uint8_t> EncodeWav(const std::vector<float>& samples, int channels, int rate) {
  uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  for (char c : {'R', 'I', 'F', 'F'}) out.push_back(static_cast<uint8_t>(c));
  Put(out, 36 + dataBytes, 4);
  for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}) out.push_back(static_cast<uint8_t>(c));
  Put(out, 16, 4);
  Put(out, 1, 2);  // PCM
  Put(out, static_cast<uint32_t>(channels), 2);
  Put(out, static_cast<uint32_t>(rate), 4);
  Put(out, static_cast<uint32_t>(rate * channels * 2), 4);
  Put(out, static_cast<uint32_t>(channels * 2), 2);
  Put(out, 16, 2);
  for (char c : {'d', 'a', 't', 'a'}) out.push_back(static_cast<uint8_t>(c));
  Put(out, dataBytes, 4);
  for (float v : samples) Put(out, static_cast<uint16_t>(ToPcm16(v)), 2);
  return out;
}

}  // namespace assetgen
