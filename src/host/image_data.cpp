// BBGlfwGame::LoadImageData: decodes a PNG picture file into 8-bit pixels
// with the channels it stores.
//
// The data folder is open to anyone who can replace a file, so nothing is
// handed to the decoder on trust: the file must carry the PNG signature, and
// its header (size, bit depth, colour type, interlacing) must describe a
// picture the decoder can work on within a few times the memory of the
// largest sheet the game ships. The decoder then runs under that same memory
// ceiling, for what a header cannot announce. A refusal is one line on
// standard error naming the file; the caller sees null as for any other
// picture that cannot be loaded.
#include <stb/stb_image.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/decoders/decoder_memory.h"
#include "host/files.h"
#include "host/glfw_game.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// The largest sheet shipped: 2048 x 2048 RGBA at the highest level.
const long long kLargestSheetBytes = 2048LL * 2048 * 4;
// What the decoder may hold at once: enough for that sheet even in 16 bits
// per sample, nowhere near what a hostile header may ask for.
const long long kMaxDecodeBytes = 6 * kLargestSheetBytes;
// Ten times the largest sheet file; a bigger file is not a sheet.
const size_t kMaxFileBytes = size_t(16) << 20;
// Matches the decoder's own dimension limit.
const int kMaxSide = 4096;

const unsigned char kPngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
// Signature, then the IHDR chunk's length, type and 13 bytes of fields.
const size_t kHeaderBytes = 8 + 8 + 13;

// The decoder's reasons can quote bytes of the file (an unknown chunk's
// type, which may even start with a zero): anything but printable ASCII is
// shown as '?', and an empty reason as a plain one.
void Refuse(const String& path, const char* why) {
  std::string reason(why && *why ? why : "damaged picture");
  for (char& c : reason)
    if (c < 0x20 || c > 0x7e) c = '?';
  std::fprintf(stderr, "Cannot load picture %s: %s\n", path.ToUtf8().c_str(), reason.c_str());
}

uint32_t Be32(const unsigned char* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// The fields of IHDR that decide how much memory the decoder needs.
struct PngHeader {
  long long width, height;
  int bitDepth, colourType, interlace;
};

bool ReadHeader(const Bytes& file, PngHeader* h) {
  const unsigned char* p = file.data();
  if (Be32(p + 8) != 13 || std::memcmp(p + 12, "IHDR", 4) != 0) return false;
  *h = {Be32(p + 16), Be32(p + 20), p[24], p[25], p[28]};
  return true;
}

// Samples per pixel the decoder produces for a colour type, counting the
// alpha channel a transparency chunk can add (a palette becomes RGBA);
// 0 for a colour type PNG does not have.
int OutputChannels(int colourType) {
  switch (colourType) {
    case 0: return 2;  // grey (+ alpha from tRNS)
    case 2: return 4;  // RGB (+ alpha from tRNS)
    case 3: return 4;  // palette
    case 4: return 2;  // grey + alpha
    case 6: return 4;  // RGBA
    default: return 0;
  }
}

// Samples per pixel as stored in the file (a palette index is one).
int StoredChannels(int colourType) { return colourType == 2 ? 3 : colourType == 6 ? 4 : colourType == 4 ? 2 : 1; }

// The decoder's peak for an honest file with this header: the inflated
// rows, the picture at the file's sample size, its 8-bit copy when that is
// 16, and the passes of an interlaced file.
long long DecodeCost(const PngHeader& h) {
  long long rowBytes = (h.width * StoredChannels(h.colourType) * h.bitDepth + 7) / 8;
  long long pixels = h.width * h.height * OutputChannels(h.colourType);
  long long atDepth = pixels * (h.bitDepth == 16 ? 2 : 1);
  return h.height * (1 + rowBytes) + atDepth + (h.bitDepth == 16 ? pixels : 0) + (h.interlace ? atDepth : 0);
}

// Null when the picture may be decoded, else why not.
const char* CheckHeader(const Bytes& file) {
  if (file.size() < kHeaderBytes || std::memcmp(file.data(), kPngSignature, 8) != 0) return "not a PNG file";
  PngHeader h;
  if (!ReadHeader(file, &h) || OutputChannels(h.colourType) == 0) return "damaged PNG header";
  if (h.width < 1 || h.height < 1 || h.width > kMaxSide || h.height > kMaxSide) return "picture too large";
  if (DecodeCost(h) > kMaxDecodeBytes) return "picture needs too much memory to decode";
  return nullptr;
}

// The decoder copies each IDAT chunk into a buffer it allocates only for
// data, so an empty IDAT before any other has it copy nothing to a null
// pointer, which is undefined. An empty IDAT carries nothing: such chunks are
// dropped before decoding (in place, in one pass, however many there are).
void DropEmptyDataChunks(Bytes* file) {
  unsigned char* p = file->data();
  size_t size = file->size(), in = 8, out = 8;
  while (size - in >= 12) {
    uint32_t length = Be32(p + in);
    // A chunk running past the end is left for the decoder to refuse.
    size_t chunk = length <= size - in - 12 ? 12 + size_t(length) : size - in;
    if (length != 0 || std::memcmp(p + in + 4, "IDAT", 4) != 0) {
      std::memmove(p + out, p + in, chunk);
      out += chunk;
    }
    in += chunk;
  }
  std::memmove(p + out, p + in, size - in);
  file->resize(out + size - in);
}

}  // namespace

unsigned char* BBGlfwGame::LoadImageData(String path, int* width, int* height, int* depth) {
  FILE* file = OpenFile(path, "rb");
  if (!file) return nullptr;
  Bytes bytes;
  bool whole = readWhole(file, kMaxFileBytes, &bytes);
  fclose(file);
  const char* refusal = whole ? CheckHeader(bytes) : "file too large";
  if (refusal) {
    Refuse(PathToFilePath(path), refusal);
    return nullptr;
  }
  DropEmptyDataChunks(&bytes);
  int w = 0, h = 0, d = 0;
  unsigned char* pixels;
  {
    DecoderMemoryLimit limit(kMaxDecodeBytes);
    pixels = stbi_load_from_memory(bytes.data(), int(bytes.size()), &w, &h, &d, 0);
  }
  if (!pixels) {
    Refuse(PathToFilePath(path), stbi_failure_reason());
    return nullptr;
  }
  gc_ext_malloced(w * h * d);
  *width = w;
  *height = h;
  *depth = d;
  return pixels;
}
