// Shared helpers of the fuzz targets (see fuzz_support.h).
#include "fuzz_support.h"

#include <unistd.h>

#include <cstdlib>

#include "runtime/runtime.h"

FILE* fuzz_OpenBytes(const uint8_t* data, size_t size) {
  // fmemopen refuses an empty buffer; an empty stream is what we mean.
  FILE* file = size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : fopen("/dev/null", "rb");
  fuzz_Check(file != nullptr, "could not open the input as a stream");
  return file;
}

std::string fuzz_WriteScratch(const uint8_t* data, size_t size, const char* suffix) {
  static std::string path;
  if (path.empty()) {
    const char* tmp = getenv("TMPDIR");
    path = std::string(tmp && *tmp ? tmp : "/tmp") + "/larkspin-fuzz-" + std::to_string(getpid()) +
           suffix;
  }
  FILE* file = fopen(path.c_str(), "wb");
  fuzz_Check(file != nullptr, "could not write the scratch file");
  fuzz_Check(fwrite(data, 1, size, file) == size, "short write to the scratch file");
  fclose(file);
  return path;
}

void fuzz_Check(bool ok, const char* what) {
  if (ok) return;
  fprintf(stderr, "fuzz check failed: %s\n", what);
  abort();
}

// Where fuzz_Touch leaves its sum, so the reads cannot be optimised away.
volatile unsigned fuzz_touchSink;

void fuzz_Touch(const unsigned char* block, long long size) {
  unsigned sum = 0;
  for (long long i = 0; i < size; ++i) sum += block[i];
  fuzz_touchSink = sum;
}

void fuzz_StartRuntime() {
  static bool started = false;
  if (started) return;
  started = true;
  gc_init();
}
