// Debian's stb_image compiled once for the whole project (game, tests and
// fuzz targets), so sanitizers and coverage see the decoder too. Only the
// PNG decoder is built: the game ships nothing else, and a file of any other
// format under a picture name must not find a decoder to reach. Its memory
// comes through the counting allocator below (see decoder_memory.h).
#include <malloc.h>

#include <cstdint>
#include <cstdlib>

#include "host/decoders/decoder_memory.h"

namespace {

thread_local size_t tl_limit = SIZE_MAX;
thread_local size_t tl_held = 0;

void Release(size_t bytes) { tl_held -= bytes < tl_held ? bytes : tl_held; }

void* CountedMalloc(size_t bytes) {
  if (bytes > tl_limit - tl_held) return nullptr;
  void* p = std::malloc(bytes);
  if (p) tl_held += malloc_usable_size(p);
  return p;
}

void* CountedRealloc(void* p, size_t bytes) {
  size_t old = p ? malloc_usable_size(p) : 0;
  if (bytes > old && bytes - old > tl_limit - tl_held) return nullptr;
  void* q = std::realloc(p, bytes);
  if (!q) return nullptr;
  Release(old);
  tl_held += malloc_usable_size(q);
  return q;
}

void CountedFree(void* p) {
  if (!p) return;
  Release(malloc_usable_size(p));
  std::free(p);
}

}  // namespace

DecoderMemoryLimit::DecoderMemoryLimit(size_t bytes) : previous_(tl_limit) {
  tl_limit = bytes;
  tl_held = 0;
}

DecoderMemoryLimit::~DecoderMemoryLimit() {
  tl_limit = previous_;
  tl_held = 0;
}

// Blocks handed out stay plain C allocations, so callers free them with
// free() as the host's image loader promises.
#define STBI_MALLOC(bytes) CountedMalloc(bytes)
#define STBI_REALLOC(p, bytes) CountedRealloc(p, bytes)
#define STBI_FREE(p) CountedFree(p)

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
// Twice the largest sheet the game ships (2048 at the highest level).
#define STBI_MAX_DIMENSIONS 4096
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
