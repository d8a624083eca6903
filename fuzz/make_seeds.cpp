// Writes the binary seed inputs of the sound and picture targets at build
// time, so no binary file lives in the repository: small valid files of
// each kind (and a few legal variations the loaders must accept), from
// which the fuzzer mutates its way into damaged ones, and the hostile
// pictures the loader must refuse.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <zlib.h>

#include "ogg.h"
#include "png.h"
#include "wav.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

std::vector<float> Tone(int frames, int channels, float hz, int rate) {
  std::vector<float> out;
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) out.push_back(0.5f * std::sin(6.2831853f * hz * i / rate + c));
  return out;
}

void Put(Bytes& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// A WAV with an extra chunk between "fmt " and "data", and 8-bit samples:
// both legal, both paths the plain encoder never takes.
Bytes WavWithListChunk() {
  Bytes body;
  for (int i = 0; i < 40; ++i) body.push_back(uint8_t(128 + 60 * std::sin(i * 0.3)));
  Bytes out = {'R', 'I', 'F', 'F'};
  Put(out, uint32_t(4 + 24 + 14 + 8 + body.size()), 4);
  for (char c : std::string("WAVEfmt ")) out.push_back(uint8_t(c));
  Put(out, 16, 4);
  Put(out, 1, 2);      // PCM
  Put(out, 1, 2);      // mono
  Put(out, 8000, 4);   // rate
  Put(out, 8000, 4);   // bytes per second
  Put(out, 1, 2);      // block align
  Put(out, 8, 2);      // bits
  for (char c : std::string("LIST")) out.push_back(uint8_t(c));
  Put(out, 6, 4);
  for (char c : std::string("INFOab")) out.push_back(uint8_t(c));
  for (char c : std::string("data")) out.push_back(uint8_t(c));
  Put(out, uint32_t(body.size()), 4);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes Picture(int w, int h) {
  Bytes rgba;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      rgba.push_back(uint8_t(x * 255 / w));
      rgba.push_back(uint8_t(y * 255 / h));
      rgba.push_back(uint8_t((x ^ y) * 16));
      rgba.push_back(uint8_t(255 - x));
    }
  return assetgen::EncodePng(rgba, w, h);
}

// A JPEG under a picture name whose code table counts add up to 4080 codes,
// far past the 256 a table can hold: for a decoder that trusts the counts.
Bytes JpegWithOverfullCodeTable() {
  Bytes out = {0xFF, 0xD8, 0xFF, 0xC4};
  const int codes = 16 * 255;
  const int length = 2 + 1 + 16 + codes;
  out.insert(out.end(), {uint8_t(length >> 8), uint8_t(length), 0x00});
  out.insert(out.end(), 16, 0xFF);
  for (int i = 0; i < codes; ++i) out.push_back(uint8_t(i));
  out.insert(out.end(), {0xFF, 0xD9});
  return out;
}

// 16-bit greyscale, 16384 x 16384, all black: half a megabyte on disk that
// asks the decoder for a gigabyte of working memory. Deflated row by row so
// the generator itself never holds the picture.
Bytes GiantGrey16() {
  const int side = 16384;
  Bytes row(1 + size_t(side) * 2, 0), packed, block(1 << 16);
  z_stream z{};
  deflateInit(&z, 9);
  for (int y = 0; y < side; ++y) {
    z.next_in = row.data();
    z.avail_in = uInt(row.size());
    int flush = y + 1 == side ? Z_FINISH : Z_NO_FLUSH;
    do {
      z.next_out = block.data();
      z.avail_out = uInt(block.size());
      deflate(&z, flush);
      packed.insert(packed.end(), block.data(), z.next_out);
    } while (z.avail_out == 0);
  }
  deflateEnd(&z);
  return assetgen::WrapPng(side, side, 16, 0, packed);
}

bool Write(const fs::path& dir, const std::string& target, const std::string& name, const Bytes& bytes) {
  if (bytes.empty()) {
    fprintf(stderr, "make_seeds: %s/%s came out empty\n", target.c_str(), name.c_str());
    return false;
  }
  return assetgen::WriteFile((dir / target / name).string(), bytes);
}

// The HTTP target's framing: each piece of a response as one receive.
Bytes Pieces(const std::vector<std::string>& pieces) {
  Bytes out;
  for (const std::string& piece : pieces) {
    for (size_t at = 0; at < piece.size(); at += 128) {
      size_t n = piece.size() - at < 128 ? piece.size() - at : 128;
      out.push_back(uint8_t(n - 1));
      out.insert(out.end(), piece.begin() + at, piece.begin() + at + n);
    }
  }
  return out;
}

Bytes LargeBody() {
  Bytes out = Pieces({"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n"});
  for (int i = 0; i < 70; ++i) out.insert(out.end(), {0xFE, 'z'});  // a buffer full of 'z' each
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
    return 2;
  }
  fs::path dir = argv[1];
  bool ok = true;
  ok &= Write(dir, "wav_load", "mono16.wav", assetgen::EncodeWav(Tone(64, 1, 440, 8000), 1, 8000));
  ok &= Write(dir, "wav_load", "stereo16.wav", assetgen::EncodeWav(Tone(32, 2, 300, 22050), 2, 22050));
  ok &= Write(dir, "wav_load", "list8.wav", WavWithListChunk());
  ok &= Write(dir, "ogg_load", "mono.ogg", assetgen::EncodeOgg(Tone(400, 1, 440, 8000), 1, 8000, 0.0f, 7));
  ok &= Write(dir, "ogg_load", "stereo.ogg",
              assetgen::EncodeOgg(Tone(600, 2, 660, 11025), 2, 11025, 0.1f, 9));
  ok &= Write(dir, "png_load", "one.png", Picture(1, 1));
  ok &= Write(dir, "png_load", "small.png", Picture(7, 5));
  ok &= Write(dir, "png_load", "square.png", Picture(16, 16));
  ok &= Write(dir, "png_load", "jpeg_code_table.png", JpegWithOverfullCodeTable());
  ok &= Write(dir, "png_load", "giant_grey16.png", GiantGrey16());
  ok &= Write(dir, "http_response", "ok.bin", Pieces({"HTTP/1.0 200 OK\r\nServer: x\r\n\r\nhello"}));
  ok &= Write(dir, "http_response", "split.bin",
              Pieces({"HTTP/1.1 404 Not", " Found\r\nA: b\r", "\n\r\nno", "t here \xC3\xA9"}));
  ok &= Write(dir, "http_response", "bare_lf.bin", Pieces({"HTTP/1.0 301 Moved\nLocation: /\n\n"}));
  ok &= Write(dir, "http_response", "large.bin", LargeBody());
  return ok ? 0 : 1;
}
